#!/usr/bin/env bash
# Pictures of the event editors in the light and the dark theme: "New Event"
# filled in, "Edit Event" of an all-day repeating event, the recurrence
# editor's weekly and monthly pages and the recurring-edit scope prompt; the
# template list and editor, quick add with its preview and search with results.
#   scripts/screenshots-editors.sh [OUTPUT_DIR]   (default: build/screenshots/editors)
# Runs on a virtual X display when xvfb-run is installed, else offscreen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$build/screenshots/editors}"
mkdir -p "$out"
cmake --build "$build" --target editorshots dialogshots >/dev/null
export QT_LOGGING_RULES="*.info=false;*.debug=false"
for shots in editorshots dialogshots; do
  exe="$build/tests/editors/$shots"
  if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x1024x24" "$exe" "$out"
  else
    QT_QPA_PLATFORM=offscreen "$exe" "$out"
  fi
done
echo "Screenshots in $out:"
ls "$out"
