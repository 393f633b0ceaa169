#!/usr/bin/env bash
# Users' side: the Quick start's first command builds the calculator (without warnings as
# errors), the manual page formats without a single warning and carries the project's version,
# `cmake --install` lays out the program and its documents under a prefix where `apropos` finds
# the page, the installed program computes, and the Debian package, built as Debian builds
# (tools/deb.sh), holds the same files and passes lintian with no tag at any level, pedantic and
# experimental included.
set -euo pipefail
cd "$(dirname "$0")/../.."

need=()
command -v groff >/dev/null || need+=(groff-base)
command -v mandb >/dev/null || need+=(man-db)
command -v lintian >/dev/null || need+=(lintian)
command -v dpkg-buildflags >/dev/null || need+=(dpkg-dev)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}"
fi

fail() { echo "30-install: $*" >&2; exit 1; }

cmake --workflow --preset default >/dev/null
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
[ -n "$version" ] || fail "no project version in build/CMakeCache.txt"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cmake --install build --prefix "$tmp/prefix" >/dev/null
for path in bin/intcalc share/man/man1/intcalc.1.gz share/doc/intcalc/copyright share/doc/intcalc/changelog.gz; do
  [ -e "$tmp/prefix/$path" ] || fail "$path not installed"
done
got=$(printf '6*7\n' | "$tmp/prefix/bin/intcalc")
[ "$got" = 42 ] || fail "installed intcalc: 6*7 gave '$got', want '42'"

# groff exits 0 even when it warns, so any text on its standard error is the failure.
zcat "$tmp/prefix/share/man/man1/intcalc.1.gz" >"$tmp/intcalc.1"
lint=$(groff -man -ww -z "$tmp/intcalc.1" 2>&1) || fail "groff failed on the manual page"
[ -z "$lint" ] || fail "the manual page has warnings:"$'\n'"$lint"
if command -v mandoc >/dev/null; then
  mandoc -T lint -W warning "$tmp/intcalc.1" || fail "mandoc lint of the manual page"
fi
grep -q "^\.TH INTCALC 1 .* \"intcalc $version\"" "$tmp/intcalc.1" || fail "the manual page does not say version $version"
mandb -q "$tmp/prefix/share/man"
man -M "$tmp/prefix/share/man" -k calculator | grep -q '^intcalc (1)' || fail "apropos calculator does not find intcalc(1)"
zcat "$tmp/prefix/share/doc/intcalc/changelog.gz" | head -n 1 | grep -q "^intcalc ($version) " ||
  fail "the newest entry of CHANGELOG.md is not version $version"

deb=$(tools/deb.sh) || fail "tools/deb.sh failed"
[ -f "$deb" ] || fail "tools/deb.sh made no intcalc_*.deb"
listing=$(dpkg-deb -c "$deb")
for path in bin/intcalc share/man/man1/intcalc.1.gz share/doc/intcalc/copyright share/doc/intcalc/changelog.gz; do
  grep -q " ./usr/$path\$" <<<"$listing" || fail "$(basename "$deb") lacks /usr/$path"
done
[ "$(dpkg-deb -f "$deb" Package)" = intcalc ] || fail "package name is not intcalc"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"
status=0
report=$(lintian --pedantic --display-info --display-experimental \
  --fail-on error,warning,info,pedantic,experimental "$deb" 2>&1) || status=$?
grep -v '^running with root privileges' <<<"$report" || true
[ "$status" -eq 0 ] || fail "lintian reported the tags above for $(basename "$deb")"

echo "30-install: manual page clean, install and $(basename "$deb") checked, lintian --pedantic clean"
