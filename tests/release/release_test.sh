#!/usr/bin/env bash
# What a user installs: `cmake --install` puts every file in its place and the desktop files
# validate; the Debian package carries computed dependencies and, unpacked into a scratch
# root, its programs run.
# Usage: release_test.sh BUILD_DIR
set -euo pipefail
build="$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
app_id=io.github.huddlex.Huddlex

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A scratch profile, so nothing the programs do touches the real one.
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" WINEPREFIX="$scratch/home/.wine"
mkdir -p "$WINEPREFIX/drive_c"

expect_files() {
    local root="$1"
    for file in bin/huddlex bin/huddlex-validate \
        share/huddlex/Huddlex.rcc \
        "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
        share/icons/hicolor/scalable/apps/huddlex.svg \
        share/icons/hicolor/{16x16,32x32,48x48,256x256}/apps/huddlex.png; do
        [[ -f "$root/$file" ]] || fail "$file is not installed"
    done
    for size in 16 32 48 256; do
        file "$root/share/icons/hicolor/${size}x${size}/apps/huddlex.png" |
            grep -q "PNG image data, $size x $size" || fail "the $size px icon is not $size x $size"
    done
}

# Starts the installed window offscreen and checks that it is still up a second later.
starts_offscreen() {
    local program="$1"
    QT_QPA_PLATFORM=offscreen "$program" >"$scratch/huddlex.log" 2>&1 &
    local pid=$!
    sleep 1
    if ! kill -0 "$pid" 2>/dev/null; then
        cat "$scratch/huddlex.log" >&2
        fail "$program did not keep running"
    fi
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

echo "== cmake --install"
cmake --install "$build" --prefix "$scratch/install" >/dev/null
expect_files "$scratch/install"
desktop-file-validate "$scratch/install/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$scratch/install/share/metainfo/$app_id.metainfo.xml"

echo "== cpack"
(cd "$build" && cpack -G DEB -B "$scratch/package" >"$scratch/cpack.log" 2>&1) ||
    { cat "$scratch/cpack.log" >&2; fail "cpack did not build the package"; }
deb=$(find "$scratch/package" -maxdepth 1 -name 'huddlex_*.deb' | head -n 1)
[[ -n "$deb" ]] || fail "no .deb was made"
depends=$(dpkg-deb -f "$deb" Depends)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
echo "depends: $depends"
# Computed from the programs' libraries, plus the plugins Qt loads at run time.
for needed in libc6 libqt6core6 libqt6widgets6 libedlib1 qt6-qpa-plugins; do
    grep -qE "(^|, )$needed( |,|$)" <<<"$depends" || fail "Depends lacks $needed"
done
# Help and icons are read without Qt Help, SQLite or Qt SVG.
for unneeded in libqt6help6 libqt6sql6-sqlite libqt6svg6; do
    grep -qE "(^|, )$unneeded( |,|$)" <<<"$depends" && fail "Depends still names $unneeded"
done

echo "== the package's files, unpacked into a scratch root"
dpkg-deb -x "$deb" "$scratch/root"
expect_files "$scratch/root/usr"
"$scratch/root/usr/bin/huddlex-validate" --help >"$scratch/help.txt" ||
    fail "huddlex-validate --help failed"
grep -qi "usage" "$scratch/help.txt" || fail "huddlex-validate --help printed no usage"
starts_offscreen "$scratch/root/usr/bin/huddlex"
echo "release checks passed"
