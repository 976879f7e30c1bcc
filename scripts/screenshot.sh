#!/usr/bin/env bash
# Redraws the pictures in docs/ (the main window, the About box, a question and the help
# viewer) from the real windows under the offscreen platform.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" default
# Its folders are made under /var/tmp, whose listing is usually short.
TMPDIR=/var/tmp VARNOK_SCREENSHOT_DIR="$root/docs" QT_QPA_PLATFORM=offscreen \
    "$root/build/tests/gui_tests" --gtest_filter='MainDialog.Screenshot' >/dev/null
echo "wrote main-window.png, about-box.png, question.png and help-viewer.png in $root/docs"
