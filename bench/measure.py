"""Measurements behind compare.sh: wall time against the peers, instructions per input byte under
callgrind, and peak resident set size. Reads the workloads compare.sh generated; prints a table
and writes the figures as JSON for chart.py and the README."""
import argparse
import datetime
import json
import os
import re
import shutil
import statistics
import subprocess
import sys
import time

BENCH = os.path.dirname(os.path.abspath(__file__))
TITLES = {"W1": "typical", "W2": "long lines", "W3": "numbers only", "W4": "nesting"}
# Which peers run on which workload. bc computes exactly, so only W1 (every value fits in 32 bits)
# can be checked against it; W3 is timed only. mawk's "print $1+0" only makes sense on numbers.
PEERS = {
    "W1": ["floor", "bc", "python"],
    "W2": ["floor", "python"],
    "W3": ["floor", "bc", "python", "mawk"],
    "W4": ["floor", "python"],
}
SLOW = {"bc", "python"}  # timed on the slice, not on the full workload


def command(tool, args):
    if tool == "intcalc":
        return [args.intcalc]
    if tool == "floor":
        return [os.path.join(args.dir, "floor_read")]
    if tool == "bc":
        return ["bc", "-q"]
    if tool == "python":
        return [sys.executable, os.path.join(BENCH, "peer_eval.py")]
    if tool == "mawk":
        return ["mawk", "{print $1+0}"]
    raise ValueError(tool)


def workload_file(args, w, tool):
    return os.path.join(args.dir, f"{w}.slice.txt" if tool in SLOW else f"{w}.txt")


def run(argv, infile, outfile=None):
    """Runs argv with infile on standard input; returns its wall time and its CPU time (user +
    system) in seconds. The CPU time is the steadier of the two when other work shares the
    machine."""
    with open(infile, "rb") as src, open(outfile or os.devnull, "wb") as dst, \
            open(os.path.join(os.path.dirname(infile), "stderr.txt"), "w+b") as err:
        t0 = time.perf_counter()
        p = subprocess.Popen(argv, stdin=src, stdout=dst, stderr=err)
        _, status, usage = os.wait4(p.pid, 0)
        elapsed = time.perf_counter() - t0
        p.returncode = os.waitstatus_to_exitcode(status)
        if p.returncode != 0:
            err.seek(0)
            sys.exit(f"{' '.join(argv)} < {infile}: exit status {p.returncode}: {err.read().decode()[:200]}")
    return elapsed, usage.ru_utime + usage.ru_stime


def same_prefix_output(a, b, lines):
    """True when the first `lines` lines of files a and b are equal."""
    with open(a, "rb") as fa, open(b, "rb") as fb:
        for _ in range(lines):
            if fa.readline() != fb.readline():
                return False
    return True


def count_lines(path):
    with open(path, "rb") as f:
        return sum(chunk.count(b"\n") for chunk in iter(lambda: f.read(1 << 20), b""))


def wall(args, results, tools_present):
    for w in args.workloads:
        tools = ["intcalc"] + [t for t in PEERS[w] if t in tools_present]
        entry = results["workloads"][w]
        slice_lines = count_lines(os.path.join(args.dir, f"{w}.slice.txt"))
        # Round 0 warms the page cache and keeps each output for the checks; it is not timed.
        outputs = {}
        for tool in tools:
            outputs[tool] = os.path.join(args.dir, f"{w}.{tool}.out")
            run(command(tool, args), workload_file(args, w, tool), outputs[tool])
        checks = entry.setdefault("checks", {})
        for peer in ("bc", "python"):
            if peer in outputs and (w == "W1" or peer == "python"):
                ok = same_prefix_output(outputs["intcalc"], outputs[peer], slice_lines)
                checks[peer] = ok
                print(f"  {w}: intcalc output {'equals' if ok else 'DIFFERS FROM'} {peer}'s "
                      f"on the first {slice_lines} lines", flush=True)
        for path in outputs.values():
            os.remove(path)
        times = {tool: [] for tool in tools}
        cpu = {tool: [] for tool in tools}
        for _ in range(args.runs):  # alternating: one run of every tool per round
            for tool in tools:
                t, c = run(command(tool, args), workload_file(args, w, tool))
                times[tool].append(t)
                cpu[tool].append(c)
        for tool in tools:
            nbytes = os.path.getsize(workload_file(args, w, tool))
            median = statistics.median(times[tool])
            median_cpu = statistics.median(cpu[tool])
            entry["tools"][tool] = {"bytes": nbytes, "median_s": median, "runs_s": times[tool],
                                    "mb_per_s": nbytes / 1e6 / median, "median_cpu_s": median_cpu,
                                    "cpu_mb_per_s": nbytes / 1e6 / max(median_cpu, 1e-3),
                                    "sliced": tool in SLOW}
        print(f"  {w}: " + ", ".join(f"{t} {entry['tools'][t]['mb_per_s']:.1f} MB/s "
                                     f"({entry['tools'][t]['cpu_mb_per_s']:.1f} by CPU time)" for t in tools),
              flush=True)


