#!/usr/bin/env python3
"""Checks of the Windows build under wine, beside the case files: byte for byte, what the rows do
not show (smoke), and generated inputs through intcalc.exe and the Linux build (differential).

usage: tests/wine_checks.py [--jobs J] [--only smoke|differential] [--linux PROGRAM] [--windows PROGRAM]
The programs default to tools/intcalc_exe.sh (build-windows/intcalc.exe under wine) and build/intcalc;
WINEPREFIX must name a prepared prefix whose server is kept up (tests/README.md says how)."""
import argparse, concurrent.futures, os, re, select, shutil, subprocess, sys, tempfile, time

from differential import generated_input  # the inputs of tests/differential.py
from run_cases import terminal

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INPUTS, SEED = 3000, 1

def run(program, data, stdin_file=False, stdout_file=False, stdout=None):
    """Runs program on data; returns (stdout, stderr, status). Input comes from a file or a pipe,
    output goes to a file, a pipe, or the descriptor given (and then reads as b'')."""
    with tempfile.TemporaryFile() as fin, tempfile.TemporaryFile() as fout:
        fin.write(data)
        fin.seek(0)
        p = subprocess.run([program], input=None if stdin_file else data, stdin=fin if stdin_file else None,
                           stdout=stdout or (fout if stdout_file else subprocess.PIPE), stderr=subprocess.PIPE, timeout=60)
        fout.seek(0)
        return p.stdout or fout.read(), p.stderr, p.returncode

def differential(args):
    """INPUTS inputs: the same standard output and standard error once each CR LF of the .exe is
    read as LF, the same exit status. A run whose output differs is made again, and only a
    difference that repeats counts: a run can also fail in wine itself, seen as status 1 with
    nothing on either stream (as if the program had been given no standard handles), about once in
    2000 runs on a loaded machine."""
    def compare(index):
        data = generated_input(SEED, index)
        feed = (index % 2 == 0, index % 4 >= 2)  # input from a file or a pipe, output to a file or a pipe
        linux = run(args.linux, data, *feed)
        for attempt in range(2):
            out, err, status = run(args.windows, data, *feed)
            windows = (out.replace(b'\r\n', b'\n'), err.replace(b'\r\n', b'\n'), status)
            if windows == linux:
                return attempt
            print(f'input {index} (seed {SEED}), run {attempt + 1} of 2: {data[:200]!r}\n'
                  f'  linux:   {linux!r:.300}\n  windows: {windows!r:.300}')
        return 2

    start = time.time()
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        attempts = list(pool.map(compare, range(INPUTS)))
    print(f'differential: {INPUTS} inputs, {attempts.count(2)} differences, {attempts.count(1)} '
          f'made again, {time.time() - start:.0f} s')
    return 2 not in attempts

def closed_pipe(args):
    reader, writer = os.pipe()
    os.close(reader)
    try:
        return run(args.windows, b'1\n' * 2000, stdout=writer)
    finally:
        os.close(writer)

def null_device(args):
    """Writes 1000 values (3893 bytes of text) to NUL, through cmd; returns its status and the
    number of writes: whole blocks make 8, a null device taken for a console would make 1000."""
    exe = os.environ.get('INTCALC_EXE', os.path.join(ROOT, 'build-windows', 'intcalc.exe'))
    with tempfile.TemporaryDirectory() as d:
        shutil.copy(exe, os.path.join(d, 'intcalc.exe'))  # cmd runs it by a name of its own folder
        with open(os.path.join(d, 'in'), 'wb') as f:
            f.write(b''.join(b'%d\n' % n for n in range(1, 1001)))
        env = dict(os.environ, WINEDEBUG='trace+file', WINEDLLOVERRIDES='winedbg.exe=d')
        p = subprocess.run(['wine', 'cmd', '/c', 'intcalc.exe < in > NUL'], cwd=d, env=env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=60)
    return p.returncode, p.stderr.count(b':NtWriteFile (')

def console(args, piped=False):
    """Enters two lines and a wrong one on a console (piped: through a pipe, the console standard
    output only); returns what the console shows after each of the first two (as much as should
    be new there), then standard error and the status. The console is wine's, on a
    pseudo-terminal: it echoes what is typed and draws the cursor, which is left out here."""
    master, slave = terminal()  # Enter reaches the console as the CR it is
    p = subprocess.Popen([args.windows], stdin=subprocess.PIPE if piped else slave, stdout=slave, stderr=subprocess.PIPE)
    os.close(slave)
    into, enter = (p.stdin.fileno(), b'\n') if piped else (master, b'\r')
    shown, seen = b'', []
    for line, value in ((b'1+2', b'3\r\n'), (b'3*4', b'12\r\n')):
        os.write(into, line + enter)
        due = value if piped else line + b'\r\n' + value  # a typed line is echoed
        deadline = time.time() + 20
        while time.time() < deadline and not shown.endswith(due):
            if select.select([master], [], [], 0.1)[0]:
                shown = re.sub(rb'\x1b\[[0-9;?]*[A-Za-z]', b'', shown + os.read(master, 4096))
        seen.append(shown[-len(due):])
    os.write(into, b')' + enter)
    try:
        err = p.communicate(timeout=20)[1]
    except subprocess.TimeoutExpired:
        p.kill()
        err = p.communicate()[1]
    os.close(master)
    return (*seen, err, p.returncode)

# One row per check: what it is, how it runs, what it must give.
SMOKE = [
    ('CR LF on standard output, to a file',
     lambda args: run(args.windows, b'1\r\n)\n', True, True), (b'1\r\n', b'parse error\r\n', 0)),
    ('closed pipe: write error, status 1', closed_pipe, (b'', b'write error\r\n', 1)),
    ('null device: whole 512-byte blocks', null_device, (0, 8)),
    ('console: each value as its line is entered', console,
     (b'1+2\r\n3\r\n', b'3*4\r\n12\r\n', b'parse error\r\n', 0)),
    ('console output, input from a pipe: each value as its line arrives', lambda args: console(args, piped=True),
     (b'3\r\n', b'12\r\n', b'parse error\r\n', 0)),
]

def smoke(args):
    failed = 0
    for name, check, want in SMOKE:
        got = check(args)
        failed += got != want
        print(f'smoke: ok   {name}' if got == want else f'smoke: FAIL {name}\n  got:  {got!r}\n  want: {want!r}')
    return not failed

def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('--jobs', type=int, default=2)
    ap.add_argument('--only', choices=['smoke', 'differential'])
    ap.add_argument('--linux', default=os.path.join(ROOT, 'build', 'intcalc'))
    ap.add_argument('--windows', default=os.path.join(ROOT, 'tools', 'intcalc_exe.sh'))
    args = ap.parse_args()
    passed = [check(args) for check in (smoke, differential) if args.only in (None, check.__name__)]
    sys.exit(0 if all(passed) else 1)

if __name__ == '__main__':
    main()
