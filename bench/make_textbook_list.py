#!/usr/bin/env python3
"""Writes bench/textbook_list.txt: 1,000 textbook polynomials for the filter's
benchmark, one a line as a student types them (expanded, in pfac's syntax):
products of two to four factors of the kinds an algebra course factors
(ax + b, ax + by, x^2 + bx + c, x^2 + y^2, a sum or difference of cubes, a
square), in one to three variables, a rational content now and then, and
some irreducible ones. Fixed seed: the list is the same on every run.

    python3 bench/make_textbook_list.py > bench/textbook_list.txt
"""
import random
from fractions import Fraction

# Polynomials as {(x, y, z exponents): coefficient}, multiplied as
# bench/make_hard_corpus.py does it.
from make_hard_corpus import multiply_several as multiply

LETTERS = "xyz"


def mono(c, x=0, y=0, z=0):
    return {(x, y, z): Fraction(c)}


def add(*polys):
    out = {}
    for p in polys:
        for e, c in p.items():
            out[e] = out.get(e, 0) + c
    return {e: c for e, c in out.items() if c != 0}


def small(rng, zero=False):
    while True:
        v = rng.randint(-9, 9)
        if v != 0 or zero:
            return v


def factor(rng, letters):
    a, b = letters[0], letters[-1]
    ea = tuple(1 if l == a else 0 for l in LETTERS)
    eb = tuple(1 if l == b else 0 for l in LETTERS)
    kind = rng.randrange(6)
    if kind == 0:  # ax + c
        return add({ea: Fraction(rng.randint(1, 5))}, mono(small(rng)))
    if kind == 1 and a != b:  # ax + by
        return add({ea: Fraction(rng.randint(1, 5))}, {eb: Fraction(small(rng))})
    if kind == 2:  # x^2 + px + q
        return add({tuple(2 * i for i in ea): Fraction(1)}, {ea: Fraction(small(rng, True))}, mono(small(rng)))
    if kind == 3 and a != b:  # x^2 + y^2 style, or x^2 + xy + y^2
        mid = {tuple(i + j for i, j in zip(ea, eb)): Fraction(rng.choice([0, 1, -1]))}
        return add({tuple(2 * i for i in ea): Fraction(1)}, mid, {tuple(2 * i for i in eb): Fraction(rng.randint(1, 4))})
    if kind == 4:  # x^2 - x + 1, x^2 + x + 1 (from sums and differences of cubes)
        return add({tuple(2 * i for i in ea): Fraction(1)}, {ea: Fraction(rng.choice([1, -1]))}, mono(1))
    return add({ea: Fraction(1)}, mono(small(rng)))  # x + c


def text(p):
    terms = sorted(p.items(), key=lambda t: (-sum(t[0]), tuple(-i for i in t[0])))
    out = ""
    for e, c in terms:
        sign = "-" if c < 0 else ("+" if out else "")
        c = abs(c)
        mono_text = "".join(l + ("^%d" % k if k > 1 else "") for l, k in zip(LETTERS, e) if k > 0)
        num = str(c.numerator) + ("/%d" % c.denominator if c.denominator != 1 else "")
        out += sign + (num if num != "1" or not mono_text else "") + mono_text
    return out


def main():
    rng = random.Random(20261209)
    seen = set()
    lines = []
    while len(lines) < 1000:
        variables = rng.choice([1, 1, 2, 2, 3])
        letters = LETTERS[:variables]
        p = mono(rng.choice([1, 1, 1, 2, 3, -1, Fraction(1, 2), Fraction(2, 3)]))
        for _ in range(rng.randint(2, 4)):
            chosen = rng.sample(letters, min(2, variables))
            p = multiply(p, factor(rng, chosen))
        t = text(p)
        if len(p) < 2 or t in seen or len(p) > 30:
            continue
        seen.add(t)
        lines.append(t)
    print("\n".join(lines))


if __name__ == "__main__":
    main()
