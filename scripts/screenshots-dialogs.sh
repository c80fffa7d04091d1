#!/usr/bin/env bash
# Pictures of the template list and editor, the quick-add window with a
# preview and the search dialog with results, in the light and the dark theme.
#   scripts/screenshots-dialogs.sh [OUTPUT_DIR]   (default: build/screenshots/dialogs)
# Runs on a virtual X display when xvfb-run is installed, else offscreen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$build/screenshots/dialogs}"
mkdir -p "$out"
cmake --build "$build" --target dialogshots >/dev/null
exe="$build/tests/editors/dialogshots"
export QT_LOGGING_RULES="*.info=false;*.debug=false"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "$exe" "$out"
else
  QT_QPA_PLATFORM=offscreen "$exe" "$out"
fi
echo "Screenshots in $out:"
ls "$out"
