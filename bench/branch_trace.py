#!/usr/bin/env python3
"""Which branches of a run the simulated predictor misses, and why.

Usage: branch_trace.py PROGRAM INPUT [--lines N] [--history BITS] [--keep-varying PERCENT] [--top K]

Runs PROGRAM on INPUT under valgrind's lackey, which lists every block the program enters
(`--trace-superblocks=yes`; with `--vex-guest-chase=no` each block ends at its first jump), tells
from the program's disassembly which way each conditional branch went, and replays those outcomes
through the predictor that cachegrind's `--branch-sim=yes` simulates: 2^14 two-bit counters, indexed
by the last seven outcomes of any conditional branch and the branch address's low seven bits. It
prints the misses per line of input in all and for each branch that misses, with its source line.

Two questions the count alone cannot answer, asked by replaying the same outcomes differently:
  --history BITS          a longer or shorter history than the seven outcomes
  --keep-varying PERCENT  a history that holds only the branches whose rarer outcome is at least
                          PERCENT of their executions (the decisions on the data), the others as
                          if they were not there: what the data decisions cost on their own
Only the program's own branches are replayed (the C library's are left out), so the total comes
out a few per cent from cachegrind's.
"""
import argparse
import collections
import os
import re
import subprocess
import sys
import tempfile


def disassembly(program):
    """Address -> (address of the next instruction, 'jcc' / 'stop' / None, target)."""
    text = subprocess.run(["objdump", "-d", "--no-show-raw-insn", program], capture_output=True, text=True,
                          check=True).stdout
    rows = []
    for line in text.splitlines():
        m = re.match(r"^\s*([0-9a-f]+):\s+(\S+)\s*(.*)$", line)
        if m:
            rows.append((int(m.group(1), 16), m.group(2), m.group(3)))
    code = {}
    for k, (addr, mnemonic, rest) in enumerate(rows):
        following = rows[k + 1][0] if k + 1 < len(rows) else addr + 1
        kind, target = None, None
        if mnemonic.startswith("j"):
            t = re.match(r"([0-9a-f]+)", rest)
            target = int(t.group(1), 16) if t else None
            kind = "stop" if mnemonic == "jmp" else "jcc"
        elif mnemonic.startswith(("call", "ret", "hlt", "ud2")):
            kind = "stop"
        code[addr] = (following, kind, target)
    return code


def load_base(program):
    """Where valgrind loads a position-independent program; 0 for one linked at fixed addresses."""
    header = subprocess.run(["readelf", "-h", program], capture_output=True, text=True, check=True).stdout
    return 0x108000 if re.search(r"Type:\s+DYN", header) else 0


def outcomes(program, input_path):
    """The program's conditional branches in the order they ran, as (address, taken)."""
    code = disassembly(program)
    base = load_base(program)
    with tempfile.TemporaryFile("w+") as trace, open(input_path, "rb") as stdin:
        subprocess.run(["valgrind", "--tool=lackey", "--trace-superblocks=yes", "--vex-guest-chase=no",
                        "--log-fd=2", program], stdin=stdin, stdout=subprocess.DEVNULL, stderr=trace, check=False)
        trace.seek(0)
        blocks = [int(line[3:], 16) - base for line in trace if line.startswith("SB ")]
    events = []
    for here, after in zip(blocks, blocks[1:]):
        addr = here
        while addr in code and code[addr][1] is None:
            addr = code[addr][0]
        if addr in code and code[addr][1] == "jcc":
            following, _, target = code[addr]
            if after in (target, following):
                events.append((addr, after == target))
    return events


def replay(events, history_bits=7, address_bits=7):
    """Misses and executions per branch address under the simulated predictor."""
    counters = bytearray([1]) * (1 << (history_bits + address_bits))
    history_mask, address_mask = (1 << history_bits) - 1, (1 << address_bits) - 1
    history = 0
    misses, runs = collections.Counter(), collections.Counter()
    for addr, taken in events:
        index = (history & history_mask) << address_bits | (addr & address_mask)
        counter = counters[index]
        misses[addr] += (counter >= 2) != taken
        runs[addr] += 1
        history = history << 1 | taken
        counters[index] = min(counter + 1, 3) if taken else max(counter - 1, 0)
    return misses, runs


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("program")
    ap.add_argument("input")
    ap.add_argument("--lines", type=int, help="lines of input (counted when not given)")
    ap.add_argument("--history", type=int, default=7)
    ap.add_argument("--keep-varying", type=float, metavar="PERCENT")
    ap.add_argument("--top", type=int, default=12)
    args = ap.parse_args()
    lines = args.lines or sum(1 for _ in open(args.input, "rb"))
    events = outcomes(args.program, args.input)
    if args.keep_varying is not None:
        runs = collections.Counter(a for a, _ in events)
        taken = collections.Counter(a for a, t in events if t)
        kept = {a for a in runs if min(taken[a], runs[a] - taken[a]) >= args.keep_varying / 100 * runs[a]}
        events = [e for e in events if e[0] in kept]
    misses, runs = replay(events, args.history)
    print("%.2f mispredicted branches a line, %.1f conditional branches a line (%d lines)" %
          (sum(misses.values()) / lines, len(events) / lines, lines))
    worst = [a for a, m in misses.most_common(args.top) if m]
    where = subprocess.run(["addr2line", "-e", args.program] + ["0x%x" % a for a in worst], capture_output=True,
                           text=True).stdout.splitlines()
    for addr, source in zip(worst, where):
        print("%8x  %6.2f run  %5.2f missed  %s" % (addr, runs[addr] / lines, misses[addr] / lines,
                                                   os.path.relpath(source) if source.startswith("/") else source))


if __name__ == "__main__":
    sys.exit(main())
