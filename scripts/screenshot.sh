#!/usr/bin/env bash
# Redraws docs/main-window.png from the real dialog under the offscreen platform.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" default
VARNOK_SCREENSHOT_DIR="$root/docs" QT_QPA_PLATFORM=offscreen \
    "$root/build/tests/gui_tests" --gtest_filter='MainDialog.Screenshot' >/dev/null
echo "wrote $root/docs/main-window.png"
