#!/usr/bin/env bash
# Fails when a tracked C++ file is not formatted with the project's .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
unformatted=$(git ls-files '*.cpp' '*.h' | xargs -r clang-format-14 --dry-run 2>&1 | \
  grep -E '^[^ ]+:[0-9]+:[0-9]+: (warning|error)' | cut -d: -f1 | sort -u || true)
if [ -n "$unformatted" ]; then
  echo "Not formatted (run clang-format-14 -i on them):"
  echo "$unformatted"
  exit 1
fi
echo "format: every C++ file is formatted"
