#!/usr/bin/env bash
# Pictures of the filter and calendar group dialogs in the light and the dark theme:
# the filter form's four pages, "Manage Filters", "Manage Calendar Groups",
# the group form and the agenda's context menu.
#   scripts/screenshots-filters.sh [OUTPUT_DIR]   (default: build/screenshots/filters)
# Runs on a virtual X display when xvfb-run is installed, else offscreen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$build/screenshots/filters}"
mkdir -p "$out"
cmake --build "$build" --target filtershots >/dev/null
exe="$build/tests/mainwindow/filtershots"
export QT_LOGGING_RULES="*.info=false;*.debug=false"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "$exe" "$out"
else
  QT_QPA_PLATFORM=offscreen "$exe" "$out"
fi
echo "Screenshots in $out:"
ls "$out"
