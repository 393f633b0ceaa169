#!/usr/bin/env python3
"""Turns what the documentation shows into cram tests, so that CI runs it as a reader would and a
false line fails the run: README.md's Quick start, its examples and its table of exit statuses, the
manual page's EXAMPLES, and tests/README.md's commands for running the tests. The README's
Performance figures are compared with bench/results.json here, without cram.

usage: doc_transcripts.py OUTDIR   writes the .t files into OUTDIR and prints their paths in the
order to run them; exits 1 when the README's figures or its table are not as this script expects.

In a fenced block of the README, or an indented block of tests/README.md, a block with `$ ` lines is
a transcript: each `$ ` line a command (`> ` lines continue it), the lines after it what it prints.
Any other block is a list of commands, each of which must succeed; what they print is not compared.
The Quick start and tests/README.md's commands run in the source folder ($INTCALC_SOURCE), the rest
in a scratch folder; `intcalc` is whatever PATH finds.
"""
import json, os, re, shlex, subprocess, sys

SOURCE = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
NOT_RUN = re.compile(r"^sudo ")  # installs system packages: CI installs them its own way
# The table's rows that name an event rather than show an input: the commands that bring each
# event about, each leaving the program's standard error in `err`, and whether the command
# gives the program a first line `5`, whose value then stands for "values of earlier lines".
EVENTS = {
    "syntax error": (True, ["printf '5\\n1+a\\n' | intcalc 2>err", "printf '5\\n\\n' | intcalc 2>err",
                            "printf '5\\n1+2' | intcalc 2>err"]),
    "parentheses nested too deeply": (True, ["{ echo 5; printf '%10000s1\\n' '' | tr ' ' '('; } | intcalc 2>err"]),
    "number literal of 16382 digits or more": (True, ["{ echo 5; printf '%16382s\\n' '' | tr ' ' 7; } | intcalc 2>err"]),
    "standard input unreadable": (False, ["intcalc <&- 2>err", "intcalc </ 2>err"]),
    "a NUL or 0x1A byte at the start of a line": (True, ["printf '5\\n\\x003\\n' | intcalc 2>err",
                                                         "printf '5\\n\\x1a3\\n' | intcalc 2>err"]),
    "standard output unwritable": (False, ["printf '5\\n' | intcalc >/dev/full 2>err", "printf '5\\n' | intcalc >&- 2>err"]),
    "standard output a pipe whose reader has gone": (False, ["intcalc <big 2>err | head -c1 >/dev/null; (exit ${PIPESTATUS[0]})"]),
    # bash reports a child killed by SIGXFSZ on its standard error: the subshell's goes nowhere
    "standard output past a file-size limit": (False, ["(ulimit -f 1; intcalc <big >out 2>err; exit $?) 2>/dev/null"]),
}


def sections(text, level="## "):
    """{title: body} of a Markdown text; the text before the first heading is under ""."""
    parts, title = {"": []}, ""
    for line in text.splitlines():
        if line.startswith(level):
            title = line[len(level):].strip()
            parts[title] = []
        else:
            parts[title].append(line)
    return parts


def fenced_blocks(lines):
    """The ```sh blocks of a section, each a list of lines."""
    blocks, language = [], None
    for line in lines:
        if line.startswith("```"):
            if language is None:
                language, block = line[3:], []
            else:
                blocks += [block] if language == "sh" else []
                language = None
        elif language is not None:
            block.append(line)
    return blocks


def indented_blocks(lines):
    """The blocks indented by four spaces, each a list of lines."""
    blocks, block = [], []
    for line in lines + [""]:
        if line.startswith("    "):
            block.append(line[4:])
        elif block:
            blocks, block = blocks + [block], []
    return blocks


def cram(block):
    """A block as cram lines: a transcript as it stands, a list of commands each checked to succeed."""
    if any(line.startswith("$ ") for line in block):
        return [f"  {line}".rstrip() if line else "  " for line in block]
    out, command = [], []
    for line in block:
        command.append(line)
        if line.endswith("\\"):
            continue
        if not NOT_RUN.match(command[0]):
            out += ["  $ (" + command[0]] + [f"  > {c}" for c in command[1:]]
            out.append('  > ) >"$CRAMTMP/log" 2>&1 || { echo "exit status $?"; cat "$CRAMTMP/log"; }')
        command = []
    return out


