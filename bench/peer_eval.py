"""Line evaluator in plain Python, a peer for the throughput comparison: one value per line, with
the calculator's arithmetic (32-bit wrap-around, division truncating toward zero)."""
import re
import sys

TOKEN = re.compile(r"\d+|[-+*/()]")
PRECEDENCE = {"+": 1, "-": 1, "*": 2, "/": 2, "(": 0}


def wrap(v):
    return ((v + 0x80000000) & 0xFFFFFFFF) - 0x80000000


def apply(values, op):
    b = values.pop()
    a = values.pop()
    if op == "+":
        v = a + b
    elif op == "-":
        v = a - b
    elif op == "*":
        v = a * b
    else:
        q = abs(a) // abs(b)
        v = q if (a < 0) == (b < 0) else -q
    values.append(wrap(v))


def evaluate(line):
    values, ops = [], []
    for tok in TOKEN.findall(line):
        if tok[0].isdigit():
            values.append(wrap(int(tok)))
        elif tok == "(":
            ops.append(tok)
        elif tok == ")":
            while ops[-1] != "(":
                apply(values, ops.pop())
            ops.pop()
        else:
            while ops and PRECEDENCE[ops[-1]] >= PRECEDENCE[tok]:
                apply(values, ops.pop())
            ops.append(tok)
    while ops:
        apply(values, ops.pop())
    return values[0]


def main():
    out = sys.stdout
    for line in sys.stdin:
        out.write(f"{evaluate(line)}\n")


main()
