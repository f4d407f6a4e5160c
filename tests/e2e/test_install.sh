#!/usr/bin/env bash
# `cmake --install` puts the program and its shared files under a prefix,
# and the installed program finds its manual there: Help hands the opener a
# file:// address inside the prefix, and the screen is repainted after.
source "$(dirname "$0")/lib.sh"
[ -n "${KELMO_BUILD_DIR:-}" ] || KELMO_BUILD_DIR="$(dirname "$1")"
PREFIX="$E2E_DIR/prefix"
cmake --install "$KELMO_BUILD_DIR" --prefix "$PREFIX" >/dev/null || e2e_fail "cmake --install failed"
MANUAL="$PREFIX/share/kelmo/Bridge/Software/Manuals/Kelmo-Manual.htm"
[ -x "$PREFIX/bin/kelmo" ] || e2e_fail "no bin/kelmo under the prefix"
[ -f "$MANUAL" ] || e2e_fail "no manual under the prefix"
# The sounds are inside the program; no copies of the waves ship beside it.
[ ! -e "$PREFIX/share/kelmo/sounds" ] || e2e_fail "wave copies installed under the prefix"

# A stand-in opener that notes the address it was given.
mkdir -p "$E2E_DIR/bin"
cat >"$E2E_DIR/bin/xdg-open" <<OPENER
#!/bin/sh
printf '%s\n' "\$1" > "$E2E_DIR/opened"
echo "OPENER RAN"
OPENER
chmod +x "$E2E_DIR/bin/xdg-open"

e2e_start "$PREFIX/bin/kelmo" --env "PATH=$E2E_DIR/bin:$PATH"
e2e_wait_at 20 34 "Select:  N"
e2e_keys h
_e2e_until 10 test -s "$E2E_DIR/opened" || e2e_fail "the opener was not run"
[ "$(cat "$E2E_DIR/opened")" == "file://$(cd "$PREFIX" && pwd -P)/share/kelmo/Bridge/Software/Manuals/Kelmo-Manual.htm" ] ||
  e2e_fail "opened $(cat "$E2E_DIR/opened")"
e2e_wait_at 3 31 "HAND-RECORD GENERATOR"
e2e_wait_at 20 34 "Select:  N"
e2e_wait_gone "OPENER RAN"
e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_keys Enter
e2e_expect_exit 0
e2e_pass
