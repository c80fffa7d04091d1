#!/usr/bin/env bash
# Builds picture programs and runs each with OUTPUT_DIR, on a virtual X
# display when xvfb-run is installed, else offscreen; then lists the pictures.
# The screenshots-*.sh scripts name their programs through it.
#   scripts/run-shots.sh OUTPUT_DIR PROGRAM...   (PROGRAM relative to the build, e.g. tests/mainwindow/taskshots)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
out="$1"
shift
mkdir -p "$out"
targets=()
for program in "$@"; do targets+=("$(basename "$program")"); done
cmake --build "$build" --target "${targets[@]}" >/dev/null
export QT_LOGGING_RULES="*.info=false;*.debug=false"
for program in "$@"; do
  exe="$build/$program"
  if command -v xvfb-run >/dev/null; then
    xvfb-run -a -s "-screen 0 1280x800x24" "$exe" "$out"
  else
    QT_QPA_PLATFORM=offscreen "$exe" "$out"
  fi
done
echo "Screenshots in $out:"
ls "$out"
