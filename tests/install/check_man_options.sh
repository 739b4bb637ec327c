#!/usr/bin/env bash
# Every option that a --help text names is described in the program's man page, so the
# pages cannot fall behind the programs.
# usage: check_man_options.sh QUARZEL_CLI QUARZEL MAN_PAGE_FOLDER
set -uo pipefail
cli=$1 gui=$2 pages=$3
failures=0

# The options a help text names: a dash or two and a name, standing on their own.
options() { grep -oE "(^|[][ |(,'])--?[a-zA-Z][a-zA-Z-]*" | sed -E "s/^[][ |(,']//" | sort -u; }
# The page's text with groff's escaped dashes as plain ones.
page_text() { sed 's/\\-/-/g' "$pages/$1.1.in"; }

check() {  # check PAGE HELP_TEXT WHAT
  local page=$1 help=$2 what=$3 option text
  text=$(page_text "$page")
  [ -n "$help" ] || { echo "FAIL: $what printed no help"; failures=$((failures + 1)); return; }
  while read -r option; do
    grep -qwF -- "$option" <<< "$text" ||
      { echo "FAIL: $page.1 does not describe $option of $what"; failures=$((failures + 1)); }
  done < <(options <<< "$help")
}

usage=$("$cli" --help)
check quarzel-cli "$usage" "quarzel-cli --help"
commands=$(sed -nE 's/^  ([a-z]+)  .*/\1/p' <<< "$usage")
[ -n "$commands" ] || { echo "FAIL: quarzel-cli --help lists no command"; exit 1; }
for command in $commands; do
  grep -qE "^\.B quarzel\\\\-cli $command$" "$pages/quarzel-cli.1.in" ||
    { echo "FAIL: quarzel-cli.1 has no synopsis for $command"; failures=$((failures + 1)); }
  check quarzel-cli "$("$cli" "$command" --help)" "quarzel-cli $command"
done
check quarzel "$("$gui" --help)" "quarzel --help"

[ $failures -eq 0 ] && echo "every option of every --help is in its man page"
exit $((failures > 0))
