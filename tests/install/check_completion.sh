#!/usr/bin/env bash
# The bash completion of both programs, asked as bash asks it, in a folder of files of
# every kind the programs take.
# usage: check_completion.sh COMPLETION_SCRIPT
set -uo pipefail
export LC_ALL=C  # the order the expected words are in
script=$(realpath "$1")
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
cd "$dir" || exit 1
mkdir class
touch a.asm B.ASM c.prg sum.tests.toml notes.txt
# shellcheck source=/dev/null
source "$script" || { echo "FAIL: $script cannot be sourced"; exit 1; }
failures=0

# case EXPECTED FUNCTION WORD... : the last word is the one being completed.
case_() {
  local expected=$1 function=$2 got
  shift 2
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMPREPLY=()
  "$function"
  got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | xargs)
  [ "$got" = "$expected" ] || { echo "FAIL: [$*] gave '$got', not '$expected'"; failures=$((failures + 1)); }
}

case_ "--help --version -h assemble disassemble run test" _quarzel_cli quarzel-cli ""
case_ "--help --version" _quarzel_cli quarzel-cli --
case_ "B.ASM a.asm class" _quarzel_cli quarzel-cli assemble ""
case_ "B.ASM a.asm c.prg class" _quarzel_cli quarzel-cli run ""
case_ "B.ASM a.asm c.prg class" _quarzel_cli quarzel-cli disassemble -- ""
case_ "class sum.tests.toml" _quarzel_cli quarzel-cli test ""
case_ "class sum.tests.toml" _quarzel_cli quarzel-cli test --format json ""
case_ "B.ASM a.asm c.prg class" _quarzel_cli quarzel-cli test sum.tests.toml ""
case_ "B.ASM a.asm c.prg class" _quarzel_cli quarzel-cli test - --test x ""
case_ "-- --dump --help --max-steps --pc --quiet --trace -q" _quarzel_cli quarzel-cli run -
case_ "--output" _quarzel_cli quarzel-cli assemble --o
case_ "--test" _quarzel_cli quarzel-cli test --t
case_ "" _quarzel_cli quarzel-cli run -- -
case_ "json junit" _quarzel_cli quarzel-cli test --format j
case_ "json junit" _quarzel_cli quarzel-cli test --format = j
case_ "--format=json --format=junit" _quarzel_cli quarzel-cli test --format=j
case_ "- c.prg class" _quarzel_cli quarzel-cli assemble a.asm -o ""
case_ "- B.ASM a.asm c.prg class notes.txt sum.tests.toml" _quarzel_cli quarzel-cli run a.asm --trace ""
case_ "" _quarzel_cli quarzel-cli run --max-steps ""
case_ "B.ASM a.asm c.prg class" _quarzel ""
case_ "-- --help --version" _quarzel quarzel --
case_ "" _quarzel quarzel -- -
for program in quarzel quarzel-cli; do
  complete -p "$program" > /dev/null 2>&1 || { echo "FAIL: no completion for $program"; failures=$((failures + 1)); }
done

[ $failures -eq 0 ] && echo "bash completion: all good"
exit $((failures > 0))
