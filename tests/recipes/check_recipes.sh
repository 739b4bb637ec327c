#!/usr/bin/env bash
# Tries every grading recipe of docs/recipes on this machine: each service's files run
# with the grader on a right and a wrong solution of the sum exercise, in a folder laid
# out as the service lays out its own, and what they leave is read back as the service
# would read it.
# usage: check_recipes.sh QUARZEL_CLI SOURCE_DIR
set -euo pipefail
cli=$1
src=$(cd "$2" && pwd)
recipes=$src/docs/recipes
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The right solution, one whose sum starts at 1, and one that does not assemble.
cp "$src/examples/sum.asm" "$work/right.asm"
sed 's/load R3,0/load R3,1/' "$src/examples/sum.asm" > "$work/wrong.asm"
printf 'load R1,\n' > "$work/broken.asm"
sed 's/^program = .*//' "$src/examples/sum.tests.toml" > "$work/exercise.tests.toml"

json() {  # json FILE EXPRESSION: prints EXPRESSION evaluated on the file's object r
  python3 -c 'import json,sys; r=json.load(open(sys.argv[1])); print(eval(sys.argv[2]))' "$1" "$2"
}

gradescope() {  # gradescope SOLUTION: prints score/max_score
  local root=$work/gs-$1
  mkdir -p "$root/source" "$root/submission" "$root/bin"
  cp "$cli" "$root/source/quarzel-cli"
  cp "$work/exercise.tests.toml" "$root/source/"
  cp "$work/$1.asm" "$root/submission/sum.asm"
  AUTOGRADER_ROOT=$root QUARZEL_BIN_DIR=$root/bin "$recipes/gradescope/setup.sh"
  PATH=$root/bin:$PATH AUTOGRADER_ROOT=$root "$recipes/gradescope/run_autograder" \
    || fail "gradescope: run_autograder failed on $1"
  json "$root/results/results.json" \
    'format(r["score"], "g") + "/" + format(sum(t["max_score"] for t in r["tests"]), "g") + " " + str(len(r["tests"]))'
}
[ "$(gradescope right)" = "6/6 4" ] || fail "gradescope: right solution: $(gradescope right)"
[ "$(gradescope wrong)" = "0/6 4" ] || fail "gradescope: wrong solution: $(gradescope wrong)"

prairielearn() {  # prairielearn SOLUTION: prints gradable and score
  local root=$work/pl-$1
  mkdir -p "$root/serverFilesCourse/quarzel" "$root/tests" "$root/student"
  cp "$recipes/prairielearn/serverFilesCourse/quarzel/grade.sh" "$cli" \
     "$root/serverFilesCourse/quarzel/"
  cp "$work/exercise.tests.toml" "$root/tests/"
  cp "$work/$1.asm" "$root/student/program.asm"
  PL_GRADE_ROOT=$root "$root/serverFilesCourse/quarzel/grade.sh" \
    || fail "prairielearn: grade.sh failed on $1"
  json "$root/results/results.json" 'str(r["gradable"]) + " " + format(r.get("score", 0), "g")'
}
[ "$(prairielearn right)" = "True 1" ] || fail "prairielearn: right: $(prairielearn right)"
[ "$(prairielearn wrong)" = "True 0" ] || fail "prairielearn: wrong: $(prairielearn wrong)"
[ "$(prairielearn broken)" = "False 0" ] || fail "prairielearn: broken: $(prairielearn broken)"

classroom() {  # classroom SOLUTION: prints each step's exit status
  local root=$work/gh-$1
  mkdir -p "$root/tools"
  cp "$cli" "$root/tools/quarzel-cli"
  cp "$work/exercise.tests.toml" "$root/sum.tests.toml"
  cp "$work/$1.asm" "$root/sum.asm"
  local statuses=""
  while IFS= read -r command; do
    (cd "$root" && eval "$command" > /dev/null) && statuses+="0" || statuses+="x"
  done < <(sed -n 's/^ *command: //p' "$recipes/github-classroom/classroom.yml")
  echo "$statuses"
}
[ "$(classroom right)" = "00" ] || fail "github classroom: right: $(classroom right)"
[ "$(classroom wrong)" = "xx" ] || fail "github classroom: wrong: $(classroom wrong)"

codegrade() {  # codegrade SOLUTION: prints the JUnit counts of tests, failures, errors
  local root=$work/cg-$1
  mkdir -p "$root/fixtures" "$root/student"
  cp "$cli" "$work/exercise.tests.toml" "$root/fixtures/"
  cp "$work/$1.asm" "$root/student/program.asm"
  (cd "$root/student" && FIXTURES=$root/fixtures CG_JUNIT_XML_LOCATION=$root/junit.xml \
     "$recipes/codegrade/junit-step.sh") || fail "codegrade: step failed on $1"
  python3 -c '
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
cases = root.findall(".//testcase")
print(len(cases), sum(len(c.findall("failure")) for c in cases),
      sum(len(c.findall("error")) for c in cases))' "$root/junit.xml"
}
[ "$(codegrade right)" = "4 0 0" ] || fail "codegrade: right: $(codegrade right)"
[ "$(codegrade wrong)" = "4 4 0" ] || fail "codegrade: wrong: $(codegrade wrong)"
[ "$(codegrade broken)" = "4 0 4" ] || fail "codegrade: broken: $(codegrade broken)"

coderunner() {  # coderunner SOLUTION TEST: prints what the template prints
  local root=$work/cr-$1
  mkdir -p "$root"
  cp "$cli" "$root/quarzel-cli"
  cp "$work/exercise.tests.toml" "$root/"
  # CodeRunner's e('py') escapes a text for a Python string; repr()[1:-1] does the same.
  python3 - "$recipes/coderunner/template.py" "$work/$1.asm" "$2" > "$root/prog.py" <<'PY'
import sys
template = open(sys.argv[1]).read()
answer = open(sys.argv[2]).read()
escape = lambda text: repr(text)[1:-1].replace('"', '\\"')
print(template.replace("{{ STUDENT_ANSWER | e('py') }}", escape(answer))
              .replace("{{ TEST.testcode | e('py') }}", escape(sys.argv[3])))
PY
  (cd "$root" && python3 prog.py | head -n 1)
}
[ "$(coderunner right '1 to 5')" = "passed" ] || fail "coderunner: right: $(coderunner right '1 to 5')"
[ "$(coderunner wrong '1 to 5')" != "passed" ] || fail "coderunner: wrong solution passed"

[ $failures -eq 0 ] && echo "recipes: every one grades as its service would"
exit $((failures > 0))
