#!/usr/bin/env bash
# Lays out the try-out game folder in $WINEPREFIX and starts Reelwright; run by
# scripts/run on the current X display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$REPO_ROOT"

game="$WINEPREFIX/drive_c/Games/SOF2"
prepare_wine_prefix
mkdir -p "$game/base/mp/demos" "$game/mymod/demos"
cp build/windows/SOF2MP.exe "$game/SOF2MP.exe"
for demo in base/mp/demos/duel.dm_2004 base/mp/demos/ctf_final.dm_2004 mymod/demos/ctf1.dm_2004 mymod/demos/elim.dm_2004; do
  [ -f "$game/$demo" ] || : > "$game/$demo"
done
echo "== Try-out game folder: C:\\Games\\SOF2 (on Linux: $game)"
echo "   Point Reelwright at it when it asks for your SOF2 folder; the stand-in game"
echo "   shows what it was started with and logs it to C:\\Games\\SOF2\\SOF2MP.log."
wine64 build/windows/Reelwright.exe "$@"
wineserver -w
