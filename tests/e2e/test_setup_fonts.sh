#!/usr/bin/env bash
# Setup takes the faces the printouts use through the system's stand-ins
# (Arial, Times New Roman, Courier New as Liberation; Comic Sans MS as
# Comic Neue through the alias ./run installs) and still refuses a name
# that only falls back to a default font.
source "$(dirname "$0")/lib.sh"
fc-list : family | grep "Comic Neue" >/dev/null || { echo "SKIP: fonts-comic-neue is not installed"; exit 77; }
# The alias, as tools/install-font.sh installs it for the user.
mkdir -p "$E2E_HOME/.config/fontconfig/conf.d"
cp "$(dirname "$0")/../../resources/fontconfig/60-kelmo-comic-neue.conf" "$E2E_HOME/.config/fontconfig/conf.d/"

e2e_start "$1"
e2e_wait_at 20 34 "Select:  N"
e2e_type s
e2e_wait_for "CURRENT SETTINGS"
for pick in "1:Arial" "1:Times New Roman" "2:Courier New" "2:Comic Sans MS"; do
  item="${pick%%:*}" face="${pick#*:}"
  e2e_type "$item"
  e2e_wait_at 21 10 "$item. Font"
  e2e_type "$face"
  e2e_keys Enter
  e2e_wait_at $((item + 6)) 55 "$face " 5
  _e2e_has "does not exist" && e2e_fail "$face refused"
done
e2e_type 1
e2e_wait_at 21 10 "1. Font"
e2e_type "Nonesuch Font"
e2e_keys Enter
e2e_wait_for "The specified font does not exist on your system"
e2e_keys Space
e2e_keys Enter
e2e_type q
e2e_quit_from_menu
grep -q "^EventNameFont=Comic Sans MS" "$E2E_WORK/KELMO.INI" || e2e_fail "the event font was not saved"
e2e_pass
