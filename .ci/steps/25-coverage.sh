#!/usr/bin/env bash
# Coverage: the coverage workflow (an instrumented build, the tests), then tools/coverage.sh on
# the same build tree, which runs the tests again and prints the line and branch report; either
# fails the step when a test fails.
set -euo pipefail
cd "$(dirname "$0")/../.."

cmake --workflow --preset coverage
tools/coverage.sh
