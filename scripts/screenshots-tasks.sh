#!/usr/bin/env bash
# Pictures of the task and calendar forms in the light and the dark theme:
# "New Task" as a subtask, the week agenda with its task rows and a series, the
# details its Thursday row opens, and the calendar form waiting for its server
# and after a refusal.
#   scripts/screenshots-tasks.sh [OUTPUT_DIR]   (default: build/screenshots/tasks)
# Runs on a virtual X display when xvfb-run is installed, else offscreen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
exec "$root/scripts/run-shots.sh" "${1:-$build/screenshots/tasks}" tests/mainwindow/taskshots
