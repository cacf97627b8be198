#!/usr/bin/env bash
# The release zip as a player gets it: built with CPack, its name and file list
# checked exactly, its texts with CR LF line ends, its program stripped and
# static; then unpacked into a fresh Wine prefix, where the unpacked
# Reelwright.exe is started with a demo on its command line and the stand-in
# game must be started on that demo.
#   tests/package/package_test.sh      (scripts/test runs it)
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib/common.sh"
cd "$REPO_ROOT"

failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

echo "== Package test: building the release zip"
cmake --preset windows >/dev/null
if ! cmake --build --preset windows -j "$(nproc 2>/dev/null || echo 2)" --target package >"$REPO_ROOT/build/package.log" 2>&1; then
  tail -40 "$REPO_ROOT/build/package.log" >&2
  echo "FAILED: the package could not be built" >&2
  exit 1
fi

version=$(sed -n 's/^#define REELWRIGHT_VERSION_\(MAJOR\|MINOR\|REVISION\) \+\([0-9]\+\)$/\2/p' src/core/Version.h | paste -sd.)
zip="build/windows/Reelwright-$version-win64.zip"
[ -f "$zip" ] || { echo "FAILED: no $zip" >&2; exit 1; }

expected=$'Reelwright/Graphics/sof2.ico\nReelwright/LICENSE.txt\nReelwright/README.txt\nReelwright/Reelwright.exe'
listed=$(unzip -Z1 "$zip" | grep -v '/$' | LC_ALL=C sort)
[ "$listed" = "$expected" ] || fail "the zip holds"$'\n'"$listed"$'\n'"instead of"$'\n'"$expected"
# Folders only where the files need them.
extra_folders=$(unzip -Z1 "$zip" | grep '/$' | grep -vx -e 'Reelwright/' -e 'Reelwright/Graphics/' || true)
[ -z "$extra_folders" ] || fail "the zip holds other folders: $extra_folders"

scratch=$(mktemp -d)
trap 'WINEPREFIX="$scratch/prefix" wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
unzip -q "$zip" -d "$scratch/unpacked"
unpacked="$scratch/unpacked/Reelwright"

# The texts are the repository's with CR LF line ends.
sed 's/$/\r/' docs/user-guide.md | cmp -s - "$unpacked/README.txt" || fail "README.txt is not docs/user-guide.md with CR LF"
sed 's/$/\r/' LICENSE | cmp -s - "$unpacked/LICENSE.txt" || fail "LICENSE.txt is not LICENSE with CR LF"
cmp -s resources/Graphics/sof2.ico "$unpacked/Graphics/sof2.ico" || fail "Graphics/sof2.ico is not the program's icon"

# Stripped, and linked statically: no DLL of the compiler's runtime.
if x86_64-w64-mingw32-nm "$unpacked/Reelwright.exe" 2>&1 | grep -qv 'no symbols'; then
  fail "Reelwright.exe is not stripped"
fi
runtime_dlls=$(x86_64-w64-mingw32-objdump -p "$unpacked/Reelwright.exe" | sed -n 's/^\s*DLL Name: //p' |
  grep -i -e 'libstdc' -e 'libgcc' -e 'winpthread' || true)
[ -z "$runtime_dlls" ] || fail "Reelwright.exe needs $runtime_dlls"

echo "== Package test: playing a demo with the unpacked program in a fresh Wine prefix"
export WINEPREFIX="$scratch/prefix"
xvfb-run -a -s "-screen 0 1280x1024x24" tests/package/play_unpacked.sh "$unpacked" "$version" ||
  fail "the unpacked program did not play the demo"

if [ "$failures" -eq 0 ]; then
  echo "Package test: 1 passed, 0 failed"
else
  echo "Package test: 0 passed, 1 failed"
  exit 1
fi
