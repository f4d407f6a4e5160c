#!/usr/bin/env bash
# On a terminal with only eight colours the screens keep their colours:
# bright foregrounds come out bold (grey, light cyan, yellow, bright white).
source "$(dirname "$0")/lib.sh"
e2e_start "$1" --term xterm

e2e_wait_at 3 31 "HAND-RECORD GENERATOR"
e2e_wait_at 2 3 "╔══"
e2e_expect_style 2 3 8 1
e2e_expect_style 3 31 11 1
e2e_wait_at 14 29 "(N) New game"
e2e_expect_style 14 29 14 1
e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_expect_style 22 31 15 5
e2e_keys Enter
e2e_expect_exit 0
e2e_pass
