#!/usr/bin/env bash
# Windows: cross-builds intcalc.exe and its zip with mingw-w64 (the `windows` workflow), checks
# that the program needs no DLL but the system's, runs it under wine (the test case files, then
# tests/wine_checks.py: the smoke checks and the differential run against the Linux build of the
# default workflow, in build/), and checks the zip's contents. The wine prefix and server are this step's own.
set -euo pipefail
cd "$(dirname "$0")/../.."

need=()
command -v x86_64-w64-mingw32-g++-win32 >/dev/null || need+=(g++-mingw-w64-x86-64-win32)
command -v wine >/dev/null || need+=(wine wine64)
command -v python3 >/dev/null || need+=(python3)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
fi

fail() { echo "40-windows: $*" >&2; exit 1; }

cmake --workflow --preset default >/dev/null
cmake --workflow --preset windows >/dev/null

# Only the system's DLLs: the C runtime and the kernel, nothing of the compiler's.
dlls=$(x86_64-w64-mingw32-objdump -p build-windows/intcalc.exe | sed -n 's/^\tDLL Name: //p' | sort | tr '\n' ' ')
[ "$dlls" = "KERNEL32.dll msvcrt.dll " ] || fail "intcalc.exe imports $dlls"

tmp=$(mktemp -d)
export WINEPREFIX="$tmp/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES=winedbg.exe=d
mkdir -p "$WINEPREFIX"
trap 'wineserver -k || true; rm -rf "$tmp"' EXIT
# One server for every run (a run that has to start one takes seconds), then the prefix. The
# first run starts the prefix's background services; its output goes nowhere, so that they hold
# no test's pipe open (a test would then never see the end of its output).
wineserver -p
wineboot --init >/dev/null 2>&1 </dev/null
tools/intcalc_exe.sh </dev/null >/dev/null 2>&1

# The case files against intcalc.exe, every line end of standard output and standard error
# expected as CR LF (the program's output is compared as it is). Rows skipped, by name: those on a
# terminal (tty: a pseudo-terminal is no Windows console; the console check of wine_checks.py
# stands in for them), those run under stdbuf (Windows has none) and those of the fault build
# (faults: its failures are injected by wrapping C library calls at link time, in the Linux build
# only). Two shards, one a core. Wine itself sometimes fails a
# run (status 1, nothing on either stream: see tests/wine_checks.py), so a file that fails is run
# once more; a real fault fails both times.
case_file() { python3 tests/run_cases.py --crlf --skip tty --skip stdbuf --skip faults tools/intcalc_exe.sh "$1" >"$tmp/log" 2>&1; }
cases() {
  local f
  for f in "$@"; do
    case_file "$f" || { echo "$f failed under wine, run again:"; sed 's/^/  /' "$tmp/log"; case_file "$f"; } ||
      { cat "$tmp/log"; return 1; }
    echo "$f: $(tail -1 "$tmp/log")"
  done
}
files=(tests/cases/*.cases)
(tmp=$tmp/0 && mkdir "$tmp" && cases "${files[@]:0:${#files[@]}/2}") >"$tmp/shard0" 2>&1 & shard0=$!
(tmp=$tmp/1 && mkdir "$tmp" && cases "${files[@]:${#files[@]}/2}") >"$tmp/shard1" 2>&1 || fail_cases=1
wait $shard0 || fail_cases=1
cat "$tmp/shard0" "$tmp/shard1"
[ -z "${fail_cases:-}" ] || fail "case files under wine: see above"

python3 tests/wine_checks.py --jobs 2

# The zip: exactly the program, the README and the licence, and the program in it runs.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-windows/CMakeCache.txt)
zip=$PWD/build-windows/intcalc-$version-win64.zip
[ -f "$zip" ] || fail "no $zip"
listing=$(cd "$tmp" && cmake -E tar xvf "$zip" 2>&1 | sed 's/^x //' | grep -v '/$' | sort | tr '\n' ' ')
[ "$listing" = "LICENSE README.md bin/intcalc.exe " ] || fail "$zip holds $listing"
printf '6*7\n' | INTCALC_EXE="$tmp/bin/intcalc.exe" tools/intcalc_exe.sh >"$tmp/out"
printf '42\r\n' | cmp -s - "$tmp/out" || fail "intcalc.exe from the zip: 6*7 did not give 42 CR LF"

echo "40-windows: intcalc.exe checked under wine, $(basename "$zip") holds $listing"
