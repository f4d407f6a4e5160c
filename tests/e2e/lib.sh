# End-to-end harness: runs the real kelmo binary in a private tmux server and
# looks at its screen. Source it from a test script, which ctest runs as
#     bash tests/e2e/test_NAME.sh /path/to/kelmo
#
#   source "$(dirname "$0")/lib.sh"
#   e2e_start "$1"                       # 80x25, suit font installed
#   e2e_wait_at 3 31 "HAND-RECORD GENERATOR"
#   e2e_keys Escape; e2e_keys Enter
#   e2e_expect_exit 0
#   e2e_pass
#
# Functions (rows and columns count from 1, as on the program's screen):
# (E2E_WINE is 1 when $1 is the Windows program under wine, kelmo-wine;
# E2E_START the seconds its first screen may take.)
#   e2e_start KELMO [options]   start the program; options:
#         --size COLSxROWS      terminal size (default 80x25)
#         --no-font             do not install the generated Bridge font
#         --term NAME           TERM for the program (default tmux-256color)
#         --file NAME=SOURCE    copy SOURCE into the working folder as NAME
#                               before the start (repeatable)
#         --env NAME=VALUE      set a variable for the program (repeatable)
#   e2e_keys KEY...            tmux key names: Enter Escape Up F1 BSpace C-c ...
#   e2e_type TEXT              type TEXT literally, one key per character
#   e2e_screen                 print the screen, 25 lines padded to the width
#   e2e_text ROW COL LEN       print LEN characters from ROW, COL
#   e2e_style ROW COL          print "FG BG" of a cell as console colour
#                              numbers (0 black, 1 blue .. 15 bright white)
#   e2e_expect_style ROW COL FG BG    fail unless the cell has those colours
#   e2e_wait_for TEXT [SECS]   wait until TEXT is anywhere on the screen
#   e2e_wait_at ROW COL TEXT [SECS]   wait until TEXT stands at ROW, COL
#   e2e_wait_gone TEXT [SECS]  wait until TEXT is no longer on the screen
#   e2e_expect_at ROW COL TEXT        fail unless TEXT stands there now (after
#                              a screen change use e2e_wait_at: a repaint can
#                              reach the terminal in several writes)
#   e2e_wait_exit [SECS]       wait for the program to end; sets E2E_EXIT
#   e2e_expect_exit CODE [SECS]       wait for the end and check the code
#   e2e_pane FORMAT            a tmux pane variable, e.g. '#{alternate_on}'
#   e2e_pid                    the program's process id (while it runs)
#   e2e_tty_restored           true when the terminal modes after the end are
#                              those from before the start
# Each call of e2e_start runs its copy in the tmux session $E2E_SESSION
# ("e2e"); set the variable to start another copy beside it, and to act on
# it with the functions above (each session has a tmux server of its own).
#   e2e_resize COLS ROWS       resize the terminal
#   e2e_fail MESSAGE           print MESSAGE and the screen, end the test (1)
#   e2e_pass                   end the test (0)
#   e2e_recall_game SECONDS [known]   from the main menu, recall 91722 31459
#                              with club Keelward and event Pairs (known: the
#                              archive has them), up to the printing options
#                              (waiting SECONDS for them)
#   e2e_expect_page FILE       fail unless FILE is that game's web page
#   e2e_quit_from_menu         Esc at the main menu, Enter at the quit
#                              question; the program must end with code 0
#   e2e_cups                   a private cupsd with a default queue that
#                              keeps its jobs (sets C, CUPSD, CUPS_SERVER)
# Variables: E2E_WORK (the program's working folder), E2E_HOME (its HOME),
# E2E_DIR (the harness's own temp folder). Everything is removed at the end.
#
# The wrapper prints "KELMO-E2E-BEFORE" before the program starts and
# "KELMO-E2E-AFTER" once it has ended, both on the terminal's normal screen.

set -uo pipefail
export LC_ALL=C.UTF-8   # substring offsets count characters, not bytes

