#!/usr/bin/env bash
# Keys through a real terminal: typed letters, Backspace and Enter reach the
# input routines as themselves; arrow and function keys arrive as single
# keys (refused there, never read as Esc plus letters); Esc abandons at once.
source "$(dirname "$0")/lib.sh"
e2e_start "$1"

e2e_wait_at 20 34 "Select:  N"
e2e_keys n
e2e_wait_for "Enter club name:"
e2e_type "Ab"
e2e_keys BSpace
e2e_type "c"
e2e_keys Up Left F1 End
e2e_type "!"
e2e_wait_for "Ac!"
e2e_wait_at 17 13 "Enter club name:"
e2e_keys Enter
e2e_wait_for "Enter game date"
e2e_wait_at 6 35 "Ac! "

e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_keys n
e2e_wait_at 20 34 "Select:  N"
e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_keys Escape
e2e_expect_exit 0
e2e_pass
