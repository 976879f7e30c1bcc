# Sourced by the scripts that run the Windows program: an Xvfb on a free display and a
# fresh Wine prefix with its server kept alive, in the folder $work, which the caller
# makes. wine_session_start exports DISPLAY and WINEPREFIX; wine_session_stop ends both
# (call it from the caller's EXIT trap).
wine64=/usr/lib/wine/wine64
xvfb_pid=""

wine_session_start() {
    local n display=""
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
    # The server stays until the end: every run after this starts in a fraction of a second.
    wineserver -p
    "$wine64" wineboot -i >"$work/wineboot.log" 2>&1 || { cat "$work/wineboot.log" >&2; exit 1; }
}

wine_session_stop() {
    WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1 || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
