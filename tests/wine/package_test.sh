#!/usr/bin/env bash
# The Windows packages as a user gets them, under Wine on a virtual X server:
# - the zip, unpacked, holds what huddlex.exe needs; its huddlex.exe starts, File > Start
#   captures a play written to C:\Sierra\FBPro97\FBPlay~.tmp byte for byte, and a change made
#   in View > Settings lands in the Wine registry under
#   HKEY_CURRENT_USER\Software\VB and VBA Program Settings\huddlex\Settings;
# - the installer installs silently (/S) under Program Files with a Start-menu shortcut, the
#   installed programs run, and its uninstaller removes everything it installed.
# Usage: package_test.sh BUILD_DIR   (WINEPREFIX set to an initialised scratch prefix)
set -euo pipefail
build="$1"
: "${WINEPREFIX:?set WINEPREFIX to a scratch prefix}"
export WINEDEBUG=-all
zip=$(find "$build" -maxdepth 1 -name 'Huddlex-*-win64.zip' | head -n 1)
installer=$(find "$build" -maxdepth 1 -name 'Huddlex-*-win64.exe' | head -n 1)
scratch="$(mktemp -d)"
xvfb_pid=
program_pid=

fail() {
    echo "FAIL: $*" >&2
    [[ -s "$scratch/huddlex.log" ]] && sed 's/^/huddlex.exe: /' "$scratch/huddlex.log" >&2
    exit 1
}

cleanup() {
    [[ -n "$program_pid" ]] && kill "$program_pid" 2>/dev/null
    wineserver -k 2>/dev/null || true
    [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
    local seconds="$1"
    shift
    for ((i = 0; i < seconds * 4; i++)); do
        "$@" && return 0
        sleep 0.25
    done
    return 1
}

window() {
    xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1
}

# Focuses a window once it can take the focus (a window just mapped may not yet).
focus() {
    wait_for 10 timeout 5 xdotool windowfocus --sync "$1" 2>/dev/null || fail "cannot focus window $1"
}

has_window() {
    [[ -n "$(window "$1")" ]]
}

[[ -f "$zip" && -f "$installer" ]] || fail "build the packages first (scripts/windows.sh)"
echo "zip: $(basename "$zip"), $(stat -c %s "$zip") bytes"
echo "installer: $(basename "$installer"), $(stat -c %s "$installer") bytes"

# A virtual X server at 96 dpi; -displayfd picks a free display.
exec 3>"$scratch/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -dpi 96 -nolisten tcp >"$scratch/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 10 test -s "$scratch/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$scratch/display")"

echo "== the zip"
unzip -q "$zip" -d "$scratch/zip"
app=$(find "$scratch/zip" -maxdepth 2 -name huddlex.exe -printf '%h\n' | head -n 1)
for file in huddlex.exe huddlex-validate.exe Huddlex.rcc Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll \
    libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll platforms/qwindows.dll \
    styles/qwindowsvistastyle.dll; do
    [[ -f "$app/$file" ]] || fail "the zip lacks $file"
done
# Explorer's icon and Properties: an icon group and a version resource in each executable.
version=$(basename "$zip" | sed -E 's/^Huddlex-(.*)-win64\.zip$/\1/')
for exe in huddlex.exe huddlex-validate.exe; do
    table=$(x86_64-w64-mingw32-objdump -p "$app/$exe" | sed -n '/The .rsrc Resource Directory/,$p')
    grep -qE '^0[0-9a-f]+   Entry: ID: 0x00000e,' <<<"$table" || fail "$exe carries no icon"
    grep -qE '^0[0-9a-f]+   Entry: ID: 0x000010,' <<<"$table" || fail "$exe carries no version"
    strings -el "$app/$exe" | grep -A1 -x ProductVersion | grep -qx "$version" ||
        fail "$exe does not say version $version"
done

wine "$app/huddlex-validate.exe" --help </dev/null >"$scratch/help.txt" 2>&1 ||
    fail "huddlex-validate.exe --help failed"
grep -q "Usage: huddlex-validate" "$scratch/help.txt" || fail "huddlex-validate.exe printed no usage"

# A first run: no game files, no settings.
game="$WINEPREFIX/drive_c/Sierra/FBPro97"
rm -rf "$WINEPREFIX/drive_c/Sierra"
mkdir -p "$game"
wine reg delete 'HKCU\Software\VB and VBA Program Settings\huddlex' /f </dev/null >/dev/null 2>&1 || true

