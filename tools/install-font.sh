#!/usr/bin/env bash
# Installs the generated suit-symbol font for this user: copies
# BUILD_DIR/resources/fonts/bridge.ttf into the user's font folder and
# refreshes the font cache, when the installed copy is missing or differs.
# Also gives the user's fontconfig the alias that makes Comic Neue stand in
# for Comic Sans MS.
set -euo pipefail
BUILD_DIR="${1:-build}"
ALIAS="$(dirname "$0")/../resources/fontconfig/60-kelmo-comic-neue.conf"
CONF_DIR="${XDG_CONFIG_HOME:-$HOME/.config}/fontconfig/conf.d"
if [ -f "$ALIAS" ] && ! cmp -s "$ALIAS" "$CONF_DIR/$(basename "$ALIAS")"; then
  mkdir -p "$CONF_DIR"
  cp "$ALIAS" "$CONF_DIR/$(basename "$ALIAS").tmp"
  mv -f "$CONF_DIR/$(basename "$ALIAS").tmp" "$CONF_DIR/$(basename "$ALIAS")"
fi
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
