#!/usr/bin/env bash
# With the suit font installed into the (private) HOME by the set-up step,
# the check passes and the main menu appears.
source "$(dirname "$0")/lib.sh"
BUILD="${KELMO_BUILD_DIR:-$(dirname "$1")}"
[ -f "$BUILD/resources/fonts/bridge.ttf" ] || e2e_fail "no generated font in $BUILD (build first)"
HOME="$E2E_HOME" XDG_DATA_HOME="$E2E_HOME/.local/share" XDG_CACHE_HOME="$E2E_HOME/.cache" \
  bash "$(dirname "$0")/../../tools/install-font.sh" "$BUILD" || e2e_fail "install-font.sh failed"
[ -f "$E2E_HOME/.local/share/fonts/bridge.ttf" ] || e2e_fail "the font was not installed"

e2e_start "$1" --no-font
e2e_wait_at 20 34 "Select:  N"
_e2e_has "SETUP ERROR" && e2e_fail "SETUP ERROR shown with the font installed"
e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_keys Enter
e2e_expect_exit 0
e2e_pass
