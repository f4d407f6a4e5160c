#!/usr/bin/env bash
# The installer as a director clicks through it, on a virtual display: the
# welcome page, the parts (the desktop shortcut), the folder, the install,
# and the finish page, whose "Start Kelmo" starts the program in its folder;
# then the uninstaller, whose last page says where the club's files stay.
# A picture of each page is kept in the build folder (installer-pages/).
# Usage: test_installer_gui.sh WINDOWS_BUILD_DIR
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/wine.sh"
for tool in Xvfb xdotool xwd xwdtopnm pnmtopng; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
SETUP="$WIN_BUILD/kelmo-setup.exe"
[ -f "$SETUP" ] || { echo "SKIP: no kelmo-setup.exe"; exit 77; }
trap 'win_cleanup; kill ${XVFB:-} 2>/dev/null; _e2e_cleanup' EXIT

Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp 3>"$E2E_DIR/display" 2>/dev/null &
XVFB=$!
for _ in $(seq 50); do [ -s "$E2E_DIR/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$E2E_DIR/display")"
PAGES="$WIN_BUILD/installer-pages"
rm -rf "$PAGES" && mkdir -p "$PAGES"
win_prefix

shot() { xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$1"; }
# Waits until the display shows something other than the last picture and
# holds still, then keeps it as page NAME.
LAST="$E2E_DIR/none.png"
shot "$LAST"
page() {
  local name="$1" now="$E2E_DIR/now.png" before="$E2E_DIR/before.png"
  for _ in $(seq 150); do
    shot "$now"
    if ! cmp -s "$now" "$LAST"; then
      sleep 0.5
      shot "$before"
      cmp -s "$now" "$before" && break
    fi
    sleep 0.2
  done
  cmp -s "$now" "$LAST" && e2e_fail "the page \"$name\" did not come"
  cp "$now" "$PAGES/$name.png"
  cp "$now" "$LAST"
}
# A key to the installer's window, which has the focus on a display with no
# window manager once it is given it.
press() {
  local window
  window="$(xdotool search --name "$1" | head -1)"
  [ -n "$window" ] || e2e_fail "no window \"$1\""
  xdotool windowfocus --sync "$window" key --clearmodifiers "$2" || e2e_fail "no key $2 for \"$1\""
}

wine "$SETUP" </dev/null >/dev/null 2>&1 &
page 1-welcome
press "Kelmo Setup" Return
page 2-components
press "Kelmo Setup" Return
page 3-folder
press "Kelmo Setup" Return
DIR="$(win_path "C:\\users\\$(whoami)\\AppData\\Local\\Kelmo")"
for _ in $(seq 300); do [ -f "$DIR/uninstall.exe" ] && break; sleep 0.1; done
[ -f "$DIR/kelmo.exe" ] || e2e_fail "nothing was installed in $DIR"
page 4-finish
[ -f "$(win_path "C:\\users\\$(whoami)\\Desktop")/Kelmo.lnk" ] || e2e_fail "no desktop shortcut"
# Finish, with "Start Kelmo" and "Open the club folder" ticked: Kelmo
# starts in its folder, where it writes its settings.
press "Kelmo Setup" Return
for _ in $(seq 300); do [ -f "$DIR/KELMO.INI" ] && break; sleep 0.1; done
[ -f "$DIR/KELMO.INI" ] || e2e_fail "Start Kelmo did not start it in its folder"
page 5-kelmo-started
wineserver -k >/dev/null 2>&1
wineserver -w
sleep 0.5
shot "$LAST"

wine "$DIR/uninstall.exe" </dev/null >/dev/null 2>&1 &
page 6-uninstall
press "Kelmo Uninstall" Return
for _ in $(seq 300); do [ ! -f "$DIR/kelmo.exe" ] && break; sleep 0.1; done
page 7-uninstall-finish
press "Kelmo Uninstall" Return
[ ! -f "$DIR/kelmo.exe" ] || e2e_fail "the uninstaller left kelmo.exe"
[ -f "$DIR/KELMO.INI" ] || e2e_fail "the uninstaller removed the club's KELMO.INI"
e2e_pass
