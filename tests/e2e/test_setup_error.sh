#!/usr/bin/env bash
# Without the suit font the program shows the SETUP ERROR screen before any
# menu, and one key ends it with exit code 1.
source "$(dirname "$0")/lib.sh"

# HOME and the XDG folders are private to the test; the system's font
# folders and fontconfig's are replaced by empty ones, so a Bridge font
# installed system-wide (under /usr/local, say) cannot hide the screen.
mkdir -p "$E2E_DIR/share"
cat >"$E2E_DIR/fonts.conf" <<EOF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig><cachedir>$E2E_DIR/fontcache</cachedir></fontconfig>
EOF

e2e_start "$1" --no-font --env systemroot= --env windir= \
  --env "XDG_DATA_DIRS=$E2E_DIR/share" --env "FONTCONFIG_FILE=$E2E_DIR/fonts.conf"
# The screen's texts and colours are checked on the scripted console; here
# that the real font lookup finds no font and the screen reaches the terminal.
e2e_wait_at 9 34 "─ SETUP ERROR ─"
e2e_expect_at 8 15 "┌───"
e2e_expect_at 16 36 " <any key> "
_e2e_has "HAND-RECORD GENERATOR" && e2e_fail "the header was drawn before the check"

e2e_expect_at 13 17 "Copy it into ~/.local/share/fonts,"
e2e_keys x
e2e_expect_exit 1
e2e_wait_for "KELMO-E2E-AFTER"
[ "$(e2e_pane '#{alternate_on}')" == 0 ] || e2e_fail "still on the alternate screen"
e2e_pass
