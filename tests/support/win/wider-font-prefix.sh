#!/usr/bin/env bash
# Runs a Windows test program in a Wine prefix of its own, made without the
# copied Wine fonts and with "MS Shell Dlg" standing for DejaVu Sans (found
# through fontconfig), a font wider than the one the layouts were drawn in:
# what a player whose Wine does not find its own fonts sees.
#   wider-font-prefix.sh <prefix folder> <test program> [arguments...]
# Runs inside the virtual X server of scripts/wine-ctest.
set -u
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all
wine64() { setarch "$(uname -m)" -R /usr/lib/wine/wine64 "$@"; }

if [ ! -f "$prefix/.reelwright-ready" ]; then
  rm -rf "$prefix"
  mkdir -p "$prefix"
  wine64 wineboot -i </dev/null >/dev/null 2>&1
  wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
  wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  wine64 reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 'MS Shell Dlg' \
    /d 'DejaVu Sans' /f </dev/null >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
  touch "$prefix/.reelwright-ready"
fi

# This prefix's own server and background programs, kept away from the test's
# output so that CTest does not wait for them.
/usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1
wine64 cmd /c exit </dev/null >/dev/null 2>&1
wine64 "$@"
status=$?
/usr/lib/wine/wineserver -k 2>/dev/null
exit $status
