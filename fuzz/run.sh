#!/usr/bin/env bash
# Coverage-guided fuzzing of the real calculator: AFL++ feeds arbitrary bytes on standard input to
# intcalc built from the usual sources with AFL instrumentation and the address and
# undefined-behaviour sanitizers, its reads cut short by fuzz/split_read.cpp.
#
#   fuzz/run.sh SECONDS
#
# Exits non-zero on any finding: a sanitizer report, a signal, or a run that hangs. Exit status 1
# with a diagnostic (a division fault, a token too long for the buffer) is the calculator's own
# behaviour, not a finding. Build in $INTCALC_FUZZ_BUILD (default build-fuzz/), findings in
# $INTCALC_FUZZ_OUT (default fuzz/findings/, emptied first), with afl-fuzz's own output, its
# colour codes removed, in afl-fuzz.log there.
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${INTCALC_FUZZ_BUILD:-$root/build-fuzz}
out=${INTCALC_FUZZ_OUT:-$root/fuzz/findings}

for tool in afl-fuzz afl-clang-fast++ clang++ cmake; do
  command -v "$tool" >/dev/null || { echo "fuzz/run.sh: $tool is missing (apt-get install afl++ clang cmake)" >&2; exit 2; }
done

export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1 AFL_NO_AFFINITY=1
# A sanitizer report must end the run by a signal, or it would look like the calculator's exit 1.
# Leak checking triples the cost of a run: it is done once over the queue at the end instead.
export ASAN_OPTIONS=abort_on_error=1:symbolize=0:detect_leaks=0:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:symbolize=0:print_stacktrace=1

mkdir -p "$build"
clang++ -std=c++20 -O2 -Wall -Wextra -Wpedantic -Werror -c "$root/fuzz/split_read.cpp" -o "$build/split_read.o"
CC=afl-clang-fast CXX=afl-clang-fast++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
  -DINTCALC_SANITIZE=ON -DINTCALC_TESTS=OFF -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,--wrap=read $build/split_read.o" >/dev/null
rm -f "$build/intcalc"  # relinks with the current split_read.o
cmake --build "$build" -j2 --target intcalc

rm -rf "$out"
mkdir -p "$out"
afl-fuzz -i "$root/fuzz/corpus" -o "$out" -x "$root/fuzz/calc.dict" -m none -t 2000 -V "$seconds" \
  -- "$build/intcalc" 2>&1 | sed -u 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tee "$out/afl-fuzz.log"

stats=$out/default/fuzzer_stats
echo "== fuzz/run.sh: $seconds s"
grep -E '^(execs_done|execs_per_sec|corpus_count|bitmap_cvg|edges_found|total_edges|saved_crashes|saved_hangs|stability) ' "$stats"

findings=$(find "$out/default/crashes" "$out/default/hangs" -type f -name 'id:*' | sort)

# Every input that found a new path, run once more with leak checking.
queue=("$out"/default/queue/id:*)
for f in "${queue[@]}"; do
  status=0
  ASAN_OPTIONS=abort_on_error=1:symbolize=0:detect_leaks=1 "$build/intcalc" < "$f" >/dev/null 2>&1 || status=$?
  [ "$status" -le 1 ] || findings+=$'\n'"$f"
done
echo "leak check: ${#queue[@]} queue inputs run"
findings=$(echo "$findings" | sed '/^$/d')
if [ -n "$findings" ]; then
  for f in $(echo "$findings" | head -5); do  # the first few, with the sanitizer's report
    echo "== finding $f"
    head -c 320 "$f" | od -c
    ASAN_OPTIONS=symbolize=1:detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:symbolize=1 \
      timeout 10 "$build/intcalc" < "$f" 2>&1 >/dev/null | head -40 || true
  done
  echo "fuzz/run.sh: $(echo "$findings" | wc -l) finding(s), kept in $out/default" >&2
  exit 1
fi
echo "fuzz/run.sh: no findings"
