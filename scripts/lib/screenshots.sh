#!/usr/bin/env bash
# Run by scripts/screenshots inside a virtual X server: lays out the try-out
# game folder in $WINEPREFIX, lets ReelwrightShots.exe drive Reelwright to each
# window, and takes each picture from the X screen.
#   screenshots.sh <folder for the PNG files>
set -euo pipefail
source "$(dirname "$0")/common.sh"
cd "$REPO_ROOT"
images=$1
mkdir -p "$images"
work=$(mktemp -d)
trap 'rm -rf "$work"; wineserver -k 2>/dev/null || true' EXIT

prepare_wine_prefix
lay_out_tryout_game
# Windows draws the caption buttons with its Marlett font; put Wine's own copy
# where Wine looks for the system's fonts, or the buttons show as letters.
if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf"
fi
wineserver -k 2>/dev/null || true
wineserver -p </dev/null >/dev/null 2>&1
# Wine's background programs start with the first program of a session and
# keep its output open: start them here, away from the driver's pipes.
wine64 cmd /c exit </dev/null >/dev/null 2>&1

# One picture of the screen's rectangle, as raw pixels.
grab() { import -silent -window root -crop "$3x$4+$1+$2" +repage "ppm:$5"; }

# Takes the rectangle until two pictures in a row agree, so that the picture
# is taken after Wine has put the painted window on the X screen.
grab_settled() {
  local out=$5 previous="$work/previous.ppm" tries=0
  grab "$1" "$2" "$3" "$4" "$previous"
  while :; do
    sleep 0.2
    grab "$1" "$2" "$3" "$4" "$out"
    cmp -s "$previous" "$out" && return 0
    mv "$out" "$previous"
    tries=$((tries + 1))
    if [ "$tries" -ge 50 ]; then
      echo "screenshots: the window at $1,$2 did not stop changing" >&2
      return 1
    fi
  done
}

game='C:\Games\SOF2'
coproc DRIVER {
  exec wine64 build/windows/ReelwrightShots.exe "Z:${REPO_ROOT//\//\\}\\build\\windows\\Reelwright.exe" "$game" \
    "$game\\base\\mp\\demos\\duel.dm_2004" "$game\\base\\mp\\demos\\ctf_final.dm_2004" "$game\\mymod\\demos\\team1.dm_2004" \
    "$game\\mymod\\demos\\elim.dm_2004" \
    2>/dev/null
}
status=1
while IFS=' ' read -r word name left top width height <&"${DRIVER[0]}"; do
  word=${word%$'\r'}
  height=${height%$'\r'}
  case "$word" in
    SHOT)
      grab_settled "$left" "$top" "$width" "$height" "$work/$name.ppm"
      # No text chunks, no times: the same window gives the same bytes.
      convert "$work/$name.ppm" -strip -define png:exclude-chunks=date,time,tEXt,zTXt,iTXt "$images/$name.png"
      echo "== $images/$name.png (${width}x${height})"
      echo next >&"${DRIVER[1]}"
      ;;
    DONE) status=0 ;;
    ERROR) echo "screenshots: the driver failed: $name $left $top $width $height" >&2 ;;
    *) echo "screenshots: unexpected line from the driver: $word $name" >&2 ;;
  esac
done
[ -z "${DRIVER_PID:-}" ] || wait "$DRIVER_PID" 2>/dev/null || true
[ "$status" -eq 0 ] || echo "screenshots: the driver did not finish; the pictures are incomplete" >&2
exit $status
