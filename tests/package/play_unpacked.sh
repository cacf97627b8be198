#!/usr/bin/env bash
# Run by package_test.sh inside a virtual X server, with WINEPREFIX set to a
# fresh prefix: puts the unpacked Reelwright folder where a player would,
# lays out a game folder with the stand-in game, and starts the unpacked
# Reelwright.exe with a demo on its command line. Passes when the stand-in
# game logs that it was started on that demo in the game folder.
#   play_unpacked.sh <unpacked Reelwright folder> <version>
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/common.sh"
unpacked=$1
version=$2

prepare_wine_prefix
wineserver -p </dev/null >/dev/null 2>&1
wine64 cmd /c exit </dev/null >/dev/null 2>&1

mkdir -p "$WINEPREFIX/drive_c/Tools"
cp -r "$unpacked" "$WINEPREFIX/drive_c/Tools/Reelwright"
# A game folder whose name holds blanks, as many do.
game="$WINEPREFIX/drive_c/Games/Soldier of Fortune 2"
mkdir -p "$game/base/mp/demos"
cp "$REPO_ROOT/build/windows/SOF2MP.exe" "$game/SOF2MP.exe"
: > "$game/base/mp/demos/duel.dm_2004"

game_win='C:\Games\Soldier of Fortune 2'
settings="HKCU\\Software\\Reelwright\\Reelwright_$version\\Settings"
wine64 reg add "$settings" /v "SOF2 Path" /d "$game_win" /f >/dev/null 2>&1
wine64 reg add "$settings" /v "Load Splash" /d 0 /f >/dev/null 2>&1

# Wine passes an argument with blanks in double quotes, as the file
# association does.
wine64 'C:\Tools\Reelwright\Reelwright.exe' "$game_win\\base\\mp\\demos\\duel.dm_2004" </dev/null >/dev/null 2>&1 &

log="$game/SOF2MP.log"
for _ in $(seq 300); do
  grep -q '^END' "$log" 2>/dev/null && break
  sleep 0.1
done
record=$([ -f "$log" ] && tr -d '\r' < "$log" || true)
expected_parameters="parameters=+set fs_basepath \"$game_win\" +set fs_game base\\mp+demo \"duel.dm_2004\""
expected_directory="directory=$game_win"
if grep -qxF "$expected_parameters" <<<"$record" && grep -qxF "$expected_directory" <<<"$record"; then
  status=0
else
  echo "The stand-in game's log:" >&2
  echo "${record:-(nothing: the game was not started)}" >&2
  echo "expected:"$'\n'"$expected_parameters"$'\n'"$expected_directory" >&2
  status=1
fi
wineserver -k 2>/dev/null || true
exit $status
