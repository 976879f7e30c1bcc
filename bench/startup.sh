#!/usr/bin/env bash
# Start-up: Varnok's quiet run on an empty folder against `find -delete` on the same
# folder, alternating, in a cron-like environment (no display). Prints both medians and
# their ratio. Usage: bench/startup.sh [runs] (default 300)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs=${1:-300}
varnok="$root/build/varnok"
[ -x "$varnok" ] || bash "$root/scripts/build.sh" default
work=$(mktemp -d /tmp/varnok-startup-XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/empty"

python3 - "$runs" "$varnok" "$work/empty" <<'PY'
import os, statistics, sys, time

runs, varnok, folder = int(sys.argv[1]), sys.argv[2], sys.argv[3]
env = {"PATH": "/usr/bin:/bin", "HOME": "/tmp", "LANG": "C.UTF-8", "TZ": "UTC"}  # as cron
commands = {
    "varnok": ([varnok, "-q", "--c", "-n:30", folder + "/*.tmp"], 1),
    "find": (["/usr/bin/find", folder, "-name", "*.tmp", "-mtime", "+30", "-delete"], 0),
}
devnull = os.open(os.devnull, os.O_WRONLY)

def run(argv, expected):
    # posix_spawn and a monotonic clock: little of the spawning cost is the benchmark's own.
    start = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, env, file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1),
                                                        (os.POSIX_SPAWN_DUP2, devnull, 2)])
    _, status = os.waitpid(pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != expected:
        sys.exit(f"{argv[0]} ended with {os.waitstatus_to_exitcode(status)}, not {expected}")
    return elapsed

for argv, expected in commands.values():  # warm the page cache
    for _ in range(5):
        run(argv, expected)
times = {name: [] for name in commands}
for i in range(runs):
    order = list(commands.items()) if i % 2 == 0 else list(reversed(commands.items()))
    for name, (argv, expected) in order:
        times[name].append(run(argv, expected))
median = {name: statistics.median(t) * 1000 for name, t in times.items()}
for name in commands:
    print(f"{name:7s} median {median[name]:6.2f} ms  (min {min(times[name]) * 1000:.2f}, {runs} runs)")
print(f"ratio varnok/find: {median['varnok'] / median['find']:.2f}")
PY
