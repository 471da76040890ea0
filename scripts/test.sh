#!/usr/bin/env bash
# Builds Kelvor (installing what is missing) and runs the whole test suite headless; the window
# tests choose the offscreen platform themselves.
# An optional argument names the preset: default, release, asan, tsan or solver-debug.
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
case "$preset" in
default | release | asan | tsan | solver-debug) ;;
*)
    echo "usage: scripts/test.sh [default|release|asan|tsan|solver-debug]" >&2
    exit 2
    ;;
esac
scripts/deps.sh test
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset"
ctest --preset "$preset" -j2
