#!/usr/bin/env bash
# Drives the real program as a user would, under Xvfb with openbox, with xdotool: the About
# box from the keyboard (Shift+F10, A), its Help button, Escape in the help viewer while the
# About box is open, F1 in the About box, OK, and Escape in the main window with the help
# viewer still open. The program must end with exit code 0.
# Usage: drive_window.sh VARNOK_BINARY
set -uo pipefail
varnok="$1"
tmp="$(mktemp -d)"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    rm -rf "$tmp"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/display" 2>"$tmp/xvfb.log" &
pids+=($!)
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
export DISPLAY=":$(cat "$tmp/display")"
openbox --sm-disable >"$tmp/openbox.log" 2>&1 &
pids+=($!)
sleep 0.5

# The first visible window whose title is exactly $1.
window() {
    for _ in $(seq 100); do
        local id
        id="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)"
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
gone() {
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}
press() {  # press WINDOW KEY...: activates the window, then types the keys
    local w="$1"
    shift
    xdotool windowactivate --sync "$w" >/dev/null 2>&1 || xdotool windowfocus --sync "$w"
    sleep 0.2
    xdotool key --clearmodifiers "$@"
}

"$varnok" >"$tmp/out" 2>&1 &
vpid=$!
pids+=($vpid)
main="$(window Varnok)" || fail "no main window"
# The menu may come up late on a busy machine: A again until the About box shows.
press "$main" shift+F10
about=""
for _ in $(seq 10); do
    sleep 0.5
    xdotool key a
    about="$(xdotool search --onlyvisible --name "^About varnok\$" 2>/dev/null | head -1)"
    [ -n "$about" ] && break
done
[ -n "$about" ] || fail "Shift+F10, A opened no About box"
press "$about" Tab space
viewer="$(window "Varnok Help")" || fail "the Help button opened no help viewer"
press "$viewer" Escape
gone "Varnok Help" || fail "Escape did not close the help viewer while the About box was open"
press "$about" F1
viewer="$(window "Varnok Help")" || fail "F1 in the About box opened no help viewer"
press "$about" Return
gone "About varnok" || fail "Return did not close the About box"
press "$main" Escape
for _ in $(seq 100); do kill -0 "$vpid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$vpid" 2>/dev/null && fail "Escape did not close the main window"
wait "$vpid"
rc=$?
[ "$rc" -eq 0 ] || fail "exit code $rc: $(cat "$tmp/out")"
echo "exit code 0 after the About box and the help viewer"
