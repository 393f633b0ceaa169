#!/usr/bin/env bash
# The second compiler: the test and asan workflows again, built by clang++ and linked by the
# system's GNU ld, each in a fresh configuration of its build tree (the gcc builds of .ci/run are
# replaced). The optimised build links every program with whole-program optimisation, so the
# linker reads clang's bitcode through its plugin.
set -euo pipefail
cd "$(dirname "$0")/../.."

if ! command -v clang++ >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq clang
fi

CXX=clang++ cmake --workflow --preset test --fresh
CXX=clang++ cmake --workflow --preset asan --fresh
echo "10-clang: the test and asan workflows pass with $(clang++ --version | head -n 1)"
