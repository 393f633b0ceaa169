#!/usr/bin/env bash
# Throughput of intcalc against its peers and the floor, instructions per input byte, peak RSS.
# Generates the four workloads into a temporary folder, builds what it needs, prints a table.
#
# Usage: bench/compare.sh [options]
#   --intcalc PATH    measure this binary instead of building build/intcalc with the README's
#                     build command (cmake --workflow --preset default)
#   --runs N          timed runs of each tool per workload (default 5), after one untimed round
#   --slice-mb N      size of the slice the slow peers (bc, python) are timed on (default 5)
#   --workloads LIST  e.g. W1,W3 (default W1,W2,W3,W4)
#   --wall-only | --ipb-only | --rss-only   run one part only
#   --profile DIR     keep the callgrind files and callgrind_annotate listings in DIR; without
#                     --intcalc, measures a copy built with -g (same code, with line information)
#   --record          write bench/results.json, redraw bench/throughput.svg and print the
#                     README's Performance figures (bench/figures.py), which CI holds it to
#   --keep DIR        generate into DIR and keep it (default: a temporary folder, removed)
set -euo pipefail

bench="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$bench")"
intcalc=""
runs=5
slice_mb=5
workloads="W1,W2,W3,W4"
parts="wall,ipb,rss"
profile=""
record=0
keep=""

while [ $# -gt 0 ]; do
  case "$1" in
    --intcalc) intcalc="$(realpath "$2")"; shift 2 ;;
    --runs) runs="$2"; shift 2 ;;
    --slice-mb) slice_mb="$2"; shift 2 ;;
    --workloads) workloads="$2"; shift 2 ;;
    --wall-only) parts="wall"; shift ;;
    --ipb-only) parts="ipb"; shift ;;
    --rss-only) parts="rss"; shift ;;
    --profile) mkdir -p "$2"; profile="$(realpath "$2")"; shift 2 ;;
    --record) record=1; shift ;;
    --keep) mkdir -p "$2"; keep="$(realpath "$2")"; shift 2 ;;
    -h|--help) sed -n '2,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    *) echo "compare.sh: unknown option $1 (try --help)" >&2; exit 2 ;;
  esac
done

if [ "$record" = 1 ] && { [ "$parts" != "wall,ipb,rss" ] || [ "$workloads" != "W1,W2,W3,W4" ]; }; then
  echo "compare.sh: --record needs a full run (every part, every workload)" >&2
  exit 2
fi

# Tools a fresh Debian machine may lack: installed when we may, otherwise their part is skipped.
need=()
command -v g++ >/dev/null || need+=(g++)
command -v cmake >/dev/null || need+=(cmake)
command -v bc >/dev/null || need+=(bc)
command -v mawk >/dev/null || need+=(mawk)
command -v valgrind >/dev/null || need+=(valgrind)
[ -x /usr/bin/time ] || need+=(time)
if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
    echo "installing ${need[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}" >/dev/null
  else
    echo "compare.sh: missing ${need[*]}; install them first" >&2
    exit 1
  fi
fi

if [ -n "$keep" ]; then
  tmp="$keep"
else
  tmp="$(mktemp -d /tmp/intcalc-bench.XXXXXX)"
  trap 'rm -rf "$tmp"' EXIT
fi

if [ -z "$intcalc" ]; then
  if [ -n "$profile" ]; then
    echo "building a copy with line information into $tmp/build-profile"
    cmake -S "$root" -B "$tmp/build-profile" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS=-g \
      -DINTCALC_TESTS=OFF >/dev/null
    cmake --build "$tmp/build-profile" -j2 --target intcalc >/dev/null
    intcalc="$tmp/build-profile/intcalc"
  else
    echo "running the README's build command (cmake --workflow --preset default), which brings build/intcalc up to date"
    (cd "$root" && cmake --workflow --preset default >/dev/null)
    intcalc="$root/build/intcalc"
  fi
fi
[ -x "$intcalc" ] || { echo "compare.sh: no program at $intcalc" >&2; exit 1; }

cxx=(g++ -std=c++20 -O2 -Wall -Wextra -Wpedantic -Werror)
"${cxx[@]}" -o "$tmp/gen_workloads" "$bench/gen_workloads.cpp"
"${cxx[@]}" -o "$tmp/floor_read" "$bench/floor_read.cpp"
# Reference programs for the RSS figures: what the process costs before intcalc does anything.
printf 'int main(void) { return 0; }\n' > "$tmp/empty.c"
printf 'int main() { return 0; }\n' > "$tmp/empty.cpp"
printf '#include <iostream>\nint main() { std::cout << ""; return 0; }\n' > "$tmp/iostream.cpp"
gcc -O2 -x c -o "$tmp/empty_c_dynamic" "$tmp/empty.c"
"${cxx[@]}" -o "$tmp/empty_cxx_dynamic" "$tmp/empty.cpp"
"${cxx[@]}" -o "$tmp/empty_cxx_iostream_dynamic" "$tmp/iostream.cpp"
"${cxx[@]}" -static-libstdc++ -static-libgcc -o "$tmp/empty_cxx_iostream_static_runtime" "$tmp/iostream.cpp"
"${cxx[@]}" -static -o "$tmp/empty_cxx_static" "$tmp/empty.cpp" 2>/dev/null || true

echo "generating workloads into $tmp"
slice_bytes="$(python3 -c "print(int($slice_mb * 1000000))")"
for w in ${workloads//,/ }; do
  "$tmp/gen_workloads" "$w" > "$tmp/$w.txt"
  "$tmp/gen_workloads" "$w" "$slice_bytes" > "$tmp/$w.slice.txt"  # a prefix of whole lines
  "$tmp/gen_workloads" "$w" 2000000 > "$tmp/$w.ipb.txt"
  "$tmp/gen_workloads" "$w" 500000 > "$tmp/$w.ipb-peer.txt"
done

echo "measuring $intcalc on $(nproc) cores ($(sed -n 's/^model name\t*: *//p' /proc/cpuinfo | head -n 1))"
json="$tmp/results.json"
args=(--intcalc "$intcalc" --dir "$tmp" --runs "$runs" --slice-mb "$slice_mb"
      --workloads "$workloads" --parts "$parts" --json "$json")
[ -n "$profile" ] && args+=(--profile "$profile")
python3 "$bench/measure.py" "${args[@]}"

if [ "$record" = 1 ]; then
  cp "$json" "$bench/results.json"
  python3 "$bench/chart.py" "$bench/results.json" "$bench/throughput.svg"
  echo "recorded bench/results.json and bench/throughput.svg; the README's Performance figures are now:"
  python3 "$bench/figures.py" "$bench/results.json"
fi
