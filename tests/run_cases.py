#!/usr/bin/env python3
"""Runs the rows of case files against the calculator and compares stdout, stderr and exit status.

usage: run_cases.py [--faults PROGRAM] [--emulator COMMAND] [--crlf] [--skip NAME]... PROGRAM CASEFILE...
tests/README.md describes the rows, how each is fed to the program and the options."""
import argparse, fcntl, os, pathlib, re, select, shlex, shutil, signal, struct, tempfile, termios, time

# Seconds after which a run has hung (the longest takes 0.4 s here), times INTCALC_TEST_TIME_SCALE
TIME_LIMIT = 30 * float(os.environ.get("INTCALC_TEST_TIME_SCALE", "1"))
TRICKLE_GROWTH = 64  # trickled pieces grow by one byte every 64 bytes
FIELD = re.compile(rb"\{(.*?)\*(\d+)\}|\\x([0-9a-fA-F]{2})|\\(.)|(.)", re.S)
ESCAPES = {b"n": b"\n", b"r": b"\r", b"t": b"\t", b"0": b"\0"}

def decode(field):
    """Field text to bytes: \\n \\r \\t \\0 \\\\ \\xHH, and {TEXT*N} for TEXT N times; \\p starts a part."""
    parts = [b""]
    for repeat, times, hexa, escape, plain in FIELD.findall(field):
        if times:
            parts[-1] += decode(repeat)[0] * int(times)
        elif escape == b"p":
            parts.append(b"")
        else:
            parts[-1] += bytes.fromhex(hexa.decode()) if hexa else ESCAPES.get(escape, escape or plain)
    return parts

def read_rows(path, line_end):
    """Rows `input | stdout | stderr | status | setup`: blanks around a field are dropped, missing
    fields are empty (status 0). `@program faults` runs the rows after it against the fault build."""
    rows, program = [], "intcalc"
    for n, line in enumerate(pathlib.Path(path).read_bytes().splitlines(), 1):
        if line.startswith(b"@program "):
            program = line[9:].strip().decode()
        if line.strip() and line[:1] not in b"#@":
            field = [x.strip(b" \t") for x in line.split(b"|")] + [b""] * 4
            rows.append(dict(where=f"{os.path.basename(path)}:{n}", program=program, line_end=line_end, input=decode(field[0]),
                             out=[p.replace(b"\n", line_end) for p in decode(field[1])],
                             err=decode(field[2])[0].replace(b"\n", line_end), status=int(field[3] or 0),
                             setup=field[4].decode()))
    return rows

def terminal():
    """A pseudo-terminal (controller, terminal side): no echo, a typed CR kept, no CR added to output."""
    controller, term = os.openpty()
    mode = termios.tcgetattr(term)
    mode[0] &= ~termios.ICRNL
    mode[1] &= ~termios.OPOST
    mode[3] &= ~termios.ECHO
    termios.tcsetattr(term, termios.TCSANOW, mode)
    return controller, term

