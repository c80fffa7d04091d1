#!/usr/bin/env bash
# Pictures of the filter and calendar group dialogs in the light and the dark theme:
# the filter form's four pages, "Manage Filters", "Manage Calendar Groups",
# the group form and the agenda's context menu.
#   scripts/screenshots-filters.sh [OUTPUT_DIR]   (default: build/screenshots/filters)
# Runs on a virtual X display when xvfb-run is installed, else offscreen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
exec "$root/scripts/run-shots.sh" "${1:-$build/screenshots/filters}" tests/mainwindow/filtershots
