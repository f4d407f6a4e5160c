#!/usr/bin/env bash
# Recall from the control number printed on a hand-record: 91722 31459 is
# the game of 03/07/15, afternoon, 24 boards, game number 1234, and its
# board 1 must appear in the check box exactly as every other site deals it
# (the Linux program, and the Windows one under wine).
source "$(dirname "$0")/lib.sh"
e2e_start "$1"

e2e_wait_at 20 34 "Select:  N" "$E2E_START"
e2e_type r
e2e_wait_at 15 13 "Enter control string from handrecord:"
e2e_type "91722 31459"
e2e_keys Enter

# Board 1 in its box: what stands where is checked on the scripted console;
# here the suit and void glyphs and the colours as the terminal shows them.
e2e_wait_at 22 13 "Does this deal match Board #1 on the handrecord?  (Y/n)"
e2e_expect_at 6 40 "┌"
e2e_expect_at 7 50 "♠ A753"
e2e_expect_at 15 50 "♠ ──"
e2e_expect_at 18 50 "♣ K874"
e2e_expect_style 7 50 4 15   # suit symbol red on white
e2e_expect_style 7 52 0 15   # holding black on white

e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_keys Enter
e2e_expect_exit 0 30
e2e_pass
