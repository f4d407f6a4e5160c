#!/usr/bin/env bash
# Recall of a private game from its deal key: a mistyped key is refused
# with the field's own message; the key, typed in lower case across the
# field's two rows, rebuilds the game of 03/07/15, afternoon, 36 boards,
# whose board 1 every system deals alike, and the printing options show
# the key in the control number's place.
source "$(dirname "$0")/lib.sh"
e2e_start "$1"
KEY="0X1Q-ZEZQ-6DQT-QSS3-BYDX-E4TF-HCF6-ERRX"

e2e_wait_at 20 34 "Select:  N"
e2e_type r
e2e_wait_at 15 13 "Enter control string from handrecord:"
e2e_type "${KEY/ERRX/ERRY}"
e2e_expect_at 15 53 "0X1Q-ZEZQ-6DQT-QSS3-BYDX-"
e2e_expect_at 16 53 "E4TF-HCF6-ERRY"
e2e_keys Enter
e2e_wait_at 22 28 " Input error. Try again. "
e2e_keys Space
e2e_wait_at 15 13 "Enter control string from handrecord:"
e2e_type "${KEY,,}"
e2e_keys Enter

e2e_wait_at 22 13 "Does this deal match Board #1 on the handrecord?  (Y/n)"
e2e_expect_at 7 50 "♠ K986"
e2e_keys Enter
e2e_wait_at 17 13 "Enter club name:" 30
e2e_type "Keelward"
e2e_keys Enter
e2e_wait_at 17 13 "Enter event name:"
e2e_type "Private Pairs"
e2e_keys Enter
e2e_wait_at 14 32 "PRINTING OPTIONS" 180
e2e_expect_at 23 17 "Deal key: $KEY"
e2e_type q
e2e_wait_for "Prepare another game?" 20
e2e_keys Enter
e2e_expect_exit 0
e2e_pass
