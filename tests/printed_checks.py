#!/usr/bin/env python3
"""The build's comparison of the computed tables with the printed ones, tried: each row changes one
entry of a printed table, or one line of the language's statement, in a copy of the header, and
compiles the tables with it. The compilation must fail, naming where the two differ.

usage: printed_checks.py COMPILER SOURCE_DIR"""
import os, subprocess, sys, tempfile

# file, text in it, replaced by, what the compiler's error must name
ROWS = [
    # ';' made a line feed in the printed classes
    ("scanner/printed.h", "10,10,10,10,10,10,10,10,10,10, 1, 1, 1, 1,", "10,10,10,10,10,10,10,10,10,10, 1, 3, 1, 1,",
     "YyPrintedClassDiffers<59>"),
    # the marker state's action that of the blank: only the comparison of actions sees it
    ("scanner/printed.h", "= {  0,  0,  0, 12, 10,", "= {  0,  0,  0,  8, 10,", "YyPrintedAutomatonDiffers<3, 11>"),
    # the first digit leads to the state of two or more digits, which steps and accepts as the
    # one-digit state: one printed state for two computed ones, seen on the digit from state 14
    ("scanner/printed.h", "12, 13, 14, 14, 15,  3,", "12, 14, 14, 14, 15,  3,", "YyPrintedAutomatonDiffers<14, 10>"),
    # state 2 (after a number) reads a token before it reduces, taking its default on every one
    ("parser/printed.h", "= { YYFLAG, -2, YYFLAG,", "= { YYFLAG, -2, -100,", "YyPrintedTablesDiffer<2, 15>"),
    # ')' shifts to the state of a sum (12), seen where the goto on expr from state 7 leads there too
    ("parser/printed.h", "15, 11,  7,  8,", "15, 12,  7,  8,", "YyPrintedTablesDiffer<7, 13>"),
    # the statement changed instead: '+' and '-' bind tighter than '*' and '/'
    ("parser/grammar.h", "    {YY_LEFT, {PLUS, MINUS}},\n    {YY_LEFT, {TIMES, DIVIDE}},\n",
     "    {YY_LEFT, {TIMES, DIVIDE}},\n    {YY_LEFT, {PLUS, MINUS}},\n", "YyPrintedTablesDiffer<12, 9>"),
    # '+' and '-' associating to the right (a sum shifts the next '+'), then with neither (an error)
    ("parser/grammar.h", "{YY_LEFT, {PLUS, MINUS}}", "{YY_RIGHT, {PLUS, MINUS}}", "YyPrintedTablesDiffer<12, 7>"),
    ("parser/grammar.h", "{YY_LEFT, {PLUS, MINUS}}", "{YY_NONASSOC, {PLUS, MINUS}}", "YyPrintedTablesDiffer<12, 7>"),
]


def main():
    compiler, source = sys.argv[1], sys.argv[2]
    failures = 0
    with tempfile.TemporaryDirectory() as scratch:
        unit = os.path.join(scratch, "tables.cpp")
        with open(unit, "w") as f:
            f.write('#include "scanner/printed.h"\n#include "parser/printed.h"\n')
        for n, (name, old, new, wanted) in enumerate(ROWS, 1):
            with open(os.path.join(source, name)) as f:
                text = f.read()
            changed = os.path.join(scratch, str(n), name)
            os.makedirs(os.path.dirname(changed))
            with open(changed, "w") as f:
                f.write(text.replace(old, new))
            # The changed copy is found first; the rest of the headers in the source tree.
            run = subprocess.run([compiler, "-std=c++20", "-fsyntax-only", "-I", os.path.join(scratch, str(n)),
                                  "-I", source, unit], capture_output=True, text=True)
            if text.count(old) != 1 or run.returncode == 0 or wanted not in run.stderr:
                errors = "\n".join(line for line in run.stderr.splitlines() if "error" in line)
                got = f"{old!r} is not once in it" if text.count(old) != 1 else errors if run.returncode else "it built"
                print(f"row {n} ({name}): the build must fail naming {wanted}; {got}")
                failures += 1
    print(f"{len(ROWS) - failures} of {len(ROWS)} changed tables refused as they must be")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
