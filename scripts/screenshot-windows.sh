#!/usr/bin/env bash
# Redraws docs/windows-main-window.png and docs/windows-about-box.png from the real
# varnok.exe under Wine, in an X server of its own with openbox drawing the frames.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" g++-mingw-w64-x86-64-posix wine64 x11-apps imagemagick
bash "$root/scripts/build.sh" windows

source "$root/scripts/wine-session.sh"
work="$(mktemp -d /tmp/varnok-shot.XXXXXX)"
wm_pid="" app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    wine_session_stop
    [ -n "$wm_pid" ] && kill "$wm_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
wine_session_start

# openbox without key bindings: its own would take Alt+Space from the program.
cat >"$work/openbox.xml" <<'EOF'
<?xml version="1.0"?>
<openbox_config xmlns="http://openbox.org/3.4/rc"><keyboard/><mouse/></openbox_config>
EOF
openbox --config-file "$work/openbox.xml" >/dev/null 2>&1 &
wm_pid=$!

wait_for() {  # prints the visible window whose title is exactly $1
    local w=""
    for _ in $(seq 100); do
        w="$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)" && [ -n "$w" ] && break
        sleep 0.1
    done
    [ -n "$w" ] || { echo "varnok: no window \"$1\"" >&2; exit 1; }
    echo "$w"
}
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.3; done; }
corner() { xwininfo -id "$1" | awk '/Absolute upper-left X/ {x = $NF} /Absolute upper-left Y/ {y = $NF} END {print x, y}'; }
# The frame, with the client area captured on its own laid over it: under Xvfb a second
# window's client area comes out black in any capture but its own.
shoot() {
    local frame cx cy fx fy
    frame="$(xwininfo -tree -id "$1" | awk '/Parent window id/ {print $4}')"
    read -r cx cy < <(corner "$1")
    read -r fx fy < <(corner "$frame")
    xwd -id "$frame" -silent >"$work/frame.xwd"
    xwd -id "$1" -silent >"$work/client.xwd"
    convert "xwd:$work/frame.xwd" "xwd:$work/client.xwd" -geometry "+$((cx - fx))+$((cy - fy))" -composite \
        "PNG:$2"
}

"$wine64" "$root/build-win64/varnok.exe" /s /n:30 >/dev/null 2>&1 &
app_pid=$!
main="$(wait_for Varnok)"
xdotool windowactivate --sync "$main"
sleep 0.5
# The tree has the focus on Local Drives: open it, read C:\ (F5) and open it, then the same
# for C:\users.
keys Right Down F5 Right Down Down Down Down F5 Right
shoot "$main" "$root/docs/windows-main-window.png"

# The system menu's last entry is About varnok...
keys alt+space Up Return
about="$(wait_for 'About varnok')"
sleep 0.5
shoot "$about" "$root/docs/windows-about-box.png"
keys Escape
xdotool windowactivate --sync "$main"
keys Escape
status=0
wait "$app_pid" || status=$?
app_pid=""
[ "$status" -eq 0 ] || { echo "varnok: varnok.exe ended with exit code $status" >&2; exit 1; }
echo "wrote windows-main-window.png and windows-about-box.png in $root/docs"
