#!/usr/bin/env bash
# Line and branch coverage of scanner/, parser/, app/ and runtime/ by the test suite.
#
#   tools/coverage.sh            build-coverage/ of the coverage preset; configured only if it is
#                                not yet, and after `cmake --workflow --preset coverage` nothing
#                                is compiled again
#   tools/coverage.sh DIR        the same options in a build directory of your own
#
# Counters are cleared before the tests run, so the figures are those of one run of the suite.
# Prints a per-file table with the uncovered lines, then the branch table with the lines whose
# branches were not all taken. Branches the compiler adds for exceptions are left out.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

if ! command -v gcovr >/dev/null; then
  [ "$(id -u)" -eq 0 ] || { echo "tools/coverage.sh: needs gcovr (Debian/Ubuntu: sudo apt-get install gcovr)" >&2; exit 2; }
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq gcovr
fi

if [ $# -eq 0 ]; then
  build=$root/build-coverage
  [ -f "$build/CMakeCache.txt" ] || cmake --preset coverage >/dev/null
  cmake --build --preset coverage -j2
else
  build=$(realpath -m "$1")
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DINTCALC_COVERAGE=ON \
    -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
  cmake --build "$build" -j2
fi

find "$build" -name '*.gcda' -delete
# Failing tests still leave their counters; report them after the figures.
status=0
ctest --test-dir "$build" --output-on-failure -j2 >"$build/coverage-tests.log" 2>&1 || status=$?
tail -3 "$build/coverage-tests.log"

filter=(--root "$root" --filter "$root/(scanner|parser|app|runtime)/" --exclude-throw-branches
        --exclude-unreachable-branches "$build")
echo "== lines"
gcovr "${filter[@]}"
echo "== branches"
gcovr "${filter[@]}" --branches
[ "$status" -eq 0 ] || { echo "tools/coverage.sh: some tests failed, see $build/coverage-tests.log" >&2; exit 1; }
