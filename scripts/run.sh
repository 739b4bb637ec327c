#!/usr/bin/env bash
# Builds the program (release) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUARZEL_TESTS=OFF > /dev/null
cmake --build build
if [ -x build/app/quarzel ]; then
  exec build/app/quarzel "$@"
fi
# Until the window exists: run the bundled example headless.
exec build/cli/quarzel-cli run examples/hello.prg --dump
