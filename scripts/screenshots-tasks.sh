#!/usr/bin/env bash
# Pictures of the task and calendar forms in the light and the dark theme:
# "New Task" as a subtask, the week agenda with its task rows and the calendar
# form waiting for its server.
#   scripts/screenshots-tasks.sh [OUTPUT_DIR]   (default: build/screenshots/tasks)
# Runs on a virtual X display when xvfb-run is installed, else offscreen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="${1:-$build/screenshots/tasks}"
mkdir -p "$out"
cmake --build "$build" --target taskshots >/dev/null
exe="$build/tests/mainwindow/taskshots"
export QT_LOGGING_RULES="*.info=false;*.debug=false"
if command -v xvfb-run >/dev/null; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "$exe" "$out"
else
  QT_QPA_PLATFORM=offscreen "$exe" "$out"
fi
echo "Screenshots in $out:"
ls "$out"
