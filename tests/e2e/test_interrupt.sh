#!/usr/bin/env bash
# Ctrl+C (a console event on Windows) ends the program at once with 130 and
# gives the terminal back; a temporary left by an earlier kill -9 is gone
# once the program has started.
source "$(dirname "$0")/lib.sh"
printf 'half' > "$E2E_DIR/half"
e2e_start "$1" --file ".KELMO.INI.x1Y2z3=$E2E_DIR/half"

e2e_wait_at 20 34 "Select:  N" "$E2E_START"
[ -e "$E2E_WORK/.KELMO.INI.x1Y2z3" ] && e2e_fail "the stale temporary is still there"
e2e_keys C-c
e2e_wait_exit 20
[ "$E2E_EXIT" == 130 ] || e2e_fail "exit code $E2E_EXIT, expected 130"
e2e_wait_for "KELMO-E2E-AFTER"
[ "$(e2e_pane '#{cursor_flag}')" == 1 ] || e2e_fail "cursor left hidden"
if ((!E2E_WINE)); then
  [ "$(e2e_pane '#{alternate_on}')" == 0 ] || e2e_fail "still on the alternate screen"
  [ "$(e2e_pane '#{keypad_cursor_flag}')" == 0 ] || e2e_fail "keypad left in application mode"
  e2e_tty_restored || e2e_fail "terminal modes not restored"
fi
e2e_pass
