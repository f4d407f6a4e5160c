#!/usr/bin/env bash
# The header screen in a real terminal; Esc at the main menu, then
# Enter at the quit question, ends the program with code 0 and gives the
# terminal back as it was.
source "$(dirname "$0")/lib.sh"
e2e_start "$1"

# The header's texts and places are the scripted console's business; here
# the real terminal must show the code page 437 frame and suit glyphs.
e2e_wait_at 3 31 "HAND-RECORD GENERATOR"
e2e_wait_at 2 3 "╔══════════"
e2e_wait_at 3 10 "♠  ♥  ♦  ♣"
e2e_wait_at 12 3 "╟─────"
e2e_wait_at 24 78 "╝"
e2e_wait_at 20 34 "Select:  N"
# Colours by console number: frame grey on blue, title light cyan, suits
# light red, menu yellow on blue.
e2e_expect_style 2 3 8 1
e2e_expect_style 3 31 11 1
e2e_expect_style 3 10 12 1
e2e_expect_style 14 29 14 1
[ "$(e2e_pane '#{alternate_on}')" == 1 ] || e2e_fail "the program does not use the alternate screen"
[ "$(e2e_pane '#{pane_title}')" == "Vantry's Card Den" ] || e2e_fail "title is \"$(e2e_pane '#{pane_title}')\""

e2e_keys Escape
e2e_wait_at 22 30 " Quit program?  (Y/n) "
e2e_expect_style 22 31 15 5   # bright white on magenta
e2e_keys Enter
e2e_expect_exit 0

# The terminal is back: normal screen with what was there before, cursor shown.
e2e_wait_for "KELMO-E2E-AFTER"
e2e_wait_for "KELMO-E2E-BEFORE"
[ "$(e2e_pane '#{alternate_on}')" == 0 ] || e2e_fail "still on the alternate screen"
[ "$(e2e_pane '#{cursor_flag}')" == 1 ] || e2e_fail "cursor left hidden"
[ "$(e2e_pane '#{keypad_flag}')" == 0 ] || e2e_fail "keypad mode left on"
e2e_pass
