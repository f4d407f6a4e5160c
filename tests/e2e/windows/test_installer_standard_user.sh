#!/usr/bin/env bash
# The installer as a standard user meets it (no right to write the system's
# font folder or Program Files), the user's profile folder named with an
# accented letter: a silent install into Program Files fails with a non-zero
# code and leaves no shortcut and no uninstall entry; the install into
# C:\Société\Kelmo puts the font where the user may (the user's own font
# folder). Kelmo starts there; without a printer it says so before any
# question of paper; Help hands the manual's address to the browser (a
# stand-in that records it); the game's PBN file and web page are saved in
# the folder, the page (the Linux one's bytes) handed to the browser too;
# with a printer it prints its suits in the Bridge font.
# Usage: test_installer_standard_user.sh WINDOWS_BUILD_DIR
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/wine.sh"
trap 'win_cleanup; kill ${CUPSD:-} 2>/dev/null; _e2e_cleanup' EXIT
SETUP="$WIN_BUILD/kelmo-setup.exe"
[ -f "$SETUP" ] || { echo "SKIP: no kelmo-setup.exe"; exit 77; }
command -v x86_64-w64-mingw32-gcc >/dev/null || { echo "SKIP: no mingw"; exit 77; }
# Wine names the profile folder after the user.
export USER='José' LOGNAME='José'
x86_64-w64-mingw32-gcc -O1 -static "$(dirname "$0")/../../windows/record_command_line.c" \
  -o "$E2E_DIR/record.exe" || e2e_fail "the stand-in browser did not build"
chmod 755 "$E2E_DIR/record.exe"

e2e_cups
win_standard_user
chmod 755 "$C"
cp "$SETUP" "$E2E_DIR/kelmo-setup.exe" && chmod 755 "$E2E_DIR/kelmo-setup.exe"
USER_DIR="$(win_path 'C:\users\José')"
MENU="$USER_DIR/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelmo"
UNINSTALL='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelmo'

win_run cmd /c "Z:${E2E_DIR//\//\\}\\kelmo-setup.exe /S /D=C:\Program Files\Kelmo" &&
  e2e_fail "an install into a folder the user cannot write reported success"
[ ! -e "$MENU" ] || e2e_fail "the failed install left Start-menu entries"
"${WIN_AS[@]}" wine reg query "$UNINSTALL" >/dev/null 2>&1 && e2e_fail "the failed install left an uninstall entry"

win_run cmd /c "Z:${E2E_DIR//\//\\}\\kelmo-setup.exe /S /D=C:\Société\Kelmo" || e2e_fail "the install failed"
DIR="$(win_path 'C:\Société\Kelmo')"
cmp -s "$WIN_BUILD/kelmo.exe" "$DIR/kelmo.exe" || e2e_fail "kelmo.exe is not in C:\\Société\\Kelmo"
cmp -s "$WIN_BUILD/resources/fonts/bridge.ttf" "$USER_DIR/AppData/Local/Microsoft/Windows/Fonts/bridge.ttf" ||
  e2e_fail "the font is not in the user's font folder"
"${WIN_AS[@]}" wine reg query 'HKCU\Software\Microsoft\Windows NT\CurrentVersion\Fonts' /v 'Bridge (TrueType)' 2>/dev/null |
  grep -q 'Fonts\\bridge\.ttf' || e2e_fail "the font is not registered for the user"
[ ! -e "$(win_path 'C:\windows\Fonts')/bridge.ttf" ] || e2e_fail "a standard user wrote the system's font folder"
for link in Kelmo "Kelmo club files" "Kelmo Manual" "Uninstall Kelmo"; do
  [ -f "$MENU/$link.lnk" ] || e2e_fail "no Start-menu entry \"$link\""
done

# No printer at all: said before any question of paper. Help opens the
# manual of the accented folder; the PBN file is saved there. Wine takes
# ComSpec from the registry, where the user's value comes last.
"${WIN_AS[@]}" wine reg add 'HKCU\Environment' /v ComSpec /d "Z:${E2E_DIR//\//\\}\\record.exe" /f >/dev/null 2>&1
"${WIN_AS[@]}" wineserver -w
win_start "$DIR" kelmo.exe --env CUPS_SERVER="$E2E_DIR/none.sock" \
  --env KELMO_RECORD="Z:${E2E_HOME//\//\\}\\opened.txt"
e2e_wait_at 3 31 "HAND-RECORD GENERATOR" 60
e2e_recall_game 300
e2e_type 3
e2e_wait_for "No printer is installed: add one in Settings, or Microsoft Print to PDF"
_e2e_has "Load paper" && e2e_fail "paper was asked for without a printer"
e2e_type " "
e2e_type h
for _ in $(seq 100); do [ -s "$E2E_HOME/opened.txt" ] && break; sleep 0.1; done
grep -q 'file:///C:/Soci%C3%A9t%C3%A9/Kelmo/Bridge/Software/Manuals/Kelmo-Manual.htm' "$E2E_HOME/opened.txt" ||
  e2e_fail "Help did not hand the manual's address to the browser: $(cat "$E2E_HOME/opened.txt" 2>&1)"
e2e_type p
e2e_wait_for "Saved GAMEFILE.KM\150307A.pbn"
[ -f "$DIR/GAMEFILE.KM/150307A.pbn" ] || e2e_fail "no PBN file in C:\\Société\\Kelmo"
# The web page beside it, handed to the browser the same way.
e2e_type w
e2e_wait_for "Open it in the web browser?"
e2e_keys Enter
for _ in $(seq 100); do grep -q 'html' "$E2E_HOME/opened.txt" && break; sleep 0.1; done
grep -qi 'file:///C:/Soci%C3%A9t%C3%A9/Kelmo/GAMEFILE.KM/150307A.html' "$E2E_HOME/opened.txt" ||
  e2e_fail "the web page was not handed to the browser: $(cat "$E2E_HOME/opened.txt")"
e2e_expect_page "$DIR/GAMEFILE.KM/150307A.html"
e2e_type q
e2e_wait_for "Prepare another game?"
e2e_keys Enter
e2e_expect_exit 0 30

# Wine, like Windows before 1809, does not load fonts installed for one
# user: Kelmo loads its own copy, and prints with it.
# The game again, its names from the archive the first run wrote.
E2E_SESSION=printing
win_start "$DIR" kelmo.exe --env CUPS_SERVER="$CUPS_SERVER"
e2e_recall_game 300 known
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