def run(program, row, feed):
    """Runs the program (its command line) once on the row's input, fed as `feed`: (stdout, stderr,
    status), trouble."""
    stepped = feed in ("lockstep", "tty")
    data = b"".join(row["input"])
    parts = row["input"] if stepped else [data]
    (out_r, out_w), (err_r, err_w) = os.pipe(), os.pipe()
    setup, *options = row["setup"].split(" ")
    # the child's 0, 1, 2 (None: closed); under stdbuf, stderr shows where the held output begins
    child = [None, out_w, out_w if setup in ("merged", "stdbuf") else err_w]
    if setup in ("stdout-full", "stdout-closed"):
        child[1] = os.open("/dev/full", os.O_WRONLY | os.O_CLOEXEC) if setup == "stdout-full" else None
    writer = rest = None
    if feed == "file":
        with tempfile.TemporaryFile() as f:
            f.write(data)
            f.seek(0)
            child[0] = os.dup(f.fileno())
            if setup == "rest":
                rest = os.dup(f.fileno())  # shares the file offset with the program's standard input
    elif feed == "stdin-dir":
        child[0] = os.open("/", os.O_RDONLY | os.O_CLOEXEC)
    elif feed == "tty":  # stdout (and stdin, but with `tty out`) on a terminal
        os.close(out_r)
        out_r, child[1] = terminal()
        child[0], writer = os.pipe() if options == ["out"] else (child[1], os.dup(out_r))
    elif feed != "stdin-closed":
        child[0], writer = os.pipe()
    if writer is not None:
        os.set_blocking(writer, False)
    env = dict(os.environ)
    if row["setup"].startswith("env "):
        env.update([row["setup"][4:].split("=", 1)])
    argv = [shutil.which("stdbuf") or "stdbuf", *options, *program] if setup == "stdbuf" else program
    if setup == "stdbuf":  # its preloaded library comes before a sanitizer's, which is harmless here
        env["ASAN_OPTIONS"] = env.get("ASAN_OPTIONS", "") + ":verify_asan_link_order=0"
    actions = [(os.POSIX_SPAWN_CLOSE, fd) if src is None else (os.POSIX_SPAWN_DUP2, src, fd) for fd, src in enumerate(child)]
    pid = os.posix_spawn(argv[0], argv, env, file_actions=actions, setsigdef=[signal.SIGPIPE])
    for fd in {*child, out_w, err_w} - {None}:
        os.close(fd)

    got = {out_r: b"", err_r: b""}
    reading = set(got)
    sent = part = part_end = out_due = 0
    trouble, deadline = "", time.monotonic() + TIME_LIMIT
    while reading and not trouble:
        if writer is not None and sent == part_end and part == len(parts):
            writer = os.close(writer)
        elif writer is not None and sent == part_end and len(got[out_r]) >= out_due:  # on to the next part
            out_due += len(row["out"][part]) if stepped and part < len(row["out"]) else 0
            part_end += len(parts[part])
            part += 1
        queued = struct.unpack("i", fcntl.ioctl(writer, termios.FIONREAD, b"\0" * 4))[0] if feed == "trickle" and writer else 0
        may_write = writer is not None and sent < part_end and queued == 0
        ready, writable, _ = select.select(list(reading), [writer] if may_write else [], [], 0.0002 if queued else 0.02)
        if writable:
            piece = min(1 + sent // TRICKLE_GROWTH, part_end - sent) if feed == "trickle" else part_end - sent
            try:
                sent += os.write(writer, data[sent:sent + piece])
            except BlockingIOError:
                pass
            except OSError:  # the program has stopped reading
                writer = os.close(writer)
        for fd in ready:
            try:
                chunk = os.read(fd, 65536)
            except OSError:  # a terminal whose other side has closed
                chunk = b""
            got[fd] += chunk
            if not chunk:
                reading.discard(fd)
        if time.monotonic() > deadline:
            trouble = f"hung after part {part} of {len(parts)}"
            os.kill(pid, signal.SIGKILL)
    for fd in {out_r, err_r, writer} - {None}:
        os.close(fd)
    status = os.waitstatus_to_exitcode(os.waitpid(pid, 0)[1])
    if rest is not None:
        with os.fdopen(rest, "rb") as f:  # written in the row as output is, line ends and all
            got[out_r] += f.read().replace(b"\n", row["line_end"])
    return (got[out_r], got[err_r], status if status >= 0 else 128 - status), trouble

def feeds(row):
    setup = row["setup"].split(" ")[0]
    if setup in ("stdin-closed", "stdin-dir", "tty", "rest"):
        return ["file" if setup == "rest" else setup]
    return ["file", "trickle"] + ["lockstep"] * (len(row["input"]) > 1)

def show(result):
    return " | ".join(repr(x[:200]) + ("..." if len(x) > 200 else "") for x in result[:2]) + f" | {result[2]}"

def main():
    for fd in [fd for fd in range(3) if not os.path.exists(f"/proc/self/fd/{fd}")]:
        os.open(os.devnull, os.O_RDWR)  # a closed 0, 1 or 2 must not be taken by a pipe made for a run
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("program")
    ap.add_argument("cases", nargs="+")
    ap.add_argument("--faults", help="the calculator built with faults on request (tests/faults.cpp)")
    ap.add_argument("--emulator", default="", help="command the programs run under, split as a shell would")
    ap.add_argument("--crlf", action="store_true", help="expect CR LF for every line end of stdout and stderr")
    ap.add_argument("--skip", action="append", default=[], metavar="NAME", help="setup, program, feed or file.cases:LINE")
    args = ap.parse_args()
    emulator = shlex.split(args.emulator)
    emulator[:1] = [shutil.which(x) or x for x in emulator[:1]]  # found on PATH, as a shell finds it
    programs = {"intcalc": emulator + [args.program], "faults": args.faults and emulator + [args.faults]}
    runs = failed = skipped = 0
    unbuilt = []  # the rows skipped because their program (the fault build) was not given
    for path in args.cases:
        rows = read_rows(path, b"\r\n" if args.crlf else b"\n")
        for row, feed in [(row, feed) for row in rows for feed in feeds(row)]:
            asked = {row["where"], row["program"], row["setup"].split(" ")[0], feed} & set(args.skip)
            if asked or not programs[row["program"]]:
                skipped += 1
                if not asked and row["where"] not in unbuilt:
                    unbuilt.append(row["where"])
                continue
            result, trouble = run(programs[row["program"]], row, feed)
            want = (b"".join(row["out"]), row["err"], row["status"])
            runs += 1
            if result != want or trouble:
                failed += 1
                print(f"{row['where']} under {feed}: {trouble or 'wrong result'}\n  got:  {show(result)}\n  want: {show(want)}")
            if trouble:  # a program that hangs once hangs again: the rest of the file is not run
                print(f"{path}: rows after {row['where']} not run")
                break
    if unbuilt:
        print(f"skipped: {len(unbuilt)} rows of the fault build, which --faults PROGRAM runs: {', '.join(unbuilt)}")
    print(f"{runs} runs, {failed} failed, {skipped} skipped")
    return 1 if failed or not runs + skipped else 0

if __name__ == "__main__":
    raise SystemExit(main())
