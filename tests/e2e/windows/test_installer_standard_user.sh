#!/usr/bin/env bash
# The installer as a standard user meets it (no right to write the system's
# font folder or Program Files): a silent install into Program Files fails
# with a non-zero code and leaves no shortcut and no uninstall entry; the
# ordinary install puts the font where the user may (the user's own font
# folder), and Kelmo starts and prints its suits in the Bridge font.
# Usage: test_installer_standard_user.sh WINDOWS_BUILD_DIR
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/wine.sh"
trap 'win_cleanup; kill ${CUPSD:-} 2>/dev/null; _e2e_cleanup' EXIT
SETUP="$WIN_BUILD/kelmo-setup.exe"
[ -f "$SETUP" ] || { echo "SKIP: no kelmo-setup.exe"; exit 77; }

e2e_cups
win_standard_user
chmod 755 "$C"
cp "$SETUP" "$E2E_DIR/kelmo-setup.exe" && chmod 755 "$E2E_DIR/kelmo-setup.exe"
USER_DIR="$(win_path 'C:\users\nobody')"
MENU="$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelmo"
UNINSTALL='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelmo'

win_run cmd /c "Z:${E2E_DIR//\//\\}\\kelmo-setup.exe /S /D=C:\Program Files\Kelmo" &&
  e2e_fail "an install into a folder the user cannot write reported success"
[ ! -e "$MENU" ] || e2e_fail "the failed install left Start-menu entries"
"${WIN_AS[@]}" wine reg query "$UNINSTALL" >/dev/null 2>&1 && e2e_fail "the failed install left an uninstall entry"

win_run "$E2E_DIR/kelmo-setup.exe" /S || e2e_fail "the ordinary install failed"
DIR="$USER_DIR/AppData/Local/Kelmo"
cmp -s "$WIN_BUILD/kelmo.exe" "$DIR/kelmo.exe" || e2e_fail "kelmo.exe is not in %LOCALAPPDATA%\\Kelmo"
cmp -s "$WIN_BUILD/resources/fonts/bridge.ttf" "$USER_DIR/AppData/Local/Microsoft/Windows/Fonts/bridge.ttf" ||
  e2e_fail "the font is not in the user's font folder"
"${WIN_AS[@]}" wine reg query 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'Bridge (TrueType)' 2>/dev/null |
  grep -q 'Fonts\\bridge\.ttf' || e2e_fail "the font is not registered for the user"
[ ! -e "$(win_path 'C:\windows\Fonts')/bridge.ttf" ] || e2e_fail "a standard user wrote the system's font folder"
for link in Kelmo "Kelmo club files" "Kelmo Manual" "Uninstall Kelmo"; do
  [ -f "$MENU/$link.lnk" ] || e2e_fail "no Start-menu entry \"$link\""
done

# Wine, like Windows before 1809, does not load fonts installed for one
# user: Kelmo loads its own copy, and prints with it.
win_start "$DIR" kelmo.exe --env CUPS_SERVER="$CUPS_SERVER"
e2e_wait_at 3 31 "HAND-RECORD GENERATOR" 60
e2e_recall_game 300
e2e_type 3
e2e_wait_for "Load paper for"
e2e_type " "
e2e_wait_at 14 32 "PRINTING OPTIONS" 120
job="$(win_job 1)" || exit 1
grep -a -q "/FontName /Bridge" "$job" || e2e_fail "the suits were not printed in the Bridge font"
e2e_type q
e2e_wait_for "Prepare another game?"
e2e_keys Enter
e2e_expect_exit 0 30
e2e_pass
