#!/usr/bin/env bash
# The Windows build under wine in a console: the header and main menu in
# their colours, the window title, typed letters, Backspace, arrows and F1 read
# as single keys, Esc and Enter at the quit question end with code 0.
# $1 is build-windows/kelmo-wine (wine with the build's prefix).
source "$(dirname "$0")/../e2e/lib.sh"
e2e_start "$1" --no-font

e2e_wait_at 3 31 "HAND-RECORD GENERATOR" 60
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
e2e_keys Up Left F1 End
e2e_type "!"
e2e_wait_for "Ac!"
e2e_keys Enter
e2e_wait_for "Enter game date"
e2e_wait_at 6 35 "Ac! "
e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_expect_style 22 31 15 5
e2e_keys Enter
e2e_expect_exit 0 30
e2e_pass
