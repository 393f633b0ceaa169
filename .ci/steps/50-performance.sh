#!/usr/bin/env bash
# Performance guard: instructions per input byte on 1 MB of each benchmark workload, counted by
# callgrind, held against the budgets in bench/ipb_budgets, for two builds of the calculator:
# build/intcalc, the default preset's (brought up to date with the sources first), and
# build-deb/intcalc, the Debian package's (tools/deb.sh: type None, the flags of dpkg-buildflags,
# hardening on). Fails when a workload goes over its budget in either, with the figure, the budget
# and the commands that reproduce the count. Instruction counts do not depend on the load of the
# machine, so the step needs no quiet machine.
set -euo pipefail
cd "$(dirname "$0")/../.."

need=()
command -v valgrind >/dev/null || need+=(valgrind)
command -v dpkg-buildflags >/dev/null || need+=(dpkg-dev)
if [ ${#need[@]} -gt 0 ]; then
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}"
fi
cmake --workflow --preset default >/dev/null  # rebuilds only what changed since the last build
tools/deb.sh >/dev/null

budgets=bench/ipb_budgets
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
g++ -std=c++20 -O2 -o "$tmp/gen_workloads" bench/gen_workloads.cpp

failed=0
while read -r workload budget _; do
  case "$workload" in ''|'#'*) continue ;; esac
  "$tmp/gen_workloads" "$workload" 1000000 > "$tmp/$workload.txt"
  bytes=$(wc -c < "$tmp/$workload.txt")
  for program in build/intcalc build-deb/intcalc; do
    valgrind --tool=callgrind --callgrind-out-file="$tmp/callgrind.$workload" "$program" \
      < "$tmp/$workload.txt" > /dev/null 2> "$tmp/valgrind.$workload.log"
    instructions=$(sed -n 's/^\(summary\|totals\): *\([0-9]*\).*/\2/p' "$tmp/callgrind.$workload" | head -n 1)
    verdict=$(awk -v i="$instructions" -v b="$bytes" -v limit="$budget" \
      'BEGIN { f = i / b; printf "%.2f %s", f, (f <= limit ? "within" : "OVER") }')
    figure=${verdict% *}
    if [ "${verdict#* }" = within ]; then
      echo "50-performance: $program $workload $figure instructions per byte, budget $budget"
    else
      failed=1
      echo "50-performance: $program $workload $figure instructions per byte, OVER its budget of $budget" >&2
      echo "  reproduce: g++ -std=c++20 -O2 -o /tmp/gen_workloads bench/gen_workloads.cpp &&" \
        "/tmp/gen_workloads $workload 1000000 > /tmp/$workload.txt &&" \
        "valgrind --tool=callgrind $program < /tmp/$workload.txt > /dev/null" \
        "(the instructions are callgrind's \"Collected\" count; divide by the bytes of /tmp/$workload.txt)" >&2
    fi
  done
done < "$budgets"

if [ "$failed" -ne 0 ]; then
  echo "50-performance: over budget (see bench/README.md, \"Optimisation log\", before raising one)" >&2
  exit 1
fi
echo "50-performance: every workload within its budget"
