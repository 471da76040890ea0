#!/usr/bin/env bash
# Builds Kelvor (installing what is missing) and runs the whole test suite headless.
# An optional argument names the preset: default, asan or tsan.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
scripts/deps.sh
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
QT_QPA_PLATFORM=offscreen ctest --preset "$preset" -j2
