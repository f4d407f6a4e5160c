#!/usr/bin/env bash
# Keys through a real terminal or console: the header and main menu in their
# colours and the window title; typed letters, Backspace and Enter reach
# the input routines as themselves; arrow and function keys arrive as single
# keys (refused there, never read as Esc plus letters); Esc abandons at once.
source "$(dirname "$0")/lib.sh"
e2e_start "$1"

e2e_wait_at 3 31 "HAND-RECORD GENERATOR" "$E2E_START"
e2e_wait_at 2 3 "╔══════════"
e2e_wait_at 3 10 "♠  ♥  ♦  ♣"
e2e_wait_at 14 29 "(N) New game"
e2e_wait_at 20 34 "Select:  N"
e2e_expect_style 2 3 8 1
e2e_expect_style 3 31 11 1
e2e_expect_style 3 10 12 1
e2e_expect_style 14 29 14 1
[ "$(e2e_pane '#{pane_title}')" == "Vantry's Card Den" ] || e2e_fail "title is \"$(e2e_pane '#{pane_title}')\""

e2e_keys n
e2e_wait_for "Enter club name:"
e2e_type "Ab"
e2e_keys BSpace
e2e_type "c"
e2e_keys Up Left F2 End
e2e_type "!"
e2e_wait_for "Ac!"
e2e_wait_at 17 13 "Enter club name:"
e2e_keys Enter
e2e_wait_for "Enter game date"
e2e_wait_at 6 35 "Ac! "

e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_expect_style 22 31 15 5
e2e_keys n
e2e_wait_at 20 34 "Select:  N"
e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_keys Escape
e2e_expect_exit 0 30
e2e_pass
