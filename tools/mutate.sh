#!/usr/bin/env bash
# Mutation testing: do the tests catch real faults? Applies each mutant of
# tests/mutation/mutants.tsv to a copy of the sources one at a time (a
# flipped comparison, a changed constant, a dropped statement), rebuilds
# incrementally, runs the fast tests (every unit, integration and corpus
# replay test, the command-line, run-length and settings-file tests and the
# golden demos; not the real-window tests) in an optimised build with the
# sanitizers, so that a mutant reading past an array is caught, and prints
# which mutants the suite kills (a build step that runs the game's code, as
# the icon maker does, may catch one already: "does not build"). The tests
# of the mutated file's own folder are built and run first, so that most
# mutants die without the whole suite being rebuilt.
#   tools/mutate.sh [PATTERN]     only the mutants whose file or note match
# Exit status 1 when a mutant that is not marked equivalent survives, or
# when a mutant no longer matches its source line (the list needs updating).
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" libgtest-dev libbenchmark-dev

list=tests/mutation/mutants.tsv
work="$root/build/mutate"
pattern=${1:-}
mkdir -p "$work"
# The mutants are applied to a copy, so the working tree is never left
# mutated, whatever happens to this script.
# Only the files whose content differs are copied (and those gone removed),
# so the next run rebuilds what changed since the last copy and nothing else,
# however old a changed file's time (an edit made during the last build).
copy="$work/src-copy"
python3 - "$root" "$copy" <<'PY'
import filecmp, os, shutil, sys
root, copy = sys.argv[1], sys.argv[2]
def files(top):
    out = set()
    for d, dirs, names in os.walk(top):
        if d == top:
            dirs[:] = [x for x in dirs if x not in ('build', '.git')]
            names = [x for x in names if x != '.git']
        out.update(os.path.relpath(os.path.join(d, n), top) for n in names)
    return out
wanted = files(root)
have = files(copy) if os.path.isdir(copy) else set()
for f in sorted(wanted):
    src, dst = os.path.join(root, f), os.path.join(copy, f)
    if f not in have or not filecmp.cmp(src, dst, shallow=False):
        os.makedirs(os.path.dirname(dst), exist_ok=True)
        shutil.copy(src, dst)
for f in have - wanted:
    os.remove(os.path.join(copy, f))
PY
bin="$work/bin"
cmake -S "$copy" -B "$bin" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORN_SANITIZE=ON -DVORN_TESTS=ON >/dev/null || exit 2
cmake --build "$bin" >"$work/build.log" 2>&1 || { tail -n 20 "$work/build.log"; exit 2; }

# The ctest names of a test executable's cases, as one anchored regex
# ("^(Suite|Other)\."), or nothing when src/FOLDER has no test executable.
suites_of() {
  [ -x "$bin/test_$1" ] || return 0
  local names
  names=$("$bin/test_$1" --gtest_list_tests | grep -v '^ ' | sed 's/\.$//; s/^\(.*\)\/[0-9]*$/\1/' | sort -u | paste -sd'|')
  [ -n "$names" ] && echo "^(${names})\."
}

# fast_tests FOLDER: 0 when every fast test passes; the tests of src/FOLDER
# first (built alone), then everything else. 1 when a test fails, 3 when the
# build fails.
fast_tests() {
  local own=""
  : >"$work/ctest.log"
  : >"$work/e2e.log"
  if [ -n "$1" ] && [ -d "$copy/tests/$1" ]; then
    cmake --build "$bin" --target "test_$1" >"$work/build.log" 2>&1 || return 3
    own=$(suites_of "$1")
    if [ -n "$own" ]; then
      timeout 900 ctest --test-dir "$bin" -R "$own" --stop-on-failure --timeout 120 -j "$(nproc)" >"$work/ctest.log" 2>&1 || return 1
    fi
  fi
  cmake --build "$bin" >"$work/build.log" 2>&1 || return 3
  timeout 1800 ctest --test-dir "$bin" -E "^e2e_${own:+|$own}" --stop-on-failure --timeout 120 -j "$(nproc)" >>"$work/ctest.log" 2>&1 || return 1
  bash "$copy/tests/e2e/command_line.sh" "$bin/vorn" >"$work/e2e.log" 2>&1 || return 1
  bash "$copy/tests/e2e/run_length.sh" "$bin/vorn" >>"$work/e2e.log" 2>&1 || return 1
  bash "$copy/tests/e2e/config_files.sh" "$bin/vorn" >>"$work/e2e.log" 2>&1 || return 1
  bash "$copy/tests/e2e/golden_demos.sh" "$bin/vorn" >>"$work/e2e.log" 2>&1 || return 1
}

# The first failing test case, or the first failure an end-to-end script
# reported.
first_failure() {
  { grep -m1 -E '\*\*\*|Failed  ' "$work/ctest.log" | sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/\1/'
    grep -m1 FAIL "$work/e2e.log"; } | head -n 1
}

started=$SECONDS
echo "checking that the unmutated sources pass the fast tests ..."
fast_tests "" || { echo "the fast tests fail without any mutant (see $work/ctest.log, $work/e2e.log)"; exit 2; }
echo "passed in $((SECONDS - started)) s"

killed=0 survived=0 equivalent=0 stale=0 n=0
survivors=()
while IFS=$'\t' read -r file line before after status note; do
  [[ -z "$file" || "$file" == \#* ]] && continue
  [[ -n "$pattern" && "$file $note" != *$pattern* ]] && continue
  n=$((n + 1))
  target="$copy/$file"
  # The mutant's line, or the nearest line within 40 that holds `before`
  # (the list survives small edits above it).
  at=$(python3 - "$target" "$line" "$before" <<'PY'
import sys
path, line, before = sys.argv[1], int(sys.argv[2]), sys.argv[3]
lines = open(path).read().split('\n')
hits = [i + 1 for i, l in enumerate(lines) if before in l and abs(i + 1 - line) <= 40]
print(min(hits, key=lambda i: abs(i - line)) if hits else 0)
PY
)
  label="$file:$line  $before  ->  $after"
  if [ "$at" = 0 ]; then
    echo "STALE     $label"
    stale=$((stale + 1))
    continue
  fi
  cp "$target" "$work/original"
  python3 - "$target" "$at" "$before" "$after" <<'PY'
import sys
path, at, before, after = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
lines = open(path).read().split('\n')
lines[at - 1] = lines[at - 1].replace(before, after, 1)
open(path, 'w').write('\n'.join(lines))
PY
  folder=${file#src/}
  folder=${folder%%/*}
  fast_tests "$folder"
  case $? in
    0) result=survived how="" ;;
    3) result=killed how="does not build" ;;
    *) result=killed how="$(first_failure)" ;;
  esac
  cp "$work/original" "$target"
  if [ "$status" = equivalent ]; then
    echo "EQUIV     $label   ($result; $note)"
    equivalent=$((equivalent + 1))
  elif [ "$result" = killed ]; then
    echo "killed    $label   ${how:+[$how]}"
    killed=$((killed + 1))
  else
    echo "SURVIVED  $label   ($note)"
    survived=$((survived + 1))
    survivors+=("$label")
  fi
done <"$list"
cmake --build "$bin" >/dev/null 2>&1

total=$((killed + survived))
echo
echo "mutants: $n; killed $killed of $total that can change behaviour; $equivalent marked equivalent; $stale stale"
echo "time: $((SECONDS - started)) s"
[ $total -gt 0 ] && echo "score: $((100 * killed / total)) %"
[ "$survived" -eq 0 ] && [ "$stale" -eq 0 ]
