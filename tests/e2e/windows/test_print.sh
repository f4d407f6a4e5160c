#!/usr/bin/env bash
# A printout of the Windows program reaches the default printer (a private
# cupsd, through wine's printer driver) as one job named "Print Job" with as
# many pages as the program asked paper for, its suits in the Bridge font;
# a job the queue refuses is reported on row 22.
# Usage: test_print.sh WINDOWS_BUILD_DIR
source "$(dirname "$0")/../lib.sh"
source "$(dirname "$0")/wine.sh"
[ -f "$WIN_BUILD/resources/fonts/bridge.ttf" ] || e2e_fail "no resources/fonts/bridge.ttf in $WIN_BUILD"

trap 'win_cleanup; kill ${CUPSD:-} 2>/dev/null; _e2e_cleanup' EXIT
e2e_cups
win_prefix
# The suit font where the program's font check and the printer find it.
cp "$WIN_BUILD/resources/fonts/bridge.ttf" "$(win_path 'C:\windows\Fonts')/bridge.ttf"
mkdir -p "$E2E_DIR/club"
cp "$WIN_BUILD/kelmo.exe" "$E2E_DIR/club/"

win_start "$E2E_DIR/club" kelmo.exe --env CUPS_SERVER="$CUPS_SERVER"
e2e_recall_game 300

e2e_type 3
e2e_wait_for "Load paper for"
pages="$(e2e_screen | sed -n 's/.*Load paper for \([0-9]*\) pages.*/\1/p')"
[ -n "$pages" ] || e2e_fail "no page count on the screen"
e2e_type " "
e2e_wait_at 14 32 "PRINTING OPTIONS" 120

job="$(win_job 1)" || exit 1
grep -a -q "job-name.*Print Job" "$C/spool/c00001" || e2e_fail "the job is not named \"Print Job\""
printed="$(grep -a -c '^%%Page:' "$job")"
[ "$printed" == "$pages" ] || e2e_fail "$printed pages printed, the program asked paper for $pages"
grep -a -q "/FontName /Bridge" "$job" || e2e_fail "the suits were not printed in the Bridge font"

# A queue that refuses jobs: the director's sheet is not printed, and row 22
# says so in bright white on magenta.
cupsreject kelmotest || e2e_fail "cupsreject failed"
e2e_type 1
e2e_wait_for "Not printed: the printer kelmotest did not take the job" 60
col=$(($(e2e_screen | sed -n 22p | grep -bo "Not printed" | cut -d: -f1) + 1))
e2e_expect_style 22 "$col" 15 5
e2e_type " "
e2e_wait_at 14 32 "PRINTING OPTIONS" 30
[ ! -e "$C/spool/d00002-001" ] || e2e_fail "the refused job was spooled"

e2e_type q
e2e_wait_for "Prepare another game?"
e2e_keys Enter
e2e_expect_exit 0 30
e2e_pass
