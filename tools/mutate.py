#!/usr/bin/env python3
"""Mutation run: breaks the calculator one small edit at a time and asks the test suite to notice.

  tools/mutate.py                  every mutant in tools/mutants.py
  tools/mutate.py --only ID ...    the named mutants only
  tools/mutate.py --list           check that every mutant still finds its place; build nothing
  tools/mutate.py --json FILE      also write each result (with the failing tests and rows) to FILE
  tools/mutate.py --show ...       also print the test output that killed each mutant

Each mutant is an edit found by its text, not by a line number: a unique piece of a product file
and its replacement, or an entry of a table, found by the table's name and the entry's index in
the table's initializer as it reads when the run starts. The tree is copied to a scratch directory
(default build-mutate/, reused between runs, so that each mutant recompiles only what it
touches); warnings are not errors there, so that a mutant which merely draws a warning is still
run. For each mutant the edit is applied to the copy, the copy is built and the project's ctest
runs there; then the file is restored. A mutant is
  killed      when some test fails (the failing tests and case rows are printed),
  survived    when every test passes: it needs a row, or a line in tests/MUTANTS.md saying why no
              input can tell it from the real code,
  stillborn   when the copy does not build (a static_assert caught it, say),
  stale       when its text is no longer found exactly once (its table is gone, has no such
              entry, or the entry already holds the new value): the code has moved on, and the
              mutant must be rewritten or dropped.
Mutants marked asan are judged by the sanitized build (leaks, reads past a buffer), the others by
the optimised one, except the mutants of runtime/platform_windows.cpp: those are judged by the
Windows build (the `windows` preset's toolchain) under wine, as the Windows CI step judges it: the
case files with every line end as CR LF (the terminal, stdbuf and fault rows left out; a file that
fails is run once more, since wine itself now and then fails a run), then tests/wine_checks.py against
the unmutated Linux build. That needs wine and mingw-w64; the wine prefix and server are the run's
own (in the scratch directory), started when the first such mutant comes and stopped at the end.

The tests run with INTCALC_TEST_TIME_SCALE=0.2 (0.5 under wine), so that a row of a mutant that
hangs is given up after 6 s (15 s) rather than the 30 s a slow machine may need; each case file
gives up after its first row that hangs. Not part of CI: a full run takes an hour or more on two
cores (72 to 105 minutes in the runs tests/MUTANTS.md records).
"""
import argparse
import concurrent.futures
import glob
import json
import os
import re
import shutil
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from mutants import MUTANTS  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
WINDOWS_FILE = "runtime/platform_windows.cpp"
BUILDS = {  # name: cache settings ({src}: the scratch copy), environment of the tests
    "default": (["-DCMAKE_BUILD_TYPE=Release"], {"INTCALC_TEST_TIME_SCALE": "0.2", "INTCALC_TEST_SEED": "1"}),
    "asan": (["-DCMAKE_BUILD_TYPE=Debug", "-DINTCALC_SANITIZE=ON"],
             {"ASAN_OPTIONS": "detect_leaks=1", "UBSAN_OPTIONS": "print_stacktrace=1", "INTCALC_TEST_TIME_SCALE": "0.2",
             "INTCALC_TEST_SEED": "1"}),
    "windows": (["-DCMAKE_BUILD_TYPE=Release", "-DCMAKE_TOOLCHAIN_FILE={src}/cmake/mingw-w64-x86_64.cmake"],
                {"WINEDEBUG": "-all", "WINEDLLOVERRIDES": "winedbg.exe=d", "INTCALC_TEST_TIME_SCALE": "0.5"}),
}
WINE_CHECKS_TIMEOUT = 900  # seconds; the checks take about two minutes on two cores
FAILED_TEST = re.compile(r"^\s*\d+ - (\S+) \(", re.M)
FAILED_ROW = re.compile(r"([\w.-]+\.cases:\d+) under ([\w-]+)")
FAILED_CHECK = re.compile(r"^smoke: FAIL (.*)$|^differential: .* ([1-9]\d*) differences", re.M)


def run(cmd, env=None, timeout=None):
    """Runs cmd in a process group of its own, which goes whole if the run is interrupted or takes
    longer than timeout seconds (status -9, and a line saying so)."""
    p = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=dict(os.environ, **(env or {})),
                         start_new_session=True)
    try:
        out = p.communicate(timeout=timeout)[0]
    except subprocess.TimeoutExpired:
        os.killpg(p.pid, signal.SIGKILL)
        out = p.communicate()[0] + f"\ntimed out after {timeout} s\n".encode()
    except BaseException:
        os.killpg(p.pid, signal.SIGKILL)
        raise
    return p.returncode, out.decode(errors="replace")


