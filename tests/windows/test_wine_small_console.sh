#!/usr/bin/env bash
# The Windows build in a console smaller than 80x25 says so, as the Linux
# build does, and draws nothing of its screen; Ctrl+C still ends it. (Wine
# does not pass on a resize of its terminal, so the redraw once the window
# is large enough is not shown here.)
source "$(dirname "$0")/../e2e/lib.sh"
e2e_start "$1" --no-font --size 70x20
e2e_wait_for "Please enlarge this window" 60
e2e_wait_for "(It is now 70 by 20.)"
_e2e_has "HAND-RECORD" && e2e_fail "drew the screen in a console too small for it"
e2e_keys C-c
e2e_wait_exit 20
[ "$E2E_EXIT" == 130 ] || e2e_fail "exit code $E2E_EXIT, expected 130"
e2e_pass
