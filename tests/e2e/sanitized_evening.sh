#!/usr/bin/env bash
# The sanitizer build of the program through a director's evening in a real
# terminal: a new game printed, its PBN file written; a recall printed; the
# PBN file imported and printed; the end. Any fault the sanitizers find
# ends the program at once with another exit code than 0.
#   bash tests/e2e/sanitized_evening.sh BUILD-ASAN/kelmo
source "$(dirname "$0")/lib.sh"
SUPP="$(cd "$(dirname "$0")/.." && pwd)/lsan.supp"
printf '%s\r\n' "ClubNameFont=times new roman" "EventNameFont=comic sans ms" "ClubNamePrompt=yes" \
  "ColorPrinting=no" "AutoCreatePBNfile=yes" "PBNfilesDirectory=gamefile.km" "Bridge" "For" "Keelward" \
  >"$E2E_WORK/KELMO.INI"

# No printer: every printout is kept in PRINTS.
e2e_start "$1" --env ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
  --env "LSAN_OPTIONS=suppressions=$SUPP" --env UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  --env "CUPS_SERVER=$E2E_DIR/no-cups.sock"

print_dupe() {
  e2e_type 1
  e2e_wait_for "DIRECTOR'S QUICK-DUPE SHEET" 30
  e2e_wait_at 14 32 "PRINTING OPTIONS" 60
}
another_game() {
  e2e_type q
  e2e_wait_for "Prepare another game?" 20
  e2e_type y
  e2e_wait_at 20 34 "Select:  N" 30
}

# A new game of 03/07/15, afternoon, 24 boards.
e2e_wait_at 20 34 "Select:  N" 60
e2e_keys Enter
e2e_wait_for "Enter club name:" 20
e2e_type "Keelward Club"; e2e_keys Enter
e2e_wait_for "Enter game date" 20
e2e_type "030715"; e2e_keys Enter
e2e_wait_for "Select session:" 20
e2e_type a
e2e_wait_for "Enter event name:" 20
e2e_type "Pairs"; e2e_keys Enter
e2e_wait_for "Select print format:" 20
e2e_type 2
e2e_wait_for "Entries correct?" 20
e2e_keys Enter
e2e_wait_at 14 32 "PRINTING OPTIONS" 180
print_dupe
pbn="$E2E_WORK/GAMEFILE.KM/150307A.pbn"
[ -f "$pbn" ] || e2e_fail "no PBN file $pbn"
another_game

# A recall of another game of that date: the archive is the new game's, so
# the names are asked for.
e2e_type r
e2e_wait_at 15 13 "Enter control string from handrecord:" 20
e2e_type "91722 31459"; e2e_keys Enter
e2e_wait_for "Does this deal match Board #1" 30
e2e_keys Enter
e2e_wait_for "The archive file is of another game" 20
e2e_wait_for "Enter club name:" 20
e2e_keys Enter
e2e_wait_for "Enter event name:" 20
e2e_type "Teams"; e2e_keys Enter
e2e_wait_at 14 32 "PRINTING OPTIONS" 180
print_dupe
another_game

# The PBN file of the new game, read back with its names.
e2e_type p
e2e_wait_for "Enter game date" 20
e2e_type "030715"; e2e_keys Enter
e2e_wait_for "Select session:" 20
e2e_type a
e2e_wait_for "Entries correct?" 20
e2e_keys Enter
e2e_wait_for "PBN File found" 30
e2e_keys Enter
e2e_wait_at 14 32 "PRINTING OPTIONS" 180
print_dupe

e2e_type q
e2e_wait_for "Prepare another game?" 20
e2e_keys Enter
e2e_expect_exit 0 30
n="$(ls "$E2E_WORK/PRINTS" | grep -c 'dupe.*\.pdf$')"
[ "$n" == 3 ] || e2e_fail "$n dupe sheets kept, expected 3: $(ls "$E2E_WORK/PRINTS")"
e2e_pass
