#!/usr/bin/env bash
# Measures how much of src/ the test suite reaches: builds the game and the
# whole suite with gcov instrumentation in build/coverage-build, runs every
# test (unit, integration, corpus replays and the end-to-end tests in real
# windows), then prints the line coverage per file of src/ with a TOTAL row,
# and the branch coverage. The HTML report goes to build/coverage/index.html.
#   tools/coverage.sh            gcovr is installed from Debian when missing
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${TEST_PACKAGES[@]}" gcovr

build=build/coverage-build
report=build/coverage
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORN_TESTS=ON -DVORN_COVERAGE=ON >/dev/null
cmake --build "$build"
# Counts from an earlier run would add up with this one.
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" -j "$(nproc)" --output-on-failure >"$build/ctest.log" 2>&1 || {
  tail -n 30 "$build/ctest.log"
  echo "coverage: the test suite failed (log: $build/ctest.log)" >&2
  exit 1
}
grep -E 'tests passed|tests failed' "$build/ctest.log"

mkdir -p "$report"
# Only the game's own sources: not the tests, tools, fuzz targets or the
# generated font data. Throw-branches inserted by the compiler for
# exceptions it cannot raise here are left out of the branch count.
common=(--root . --object-directory "$build" --filter 'src/' --exclude-throw-branches --exclude-unreachable-branches)
echo
echo "Line coverage"
gcovr "${common[@]}" --txt - --html-details "$report/index.html" --print-summary
echo
echo "Branch coverage"
gcovr "${common[@]}" --txt - --branches
echo "HTML report: $report/index.html"