(cd "$app" && exec wine huddlex.exe </dev/null >"$scratch/huddlex.log" 2>&1) &
program_pid=$!
wait_for 60 has_window '^Huddlex$' || fail "huddlex.exe showed no window"
main=$(window '^Huddlex$')
wait_for 10 test -d "$game/Xferbox" || fail "start-up made no capture folder"

focus "$main"
xdotool key alt+f s # File, Start
sleep 1.5           # the play watch ticks once a second
head -c 4096 /dev/urandom >"$scratch/play.bin"
cp "$scratch/play.bin" "$game/FBPlay~.tmp"
# Copied five seconds after the capture sees the new modification time.
wait_for 30 test -f "$game/Xferbox/FBplay0.ply" || fail "the play was not captured"
sleep 0.5
cmp "$scratch/play.bin" "$game/Xferbox/FBplay0.ply" || fail "the captured play differs"
echo "captured C:\\Sierra\\FBPro97\\FBPlay~.tmp as Xferbox\\FBplay0.ply, byte for byte"

# View, Settings; type into Main Play Folder (clicked: the dialog's own field).
focus "$main"
xdotool key alt+v s
wait_for 10 has_window '^Settings$' || fail "the Settings dialog did not open"
dialog=$(window '^Settings$')
eval "$(xdotool getwindowgeometry --shell "$dialog")"
xdotool mousemove $((X + WIDTH * 3 / 4)) $((Y + HEIGHT * 3 / 8)) click 1
xdotool key End
xdotool type 2
xdotool key Escape
wait_for 10 bash -c "! xdotool search --onlyvisible --name '^Settings\$' >/dev/null 2>&1" || fail "the Settings dialog did not close"
focus "$main"
xdotool key alt+f x # File, Exit
wait_for 20 bash -c "! kill -0 $program_pid 2>/dev/null" || fail "huddlex.exe did not exit"
program_pid=
wineserver -w # the registry is saved when Wine's server ends
key='[Software\\VB and VBA Program Settings\\huddlex\\Settings]'
grep -A4 -F "$key" "$WINEPREFIX/user.reg" >"$scratch/settings.txt" ||
    fail "no settings key $key in user.reg"
grep -q '^"FBPlayFolder"="VPNFL2"' "$scratch/settings.txt" ||
    { cat "$scratch/settings.txt" >&2; fail "FBPlayFolder did not land in the settings key"; }
grep -q 'Software\\\\huddlex\\\\huddlex' "$WINEPREFIX/user.reg" &&
    fail "settings were written under Software\\huddlex\\huddlex"
echo "settings in HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\huddlex\\Settings"

echo "== the installer"
target="$WINEPREFIX/drive_c/Program Files/Huddlex"
wine "$installer" /S </dev/null >"$scratch/install.log" 2>&1 || fail "the installer failed"
wineserver -w
for file in huddlex.exe huddlex-validate.exe Huddlex.rcc Qt6Widgets.dll platforms/qwindows.dll \
    Uninstall.exe; do
    [[ -f "$target/$file" ]] || fail "the installer did not install $file"
done
shortcut=$(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/*' -name 'Huddlex.lnk' | head -n 1)
[[ -n "$shortcut" ]] || fail "no Start-menu shortcut"
echo "installed under C:\\Program Files\\Huddlex, shortcut ${shortcut#"$WINEPREFIX/"}"
wine "$target/huddlex-validate.exe" --help </dev/null >"$scratch/help2.txt" 2>&1 ||
    fail "the installed huddlex-validate.exe does not run"
grep -q 'Uninstall\\\\Huddlex\]' "$WINEPREFIX/system.reg" ||
    fail "the installer registered no uninstaller"

wine "$target/Uninstall.exe" /S </dev/null >"$scratch/uninstall.log" 2>&1 ||
    fail "the uninstaller failed"
wineserver -w # the uninstaller goes on from a copy of itself
[[ ! -e "$target" ]] || { find "$target" >&2; fail "the uninstaller left files behind"; }
[[ ! -e "$shortcut" && ! -e "$(dirname "$shortcut")" ]] ||
    fail "the uninstaller left the Start-menu entry"
grep -q 'Uninstall\\\\Huddlex\]' "$WINEPREFIX/system.reg" &&
    fail "the uninstaller left its registry entry"
echo "package checks passed"
