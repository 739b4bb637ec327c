#!/usr/bin/env bash
# PrairieLearn's external grader runs this (the question's "entrypoint"). The student's
# program is /grade/student/program.asm, the question's test file
# /grade/tests/exercise.tests.toml; results.json goes to /grade/results. A program that
# does not assemble is reported as not gradable, which costs the student no attempt.
set -uo pipefail
root=${PL_GRADE_ROOT:-/grade}
mkdir -p "$root/results"
"$root/serverFilesCourse/quarzel/quarzel-cli" test "$root/tests/exercise.tests.toml" \
  "$root/student/program.asm" --format prairielearn -o "$root/results/results.json"
status=$?
[ $status -eq 0 ] || [ $status -eq 4 ]
