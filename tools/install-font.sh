#!/usr/bin/env bash
# Installs the generated suit-symbol font for this user: copies
# BUILD_DIR/resources/fonts/bridge.ttf into the user's font folder and
# refreshes the font cache, when the installed copy is missing or differs.
set -euo pipefail
BUILD_DIR="${1:-build}"
FONT="$BUILD_DIR/resources/fonts/bridge.ttf"
if [ ! -f "$FONT" ]; then
  echo "install-font: $FONT not found (build first)" >&2
  exit 1
fi
FONT_DIR="${XDG_DATA_HOME:-$HOME/.local/share}/fonts"
TARGET="$FONT_DIR/bridge.ttf"
if [ -f "$TARGET" ] && cmp -s "$FONT" "$TARGET"; then
  exit 0
fi
mkdir -p "$FONT_DIR"
cp "$FONT" "$TARGET.tmp"
mv -f "$TARGET.tmp" "$TARGET"
fc-cache -f "$FONT_DIR" >/dev/null 2>&1 || fc-cache -f >/dev/null 2>&1 || true
