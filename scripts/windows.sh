#!/usr/bin/env bash
# Builds Huddlex for 64-bit Windows on Debian 12: installs what is missing (the MinGW-w64 cross
# compiler, Wine, NSIS, the host Qt tools), unpacks the Qt for Windows under build/,
# cross-builds the `windows` preset and makes, in build/windows/:
#   Huddlex-<version>-win64.zip   unzip anywhere, start huddlex.exe
#   Huddlex-<version>-win64.exe   installer (Start-menu shortcut, uninstaller, /S silent)
# Usage: scripts/windows.sh
# The Qt archive is taken from ../shared/qt6-mingw/ beside the repository, or from
# $HUDDLEX_QT_MINGW_ARCHIVE; edlib and libzip likewise from ../shared/edlib-mingw/ and
# ../shared/libzip-mingw/ (or $HUDDLEX_EDLIB_MINGW_ARCHIVE, $HUDDLEX_LIBZIP_MINGW_ARCHIVE).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
qt_name=qt-6.4.2-mingw-w64-x86_64
archive="${HUDDLEX_QT_MINGW_ARCHIVE:-$root/../shared/qt6-mingw/$qt_name.tar.xz}"

packages=(
    cmake ninja-build g++ pkg-config file
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev libvulkan-dev
    g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix
    nsis wine wine64 fonts-wine xvfb xauth xdotool
    libz-mingw-w64-dev # zlib for the libzip of ../shared/libzip-mingw/
)
source "$root/scripts/packages.sh"
install_missing "${packages[@]}"

cd "$root"
if [[ ! -f "build/$qt_name/bin/Qt6Core.dll" || "$archive" -nt "build/$qt_name/bin/Qt6Core.dll" ]]; then
    [[ -f "$archive" ]] || { echo "The Qt for Windows is missing: $archive" >&2; exit 1; }
    echo "Unpacking $(basename "$archive") into build/"
    mkdir -p build
    rm -rf "build/$qt_name"
    tar -C build -xJf "$archive"
    touch "build/$qt_name/bin/Qt6Core.dll"
fi

# edlib for the report's edit scripts, a static build from ../shared/edlib-mingw/ (or
# $HUDDLEX_EDLIB_MINGW_ARCHIVE), unpacked beside the Qt.
edlib_name=edlib-1.2.7-mingw-w64-x86_64
edlib_archive="${HUDDLEX_EDLIB_MINGW_ARCHIVE:-$root/../shared/edlib-mingw/$edlib_name.tar.xz}"
edlib_lib="build/$edlib_name/lib/libedlib.a"
if [[ ! -f "$edlib_lib" || "$edlib_archive" -nt "$edlib_lib" ]]; then
    [[ -f "$edlib_archive" ]] || { echo "edlib for Windows is missing: $edlib_archive" >&2; exit 1; }
    rm -rf "build/$edlib_name"
    tar -C build -xJf "$edlib_archive" && touch "$edlib_lib"
fi
# libzip for Windows (static, zlib linked statically too), beside the Qt.
zip_name=libzip-1.7.3-mingw-w64-x86_64
zip_archive="${HUDDLEX_LIBZIP_MINGW_ARCHIVE:-$root/../shared/libzip-mingw/$zip_name.tar.xz}"
if [[ ! -f "build/$zip_name/lib/libzip.a" || "$zip_archive" -nt "build/$zip_name/lib/libzip.a" ]]; then
    [[ -f "$zip_archive" ]] || { echo "The libzip for Windows is missing: $zip_archive" >&2; exit 1; }
    echo "Unpacking $(basename "$zip_archive") into build/"
    rm -rf "build/$zip_name"
    tar -C build -xJf "$zip_archive"
    touch "build/$zip_name/lib/libzip.a"
fi

cmake --preset windows >/dev/null
cmake --build --preset windows
(cd build/windows && cpack -G "ZIP;NSIS" >cpack.log 2>&1) ||
    { cat build/windows/cpack.log >&2; echo "cpack failed" >&2; exit 1; }
for package in build/windows/Huddlex-*-win64.zip build/windows/Huddlex-*-win64.exe; do
    echo "$package: $(stat -c %s "$package") bytes"
done
