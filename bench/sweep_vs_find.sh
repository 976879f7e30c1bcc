#!/usr/bin/env bash
# Varnok's quiet run against GNU find on identical trees under /tmp, alternating.
# Usage: bench/sweep_vs_find.sh [rounds] [files] [folders]
# Prints each round's times, the median ratio varnok/find, the system calls per deleted
# file (strace -c) and the peak memory at two tree sizes.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
rounds=${1:-5}
files=${2:-200000}
folders=${3:-2000}
varnok="$root/build/varnok"
[ -x "$varnok" ] || bash "$root/scripts/build.sh" default
work=$(mktemp -d /tmp/varnok-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT
export -n DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM 2>/dev/null || true
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM

python3 "$root/bench/make_tree.py" "$work/master" "$folders" "$files"
fresh() { rm -rf "$work/t"; cp -a "$work/master" "$work/t"; sync; }
secs() { local s e; s=$(date +%s.%N); "$@" >/dev/null 2>&1 || true; e=$(date +%s.%N); echo "$e - $s" | bc; }

ratios=()
for r in $(seq "$rounds"); do
    fresh; tv=$(secs "$varnok" -q --c -s -n:30 "$work/t/*.tmp")
    left=$(find "$work/t" -name '*.tmp' | wc -l); [ "$left" -eq 0 ] || { echo "varnok left $left files" >&2; exit 1; }
    fresh; tf=$(secs find "$work/t" -name '*.tmp' -mtime +30 -delete)
    ratio=$(echo "scale=3; $tv / $tf" | bc)
    ratios+=("$ratio")
    echo "round $r: varnok ${tv}s  find ${tf}s  ratio $ratio"
done
median=$(printf '%s\n' "${ratios[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')
echo "median ratio varnok/find: $median"

if command -v strace >/dev/null; then
    fresh
    strace -f -c -o "$work/strace.txt" "$varnok" -q --c -s -n:30 "$work/t/*.tmp" >/dev/null 2>&1 || true
    total=$(awk '/^100.00/ {print $4}' "$work/strace.txt")
    deleted=$((files / 2))
    echo "system calls: $total for $deleted deleted files: $(echo "scale=2; $total / $deleted" | bc) per file"
    fresh
    strace -f -c -o "$work/strace-find.txt" find "$work/t" -name '*.tmp' -mtime +30 -delete >/dev/null 2>&1
    echo "find for comparison: $(awk '/^100.00/ {print $4}' "$work/strace-find.txt") system calls"
fi

peak() { { /usr/bin/time -f '%M' "$varnok" -q --c -s -n:30 "$1/*.tmp" 2>&1 >/dev/null || true; } | tail -1; }
fresh; big=$(peak "$work/t")
rm -rf "$work/t"; python3 "$root/bench/make_tree.py" "$work/t" "$((folders / 4))" "$((files / 4))"; small=$(peak "$work/t")
echo "peak memory: ${small} KiB for $((files / 4)) files, ${big} KiB for $files files"