def backticked(cell):
    return re.findall(r"`([^`]*)`", cell)


def table_tests(lines):
    """The exit-status table's rows as cram tests: each input, its standard output, its standard
    error and its status."""
    rows = [line for line in lines if line.startswith("| ") and not line.startswith("| Input")]
    out, used = [], set()
    for row in rows:
        cells = [c.strip() for c in row.strip().strip("|").split("|")]
        event, stdout, stderr, status = cells[0], cells[1], cells[2], int(re.match(r"\d+", cells[3]).group())
        earlier = stdout == "values of earlier lines"
        name = next((e for e in EVENTS if event.startswith(e)), None)
        if name:
            used.add(name)
            earlier, commands = earlier and EVENTS[name][0], EVENTS[name][1]
        elif backticked(event):
            form = ("5\\n" if earlier else "") + "%s" + ("\\r\\n" if event.endswith("CR LF") else "\\n")
            commands = [f"printf '{form}' {shlex.quote(x)} | intcalc 2>err" for x in backticked(event)]
        else:
            sys.exit(f"doc_transcripts.py: README's table has a row it does not know: {row}")
        outs, errs = backticked(stdout), backticked(stderr)
        for i, command in enumerate(commands):
            out.append(f"  $ {command}; echo \"status $?\"; sed 's/^/stderr: /' err")
            want = ["5"] if earlier else [outs[min(i, len(outs) - 1)]] if outs else []
            want += [f"status {status}"] + ([f"stderr: {errs[min(i, len(errs) - 1)]}"] if errs else [])
            out += [f"  {w}" for w in want]
    if used != set(EVENTS):
        sys.exit(f"doc_transcripts.py: README's table no longer has the rows {sorted(set(EVENTS) - used)}")
    return out


def manual_examples():
    """The manual page's EXAMPLES as the reader sees them, blocks of lines apart."""
    text = subprocess.run(["groff", "-man", "-Tascii", "-P-cbou", os.path.join(SOURCE, "docs/intcalc.1")],
                          capture_output=True, text=True, check=True).stdout
    body = text.split("\nEXAMPLES\n", 1)[1]
    body = body[:re.search(r"^\S", body, re.M).start()]
    return [[line[7:] for line in block.splitlines()] for block in body.split("\n\n") if block.strip()]


def check_figures(performance):
    """The README's Performance section holds the figures of bench/results.json, as figures.py
    writes them."""
    sys.path.insert(0, os.path.join(SOURCE, "bench"))
    import figures
    with open(os.path.join(SOURCE, "bench/results.json")) as f:
        want = figures.figures(json.load(f))
    if " ".join(want.split()) not in " ".join(performance):
        sys.exit("doc_transcripts.py: README's Performance figures are not those of bench/results.json;"
                 f" bench/figures.py writes them as:\n{want}")


def main():
    outdir = sys.argv[1]
    readme = sections(open(os.path.join(SOURCE, "README.md")).read())
    tests_readme = sections(open(os.path.join(SOURCE, "tests/README.md")).read())
    check_figures(" ".join(readme["Performance"]).split())
    in_source = ['  $ cd "$INTCALC_SOURCE"']
    files = {
        "1-quick-start.t": in_source + sum(map(cram, fenced_blocks(readme["Quick start"])), []),
        "2-use.t": ["  $ yes 1 | head -n 100000 >big"]
                   + sum(map(cram, fenced_blocks(readme[""]) + fenced_blocks(readme["Use"])
                             + fenced_blocks(readme["Exit status and diagnostics"])), [])
                   + table_tests(readme["Exit status and diagnostics"]),
        # Typed on a terminal, each value appears as its line completes: stdbuf -oL does the same
        # into cram's pipe, so that values and diagnostics come in the order the page shows.
        "3-manual.t": ['  $ intcalc() { stdbuf -oL intcalc "$@"; }']
                      + sum(map(cram, [b for b in manual_examples() if b[0].startswith("$ ")]), []),
        "4-tests-readme.t": in_source + sum(map(cram, indented_blocks(tests_readme["Running"])), []),
    }
    for name, lines in files.items():
        with open(os.path.join(outdir, name), "w") as f:
            f.write("\n".join(lines) + "\n")
        print(os.path.join(outdir, name))


if __name__ == "__main__":
    main()
