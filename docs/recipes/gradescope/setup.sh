#!/usr/bin/env bash
# Gradescope runs this once when it builds the autograder's image: put the grader on
# the PATH. Upload it beside this file (the statically linked build needs nothing else).
set -euo pipefail
root=${AUTOGRADER_ROOT:-/autograder}
install -D -m 755 "$root/source/quarzel-cli" "${QUARZEL_BIN_DIR:-/usr/local/bin}/quarzel-cli"
