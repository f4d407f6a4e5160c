#!/usr/bin/env bash
# A crash still gives the terminal back, and is reported as the crash it is.
source "$(dirname "$0")/lib.sh"
e2e_start "$1"

e2e_wait_at 20 34 "Select:  N"
pid="$(e2e_pid)"
[ -n "$pid" ] || e2e_fail "no program process"
kill -SEGV "$pid"
e2e_wait_exit
[ "$E2E_EXIT" == 139 ] || e2e_fail "exit code $E2E_EXIT after SIGSEGV, expected 139"
e2e_wait_for "KELMO-E2E-AFTER"
[ "$(e2e_pane '#{alternate_on}')" == 0 ] || e2e_fail "still on the alternate screen"
[ "$(e2e_pane '#{cursor_flag}')" == 1 ] || e2e_fail "cursor left hidden"
e2e_pass
