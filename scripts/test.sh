#!/usr/bin/env bash
# Builds everything with warnings as errors under AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs every test; then builds the browser edition,
# compares its module with the command-line tool just built and tests the page in
# Debian's chromium.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUARZEL_WERROR=ON \
  -DQUARZEL_SANITIZE=ON -DQUARZEL_BENCH=OFF > /dev/null
cmake --build build-test
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
(cd build-test && ctest --output-on-failure -j2 "$@")
scripts/web.sh --build-only
QUARZEL_CLI=build-test/cli/quarzel-cli node --test web/test/*.test.mjs
(cd web && npx playwright test)