def callgrind_total(argv, infile, outfile):
    with open(infile, "rb") as src:
        p = subprocess.run(["valgrind", "--tool=callgrind", "--dump-instr=yes",
                            f"--callgrind-out-file={outfile}"] + argv,
                           stdin=src, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if p.returncode != 0:
        sys.exit(f"callgrind failed on {infile}: {p.stderr.decode()[-400:]}")
    with open(outfile) as f:
        for line in f:
            if line.startswith("summary:") or line.startswith("totals:"):
                return int(line.split()[1])
    sys.exit(f"no instruction total in {outfile}")


# Peers counted under callgrind too, on a shorter slice (they take ten times as many instructions).
IPB_PEERS = {"W1": ["bc"], "W3": ["bc", "mawk"]}


def ipb(args, results, tools_present):
    outdir = args.profile or args.dir
    empty = os.path.join(args.dir, "empty.txt")
    open(empty, "wb").close()
    results["startup_instructions"] = callgrind_total([args.intcalc], empty,
                                                      os.path.join(outdir, "callgrind.empty"))
    for w in args.workloads:
        infile = os.path.join(args.dir, f"{w}.ipb.txt")
        out = os.path.join(outdir, f"callgrind.{w}")
        total = callgrind_total([args.intcalc], infile, out)
        nbytes = os.path.getsize(infile)
        results["workloads"][w]["ipb"] = {"instructions": total, "bytes": nbytes, "per_byte": total / nbytes}
        print(f"  {w}: {total:,} instructions for {nbytes:,} bytes: {total / nbytes:.1f} per byte", flush=True)
        for peer in IPB_PEERS.get(w, []):
            if peer not in tools_present:
                continue
            peer_in = os.path.join(args.dir, f"{w}.ipb-peer.txt")
            peer_total = callgrind_total(command(peer, args), peer_in, os.path.join(outdir, f"callgrind.{w}.{peer}"))
            peer_bytes = os.path.getsize(peer_in)
            per_byte = peer_total / peer_bytes
            results["workloads"][w]["ipb"].setdefault("peers", {})[peer] = {
                "instructions": peer_total, "bytes": peer_bytes, "per_byte": per_byte}
            print(f"  {w}: {peer} {per_byte:.1f} per byte on the first {peer_bytes:,} bytes: "
                  f"{per_byte / (total / nbytes):.1f}x intcalc's", flush=True)
        if args.profile:
            with open(os.path.join(outdir, f"annotate.{w}.txt"), "w") as f:
                subprocess.run(["callgrind_annotate", "--auto=yes", out], stdout=f, stderr=subprocess.STDOUT)
            flat = subprocess.run(["callgrind_annotate", "--auto=no", "--inclusive=no", "--threshold=99", out],
                                  capture_output=True, text=True).stdout
            rows = [l for l in flat.splitlines() if re.match(r"\s*[\d,]+ \(\s*[\d.]+%\)\s+\S+:", l)]
            for l in rows[:6]:
                print("      " + l.strip())


def peak_rss_kb(argv, infile, tries=3):
    """The largest peak RSS of a few runs: the figure moves by some 100 KB from run to run."""
    peak = 0
    for _ in range(tries):
        with open(infile, "rb") as src:
            p = subprocess.run(["/usr/bin/time", "-v"] + argv, stdin=src, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True)
        m = re.search(r"Maximum resident set size \(kbytes\): (\d+)", p.stderr)
        if p.returncode != 0 or not m:
            sys.exit(f"/usr/bin/time -v {' '.join(argv)} failed: {p.stderr[-400:]}")
        peak = max(peak, int(m.group(1)))
    return peak


# Programs compare.sh builds to show what a process costs before it does any work.
REFERENCE_PROGRAMS = {
    "empty_c_dynamic": "empty C program (libc)",
    "empty_cxx_dynamic": "empty C++ program (links libc only)",
    "empty_cxx_iostream_dynamic": "C++ using iostream (shared libstdc++)",
    "empty_cxx_iostream_static_runtime": "C++ using iostream, -static-libstdc++ -static-libgcc",
    "empty_cxx_static": "empty C++ program, -static",
}


def rss(args, results):
    for w in args.workloads:
        entry = results["workloads"][w]
        entry["rss_kb"] = peak_rss_kb([args.intcalc], os.path.join(args.dir, f"{w}.txt"))
        entry["rss_slice_kb"] = peak_rss_kb([args.intcalc], os.path.join(args.dir, f"{w}.ipb.txt"))
        print(f"  {w}: peak RSS {entry['rss_kb']} KB on the whole workload, "
              f"{entry['rss_slice_kb']} KB on the 2 MB slice", flush=True)
    empty = os.path.join(args.dir, "empty.txt")
    open(empty, "wb").close()
    reference = {"intcalc on empty input": [args.intcalc]}
    for name, label in REFERENCE_PROGRAMS.items():
        path = os.path.join(args.dir, name)
        if os.path.exists(path):
            reference[label] = [path]
    results["reference_rss_kb"] = {k: peak_rss_kb(v, empty) for k, v in reference.items()}
    for k, v in results["reference_rss_kb"].items():
        print(f"  {k}: {v} KB", flush=True)


def table(results):
    ws = [w for w in results["workloads"] if results["workloads"][w]]
    print()
    print("workload            MB    intcalc MB/s   floor MB/s   bc MB/s*  python MB/s*  mawk MB/s   "
          "x bc  x mawk  x python  instr/byte  RSS KB")
    for w in ws:
        e = results["workloads"][w]
        t = e.get("tools", {})

        def rate(tool):
            return f"{t[tool]['mb_per_s']:.1f}" if tool in t else "-"

        def ratio(tool):
            if "intcalc" in t and tool in t:
                return f"{t['intcalc']['mb_per_s'] / t[tool]['mb_per_s']:.1f}"
            return "-"
        size = e["bytes"] / 1e6
        ipb_s = f"{e['ipb']['per_byte']:.1f}" if "ipb" in e else "-"
        rss_s = str(e["rss_kb"]) if "rss_kb" in e else "-"
        print(f"{w} {TITLES[w]:<13} {size:5.0f} {rate('intcalc'):>14} {rate('floor'):>12} {rate('bc'):>9} "
              f"{rate('python'):>13} {rate('mawk'):>10} {ratio('bc'):>6} {ratio('mawk'):>7} {ratio('python'):>9} "
              f"{ipb_s:>11} {rss_s:>7}")
    if any(results["workloads"][w].get("tools") for w in ws):
        print(f"* timed on the first {results['slice_mb']:g} MB of the workload (whole lines) and scaled "
              f"to MB/s; every other tool on the whole workload. Median of {results['runs']} alternating runs; "
              f"x peer = intcalc's throughput over the peer's.")
    for w in ws:
        t = results["workloads"][w].get("tools", {})
        if "intcalc" in t:
            mine = t["intcalc"]["cpu_mb_per_s"]
            peers = ", ".join(f"x {p} {mine / t[p]['cpu_mb_per_s']:.1f}" for p in ("bc", "mawk", "python") if p in t)
            print(f"by CPU time (user + system): {w} intcalc {mine:.1f} MB/s" + (f", {peers}" if peers else ""))
    if "startup_instructions" in results:
        print(f"instr/byte: callgrind on the first 2 MB (whole lines), process start-up included "
              f"({results['startup_instructions']:,} instructions on empty input); peers on the first 0.5 MB.")
    for w in ws:
        peers = results["workloads"][w].get("ipb", {}).get("peers", {})
        if peers:
            mine = results["workloads"][w]["ipb"]["per_byte"]
            print(f"instr/byte of peers: {w} " + ", ".join(
                f"{p} {v['per_byte']:.1f} ({v['per_byte'] / mine:.1f}x intcalc)" for p, v in peers.items()))
    if "reference_rss_kb" in results:
        print("RSS: /usr/bin/time -v on the whole workload, largest of 3 runs (see above for the "
              "reference programs).")


# What the optimised build is to reach: instructions per byte at most these, intcalc at least
# these times as fast as the peer, and a peak RSS at most this on every workload. The aims go
# further; they are printed, not required.
IPB_LIMIT = {"W1": 60, "W2": 40, "W3": 40, "W4": 55}
SPEEDUP_MIN = {("W1", "bc"): 10, ("W3", "mawk"): 3}
RSS_LIMIT_KB = 1536
IPB_AIM = {"W1": 40, "W2": 30, "W3": 28, "W4": 40}
FLOOR_RATIO_AIM = {"W1": 6, "W2": 6, "W3": 6}  # wall time at most this many times the floor's


def targets(results):
    """Prints one line per target that this run measured: its figure, the bound, met or not."""
    lines = []
    for w, e in results["workloads"].items():
        if "ipb" in e:
            v = e["ipb"]["per_byte"]
            lines.append((f"{w} instructions/byte {v:.1f} <= {IPB_LIMIT[w]}", v <= IPB_LIMIT[w]))
        t = e.get("tools", {})
        for (tw, peer), bound in SPEEDUP_MIN.items():
            if tw == w and "intcalc" in t and peer in t:
                v = t["intcalc"]["mb_per_s"] / t[peer]["mb_per_s"]
                few = f" (median of {results['runs']} runs: 7 or more settle it)" if results["runs"] < 7 else ""
                lines.append((f"{w} wall time {v:.1f}x faster than {peer} >= {bound}x{few}", v >= bound))
        if "rss_kb" in e:
            v = max(e["rss_kb"], e["rss_slice_kb"])
            lines.append((f"{w} peak RSS {v} KB <= {RSS_LIMIT_KB} KB", v <= RSS_LIMIT_KB))
    if lines:
        print("targets:")
        for text, ok in lines:
            print(f"  {'met    ' if ok else 'NOT MET'}  {text}")
    aims = []
    for w, e in results["workloads"].items():
        if "ipb" in e and w in IPB_AIM:
            v = e["ipb"]["per_byte"]
            aims.append((f"{w} instructions/byte {v:.1f} <= {IPB_AIM[w]}", v <= IPB_AIM[w]))
        t = e.get("tools", {})
        if w in FLOOR_RATIO_AIM and "intcalc" in t and "floor" in t:
            v = t["floor"]["mb_per_s"] / t["intcalc"]["mb_per_s"]
            aims.append((f"{w} wall time {v:.1f}x the floor's <= {FLOOR_RATIO_AIM[w]}x", v <= FLOOR_RATIO_AIM[w]))
    if aims:
        print("aims:")
        for text, ok in aims:
            print(f"  {'reached' if ok else 'not yet'}  {text}")


def processor():
    """The processor's model name as /proc/cpuinfo gives it ("unknown" where it names none)."""
    try:
        with open("/proc/cpuinfo") as f:
            m = re.search(r"^model name\s*:\s*(.+)$", f.read(), re.M)
    except OSError:
        m = None
    return m.group(1).strip() if m else "unknown"


def machine():
    return {"nproc": os.cpu_count(), "cores_used": len(os.sched_getaffinity(0)), "model": processor(),
            "date": datetime.datetime.now(datetime.timezone.utc).strftime("%Y-%m-%d %H:%M UTC")}


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--intcalc", required=True)
    ap.add_argument("--dir", required=True, help="folder holding the workloads and helper programs")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--slice-mb", type=float, default=5)
    ap.add_argument("--workloads", default="W1,W2,W3,W4")
    ap.add_argument("--parts", default="wall,ipb,rss")
    ap.add_argument("--profile", help="keep callgrind files and annotations in this folder")
    ap.add_argument("--json", help="write the figures here")
    args = ap.parse_args()
    args.workloads = args.workloads.split(",")
    parts = args.parts.split(",")
    if args.profile:
        os.makedirs(args.profile, exist_ok=True)

    results = {"machine": machine(), "intcalc": args.intcalc, "runs": args.runs, "slice_mb": args.slice_mb,
               "workloads": {w: {"title": TITLES[w], "bytes": os.path.getsize(os.path.join(args.dir, f"{w}.txt")),
                                 "tools": {}} for w in args.workloads}}
    tools_present = {"floor"} | {t for t in ("bc", "mawk") if shutil.which(t)} | {"python"}
    if "wall" in parts:
        print(f"wall time ({args.runs} alternating runs after one untimed round):", flush=True)
        wall(args, results, tools_present)
    if "ipb" in parts:
        print("instructions per byte (callgrind, 2 MB slices):", flush=True)
        ipb(args, results, tools_present)
    if "rss" in parts:
        print("peak RSS (/usr/bin/time -v):", flush=True)
        rss(args, results)
    table(results)
    targets(results)
    if args.json:
        with open(args.json, "w") as f:
            json.dump(results, f, indent=1)
            f.write("\n")
    failed = [w for w, e in results["workloads"].items() if not all(e.get("checks", {}).values())]
    if failed:
        sys.exit(f"output check failed on {', '.join(failed)}")


main()
