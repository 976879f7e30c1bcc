#!/usr/bin/env bash
# The Windows build, tested under Wine: cross-builds varnok.exe and its tests with
# mingw-w64 (build-win64/), runs the unit tests and the integration tests on the Win32 file
# system inside a fresh Wine prefix (its drive C: is a folder of the prefix),
# checks that the 32-bit build compiles and links, and makes the release zip.
# Called by scripts/test --windows.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

# The shared setup, with the cross compilers, Wine and an X server for it.
bash "$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine64 xvfb

dir="$root/build-win64"
# The presets windows (build-win64/) and windows-i686 (build-win32/, the 32-bit program,
# compiled and linked only: a 64-bit Wine cannot run it).
bash "$root/scripts/build.sh" windows
bash "$root/scripts/build.sh" windows-i686

# One Xvfb and one wineserver for the whole run, in a prefix of our own.
source "$root/scripts/wine-session.sh"
work="$(mktemp -d /tmp/varnok-wine.XXXXXX)"
cleanup() {
    wine_session_stop
    rm -rf "$work"
}
trap cleanup EXIT
wine_session_start

cd "$root"
ctest --preset windows -j "$(nproc)"
cd "$dir"
cpack -G ZIP >/dev/null
echo "varnok: $(ls "$dir"/varnok-*-win64.zip): $(cmake -E tar tf "$dir"/varnok-*-win64.zip | tr '\n' ' ')"
