#!/usr/bin/env bash
# Builds Orlimber and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target orlimber
exec build/bin/orlimber "$@"
