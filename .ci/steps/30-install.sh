#!/usr/bin/env bash
# Users' side: the manual page formats without a single warning, `cmake --install` lays out the
# program and its page under a prefix, the installed program computes, and the Debian package
# holds both files. Builds build/ as the Quick start's first command does.
set -euo pipefail
cd "$(dirname "$0")/../.."

if ! command -v groff >/dev/null; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq groff-base
fi

fail() { echo "30-install: $*" >&2; exit 1; }

# groff exits 0 even when it warns, so any text on its standard error is the failure.
lint=$(groff -man -ww -z docs/intcalc.1 2>&1) || fail "groff failed on docs/intcalc.1"
[ -z "$lint" ] || fail "docs/intcalc.1 has warnings:"$'\n'"$lint"
if command -v mandoc >/dev/null; then
  mandoc -T lint -W warning docs/intcalc.1 || fail "mandoc lint of docs/intcalc.1"
fi

cmake --workflow --preset default >/dev/null

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cmake --install build --prefix "$tmp/prefix"
[ -x "$tmp/prefix/bin/intcalc" ] || fail "bin/intcalc not installed"
[ -f "$tmp/prefix/share/man/man1/intcalc.1" ] || fail "share/man/man1/intcalc.1 not installed"
got=$(printf '6*7\n' | "$tmp/prefix/bin/intcalc")
[ "$got" = 42 ] || fail "installed intcalc: 6*7 gave '$got', want '42'"

(cd build && cpack -G DEB -B "$tmp/pkg" >/dev/null)
deb=$(find "$tmp/pkg" -maxdepth 1 -name 'intcalc_*.deb' | head -n 1)
[ -n "$deb" ] || fail "cpack made no intcalc_*.deb"
listing=$(dpkg-deb -c "$deb")
for path in ./usr/bin/intcalc ./usr/share/man/man1/intcalc.1; do
  grep -q " $path\$" <<<"$listing" || fail "$(basename "$deb") lacks $path"
done
[ "$(dpkg-deb -f "$deb" Package)" = intcalc ] || fail "package name is not intcalc"

echo "30-install: manual page clean, install and $(basename "$deb") checked"
