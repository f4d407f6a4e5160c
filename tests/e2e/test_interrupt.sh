#!/usr/bin/env bash
# Ctrl+C ends the program at once and gives the terminal back.
source "$(dirname "$0")/lib.sh"
e2e_start "$1"

e2e_wait_at 20 34 "Select:  N"
e2e_keys C-c
e2e_wait_exit
[ "$E2E_EXIT" == 130 ] || e2e_fail "exit code $E2E_EXIT after Ctrl+C, expected 130"
e2e_wait_for "KELMO-E2E-AFTER"
[ "$(e2e_pane '#{alternate_on}')" == 0 ] || e2e_fail "still on the alternate screen"
[ "$(e2e_pane '#{cursor_flag}')" == 1 ] || e2e_fail "cursor left hidden"
e2e_pass
