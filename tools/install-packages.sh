#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# only those that are missing.
set -euo pipefail
PACKAGES=(
  build-essential cmake pkg-config g++ clang libclang-rt-14-dev
  libncurses-dev libcairo2-dev libfontconfig-dev libfreetype-dev libcups2-dev
  libasound2-dev libdds-dev fonts-liberation2 fonts-dejavu-core python3
  python3-fonttools fontconfig locales xdg-utils
  libgtest-dev libgmock-dev libbenchmark-dev tmux poppler-utils
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
