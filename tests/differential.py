#!/usr/bin/env python3
"""Differential test: generated inputs through intcalc and a model of the language, compared.

usage: differential.py [--inputs N] [--seed S] [--index I] [--jobs J] [--] [EMULATOR...] PROGRAM
Standard output, standard error and exit status must match; tests/README.md describes the inputs,
which wine_checks.py takes too."""
import argparse, concurrent.futures, os, random, re, subprocess, sys

TOKEN = re.compile(rb'[ \t]*(?:(\d+)|(\(+|.|\Z))', re.S)  # digits, a run of '(' or one byte; b'' at the end

class Stop(Exception):
    pass

def wrap(v):
    return (v + 2**31) % 2**32 - 2**31

def literal_value(digits):
    v = 0
    for d in digits:  # all ones once v * 10 would reach 2^64, and so to the last digit
        v = 2**64 - 1 if v * 10 >= 2**64 else (v * 10 + d - 48) % 2**64
    return wrap(v)

def arith(a, op, b):
    if op == b'/':
        if b == 0 or (a, b) == (-2**31, -1):
            raise Stop(b'division overflow\n' if b else b'division by zero\n', 1)
        return int(a / b)  # toward zero, and exact for 32-bit operands
    return wrap(a + b if op == b'+' else a - b if op == b'-' else a * b)

def model(data):
    """(stdout, stderr, status) for data, parsed shift-reduce: a product is reduced once its right
    operand is complete, a sum on the token after it. The stack holds the start, the list of lines,
    then each pending value (an int), operator and parenthesis."""
    out, stack = [], []
    def push(*x):
        stack.extend(x)
        if 2 + len(stack) > 9999:
            raise Stop(b'parser stack overflow\n', 0)
    def reduce(ops):
        if len(stack) > 2 and stack[-2] in ops:
            stack[-3:] = [arith(*stack[-3:])]
    try:
        for digits, char in TOKEN.findall(data.split(b'\x1a')[0].replace(b'\r', b'').split(b'\0')[0]):
            due = not stack or not isinstance(stack[-1], int)  # an operand is due
            if len(digits) > 16381:
                raise Stop(b'fatal error - scanner input buffer overflow\n', 1)
            if not due and char in (b'+', b'-', b')', b'\n'):
                reduce((b'+', b'-'))
            if digits and due:
                push(literal_value(digits))
                reduce((b'*', b'/'))
            elif char[:1] == b'(' and due:
                push(*[b'('] * len(char))
            elif char == b'' and not stack:
                break
            elif not due and char in (b'+', b'-', b'*', b'/'):
                push(char)
            elif not due and char == b'\n' and len(stack) == 1:
                out.append(b'%d\n' % stack.pop())
            elif not due and char == b')' and stack[-2:-1] == [b'(']:
                push(char)
                stack[-3:] = stack[-2:-1]
                reduce((b'*', b'/'))
            else:
                raise Stop(b'parse error\n', 0)
        return b''.join(out), b'', 0
    except Stop as stop:
        return b''.join(out), *stop.args

INT_MIN = '(0-2147483647-1)'
HOT = ['0', '1', '2', '10', '(0-1)', '(0-2)', '65536', '(0-65536)', '2147483646', '2147483647', '(0-2147483647)', INT_MIN]

def literal(rng):
    r = rng.random()
    if r < 0.3:
        return str(rng.randrange(100000))
    if r < 0.8:  # 2^k or 10^k and their neighbours, past 2^64 (whose digits wrap up to 2^64+3, then saturate)
        return str((2 ** rng.randrange(67) if r < 0.6 else 10 ** rng.randrange(22)) + rng.randint(-1, 4))
    if r < 0.97:
        return '0' * rng.randrange(3) + str(rng.randrange(2**31 - 10, 2**33))  # wraps, or is the low 32 bits
    return str(rng.randrange(10**19, 10**21))

def blank(rng):
    return rng.choice(['', '', '', ' ', '\t', ' \r'])  # a lone CR vanishes on both platforms

