#!/usr/bin/env bash
# Installs what is missing, builds with warnings as errors, and runs every
# test through CTest. SANITIZE=1 builds into ./build-asan (or $BUILD_DIR)
# with AddressSanitizer and UBSan instead; a finding of either fails its test.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
if [[ "${SANITIZE:-0}" == 1 ]]; then
  export BUILD_DIR="${BUILD_DIR:-$root/build-asan}"
  "$root/scripts/build.sh" -DCALENDAR_WERROR=ON -DCALENDAR_SANITIZE=ON
else
  "$root/scripts/build.sh" -DCALENDAR_WERROR=ON -DCALENDAR_SANITIZE=OFF
fi
cd "${BUILD_DIR:-$root/build}"
ctest --output-on-failure --parallel "$(nproc)" --timeout 600 "$@"
