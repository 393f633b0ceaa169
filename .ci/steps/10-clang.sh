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
# clang's driver names the C++ run-time libraries on every link; the program must load none of
# them, only the C library (loading them cost 1.6 million instructions a run).
needed=$(readelf -d build-test/intcalc | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | tr '\n' ' ')
if [ "$needed" != "libc.so.6 " ]; then
  echo "10-clang: build-test/intcalc loads $needed; it should load only libc.so.6" >&2
  exit 1
fi
CXX=clang++ cmake --workflow --preset asan --fresh
echo "10-clang: the test and asan workflows pass with $(clang++ --version | head -n 1)"
