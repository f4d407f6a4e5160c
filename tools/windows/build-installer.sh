#!/usr/bin/env bash
# Builds BUILD_DIR/kelmo-setup.exe from a Windows build: BUILD_DIR/kelmo.exe,
# the suit font the build generated (BUILD_DIR/resources/fonts/bridge.ttf)
# and the manual from the sources.
set -euo pipefail
BUILD_DIR="${1:?usage: build-installer.sh BUILD_DIR}"
HERE="$(cd "$(dirname "$0")" && pwd)"
SOURCE_DIR="$(cd "$HERE/../.." && pwd)"
BUILD_DIR="$(cd "$BUILD_DIR" && pwd)"

EXE="$BUILD_DIR/kelmo.exe"
FONT="$BUILD_DIR/resources/fonts/bridge.ttf"
ICON="$BUILD_DIR/resources/kelmo.ico"
WIZARD="$BUILD_DIR/resources/kelmo-wizard.bmp"
MANUAL="$SOURCE_DIR/resources/Bridge/Software/Manuals/Kelmo-Manual.htm"
for file in "$EXE" "$FONT" "$ICON" "$WIZARD" "$MANUAL"; do
  [ -f "$file" ] || { echo "build-installer: $file not found" >&2; exit 1; }
done
command -v makensis >/dev/null || { echo "build-installer: makensis not found (Debian package nsis)" >&2; exit 1; }
VERSION="$(sed -n 's/^project(kelmo VERSION \([0-9.]*\).*/\1/p' "$SOURCE_DIR/CMakeLists.txt")"

makensis -V2 -NOCD -DEXE="$EXE" -DFONT="$FONT" -DMANUAL="$MANUAL" -DICON="$ICON" -DWIZARD="$WIZARD" \
  -DOUT="$BUILD_DIR/kelmo-setup.exe" -DVERSION="${VERSION:-1.0}" "$HERE/installer.nsi"
echo "build-installer: $BUILD_DIR/kelmo-setup.exe"
