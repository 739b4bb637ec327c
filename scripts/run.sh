#!/usr/bin/env bash
# Builds the program (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARZEL_TESTS=OFF > /dev/null
cmake --build build
exec build/app/quarzel "$@"
