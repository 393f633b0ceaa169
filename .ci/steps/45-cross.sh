#!/usr/bin/env bash
# Other processors: cross-builds the calculator and its fault build for Linux on s390x (64-bit,
# big-endian) and arm64 with Debian's cross compilers (the `s390x` and `arm64` presets, toolchain
# files in cmake/), then runs every case file against each under qemu-user, which the toolchain
# files name as the programs' emulator. Every row runs, those on a terminal and those of the fault
# build included: qemu-user passes the terminal's calls through, and the fault build's wrapping of
# C library calls at link time works with the cross linker as with the native one. Only the rows
# run under stdbuf are left out (tests/CMakeLists.txt): the library it preloads is x86-64 code. The longest run
# takes 0.2 s under qemu on two cores of an x86-64 virtual machine, so the 30 s hang limit needs no
# scaling. Prints, for each processor, the runs made and skipped and how long the build and the
# case files took.
set -euo pipefail
cd "$(dirname "$0")/../.."

need=()
command -v s390x-linux-gnu-g++ >/dev/null || need+=(g++-s390x-linux-gnu)
command -v aarch64-linux-gnu-g++ >/dev/null || need+=(g++-aarch64-linux-gnu)
command -v qemu-s390x >/dev/null && command -v qemu-aarch64 >/dev/null || need+=(qemu-user)
command -v python3 >/dev/null || need+=(python3)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
fi

fail() { echo "45-cross: $*" >&2; exit 1; }
seconds() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }

# Both cores for the build and for the case files.
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

for arch in s390x arm64; do
  start=$EPOCHREALTIME
  cmake --preset "$arch" >/dev/null
  cmake --build --preset "$arch" >/dev/null
  built=$EPOCHREALTIME
  ctest --preset "$arch" >"$tmp/ctest" 2>&1 || { cat "$tmp/ctest"; fail "$arch: case files under qemu failed"; }
  tested=$EPOCHREALTIME
  # Each case file's run ends with "N runs, 0 failed, M skipped"; ctest keeps every test's output.
  read -r files runs skipped < <(sed -n 's/^\([0-9]*\) runs, 0 failed, \([0-9]*\) skipped$/\1 \2/p' \
    "build-$arch/Testing/Temporary/LastTest.log" | awk '{ r += $1; s += $2 } END { print NR, r, s }')
  echo "45-cross: $arch: $files case files, $runs runs, $skipped skipped;" \
    "build $(seconds "$start" "$built") s, case files $(seconds "$built" "$tested") s"
done
