#!/usr/bin/env bash
# Lays out the try-out game folder in $WINEPREFIX and starts Reelwright; run by
# scripts/run on the current X display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$REPO_ROOT"

game="$WINEPREFIX/drive_c/Games/SOF2"
prepare_wine_prefix
lay_out_tryout_game
echo "== Try-out game folder: C:\\Games\\SOF2 (on Linux: $game)"
echo "   Point Reelwright at it when it asks for your SOF2 folder; the stand-in game"
echo "   shows what it was started with and logs it to C:\\Games\\SOF2\\SOF2MP.log."
wine64 build/windows/Reelwright.exe "$@"
wineserver -w
