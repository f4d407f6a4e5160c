#!/usr/bin/env bash
# Cross-builds Kelmo for Windows with mingw-w64 into build-windows/:
# kelmo.exe (one static file), tests/kelmo_tests.exe, a wine prefix for the
# tests, and kelmo-setup.exe when the installer's script is there. Installs
# what it needs; a second run reuses everything that is built.
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT="$(pwd)"
OUT="${KELMO_WINDOWS_BUILD:-$ROOT/build-windows}"
JOBS="$(nproc)"
mkdir -p "$OUT"

tools/install-packages.sh --windows

# DDS from the source of the release Debian ships, fetched by apt through a
# private list (the machine's own entries as deb-src), built once.
DDS="$OUT/dds"
if [ ! -f "$DDS/lib/libdds.a" ]; then
  APT="$OUT/apt"
  rm -rf "$APT" && mkdir -p "$APT/lists/partial" "$APT/parts" "$APT/cache/archives/partial" "$APT/get"
  : >"$APT/sources.list"
  shopt -s nullglob
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && sed -n 's/^deb \(.*\)/deb-src \1/p' "$f" >>"$APT/sources.list"
  done
  for f in /etc/apt/sources.list.d/*.sources; do
    sed 's/^Types:.*/Types: deb-src/' "$f" >"$APT/parts/$(basename "$f")"
  done
  shopt -u nullglob
  opts=(-o "Dir::Etc::SourceList=$APT/sources.list" -o "Dir::Etc::SourceParts=$APT/parts"
    -o "Dir::State::Lists=$APT/lists" -o "Dir::Cache=$APT/cache")
  apt-get "${opts[@]}" update -qq
  version="$(dpkg-query -W -f='${Version}' libdds-dev 2>/dev/null || true)"
  # The Debian patch tarball may be missing from the archive; only the
  # upstream tarball is needed.
  (cd "$APT/get" && apt-get "${opts[@]}" source --download-only -qq "dds${version:+=$version}") || true
  orig=("$APT"/get/dds_*.orig.tar.*)
  [ -f "${orig[0]}" ] || { echo "build-windows: the DDS source could not be fetched" >&2; exit 1; }
  rm -rf "$DDS" && mkdir -p "$DDS/src" "$DDS/include/dds" "$DDS/lib"
  tar -xf "${orig[0]}" -C "$DDS/src" --strip-components=1
  cp "$DDS/src/include/dll.h" "$DDS/include/dds/dll.h"
  mkdir -p "$DDS/obj"
  # Windows threads (and std::thread) as the threading back ends.
  ls "$DDS"/src/src/*.cpp | nice xargs -P"$JOBS" -I{} sh -c \
    'x86_64-w64-mingw32-g++-posix -O3 -std=c++11 -DDDS_THREADS_STL -DDDS_THREADS_WINAPI -w -c "$1" -o "$2/obj/$(basename "$1" .cpp).o"' _ {} "$DDS"
  x86_64-w64-mingw32-ar rcs "$DDS/lib/libdds.a.part" "$DDS"/obj/*.o
  mv "$DDS/lib/libdds.a.part" "$DDS/lib/libdds.a"
  rm -rf "$DDS/obj" "$APT"
fi

cmake -S . -B "$OUT" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/toolchain-mingw.cmake" -DCMAKE_BUILD_TYPE=Release \
  -DKELMO_TESTS=ON -DKELMO_WERROR=ON -DKELMO_DDS_ROOT="$DDS" >/dev/null
nice cmake --build "$OUT" -j"$JOBS" --target kelmo kelmo_tests

# A new wine prefix takes a while to make, so it is made once, as it
# comes: the end-to-end tests copy it for a prefix of their own, and the
# build's own prefix for the tests starts as a copy too.
# Made with a HOME of its own, as the tests run it: wine would take this
# user's fonts into the prefix otherwise.
if [ ! -f "$OUT/wineprefix-template/system.reg" ]; then
  rm -rf "$OUT/wineprefix-template" "$OUT/wine-home"
  mkdir -p "$OUT/wine-home"
  HOME="$OUT/wine-home" XDG_DATA_HOME="$OUT/wine-home/.local/share" XDG_CACHE_HOME="$OUT/wine-home/.cache" \
    WINEPREFIX="$OUT/wineprefix-template" WINEDEBUG=-all wineboot -i >/dev/null 2>&1 || true
  WINEPREFIX="$OUT/wineprefix-template" wineserver -w || true
  rm -rf "$OUT/wine-home"
fi
if [ ! -f "$OUT/wineprefix/system.reg" ]; then
  rm -rf "$OUT/wineprefix"
  cp -a "$OUT/wineprefix-template" "$OUT/wineprefix"
fi
# No sound driver in it: there is no sound device here, and wine's ALSA
# driver would write its complaints over the console.
if ! grep -q '^"Audio"=""' "$OUT/wineprefix/user.reg" 2>/dev/null; then
  WINEPREFIX="$OUT/wineprefix" WINEDEBUG=-all wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "" /f >/dev/null 2>&1
  WINEPREFIX="$OUT/wineprefix" wineserver -w || true
fi

# The suit font installed in that "Windows", as a club would install it.
cp "$OUT/resources/fonts/bridge.ttf" "$OUT/wineprefix/drive_c/windows/Fonts/BRIDGE.TTF"
# The program under wine with that prefix, for the tests in tmux.
cat >"$OUT/kelmo-wine" <<EOF
#!/bin/sh
# kelmo.exe under wine, in the prefix of this build.
WINEPREFIX="$OUT/wineprefix" WINEDEBUG=-all exec wine "$OUT/kelmo.exe" "\$@"
EOF
chmod +x "$OUT/kelmo-wine"

# The installer, when anything in it changed.
if [ ! -f "$OUT/kelmo-setup.exe" ] || [ "$OUT/kelmo.exe" -nt "$OUT/kelmo-setup.exe" ] ||
  [ tools/windows/installer.nsi -nt "$OUT/kelmo-setup.exe" ]; then
  tools/windows/build-installer.sh "$OUT"
fi
echo "build-windows: $OUT/kelmo.exe"
