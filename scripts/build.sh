#!/usr/bin/env bash
# Configures and builds with the presets of CMakePresets.json:
#   scripts/build.sh PRESET [cmake options...]   default (build/), release, sanitize
#   scripts/build.sh FOLDER [cmake options...]   the default preset into another folder
#                                                (a path holding "/"), for one-off builds
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
target="$1"
shift
cd "$root"
if [[ "$target" == */* ]]; then
    configure=(--preset default -B "$target")
    build=("$target")
else
    configure=(--preset "$target")
    build=(--preset "$target")
fi
# VARNOK_WERROR=ON in the environment (CI, developers) turns warnings into errors; the
# presets leave it to this line so that the cache never keeps a stale choice.
cmake "${configure[@]}" -DVARNOK_WERROR="${VARNOK_WERROR:-OFF}" "$@" >/dev/null
cmake --build "${build[@]}" -j "$(nproc)" -- --no-print-directory >/dev/null
