#!/usr/bin/env bash
# Fails when a folder includes a folder it may not: core <- asm <- grading <- cli, and
# core <- controls <- gui <- editor <- app (each only the folders to its left; editor and
# app also asm and grading); the browser edition's module in web/ only core, asm and grading.
# core, asm, grading, cli and web use no Qt. Tests, benchmarks and fuzz targets may include
# anything.
set -euo pipefail
cd "$(dirname "$0")/.."
declare -A allowed=(
  [core]="core"
  [asm]="core asm"
  [grading]="core asm grading"
  [cli]="core asm grading cli"
  [controls]="core controls"
  [gui]="core controls gui"
  [editor]="core asm grading controls gui editor"
  [app]="core asm grading controls gui editor app"
  [web]="core asm grading web"
)
qtfree="core asm grading cli web"
status=0
for folder in "${!allowed[@]}"; do
  while IFS= read -r hit; do
    [ -n "$hit" ] || continue
    file=${hit%%:*}
    target=$(sed -E 's/.*#include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$hit")
    if [[ " ${allowed[$folder]} " != *" $target "* ]]; then
      echo "$file: $folder may not include $target/: ${hit#*:}"
      status=1
    fi
  done < <(git ls-files "$folder" | grep -E '\.(cpp|h)$' | xargs -r grep -H -E '^[[:space:]]*#include[[:space:]]*"[^/"]+/' || true)
  if [[ " $qtfree " == *" $folder "* ]]; then
    if git ls-files "$folder" | grep -E '\.(cpp|h)$' | xargs -r grep -n -E '^[[:space:]]*#include[[:space:]]*<Q' ; then
      echo "$folder/ must not use Qt"
      status=1
    fi
  fi
done
[ $status -eq 0 ] && echo "layers: every include goes one way"
exit $status
