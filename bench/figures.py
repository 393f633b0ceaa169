#!/usr/bin/env python3
"""The README's Performance figures, made from what compare.sh --record writes: the machine they
were measured on (the processor as /proc/cpuinfo names it) and one row a workload. compare.sh
--record prints them; CI checks that the README holds them. Usage: figures.py [results.json]"""
import json
import os
import sys

ROWS = {"W1": "typical lines (`123+456*(78-9)/3`)", "W2": "lines of 1000 terms", "W3": "one number a line",
        "W4": "parentheses 5000 deep"}


def cores(machine):
    """The cores the run had: all of the machine's, or those it was pinned to (taskset)."""
    used = machine.get("cores_used", machine["nproc"])
    if used == machine["nproc"]:
        return f"{used} cores"
    return f"{'one' if used == 1 else used} of the {machine['nproc']} cores (the run pinned with taskset)"


def figures(results):
    machine, w1, w4 = results["machine"], results["workloads"]["W1"], results["workloads"]["W4"]
    lines = [f"Measured on {cores(machine)} of a machine whose processor is \"{machine['model']}\""
             f" ({machine['date'][:10]}), {w1['bytes'] / 1e6:.0f} MB inputs ({w4['bytes'] / 1e6:.0f} MB for the"
             f" nesting), output to `/dev/null`; bc is timed on the first {results['slice_mb']:g} MB:", "",
             "| input | intcalc | bc | x bc | mawk `{print $1+0}` | x mawk | instructions per byte | peak RSS |",
             "|---|---:|---:|---:|---:|---:|---:|---:|"]
    for w, entry in results["workloads"].items():
        speed = entry["tools"]["intcalc"]["mb_per_s"]
        cells = [ROWS[w], f"{speed:.0f} MB/s"]
        for peer in ("bc", "mawk"):
            other = entry["tools"].get(peer, {}).get("mb_per_s")
            cells += [f"{other:.1f} MB/s", f"{speed / other:.1f}"] if other else ["", ""]
        cells += [f"{entry['ipb']['per_byte']:.0f}", f"{entry['rss_kb'] / 1000:.1f} MB"]
        lines.append("|" + "|".join(f" {cell} " if cell else " " for cell in cells) + "|")
    return "\n".join(lines)


if __name__ == "__main__":
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "results.json")
    with open(path) as f:
        print(figures(json.load(f)))
