#!/usr/bin/env bash
# Two copies in one club folder: the second says that Kelmo is running
# there and ends with code 1, and nothing of the first changes; a copy
# killed with -9 leaves no lock that stops the next one.
source "$(dirname "$0")/lib.sh"
KELMO="$1"

e2e_start "$KELMO"
e2e_wait_at 20 34 "Select:  N"
first="$(e2e_pid)"
# Names, sizes, times and the settings' bytes of the first copy's folder.
folder() { (cd "$E2E_WORK" && find . -printf '%p %y %s %T@\n' | sort && cat KELMO.INI); }
before="$(folder)"
[ -f "$E2E_WORK/KELMO.LCK" ] || e2e_fail "no lock file in the working folder"

E2E_SESSION=second
e2e_start "$KELMO"
e2e_wait_at 9 32 "─ ALREADY RUNNING ─"
e2e_expect_at 11 17 "Kelmo is already running in this folder."
e2e_keys x
e2e_expect_exit 1
[ "$(folder)" == "$before" ] || e2e_fail "the second copy changed the folder: $(diff <(echo "$before") <(folder))"

E2E_SESSION=e2e
e2e_expect_at 20 34 "Select:  N"
kill -9 "$first"
E2E_SESSION=third
e2e_start "$KELMO"
e2e_quit_from_menu
e2e_pass
