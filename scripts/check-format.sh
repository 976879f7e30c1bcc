#!/usr/bin/env bash
# Fails, listing them, when tracked C++ files are not formatted as .clang-format says.
# Uses Debian 12's clang-format (14); other versions may format a few lines differently.
# Installs it when missing (as root). To fix a file: clang-format -i FILE
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

clang_format="${CLANG_FORMAT:-clang-format}"  # CLANG_FORMAT picks another binary
if [ -z "${CLANG_FORMAT:-}" ] && ! command -v clang-format >/dev/null; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "check-format: clang-format is missing; install it as root: apt-get install clang-format" >&2
        exit 1
    fi
    echo "check-format: installing clang-format" >&2
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends clang-format >/dev/null
fi

# A missing binary or a broken .clang-format is not a formatting fault: say so plainly.
if ! "$clang_format" --dump-config >/dev/null; then
    echo "check-format: $clang_format cannot run (missing, or the root .clang-format is not valid for it)" >&2
    exit 1
fi

unformatted=()
while IFS= read -r -d '' file; do
    "$clang_format" --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted+=("$file")
done < <(git ls-files -z -- '*.cpp' '*.h')

if [ ${#unformatted[@]} -gt 0 ]; then
    echo "check-format: not formatted ($("$clang_format" --version)):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    echo "Format them with: clang-format -i FILE..." >&2
    exit 1
fi