# A script of a path runs against the Linux program and against the Windows
# one under wine ($1 build-windows/kelmo-wine): that one starts slower, has
# the font of its own prefix, and ends without the terminal modes to check.
E2E_WINE=0
[ "$(basename "${1:-}")" == kelmo-wine ] && E2E_WINE=1
E2E_START=$((E2E_WINE ? 60 : 10))

E2E_SOCKET="kelmo-e2e-$$"
E2E_DIR="$(mktemp -d "${TMPDIR:-/tmp}/kelmo-e2e.XXXXXX")"
E2E_WORK="$E2E_DIR/work"
E2E_HOME="$E2E_DIR/home"
E2E_EXIT=""
E2E_SESSION="e2e"
mkdir -p "$E2E_WORK" "$E2E_HOME"

# One tmux server per session: tmux 3.3a crashes when a second session
# starts on a server with window-size manual.
_e2e_tmux() { tmux -L "$E2E_SOCKET-$E2E_SESSION" -f /dev/null "$@"; }

_e2e_cleanup() {
  local tag
  for tag in "$E2E_DIR"/*.wrapper.sh; do
    [ -e "$tag" ] || continue
    tmux -L "$E2E_SOCKET-$(basename "$tag" .wrapper.sh)" kill-server >/dev/null 2>&1 || true
  done
  rm -rf "$E2E_DIR"
}
trap _e2e_cleanup EXIT
trap 'exit 1' INT TERM HUP   # a timed-out test still cleans up

e2e_fail() {
  echo "FAIL: $*" >&2
  if _e2e_tmux has-session -t "$E2E_SESSION" 2>/dev/null; then
    echo "--- screen ---" >&2
    e2e_screen >&2
    echo "--------------" >&2
  fi
  # A program that ended before its first screen says why only here.
  [ -f "$E2E_DIR/$E2E_SESSION.exit" ] && echo "the program ended with code $(cat "$E2E_DIR/$E2E_SESSION.exit")" >&2
  [ -s "$E2E_DIR/wine.log" ] && { echo "--- wine.log ---"; tail -n 20 "$E2E_DIR/wine.log"; } >&2
  exit 1
}

e2e_pass() {
  echo "PASS: $(basename "$0")"
  exit 0
}

# The generated suit font, when the build made one.
_e2e_font() {
  local kelmo="$1" dir
  for dir in "${KELMO_BUILD_DIR:-}" "$(dirname "$kelmo")"; do
    [ -n "$dir" ] && [ -f "$dir/resources/fonts/bridge.ttf" ] && {
      echo "$dir/resources/fonts/bridge.ttf"
      return
    }
  done
}

e2e_start() {
  local kelmo="$1"
  shift
  local size="80x25" font=1 term="tmux-256color" pair exports=""
  while (($#)); do
    case "$1" in
      --size) size="$2"; shift 2 ;;
      --no-font) font=0; shift ;;
      --term) term="$2"; shift 2 ;;
      --env) exports+="export $(printf '%q' "$2")"$'\n'; shift 2 ;;
      --file) pair="$2"; cp "${pair#*=}" "$E2E_WORK/${pair%%=*}" || e2e_fail "cannot copy $pair"; shift 2 ;;
      *) e2e_fail "e2e_start: unknown option $1" ;;
    esac
  done
  ((E2E_WINE)) && font=0
  [ -x "$kelmo" ] || e2e_fail "no program at $kelmo"
  kelmo="$(cd "$(dirname "$kelmo")" && pwd)/$(basename "$kelmo")"

  if ((font)); then
    local ttf
    ttf="$(_e2e_font "$kelmo")"
    if [ -n "$ttf" ]; then
      mkdir -p "$E2E_HOME/.local/share/fonts"
      cp "$ttf" "$E2E_HOME/.local/share/fonts/"
      HOME="$E2E_HOME" XDG_CACHE_HOME="$E2E_HOME/.cache" XDG_DATA_HOME="$E2E_HOME/.local/share" \
        fc-cache -f "$E2E_HOME/.local/share/fonts" >/dev/null 2>&1 || true
    fi
  fi

  local tag="$E2E_DIR/$E2E_SESSION"
  cat >"$tag.wrapper.sh" <<EOF
#!/bin/bash
cd "$E2E_WORK" || exit 1
export HOME="$E2E_HOME" TERM="$term" LANG=C.UTF-8
export XDG_CACHE_HOME="$E2E_HOME/.cache" XDG_DATA_HOME="$E2E_HOME/.local/share" XDG_CONFIG_HOME="$E2E_HOME/.config"
unset LC_ALL LC_CTYPE COMSPEC comspec DISPLAY WAYLAND_DISPLAY BROWSER
${exports}stty -g > "$tag.stty.before" 2>/dev/null
echo KELMO-E2E-BEFORE
"$kelmo"
code=\$?
stty -g > "$tag.stty.after" 2>/dev/null
echo "\$code" > "$tag.exit.part" && mv "$tag.exit.part" "$tag.exit"
echo KELMO-E2E-AFTER
exec sleep 3600
EOF
  chmod +x "$tag.wrapper.sh"
  local cols="${size%x*}" rows="${size#*x}"
  _e2e_tmux new-session -d -s "$E2E_SESSION" -x "$cols" -y "$rows" "$tag.wrapper.sh" \; \
    set -g status off \; set -sg escape-time 10 \; set -g window-size manual \
    >"$tag.tmux" 2>&1 || e2e_fail "tmux did not start: $(cat "$tag.tmux")"
}

e2e_keys() { _e2e_tmux send-keys -t "$E2E_SESSION" "$@" || e2e_fail "send-keys $*"; }
e2e_type() { _e2e_tmux send-keys -t "$E2E_SESSION" -l "$1" || e2e_fail "send-keys -l $1"; }
e2e_pane() { _e2e_tmux display-message -p -t "$E2E_SESSION" "$1" 2>/dev/null; }

e2e_pid() { pgrep -P "$(e2e_pane '#{pane_pid}')" | head -1; }

e2e_tty_restored() { cmp -s "$E2E_DIR/$E2E_SESSION.stty.before" "$E2E_DIR/$E2E_SESSION.stty.after"; }

e2e_resize() { _e2e_tmux resize-window -t "$E2E_SESSION" -x "$1" -y "$2" || e2e_fail "resize $1x$2"; }

e2e_screen() {
  local width line
  width="$(e2e_pane '#{pane_width}')"
  _e2e_tmux capture-pane -p -N -t "$E2E_SESSION" 2>/dev/null | while IFS= read -r line; do
    while ((${#line} < width)); do line+=" "; done
    printf '%s\n' "$line"
  done
}

e2e_text() {
  local row="$1" col="$2" len="$3" line
  line="$(e2e_screen | sed -n "${row}p")"
  printf '%s' "${line:col-1:len}"
}

# Debian's python3, not whatever python3 comes first on PATH.
e2e_style() {
  _e2e_tmux capture-pane -p -e -N -t "$E2E_SESSION" 2>/dev/null |
    /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/style.py" "$1" "$2"
}

e2e_expect_style() {
  local got
  got="$(e2e_style "$1" "$2")"
  [ "$got" == "$3 $4" ] || e2e_fail "colours at row $1, column $2 are \"$got\", expected \"$3 $4\""
}

_e2e_until() {   # _e2e_until SECS command...: true once the command succeeds
  local secs="$1"
  shift
  local tries=$((secs * 10))
  while ((tries-- > 0)); do
    "$@" && return 0
    sleep 0.1
  done
  "$@"
}

# grep reads all of the screen: with pipefail, a -q that stops early would
# turn the writer's SIGPIPE into "not found".
_e2e_has() { e2e_screen | grep -F -- "$1" >/dev/null; }
_e2e_lacks() { ! _e2e_has "$1"; }
_e2e_at() { [ "$(e2e_text "$1" "$2" "${#3}")" == "$3" ]; }

e2e_wait_for() { _e2e_until "${2:-10}" _e2e_has "$1" || e2e_fail "\"$1\" did not appear"; }
e2e_wait_gone() { _e2e_until "${2:-10}" _e2e_lacks "$1" || e2e_fail "\"$1\" did not go away"; }
e2e_wait_at() {
  _e2e_until "${4:-10}" _e2e_at "$1" "$2" "$3" ||
    e2e_fail "\"$3\" did not appear at row $1, column $2 (found \"$(e2e_text "$1" "$2" "${#3}")\")"
}
e2e_expect_at() {
  _e2e_at "$1" "$2" "$3" ||
    e2e_fail "expected \"$3\" at row $1, column $2, found \"$(e2e_text "$1" "$2" "${#3}")\""
}

e2e_wait_exit() {
  _e2e_until "${1:-10}" test -f "$E2E_DIR/$E2E_SESSION.exit" || e2e_fail "the program did not end"
  E2E_EXIT="$(cat "$E2E_DIR/$E2E_SESSION.exit")"
}

e2e_expect_exit() {
  e2e_wait_exit "${2:-10}"
  [ "$E2E_EXIT" == "$1" ] || e2e_fail "exit code $E2E_EXIT, expected $1"
}

# A private cupsd with the default printer "kelmotest", a queue that keeps
# its job files: $C/spool/cNNNNN (attributes) and dNNNNN-001 (the data).
# Sets C, CUPSD and CUPS_SERVER; the caller's EXIT trap kills ${CUPSD:-}.
e2e_cups() {
  command -v cupsd >/dev/null && command -v lpadmin >/dev/null || { echo "SKIP: no cupsd"; exit 77; }
  C="$E2E_DIR/cups"
  mkdir -p "$C/root" "$C/spool" "$C/cache" "$C/state" "$C/log"
  cat >"$C/root/cupsd.conf" <<CONF
Listen $C/cups.sock
LogLevel warn
PreserveJobFiles Yes
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  cat >"$C/root/cups-files.conf" <<CONF
ServerRoot $C/root
RequestRoot $C/spool
CacheDir $C/cache
StateDir $C/state
TempDir $C/spool
ErrorLog $C/log/error_log
AccessLog $C/log/access_log
PageLog $C/log/page_log
FileDevice Yes
CONF
  cupsd -f -c "$C/root/cupsd.conf" -s "$C/root/cups-files.conf" &
  CUPSD=$!
  export CUPS_SERVER="$C/cups.sock"
  for _ in $(seq 50); do [ -S "$C/cups.sock" ] && break; sleep 0.1; done
  lpadmin -p kelmotest -E -v file:///dev/null 2>/dev/null || e2e_fail "lpadmin could not add the printer"
  lpadmin -d kelmotest || e2e_fail "lpadmin could not make it the default"
}

e2e_quit_from_menu() {
  e2e_wait_at 20 34 "Select:  N" 60
  e2e_keys Escape
  e2e_wait_at 22 30 " Quit program?  (Y/n) "
  e2e_keys Enter
  e2e_expect_exit 0
}

# The game of 03/07/15, afternoon, recalled from its control number on a
# club without its archive file, up to the printing options.
e2e_recall_game() {
  e2e_wait_at 20 34 "Select:  N" 60
  e2e_type r
  e2e_wait_at 15 13 "Enter control string from handrecord:"
  e2e_type "9172231459"
  e2e_keys Enter
  e2e_wait_for "Does this deal match Board #1" 20
  e2e_keys Enter
  if [ "${2:-}" != known ]; then
    e2e_wait_at 17 13 "Enter club name:"
    e2e_type "Keelward"
    e2e_keys Enter
    e2e_wait_at 17 13 "Enter event name:"
    e2e_type "Pairs"
    e2e_keys Enter
  fi
  e2e_wait_at 14 32 "PRINTING OPTIONS" "${1:-120}"
}

# The web page of that game is the same file on both systems: the Linux and
# the Windows path each check the one sum (a changed page names its new one).
E2E_PAGE_SHA256=89d27fbe1b394ebc1baf30813f2a67ea91b0caf6422e60cce8b086d7a9a4e58a
e2e_expect_page() {
  [ -f "$1" ] || e2e_fail "no web page $1"
  local sum
  sum="$(sha256sum "$1" | cut -d' ' -f1)"
  [ "$sum" == "$E2E_PAGE_SHA256" ] || e2e_fail "the web page $1 is not the game's page (its sum is $sum)"
}