def sync(src):
    """Makes src a copy of the working tree (tracked and untracked files, ignored ones left out),
    writing only the files that differ so that the builds stay up to date."""
    listed = run(["git", "-C", ROOT, "ls-files", "-co", "--exclude-standard", "-z"])[1].split("\0")
    wanted = {f for f in listed if f and os.path.isfile(os.path.join(ROOT, f))}
    for rel in wanted:
        with open(os.path.join(ROOT, rel), "rb") as f:
            data = f.read()
        dest = os.path.join(src, rel)
        if os.path.exists(dest):
            with open(dest, "rb") as f:
                if f.read() == data:
                    continue
        os.makedirs(os.path.dirname(dest), exist_ok=True)
        with open(dest, "wb") as f:
            f.write(data)
        shutil.copymode(os.path.join(ROOT, rel), dest)
    for dirpath, _, files in os.walk(src):
        for name in files:
            rel = os.path.relpath(os.path.join(dirpath, name), src)
            if rel not in wanted:
                os.remove(os.path.join(dirpath, name))


def place(m):
    """The mutant's file text and that text with the edit made, or None and the reason the mutant
    is stale."""
    path = os.path.join(ROOT, m["file"])
    if not os.path.isfile(path):
        return None, "file gone"
    with open(path, encoding="utf-8") as f:
        text = f.read()
    if "table" in m:
        return table_entry(text, m)
    n = text.count(m["find"])
    if n != 1:
        return None, "text not found" if n == 0 else f"text found {n} times"
    return text, text.replace(m["find"], m["replace"])


COMMENT = re.compile(r"/\*.*?\*/|//[^\n]*", re.S)


def table_entry(text, m):
    """Entry m["index"] of the initializer of table m["table"] (`NAME[...] = { ... };`) replaced by
    m["value"] in its column: right-aligned where the old entry ended, taking blanks before it if
    it is wider. Comments (row labels) are not entries."""
    heads = list(re.finditer(r"\b%s\s*\[[^]]*\]\s*=\s*\{" % re.escape(m["table"]), text))
    if len(heads) != 1:
        return None, "table not found" if not heads else f"table found {len(heads)} times"
    start = heads[0].end()
    end = text.find("};", start)
    if end < 0:
        return None, "table not closed"
    body = COMMENT.sub(lambda c: " " * len(c.group()), text[start:end])  # same length, comments blank
    entries, at = [], 0
    for piece in body.split(","):
        if piece.strip():
            first = at + len(piece) - len(piece.lstrip())
            entries.append((first, at + len(piece.rstrip())))
        at += len(piece) + 1
    if m["index"] >= len(entries):
        return None, f"no entry {m['index']} (the table has {len(entries)})"
    a, b = (start + x for x in entries[m["index"]])
    if text[a:b] == m["value"]:
        return None, f"entry {m['index']} is already {m['value']}"
    blanks = len(text[:a]) - len(text[:a].rstrip(" "))
    wider = min(max(len(m["value"]) - (b - a), 0), max(blanks - 1, 0))
    return text, text[:a - wider] + m["value"].rjust(b - a + wider) + text[b:]


