#!/usr/bin/env bash
# Memory check of the optimised binary: valgrind memcheck over the fuzz seeds and a few larger
# inputs (stacks grown to their limit, refills of the input buffer, a division fault deep in
# nesting). Fails on any memory error and on any block definitely, indirectly or possibly lost;
# the scanner's buffer (and, after a fatal exit mid-parse, the grown parser stacks) stay
# "still reachable", which is expected.
#
#   tools/memcheck.sh [INTCALC]      default build/intcalc, built by the default workflow if missing
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bin=${1:-$root/build/intcalc}

if ! command -v valgrind >/dev/null; then
  [ "$(id -u)" -eq 0 ] || { echo "tools/memcheck.sh: needs valgrind (Debian/Ubuntu: sudo apt-get install valgrind)" >&2; exit 2; }
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq valgrind
fi
[ -x "$bin" ] || cmake --workflow --preset default >/dev/null

inputs=$(mktemp -d)
trap 'rm -rf "$inputs"' EXIT
cp fuzz/corpus/* "$inputs/"
python3 - "$inputs" <<'EOF'
import random, sys
d = sys.argv[1]
rng = random.Random(7)
lines = [f"{rng.randrange(10**6)}{rng.choice('+-*/')}{rng.randrange(1, 999)}\r\n" for _ in range(20000)]
open(f"{d}/many_lines", "w", newline="").write("".join(lines))  # about 200 KB: many refills
open(f"{d}/nesting_limit", "w").write("(" * 9990 + "1" + ")" * 9990 + "\n" + "1+(" * 3000 + "2" + ")" * 3000 + "\n")
open(f"{d}/fault_deep", "w").write("1\n" + "(" * 5000 + "1/0" + ")" * 5000 + "\n")
EOF

failed=0
for f in "$inputs"/*; do
  status=0
  valgrind --leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=definite,indirect,possible \
    --error-exitcode=99 --log-file="$inputs/log" "$bin" <"$f" >/dev/null 2>&1 || status=$?
  reachable=$(grep -o 'still reachable: [0-9,]* bytes in [0-9]* blocks' "$inputs/log" || echo 'nothing allocated at exit')
  printf '%-20s exit %d  %s\n' "$(basename "$f")" "$status" "$reachable"
  if [ "$status" -ge 2 ]; then
    failed=1
    cat "$inputs/log"
  fi
done
[ "$failed" -eq 0 ] && echo "memcheck: no errors, nothing lost" || { echo "memcheck: errors above" >&2; exit 1; }
