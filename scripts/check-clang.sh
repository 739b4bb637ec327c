#!/usr/bin/env bash
# Builds everything once more with clang and warnings as errors, tests, benchmarks and the
# fuzz targets included: clang warns about things g++ lets pass (an unused constant, for
# one), and the fuzz targets build only with clang. Nothing is run, so the build is
# unoptimised and without debug information, to keep it quick.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang++ > /dev/null || { echo "clang++ is missing (scripts/setup.sh installs it)"; exit 1; }
cmake -S . -B build-clang -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_FLAGS_DEBUG=-O0 -DQUARZEL_WERROR=ON -DQUARZEL_SANITIZE=OFF \
  -DQUARZEL_TESTS=ON -DQUARZEL_BENCH=ON -DQUARZEL_FUZZ=ON > /dev/null
nice cmake --build build-clang "$@"
echo "clang: everything builds without a warning"
