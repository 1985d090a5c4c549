#!/usr/bin/env bash
# The README's option list and table of controls are the ones the game
# generates from its own tables (as --help and the manual page are):
# regenerate them with build/test/optiondoc when an option or a key changes.
set -u
bin_dir=$(dirname "$1")
readme="$(dirname "$0")/../../README.md"
status=0
# block NAME: the README's lines between <!-- NAME:begin --> and <!-- NAME:end -->.
block() { sed -n "/<!-- $1:begin -->/,/<!-- $1:end -->/p" "$readme" | sed '1d;$d'; }
expected_options=$(printf '```\n%s\n```' "$("$bin_dir/optiondoc" options)")
if [ "$expected_options" != "$(block options)" ]; then
  echo "README.md's option list differs from the option table; regenerate it with optiondoc options:"
  diff <(echo "$expected_options") <(block options)
  status=1
fi
if [ "$("$bin_dir/optiondoc" controls)" != "$(block controls)" ]; then
  echo "README.md's controls differ from the control table; regenerate them with optiondoc controls:"
  diff <("$bin_dir/optiondoc" controls) <(block controls)
  status=1
fi
# --help shows the same list.
"$1" --help | grep -qF -- "$("$bin_dir/optiondoc" options | head -n 1)" || { echo "--help lacks the option list"; status=1; }
[ "$status" -eq 0 ] && echo "README option list and controls: ok"
exit "$status"
