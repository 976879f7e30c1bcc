#!/usr/bin/env bash
# Varnok's quiet run against general tools that can delete the same files, on identical
# copies of one tree, alternating, in one run: `find -delete` and `fd ... -X rm`.
# Usage: bench/peers.sh [--where DIR] [rounds] [files] [folders]
#   --where DIR  lay the trees out below DIR (default /dev/shm, a tmpfs; give a folder on
#                the disk's file system to measure that)
# Prints a table of median wall times and ratios to find, and checks after every run
# that exactly the old matching files went. Needs bc and fd-find (installed if missing).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
where=/dev/shm
if [ "${1:-}" = "--where" ]; then
    where="$2"
    shift 2
fi
rounds=${1:-3}
files=${2:-100000}
folders=${3:-1000}
bash "$root/scripts/setup.sh" fd-find bc
varnok="$root/build/varnok"
[ -x "$varnok" ] || bash "$root/scripts/build.sh" default
work=$(mktemp -d "$where/varnok-peers-XXXXXX")
trap 'rm -rf "$work"' EXIT
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM  # as cron runs it

python3 "$root/bench/make_tree.py" "$work/master" "$folders" "$files"
expected=$(find "$work/master" -type f ! -name '*.tmp' | sed "s|^$work/master||" | sort | md5sum)

declare -A run
run[varnok]='"$varnok" -q --c -s -n:30 "$dir/*.tmp"'
run[find]='find "$dir" -type f -name "*.tmp" -mtime +30 -delete'
run[fd]='fdfind -H -I -t f -g "*.tmp" --changed-before 30d . "$dir" -X rm'
tools=(varnok find fd)

secs() {
    local dir="$1" s e
    s=$(date +%s.%N)
    eval "${run[$2]}" >/dev/null 2>&1 || true
    e=$(date +%s.%N)
    echo "$e - $s" | bc
}

declare -A times
for r in $(seq "$rounds"); do
    for tool in "${tools[@]}"; do
        rm -rf "$work/t"
        cp -a "$work/master" "$work/t"
        sync
        t=$(secs "$work/t" "$tool")
        left=$(find "$work/t" -type f | sed "s|^$work/t||" | sort | md5sum)
        [ "$left" = "$expected" ] || { echo "$tool did not delete exactly the old .tmp files" >&2; exit 1; }
        times[$tool]+="$t "
        echo "round $r: $tool ${t}s" >&2
    done
    tools=("${tools[@]:1}" "${tools[0]}")  # alternate who goes first
done

median() { printf '%s\n' $1 | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
fmed=$(median "${times[find]}")
echo "$files files in $folders folders, half old *.tmp, under $(df --output=fstype "$work" | tail -1) ($where), $(nproc) cores, median of $rounds"
printf '| %-8s | %10s | %12s |\n' tool "median s" "ratio to find"
printf '|---|---|---|\n'
for tool in varnok find fd; do
    m=$(median "${times[$tool]}")
    printf '| %-8s | %10.3f | %12.2f |\n' "$tool" "$m" "$(echo "scale=4; $m / $fmed" | bc)"
done
