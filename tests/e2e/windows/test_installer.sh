#!/usr/bin/env bash
# The installer, run silently into a folder given with /D (with a blank in
# its name), puts the program, its manual and the suit font where the
# program finds them: the installed program passes its font check and shows
# the header and the main menu. Run again without a folder, it finds that
# one again. The uninstaller takes all that away again
# and keeps the user's settings and games. Another program's BRIDGE.TTF,
# installed for all users, stays byte for byte through an install and an
# uninstall, and so does its registration.
# Usage: test_installer.sh WINDOWS_BUILD_DIR (builds kelmo-setup.exe there
# when it is missing).
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/wine.sh"
trap 'win_cleanup; _e2e_cleanup' EXIT
SETUP="$WIN_BUILD/kelmo-setup.exe"
if [ ! -f "$SETUP" ]; then
  command -v makensis >/dev/null || { echo "SKIP: no makensis"; exit 77; }
  "$(dirname "$0")/../../../tools/windows/build-installer.sh" "$WIN_BUILD" >/dev/null ||
    e2e_fail "the installer did not build"
fi

win_prefix
FONT="$(win_path 'C:\windows\Fonts')/bridge.ttf"
rm -f "$FONT"
# Typed as a user would: /D takes the rest of the line, blanks and all, so
# it goes through cmd, where wine does not quote it as one argument.
win_run cmd /c "$(winepath -w "$SETUP") /S /D=C:\Bridge Club\Kelmo" || e2e_fail "the silent install failed"
DIR="$(win_path 'C:\Bridge Club\Kelmo')"
MENU="$(win_path 'C:\users')/$(whoami)/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelmo"
cmp -s "$WIN_BUILD/kelmo.exe" "$DIR/kelmo.exe" || e2e_fail "kelmo.exe is not in the install folder"
[ -f "$DIR/Bridge/Software/Manuals/Kelmo-Manual.htm" ] || e2e_fail "the manual is not installed"
cmp -s "$WIN_BUILD/resources/fonts/bridge.ttf" "$FONT" || e2e_fail "the font is not in the system's font folder"
wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'Bridge (TrueType)' 2>/dev/null |
  grep -q 'bridge\.ttf' || e2e_fail "the font is not registered"
[ -f "$MENU/Kelmo.lnk" ] || e2e_fail "no Start-menu entry"

win_start "$DIR" kelmo.exe
e2e_wait_at 20 34 "Select:  N" 60
e2e_expect_at 3 31 "HAND-RECORD GENERATOR"
e2e_keys Escape
e2e_wait_for "Quit program?"
e2e_keys Enter
e2e_expect_exit 0 30

# Installed again without a folder, as an upgrade or a repair is: it goes
# where the club's files are, and so do its shortcuts.
win_run "$SETUP" /S || e2e_fail "the second install failed"
[ ! -e "$(win_path 'C:\users')/$(whoami)/AppData/Local/Kelmo" ] || e2e_fail "the second install went to another folder"
cmp -s "$WIN_BUILD/kelmo.exe" "$DIR/kelmo.exe" || e2e_fail "kelmo.exe is not in the first install's folder"
grep -a -q 'Bridge Club' "$MENU/Kelmo.lnk" || e2e_fail "the Start-menu entry leads elsewhere"

# What the club made with the program stays.
mkdir -p "$DIR/GAMEFILE.KM"
for f in KELMO.INI CLUBNAME.KM GAMEFILE.KM/150307A.KM 150307A.PBN; do
  [ -f "$DIR/$f" ] || echo "kept" >"$DIR/$f"
done
win_run "$DIR/uninstall.exe" /S || e2e_fail "the silent uninstall failed"
for f in kelmo.exe uninstall.exe Bridge; do
  [ ! -e "$DIR/$f" ] || e2e_fail "the uninstaller left $f"
done
[ ! -e "$FONT" ] || e2e_fail "the uninstaller left the font"
[ ! -e "$MENU" ] || e2e_fail "the uninstaller left the Start-menu entries"
for f in KELMO.INI CLUBNAME.KM GAMEFILE.KM/150307A.KM 150307A.PBN; do
  [ -f "$DIR/$f" ] || e2e_fail "the uninstaller removed the user's $f"
done

# The same name and family, other bytes: not ours.
FONTS_KEY='HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts'
printf 'another program' | cat "$WIN_BUILD/resources/fonts/bridge.ttf" - >"$E2E_DIR/foreign.ttf"
cp "$E2E_DIR/foreign.ttf" "$FONT"
wine reg add "$FONTS_KEY" /v 'Bridge (TrueType)' /d 'BRIDGE.TTF' /f >/dev/null 2>&1
registered() { wine reg query "$FONTS_KEY" /v 'Bridge (TrueType)' 2>/dev/null | grep -q 'BRIDGE\.TTF'; }
win_run cmd /c "$(winepath -w "$SETUP") /S /D=C:\Bridge Club\Kelmo" || e2e_fail "the install beside a foreign font failed"
cmp -s "$E2E_DIR/foreign.ttf" "$FONT" || e2e_fail "the installer replaced another program's BRIDGE.TTF"
registered || e2e_fail "the installer changed another program's font registration"
win_run "$DIR/uninstall.exe" /S || e2e_fail "the second silent uninstall failed"
cmp -s "$E2E_DIR/foreign.ttf" "$FONT" || e2e_fail "the uninstaller removed another program's BRIDGE.TTF"
registered || e2e_fail "the uninstaller removed another program's font registration"
e2e_pass
