#!/usr/bin/env bash
# Fails when an #include breaks the layering of docs/ARCHITECTURE.md:
#  - a header outside framework/qt/ includes a Qt header (headers stay toolkit-free);
#  - a file in framework/ or platform/ includes app/, ui/, sweep/ or tree/ (the bottom
#    layer never reaches up);
#  - a file of the program outside framework/ includes a toolkit backend (framework/qt/,
#    framework/win32/): the build picks the backend, the code above never names it.
# tests/ and bench/ may include the Qt backend and Qt itself in their .cpp files.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

include='^[[:space:]]*#[[:space:]]*include[[:space:]]*'
qt_header="${include}<(Q[A-Za-z0-9_]*|Qt[A-Za-z0-9_]*/[^>]*|q[a-z0-9_]*\.h)>"
upper_layer="${include}[\"<](\.\./)*(app|ui|sweep|tree)/"
backend="${include}[\"<](\.\./)*framework/(qt|win32)/"

breaches=()
check() {  # check PATTERN WHY FILE...
    local pattern="$1" why="$2" file
    shift 2
    for file in "$@"; do
        while IFS= read -r hit; do
            breaches+=("$file:$hit ($why)")
        done < <(grep -nE "$pattern" "$file" || true)
    done
}

mapfile -t headers < <(git ls-files -- '*.h' '*.hpp' ':!:framework/qt/**')
mapfile -t bottom < <(git ls-files -- 'framework/**.h' 'framework/**.cpp' 'platform/**.h' 'platform/**.cpp')
mapfile -t program < <(git ls-files -- 'app/**.h' 'app/**.cpp' 'ui/**.h' 'ui/**.cpp' 'sweep/**.h' 'sweep/**.cpp' \
    'tree/**.h' 'tree/**.cpp' 'platform/**.h' 'platform/**.cpp')

check "$qt_header" "Qt in a header outside framework/qt/" "${headers[@]}"
check "$upper_layer" "framework/ and platform/ never include the layers above" "${bottom[@]}"
check "$backend" "only framework/ and the build name a toolkit backend" "${program[@]}"

if [ ${#breaches[@]} -gt 0 ]; then
    echo "check-layers: includes that break the layering (see docs/ARCHITECTURE.md):" >&2
    printf '  %s\n' "${breaches[@]}" >&2
    exit 1
fi
