#!/usr/bin/env bash
# With a CUPS default printer, a printout is handed to it as "Print Job",
# byte for byte the PDF that is kept in PRINTS; when the queue refuses the
# job, row 22 says so. The printer is a private cupsd with a raw queue that
# keeps its job files. The game's web page is the same on both systems.
source "$(dirname "$0")/lib.sh"
trap 'kill ${CUPSD:-} 2>/dev/null; _e2e_cleanup' EXIT
e2e_cups

e2e_start "$1" --env CUPS_SERVER="$C/cups.sock"
e2e_recall_game 120
# The analysis hid the cursor; the printing options show it again, at
# "Select:" (a terminal's very visible cursor does not show a hidden one).
sleep 0.3
[ "$(e2e_pane '#{cursor_flag}')" == 1 ] || e2e_fail "the cursor is hidden at the printing options"
e2e_type 1
e2e_wait_for "DIRECTOR'S QUICK-DUPE SHEET"
e2e_wait_at 14 32 "PRINTING OPTIONS" 30

pdf="$E2E_WORK/PRINTS/150307A-dupe.pdf"
[ -f "$pdf" ] || e2e_fail "no $pdf"
for _ in $(seq 50); do [ -f "$C/spool/d00001-001" ] && break; sleep 0.1; done
cmp -s "$pdf" "$C/spool/d00001-001" || e2e_fail "the printer did not get the PDF"
grep -a -q "Print Job" "$C/spool/c00001" || e2e_fail "the job is not named \"Print Job\""

# A queue that refuses jobs: the second sheet is kept under its own name and
# the refusal is reported on row 22.
# A busy server may answer "service unavailable" for a moment.
for _ in $(seq 20); do cupsreject kelmotest 2>/dev/null && break; sleep 0.5; done
lpstat -a kelmotest 2>/dev/null | grep -q "not accepting" || e2e_fail "cupsreject failed"
e2e_type 1
e2e_wait_for "Not printed, kept PRINTS/150307A-dupe-2.pdf:" 20
col=$(($(e2e_screen | sed -n 22p | grep -bo "Not printed" | cut -d: -f1) + 1))
e2e_expect_style 22 "$col" 15 5
[ -f "$E2E_WORK/PRINTS/150307A-dupe-2.pdf" ] || e2e_fail "the second sheet was not kept"
cmp -s "$pdf" "$C/spool/d00001-001" || e2e_fail "the first sheet was replaced"
e2e_type " "
e2e_wait_at 14 32 "PRINTING OPTIONS" 30

# The game's web page, its browser declined.
e2e_type w
e2e_wait_for "Open it in the web browser?"
e2e_type n
e2e_wait_for "Saved GAMEFILE.KM/150307A.html"
e2e_expect_page "$E2E_WORK/GAMEFILE.KM/150307A.html"

e2e_type q
e2e_wait_for "Prepare another game?"
e2e_keys Enter
e2e_expect_exit 0
e2e_pass
