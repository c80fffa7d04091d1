#!/usr/bin/env bash
# Installs what is missing, builds, and starts the application.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"
build="${BUILD_DIR:-$root/build}"
if [ -x "$build/src/calendar" ]; then
  exec "$build/src/calendar" "$@"
fi
echo "The calendar core is built; the desktop application arrives with the application shell."
