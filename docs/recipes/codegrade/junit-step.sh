#!/usr/bin/env bash
# CodeGrade AutoTest, "Unit Test" step: the command writes JUnit XML to the file CodeGrade
# names in $CG_JUNIT_XML_LOCATION, and CodeGrade scores the test cases it lists. Upload
# quarzel-cli and exercise.tests.toml as fixtures; students hand in program.asm.
set -uo pipefail
fixtures=${FIXTURES:-$HOME/fixtures}
"$fixtures/quarzel-cli" test "$fixtures/exercise.tests.toml" program.asm \
  --format junit -o "$CG_JUNIT_XML_LOCATION"
status=$?
[ $status -eq 0 ] || [ $status -eq 4 ]
