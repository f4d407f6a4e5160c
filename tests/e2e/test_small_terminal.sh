#!/usr/bin/env bash
# A terminal smaller than 80x25 gets a plain message and the program waits;
# once enlarged it shows the whole screen, and a resize while running leaves
# nothing of the message behind.
source "$(dirname "$0")/lib.sh"
e2e_start "$1" --size 80x24

e2e_wait_for "Please enlarge this window"
e2e_wait_for "80 columns by 25 rows"
_e2e_has "HAND-RECORD" && e2e_fail "drew the screen in a terminal too small for it"

e2e_resize 80 25
e2e_wait_at 3 31 "HAND-RECORD GENERATOR"
e2e_wait_at 20 34 "Select:  N"
_e2e_has "Please enlarge" && e2e_fail "the message stayed on the screen"

# Shrink while the menu waits, then grow past 80x25.
e2e_resize 60 20
e2e_wait_for "Please enlarge this window"
e2e_resize 100 30
e2e_wait_at 20 34 "Select:  N"
e2e_wait_at 3 31 "HAND-RECORD GENERATOR"
e2e_wait_at 24 3 "╚═════"
_e2e_has "Please enlarge" && e2e_fail "the message stayed on the screen"
[ -z "$(e2e_text 1 81 20 | tr -d ' ')" ] || e2e_fail "text beside the screen"

# The program still takes keys as before.
e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_keys y
e2e_expect_exit 0
e2e_pass
