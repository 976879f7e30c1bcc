#!/usr/bin/env bash
# Configures and builds into the given folder: scripts/build.sh BUILD_DIR [cmake options...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$1"
shift
# VARNOK_WERROR=ON in the environment (CI, developers) turns warnings into errors.
cmake -S "$root" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNOK_WERROR="${VARNOK_WERROR:-OFF}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)" -- --no-print-directory >/dev/null
