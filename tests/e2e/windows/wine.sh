# Shared by the Windows end-to-end tests: source after ../lib.sh, with the
# Windows build folder as $1. Skips (77) when the build or wine is missing.
# WIN_NO_BUILD=1 for a test that needs no build. Every test gets its own
# wine prefix; wine sees only the fonts in it, not those of the user
# running the test.
command -v wine >/dev/null && command -v wineserver >/dev/null || { echo "SKIP: no wine"; exit 77; }
# The clean prefix the Windows build keeps, when $1 is that build.
WIN_TEMPLATE=""
[ -n "${1:-}" ] && [ -f "$1/wineprefix-template/system.reg" ] && WIN_TEMPLATE="$(cd "$1" && pwd)/wineprefix-template"
if [ -z "${WIN_NO_BUILD:-}" ]; then
  WIN_BUILD="${1:-}"
  [ -n "$WIN_BUILD" ] && [ -f "$WIN_BUILD/kelmo.exe" ] || { echo "SKIP: no kelmo.exe in \"$WIN_BUILD\""; exit 77; }
  WIN_BUILD="$(cd "$WIN_BUILD" && pwd)"
fi

export WINEPREFIX="$E2E_DIR/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export HOME="$E2E_HOME" XDG_DATA_HOME="$E2E_HOME/.local/share" XDG_CACHE_HOME="$E2E_HOME/.cache"
unset DISPLAY WAYLAND_DISPLAY

# Who runs wine: this user, unless win_standard_user made it another.
WIN_AS=()

# Ends only this prefix's wine processes.
win_cleanup() { "${WIN_AS[@]}" wineserver -k >/dev/null 2>&1 || true; }

# Runs a Windows program to its end, and everything it started.
win_run() {
  "${WIN_AS[@]}" wine "$@" </dev/null >/dev/null 2>&1
  local code=$?
  "${WIN_AS[@]}" wineserver -w
  return $code
}

# A standard user's Windows, as an unelevated installer meets it: wine as
# uid 65534 in a prefix of its own, with C:\windows\Fonts and
# C:\Program Files owned by root. Needs root; skips (77) otherwise.
win_standard_user() {
  [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null || { echo "SKIP: needs root and setpriv"; exit 77; }
  WIN_AS=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  chmod 755 "$E2E_DIR"
  mkdir -p "$WINEPREFIX"
  chown 65534:65534 "$WINEPREFIX" "$E2E_HOME"
  win_prefix
  chown root:root "$(win_path 'C:\windows\Fonts')" "$(win_path 'C:\Program Files')"
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
exec ${WIN_AS[*]} wine "$exe" 2>>"$E2E_DIR/wine.log"
EOF2
  chmod +x "$E2E_DIR/launch.sh"
  e2e_start "$E2E_DIR/launch.sh" --no-font --env WINEPREFIX="$WINEPREFIX" --env WINEDEBUG=-all \
    --env WINEDLLOVERRIDES="$WINEDLLOVERRIDES" "$@"
}

# Makes the prefix: a copy of the build's clean one (2 s), else a new one
# (10 to 15 s). Another user's prefix is always new: a copy would be root's.
win_prefix() {
  if [ -z "${WIN_AS[*]}" ] && [ -n "$WIN_TEMPLATE" ] && [ ! -e "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX" && cp -a "$WIN_TEMPLATE/." "$WINEPREFIX/" && return
  fi
  win_run wineboot -i || e2e_fail "wine could not make its prefix"
}

# Waits for the spooled data of job N and prints its path.
win_job() {
  local file
  file="$C/spool/$(printf 'd%05d-001' "$1")"
  for _ in $(seq 100); do [ -f "$file" ] && break; sleep 0.1; done
  [ -f "$file" ] || e2e_fail "job $1 did not reach the printer"
  echo "$file"
}
