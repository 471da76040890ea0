#!/usr/bin/env bash
# Builds Kelvor (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target kelvorw
exec build/release/ui/kelvorw "$@"