class Judge:
    """One configured build of the scratch copy, and the suite run in it."""

    def __init__(self, work, name, jobs, timeout):
        self.src = os.path.join(work, "src")
        self.dir = os.path.join(work, "build" if name == "default" else "build-" + name)
        settings, self.env = BUILDS[name]
        self.settings = [x.format(src=self.src) for x in settings]
        self.jobs, self.timeout, self.name = jobs, timeout, name
        self.ready = False

    def build(self):
        if not os.path.exists(os.path.join(self.dir, "CMakeCache.txt")):
            generator = ["-G", "Ninja"] if shutil.which("ninja") else []
            status, out = run(["cmake", "-S", self.src, "-B", self.dir, "-DCMAKE_COMPILE_WARNING_AS_ERROR=OFF",
                               *generator, *self.settings])
            if status:
                sys.exit(f"configuring the {self.name} build failed:\n{out}")
        return run(["cmake", "--build", self.dir, "-j", str(self.jobs)])

    def test(self):
        status, out = run(["ctest", "--test-dir", self.dir, "-j", str(self.jobs), "--timeout",
                           str(self.timeout), "--output-on-failure"], env=self.env)
        tests = sorted(set(FAILED_TEST.findall(out.split("The following tests FAILED:")[-1]))) if status else []
        rows = sorted({f"{row}/{feed}" for row, feed in FAILED_ROW.findall(out)})
        return status, tests, rows, out

    def start(self):
        """Builds the unmutated copy once and requires the suite to pass on it."""
        if self.ready:
            return
        started = time.time()
        status, out = self.build()
        if status:
            sys.exit(f"the unmutated {self.name} build fails:\n{out[-3000:]}")
        status, tests, _, out = self.test()
        if status:
            sys.exit(f"the suite fails on the unmutated {self.name} build ({', '.join(tests)}):\n{out[-3000:]}")
        print(f"{self.name} build ready, suite passes ({time.time() - started:.0f} s)", flush=True)
        self.ready = True


class WineJudge(Judge):
    """The Windows build of the scratch copy, and what the Windows CI step runs of it under wine."""

    def __init__(self, work, jobs, timeout, linux):
        super().__init__(work, "windows", jobs, timeout)
        self.linux = linux  # the default judge: its unmutated program is the differential's reference
        self.reference = os.path.join(work, "intcalc-linux")
        self.prefix = os.path.join(work, "wineprefix")
        self.env = dict(self.env, WINEPREFIX=self.prefix, INTCALC_EXE=os.path.join(self.dir, "intcalc.exe"))
        self.server = False

    def wine(self, *cmd):
        """A wine command whose output goes nowhere: what it leaves running holds no pipe of ours."""
        subprocess.run(cmd, env=dict(os.environ, **self.env), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=False)

    def start(self):
        if self.ready:
            return
        for tool in ("wine", "wineserver", "x86_64-w64-mingw32-g++-win32"):
            if not shutil.which(tool):
                sys.exit(f"judging mutants of {WINDOWS_FILE} needs {tool} (wine, mingw-w64)")
        self.linux.start()
        status, out = self.linux.build()  # the last mutant the default build judged is undone
        if status:
            sys.exit(f"the unmutated default build fails:\n{out[-3000:]}")
        shutil.copy2(os.path.join(self.linux.dir, "intcalc"), self.reference)
        # One server for every run, kept up until the end, and a prefix set up before the first.
        os.makedirs(self.prefix, exist_ok=True)
        self.wine("wineserver", "-p")
        self.server = True
        self.wine("wineboot", "--init")
        if self.build()[0] == 0:  # the first run starts the prefix's services, with no pipe of ours
            self.wine(os.path.join(self.src, "tools", "intcalc_exe.sh"))
        super().start()

    def stop(self):
        if self.server:
            self.wine("wineserver", "-k")

    def test(self):
        exe = os.path.join(self.src, "tools", "intcalc_exe.sh")

        def case_file(path):
            cmd = [sys.executable, os.path.join(self.src, "tests", "run_cases.py"), "--crlf", "--skip", "tty",
                   "--skip", "stdbuf", "--skip", "faults", exe, path]
            status, out = run(cmd, self.env, self.timeout)
            if status:
                status, out = run(cmd, self.env, self.timeout)
            return status, f"{os.path.basename(path)} under wine:\n{out}"

        files = sorted(glob.glob(os.path.join(self.src, "tests", "cases", "*.cases")))
        with concurrent.futures.ThreadPoolExecutor(self.jobs) as pool:
            results = list(pool.map(case_file, files))
        failed = [f"wine.cases.{os.path.basename(f)[:-6]}" for f, (status, _) in zip(files, results) if status]
        out = "".join(text for status, text in results if status)
        if not failed:  # the checks: first the quick ones, then the differential run
            for only in ("smoke", "differential"):
                status, text = run([sys.executable, os.path.join(self.src, "tests", "wine_checks.py"), "--only", only,
                                    "--jobs", str(self.jobs), "--linux", self.reference, "--windows", exe],
                                   self.env, WINE_CHECKS_TIMEOUT)
                out += text
                if status:
                    failed.append(f"wine.checks.{only}")
                    break
        rows = sorted({f"{row}/{feed}" for row, feed in FAILED_ROW.findall(out)} |
                      {smoke or f"{n} differences" for smoke, n in FAILED_CHECK.findall(out)})
        return (1 if failed else 0), failed, rows, out


