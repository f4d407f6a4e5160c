# Shared by the Windows end-to-end tests: source after ../lib.sh, with the
# Windows build folder as $1. Skips (77) when the build or wine is missing.
# WIN_NO_BUILD=1 for a test that needs no build. Every test gets its own
# wine prefix; wine sees only the fonts in it, not those of the user
# running the test.
command -v wine >/dev/null && command -v wineserver >/dev/null || { echo "SKIP: no wine"; exit 77; }
if [ -z "${WIN_NO_BUILD:-}" ]; then
  WIN_BUILD="${1:-}"
  [ -n "$WIN_BUILD" ] && [ -f "$WIN_BUILD/kelmo.exe" ] || { echo "SKIP: no kelmo.exe in \"$WIN_BUILD\""; exit 77; }
  WIN_BUILD="$(cd "$WIN_BUILD" && pwd)"
fi

export WINEPREFIX="$E2E_DIR/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export HOME="$E2E_HOME" XDG_DATA_HOME="$E2E_HOME/.local/share" XDG_CACHE_HOME="$E2E_HOME/.cache"
unset DISPLAY WAYLAND_DISPLAY

# Ends only this prefix's wine processes.
win_cleanup() { wineserver -k >/dev/null 2>&1 || true; }

# Runs a Windows program to its end, and everything it started.
win_run() {
  wine "$@" </dev/null >/dev/null 2>&1
  local code=$?
  wineserver -w
  return $code
}

# The Unix path of a path on wine's drive C:.
win_path() { local p="${1#[Cc]:}"; echo "$WINEPREFIX/drive_c${p//\\//}"; }

# Starts the Windows program in the test's terminal, in FOLDER (a Unix path),
# as the Start-menu entry does. What wine itself says (ALSA without a sound
# card, for one) would scroll the screen: it goes to $E2E_DIR/wine.log.
win_start() {
  local folder="$1" exe="$2"
  shift 2
  cat >"$E2E_DIR/launch.sh" <<EOF2
#!/bin/bash
cd "$folder" || exit 1
exec wine "$exe" 2>>"$E2E_DIR/wine.log"
EOF2
  chmod +x "$E2E_DIR/launch.sh"
  e2e_start "$E2E_DIR/launch.sh" --no-font --env WINEPREFIX="$WINEPREFIX" --env WINEDEBUG=-all \
    --env WINEDLLOVERRIDES="$WINEDLLOVERRIDES" "$@"
}

# Makes the prefix (about 15 s the first time).
win_prefix() { win_run wineboot -i || e2e_fail "wine could not make its prefix"; }

# A private cupsd with the default printer "kelmotest", a queue that keeps
# its job files: $C/spool/cNNNNN (attributes) and dNNNNN-001 (the data).
# Sets C, CUPSD and CUPS_SERVER; the caller's EXIT trap kills ${CUPSD:-}.
win_cups() {
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

# Waits for the spooled data of job N and prints its path.
win_job() {
  local file
  file="$C/spool/$(printf 'd%05d-001' "$1")"
  for _ in $(seq 100); do [ -f "$file" ] && break; sleep 0.1; done
  [ -f "$file" ] || e2e_fail "job $1 did not reach the printer"
  echo "$file"
}
