#!/usr/bin/env bash
# Installs the Debian packages that are missing: those the program needs to
# build and run; with --tests also the test toolchain, with --windows the
# cross-build for Windows (./test asks for both).
set -euo pipefail
PACKAGES=(
  build-essential cmake pkg-config g++
  libncurses-dev libcairo2-dev libfontconfig-dev libfreetype-dev libcups2-dev
  libasound2-dev libdds-dev libsodium-dev fonts-liberation2 fonts-dejavu-core fonts-comic-neue python3
  python3-fonttools fontconfig locales xdg-utils
)
# The fuzzers are built with clang; libclang-rt-dev follows Debian's default
# clang and brings its libFuzzer runtime.
# Chromium shows the game's web page in the tests, tidy checks its HTML.
TEST_PACKAGES=(
  libgtest-dev libgmock-dev libbenchmark-dev tmux poppler-utils ghostscript clang libclang-rt-dev tidy
)
# The tests start a print server of their own, and a browser; their
# recommended extras (network discovery and the like) are not wanted.
NO_RECOMMENDS=(cups-daemon cups-client chromium)
# The Windows build: mingw-w64 with POSIX threads, wine to test it, nsis for
# the installer, and a virtual X display with xdotool, xwd and netpbm to
# click through the installer's pages and keep a picture of each. Their
# recommended extras (wine's are many) are not wanted.
WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-tools wine nsis
  libgtest-dev libgmock-dev cmake python3-fonttools xvfb xdotool x11-apps netpbm)
# --list prints the packages, one a line, instead of installing them.
list=0
for arg in "$@"; do
  case "$arg" in
    --tests) PACKAGES+=("${TEST_PACKAGES[@]}" "${NO_RECOMMENDS[@]}") ;;
    --windows)
      PACKAGES+=("${WINDOWS_PACKAGES[@]}")
      NO_RECOMMENDS+=("${WINDOWS_PACKAGES[@]}")
      ;;
    --list) list=1 ;;
    *) echo "usage: $0 [--tests] [--windows] [--list]" >&2; exit 2 ;;
  esac
done
if ((list)); then
  printf '%s\n' "${PACKAGES[@]}"
  exit 0
fi
# One query for all: a second ./run should not wait on this.
installed="$(dpkg-query -W -f='${Package} ${Status}\n' "${PACKAGES[@]}" 2>/dev/null |
  awk '/install ok installed/ {print $1}' || true)"
missing=()
for p in "${PACKAGES[@]}"; do
  grep -qxF "$p" <<<"$installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "install-packages: run as root, or install these packages: ${missing[*]}" >&2
      exit 1
    fi
    SUDO=(sudo)
  fi
  "${SUDO[@]}" apt-get update -qq
  plain=() bare=()
  for p in "${missing[@]}"; do
    if [[ " ${NO_RECOMMENDS[*]} " == *" $p "* ]]; then bare+=("$p"); else plain+=("$p"); fi
  done
  if ((${#plain[@]})); then
    "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${plain[@]}"
  fi
  if ((${#bare[@]})); then
    "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${bare[@]}"
  fi
fi
