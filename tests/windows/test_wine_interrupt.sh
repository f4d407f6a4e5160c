#!/usr/bin/env bash
# The Windows build under wine: a temporary left by an earlier run that was
# cut short is gone once the program has started; Ctrl+C (a console event on
# Windows) ends it at once with 130 and a visible cursor.
source "$(dirname "$0")/../e2e/lib.sh"
printf 'half' > "$E2E_DIR/half"
e2e_start "$1" --no-font --file ".KELMO.INI.x1Y2z3=$E2E_DIR/half"

e2e_wait_at 20 34 "Select:  N" 60
[ -e "$E2E_WORK/.KELMO.INI.x1Y2z3" ] && e2e_fail "the stale temporary is still there"
e2e_keys C-c
e2e_wait_exit 20
[ "$E2E_EXIT" == 130 ] || e2e_fail "exit code $E2E_EXIT, expected 130"
e2e_wait_for "KELMO-E2E-AFTER"
[ "$(e2e_pane '#{cursor_flag}')" == 1 ] || e2e_fail "cursor left hidden"
e2e_pass