def first_error(out):
    for line in out.splitlines():
        if "error" in line:
            return line.strip()[:160]
    return out.strip().splitlines()[-1][:160] if out.strip() else "?"


def judge(m, judges):
    text, mutated = place(m)
    if text is None:
        return {"status": "stale", "detail": mutated}
    j = judges["windows" if m["file"] == WINDOWS_FILE else "asan" if m.get("asan") else "default"]
    j.start()
    target = os.path.join(j.src, m["file"])
    with open(target, "rb") as f:
        original = f.read()
    try:
        with open(target, "w", encoding="utf-8") as f:
            f.write(mutated)
        status, out = j.build()
        if status:
            return {"status": "stillborn", "detail": first_error(out)}
        status, tests, rows, out = j.test()
        if status:
            return {"status": "killed", "tests": tests, "rows": rows, "output": out}
        return {"status": "survived"}
    finally:
        with open(target, "wb") as f:
            f.write(original)


def main():
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("terminated"))  # so that the mutated file is restored
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--only", nargs="+", metavar="ID", help="run these mutants only")
    ap.add_argument("--list", action="store_true", help="check the places of the mutants, build nothing")
    ap.add_argument("--work", default=os.path.join(ROOT, "build-mutate"), help="scratch directory")
    ap.add_argument("--jobs", type=int, default=2, help="parallel build and test jobs (default 2)")
    ap.add_argument("--timeout", type=int, default=120, help="seconds a test file may run (default 120)")
    ap.add_argument("--json", metavar="FILE", help="write the results to FILE")
    ap.add_argument("--show", action="store_true", help="print the test output that killed each mutant")
    args = ap.parse_args()

    ids = [m["id"] for m in MUTANTS]
    dupes = {i for i in ids if ids.count(i) > 1}
    if dupes:
        sys.exit(f"mutant ids used twice: {', '.join(sorted(dupes))}")
    chosen = MUTANTS
    if args.only:
        unknown = set(args.only) - set(ids)
        if unknown:
            sys.exit(f"no such mutant: {', '.join(sorted(unknown))}")
        chosen = [m for m in MUTANTS if m["id"] in args.only]

    if args.list:
        stale = 0
        for m in chosen:
            text, mutated = place(m)
            why = None if text is not None else mutated
            stale += why is not None
            print(f"{'stale: ' + why if why else 'ok':24} {m['id']:22} {m['file']:24} {m['why']}")
        print(f"{len(chosen)} mutants, {stale} stale")
        return 1 if stale else 0

    os.makedirs(os.path.join(args.work, "src"), exist_ok=True)
    sync(os.path.join(args.work, "src"))
    judges = {name: Judge(args.work, name, args.jobs, args.timeout) for name in ("default", "asan")}
    judges["windows"] = WineJudge(args.work, args.jobs, args.timeout, judges["default"])
    try:
        return judge_all(args, chosen, judges)
    finally:
        judges["windows"].stop()


def judge_all(args, chosen, judges):
    started = time.time()
    results, counts = [], {}
    for n, m in enumerate(chosen, 1):
        t0 = time.time()
        r = judge(m, judges)
        r.update(id=m["id"], file=m["file"], why=m["why"], seconds=round(time.time() - t0, 1))
        results.append(r)
        counts[r["status"]] = counts.get(r["status"], 0) + 1
        detail = r.get("detail") or ", ".join(r.get("tests", []))
        if r.get("rows"):
            detail += f" ({' '.join(r['rows'][:6])}{' ...' if len(r['rows']) > 6 else ''})"
        print(f"[{n:3}/{len(chosen)}] {r['status']:9} {m['id']:22} {m['file']:22} {detail}", flush=True)
        output = r.pop("output", "")
        if args.show and output:
            print(output.split("The following tests FAILED:")[0].rstrip(), flush=True)

    minutes, seconds = divmod(int(time.time() - started), 60)
    print(f"\n{len(chosen)} mutants in {minutes} min {seconds} s: " +
          ", ".join(f"{counts[s]} {s}" for s in ("killed", "survived", "stillborn", "stale") if s in counts))
    for r in results:
        if r["status"] in ("survived", "stale"):
            print(f"  {r['status']:9} {r['id']:22} {r['file']:22} {r['why']}")
    if args.json:
        with open(args.json, "w") as f:
            json.dump(results, f, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main())
