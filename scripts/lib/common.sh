# Shared by scripts/run, scripts/test and scripts/wine-ctest.
# shellcheck shell=bash

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
export PATH="/usr/lib/wine:$PATH"
export WINEDEBUG=-all

# Wine's loader, without address-space randomisation. Debian's wine64 has no
# preloader to keep the randomly placed C heap off the page where Wine maps its
# shared user data (0x7ffe0000): about one start in 8,000 would end at once with
# exit code 1 and, under WINEDEBUG=-all, no message. The programs it starts
# (Wine's services, the program under test's children) inherit the setting.
wine64() {
  setarch "$(uname -m)" -R /usr/lib/wine/wine64 "$@"
}

REQUIRED_PACKAGES=(
  cmake make g++ googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64-posix mingw-w64-tools
  wine64 fonts-wine xvfb xauth x11-apps imagemagick util-linux unzip
  clang libfuzzer-14-dev
  zlib1g-dev libz-mingw-w64-dev
)

# Installs the Debian packages that are missing (non-interactive).
ensure_packages() {
  local missing=()
  for package in "${REQUIRED_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "== Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq || true
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
  fi
}

# Debian's Wine looks for its own fonts (fonts-wine: Tahoma, which stands in
# for "MS Shell Dlg") beside its data folder and does not find them there, so
# every dialog font falls back to a much wider one. Copied into the prefix's
# Fonts folder, Wine finds them.
install_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ]; then
    cp -n /usr/share/wine/fonts/*.ttf "$fonts"/ 2>/dev/null || true
  fi
}

# Creates the Wine prefix $WINEPREFIX (when missing) inside the current X
# display, with Wine drawing window frames itself so message boxes come up at
# once, and no crash dialog.
prepare_wine_prefix() {
  if [ ! -f "$WINEPREFIX/.reelwright-ready" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wine64 wineboot -i >/dev/null 2>&1
    wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wine64 reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    install_wine_fonts
    wineserver -w
    touch "$WINEPREFIX/.reelwright-ready"
  fi
}

# Lays out the try-out game folder C:\Games\SOF2 in $WINEPREFIX: the stand-in
# SOF2MP.exe, base\mp\demos and mymod\demos with a few demos.
lay_out_tryout_game() {
  local game="$WINEPREFIX/drive_c/Games/SOF2"
  mkdir -p "$game/base/mp/demos" "$game/mymod/demos"
  cp "$REPO_ROOT/build/windows/SOF2MP.exe" "$game/SOF2MP.exe"
  # Three real demos recorded with an engine of the game's family, so that the
  # queue shows their maps and lengths, and an empty file that is no demo.
  local data="$REPO_ROOT/tests/demo/data"
  cp "$data/ffa-oa_dm1.dm_71" "$game/base/mp/demos/duel.dm_2004"
  cp "$data/ctf-oa_ctf2.dm_71" "$game/base/mp/demos/ctf_final.dm_2004"
  cp "$data/tdm-oa_dm2.dm_71" "$game/mymod/demos/team1.dm_2004"
  [ -f "$game/mymod/demos/elim.dm_2004" ] || : > "$game/mymod/demos/elim.dm_2004"
  # One time for all of them, so that the demo browser's Recorded column (and
  # so its picture) is the same at every run.
  touch -d '2026-12-07 16:05:00' "$game"/base/mp/demos/*.dm_2004 "$game"/mymod/demos/*.dm_2004
}
