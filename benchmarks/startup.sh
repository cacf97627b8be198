#!/usr/bin/env bash
# Start-up benchmark: the time from starting Reelwright.exe (splash off, game
# folder set) to its visible main window, against a minimal Win32 window with
# the same manifest, started alternately under the same conditions in a
# prefix of their own. Prints both medians and their ratio; then the same for
# a second yardstick, the minimal window with the common controls and the main
# window's nine controls (tools/startup-timer/ControlsWindow.cpp): the part of
# the ratio that any window of these controls pays.
#   benchmarks/startup.sh [runs]      (12 by default; builds the windows preset first)
set -euo pipefail
source "$(dirname "$0")/../scripts/lib/common.sh"
cd "$REPO_ROOT"
runs=${1:-12}

cmake --preset windows >/dev/null
cmake --build --preset windows -j "$(nproc)" --target Reelwright SOF2MP MinimalWindow ControlsWindow StartupTimer >/dev/null

build="$REPO_ROOT/build/windows"
export WINEPREFIX="$build/wineprefix-startup"
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -eu
  source "'"$REPO_ROOT"'/scripts/lib/common.sh"
  prepare_wine_prefix
  wineserver -k 2>/dev/null || true
  wineserver -p </dev/null >/dev/null 2>&1
  wine64 cmd /c exit </dev/null >/dev/null 2>&1
  # A player who has set the game folder and turned the splash off.
  game="$WINEPREFIX/drive_c/Games/SOF2"
  mkdir -p "$game/base/mp/demos"
  cp "$0/SOF2MP.exe" "$game/SOF2MP.exe"
  key="HKCU\\Software\\Reelwright\\Reelwright_$(sed -n "s/^#define REELWRIGHT_VERSION_\(MAJOR\|MINOR\|REVISION\) *\([0-9]*\)$/\2/p" "'"$REPO_ROOT"'/src/core/Version.h" | paste -sd.)\\Settings"
  wine64 reg add "$key" /v "SOF2 Path" /d "C:\\Games\\SOF2" /f >/dev/null 2>&1
  wine64 reg add "$key" /v "Load Splash" /d 0 /f >/dev/null 2>&1
  minimal=$(wine64 winepath -w "$0/MinimalWindow.exe" 2>/dev/null)
  wine64 "$0/StartupTimer.exe" "$1" "$(wine64 winepath -w "$0/Reelwright.exe" 2>/dev/null)" "$minimal"
  status=$?
  echo
  wine64 "$0/StartupTimer.exe" "$1" "$(wine64 winepath -w "$0/ControlsWindow.exe" 2>/dev/null)" "$minimal" || status=1
  wineserver -k 2>/dev/null || true
  exit $status
' "$build" "$runs"
