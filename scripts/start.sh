#!/usr/bin/env bash
# Builds the program (installing only what building and running it needs) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh run
cmake --preset program >/dev/null
cmake --build --preset program --target kelvorw
exec build/program/ui/kelvorw "$@"
