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

wine64=/usr/lib/wine/wine64
dir="$root/build-win64"
# The presets windows (build-win64/) and windows-i686 (build-win32/, the 32-bit program,
# compiled and linked only: a 64-bit Wine cannot run it).
bash "$root/scripts/build.sh" windows
bash "$root/scripts/build.sh" windows-i686

# One Xvfb and one wineserver for the whole run, in a prefix of our own.
work="$(mktemp -d /tmp/varnok-wine.XXXXXX)"
xvfb_pid=""
cleanup() {
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
display=""
for n in $(seq 90 120); do
    if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        xvfb_pid=$!
        display=":$n"
        break
    fi
done
[ -n "$display" ] || { echo "varnok: no free X display for Xvfb" >&2; exit 1; }
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY="$display" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
mkdir -p "$WINEPREFIX"
# The server stays until cleanup: every run after this starts in a fraction of a second.
wineserver -p
"$wine64" wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }

cd "$root"
ctest --preset windows -j "$(nproc)"
cd "$dir"
cpack -G ZIP >/dev/null
echo "varnok: $(ls "$dir"/varnok-*-win64.zip): $(cmake -E tar tf "$dir"/varnok-*-win64.zip | tr '\n' ' ')"
