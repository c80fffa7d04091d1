#!/usr/bin/env bash
# Pictures of the event editors in the light and the dark theme: "New Event"
# filled in, "Edit Event" of an all-day repeating event, the recurrence
# editor's weekly and monthly pages and the scope prompts of an edit and a deletion; the
# template list and editor, quick add with its preview and search with results.
#   scripts/screenshots-editors.sh [OUTPUT_DIR]   (default: build/screenshots/editors)
# Runs on a virtual X display when xvfb-run is installed, else offscreen.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
exec "$root/scripts/run-shots.sh" "${1:-$build/screenshots/editors}" tests/editors/editorshots tests/editors/dialogshots
