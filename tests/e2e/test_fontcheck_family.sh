#!/usr/bin/env bash
# The suit font installed under another file name is still found: fontconfig
# reports the family "Bridge", and the main menu appears.
source "$(dirname "$0")/lib.sh"
BUILD="${KELMO_BUILD_DIR:-$(dirname "$1")}"
FONT="$BUILD/resources/fonts/bridge.ttf"
[ -f "$FONT" ] || e2e_fail "no generated font in $BUILD (build first)"
mkdir -p "$E2E_HOME/.local/share/fonts/kelmo"
cp "$FONT" "$E2E_HOME/.local/share/fonts/kelmo/suits.ttf"
HOME="$E2E_HOME" XDG_DATA_HOME="$E2E_HOME/.local/share" XDG_CACHE_HOME="$E2E_HOME/.cache" \
  XDG_CONFIG_HOME="$E2E_HOME/.config" fc-cache -f "$E2E_HOME/.local/share/fonts" >/dev/null 2>&1
HOME="$E2E_HOME" XDG_DATA_HOME="$E2E_HOME/.local/share" XDG_CACHE_HOME="$E2E_HOME/.cache" \
  XDG_CONFIG_HOME="$E2E_HOME/.config" fc-list : family | tr ',' '\n' | grep -x Bridge >/dev/null ||
  e2e_fail "fontconfig does not list the installed family Bridge"

e2e_start "$1" --no-font
e2e_quit_from_menu
e2e_pass
