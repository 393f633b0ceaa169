#!/usr/bin/env bash
# The Debian package, built as Debian builds a CMake package: build type None with the flags of
# dpkg-buildflags, the preprocessor's passed with the compiler's, and every hardening feature on
# (the stack protector, fortified C library calls, relocations read-only and bound at start-up)
# but the format warnings, whose -Werror belongs in developers' builds only. `cpack -G DEB` then
# strips the program of its symbols and its .comment section, as Debian's packaging does.
#
#   tools/deb.sh [DIR]   builds in DIR (default build-deb/) and prints the package's path
#
# Needs dpkg-dev for dpkg-buildflags. The flags are read when DIR is first configured.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-deb}
command -v dpkg-buildflags >/dev/null ||
  { echo "tools/deb.sh: needs dpkg-buildflags (Debian/Ubuntu: sudo apt-get install dpkg-dev)" >&2; exit 2; }

eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all,-format dpkg-buildflags --export=sh)"
CXXFLAGS="$CXXFLAGS $CPPFLAGS" cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=None -DINTCALC_TESTS=OFF >/dev/null
cmake --build "$dir" --target intcalc >/dev/null
rm -f "$dir"/intcalc_*.deb
out=$(cd "$dir" && cpack -G DEB 2>&1) || { echo "$out" >&2; exit 1; }
ls "$dir"/intcalc_*.deb