def expression(rng, depth=0):
    if depth > 3 or rng.random() < 0.35:  # an operand: a HOT one, a literal, or a literal's negative
        r = rng.random()
        return rng.choice(HOT) if r < 0.2 else f'(0-{literal(rng)})' if r < 0.35 else literal(rng)
    if rng.random() < 0.2:
        return '(' + blank(rng) + expression(rng, depth + 1) + ')'
    return expression(rng, depth + 1) + blank(rng) + rng.choice('+-*/') + blank(rng) + expression(rng, depth + 1)

def nested(rng):  # '(' near the stack's limit, alone or after an operand and operator, closed or not
    before, n = rng.choice([('(', 9990 + rng.randrange(9)), ('1+(', 3326 + rng.randrange(8)), ('7*(', 3330)])
    return before * n + (expression(rng) + ')' * n if rng.random() < 0.8 else '') + '\n'

# How an input ends, one row each: each row's text follows the input's complete lines.
ENDINGS = [
    lambda rng: '',
    lambda rng: expression(rng),                                          # last line without its LF
    lambda rng: expression(rng)[:rng.randrange(4)] + rng.choice('\x1a\0') + expression(rng) + '\n',  # the end
    lambda rng: expression(rng) + rng.choice(list(')( 1\n+.A\x01\x1b\x7f\x80\xc3\xff')) + '\n',  # '\n': an empty line
    lambda rng: expression(rng) + rng.choice(['/0', '/(1-1)', '/4294967296', '+' + INT_MIN + '/(0-1)', '-2147483648/(0-1)']) + '\n',
    lambda rng: rng.choice(['', '1+']) + '0' * rng.randrange(2) + '1' * rng.choice([16380, 16381]) + '\n',
    nested,                                                               # the last: long to model
]

def generated_input(seed, index):
    if index < 256:  # every byte between operands and before one: a token the model lacks shows here
        return b'7%c3\n%c2\n' % (index, index)
    rng = random.Random(f'{seed}:{index}')
    lines, endings = '', ENDINGS if rng.random() < 0.4 else ENDINGS[:-1]
    for _ in range(rng.randrange(60)):
        line = expression(rng) if rng.random() < 0.75 else rng.choice(HOT) + rng.choice('+-*/') + rng.choice(HOT)
        if not model(line.encode() + b'\n')[1]:
            lines += line + rng.choice(['\n', '\r\n', '\r\r\n'])
    return (lines + rng.choice(endings)(rng)).encode('latin-1')

def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument('command', nargs='+', help='the program, after the emulator it runs under')
    seed = int(os.environ.get('INTCALC_TEST_SEED') or random.randrange(10**6))
    for name, default in ('inputs', 2000), ('seed', seed), ('index', None), ('jobs', 2):
        ap.add_argument('--' + name, type=int, default=default)  # --index: run that input alone, and show it
    args, shown = ap.parse_args(), []
    def check(index):
        data = generated_input(args.seed, index)
        p = subprocess.run(args.command, input=data, capture_output=True, timeout=60)
        got, want = (p.stdout, p.stderr, p.returncode), model(data)
        if got != want and len(shown) < 5 or args.index is not None:
            shown.append(index)  # below: the first line whose outcome differs, and the outcomes from there
            start = os.path.commonprefix([got[0], want[0]]).rfind(b'\n') + 1
            n = got[0].count(b'\n', 0, start)
            line, got_, want_ = data.split(b'\n')[n], (got[0][start:], *got[1:]), (want[0][start:], *want[1:])
            print(f'input {index} of seed {args.seed}, line {n + 1}: {line!r:.300}\n  program: {got_!r:.300}\n'
                  f'  model:   {want_!r:.300}\n  replay:  {sys.argv[0]} --seed {args.seed} --index {index} -- '
                  + ' '.join(args.command), flush=True)
        return got == want
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        same = list(pool.map(check, range(args.inputs) if args.index is None else [args.index]))
    print(f'differential: {len(same)} inputs, {same.count(False)} differences, seed {args.seed}')
    return 0 if all(same) else 1

if __name__ == '__main__':
    sys.exit(main())
