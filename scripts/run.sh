#!/usr/bin/env bash
# Installs what is missing, builds the program alone (the tests and
# benchmarks are left to scripts/test.sh), and starts it with its default
# data directory (or $CALENDAR_DATA_DIR). Arguments go to the program, e.g.
#   ./scripts/run.sh --quick-add "Dentist tomorrow 3pm"
# Without a display it starts on a virtual X display (Xvfb).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
BUILD_TARGETS=calendar "$root/scripts/build.sh"
program="${BUILD_DIR:-$root/build}/src/calendar"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty): starting the calendar on a virtual X display with Xvfb."
  exec xvfb-run --auto-servernum --server-args="-screen 0 1280x800x24" "$program" "$@"
fi
exec "$program" "$@"
