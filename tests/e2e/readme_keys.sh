#!/usr/bin/env bash
# The README's list of configuration keys is the one the game generates from
# its key table: regenerate it with build/test/configdoc when a key changes.
set -u
bin_dir=$(dirname "$1")
readme="$(dirname "$0")/../../README.md"
expected=$("$bin_dir/configdoc")
actual=$(sed -n '/<!-- config-keys:begin -->/,/<!-- config-keys:end -->/p' "$readme" | sed '1d;$d')
if [ "$expected" != "$actual" ]; then
  echo "README.md's key list differs from the key table; regenerate it with configdoc:"
  diff <(echo "$expected") <(echo "$actual")
  exit 1
fi
echo "README key list: ok"
