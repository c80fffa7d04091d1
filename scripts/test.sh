#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every
# test through CTest.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" -DCALENDAR_WERROR=ON
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600 "$@"
