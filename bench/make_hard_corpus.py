#!/usr/bin/env python3
"""Writes bench/hard_corpus.txt: products of two to four random irreducible
factors in x with small integer coefficients, of degree 16 to 40, whose coefficients stay
within about 50 in magnitude and which have at most 30 terms, as pfac takes
them (so the factors are sparse); then products of two or three factors in
three and four variables with 12 to 30 terms. The seed is fixed, so the same
file comes out on every machine.

Each case is one line:  NAME|POLYNOMIAL|FACTORS
where FACTORS is the number of irreducible factors over the rationals, counted
with multiplicity, as gp finds them (gp must be installed: bench/peers.sh
installs it). The benchmark bench/hard.sh reads this file.

    python3 bench/make_hard_corpus.py > bench/hard_corpus.txt
"""
import random
import subprocess

SEED = 20261207
MAX_COEFFICIENT = 50
MAX_TERMS = 30


def multiply(a, b):
    out = [0] * (len(a) + len(b) - 1)
    for i, x in enumerate(a):
        for j, y in enumerate(b):
            out[i + j] += x * y
    return out


def text(c, sep=""):
    """c[i] is the coefficient of x^i; pfac's syntax, or gp's with sep="*"."""
    terms = []
    for i in range(len(c) - 1, -1, -1):
        v = c[i]
        if v == 0:
            continue
        sign = "-" if v < 0 else "+"
        a = abs(v)
        coefficient = "" if a == 1 and i > 0 else str(a)
        monomial = "" if i == 0 else ("x" if i == 1 else "x^%d" % i)
        join = sep if coefficient and monomial else ""
        terms.append(sign + coefficient + join + monomial)
    return "".join(terms).lstrip("+")


def is_irreducible(c):
    out = subprocess.run(["gp", "-q", "-f"], input="print(polisirreducible(%s))" % text(c, "*"),
                         capture_output=True, text=True)
    return out.stdout.strip() == "1"


def irreducible_factors(c):
    script = "f=factor(%s); print(vecsum(f[,2]))" % text(c, "*")
    out = subprocess.run(["gp", "-q", "-f"], input=script, capture_output=True, text=True)
    return int(out.stdout.strip())


def random_factor(rng, degree, size, sparse):
    """Lead 1 or 2 and a nonzero constant; the inner coefficients within size,
    about two in three of them zero when the factor is sparse."""
    def inner():
        if sparse and rng.random() < 0.65:
            return 0
        return rng.randint(-size, size)
    f = [rng.choice([-1, 1]) * rng.randint(1, size)]
    f += [inner() for _ in range(degree - 1)]
    return f + [rng.choice([1, 1, 1, 2])]


LETTERS = "xyzw"


def multiply_several(a, b):
    """Polynomials in several variables as {exponent tuple: coefficient}."""
    out = {}
    for ma, ca in a.items():
        for mb, cb in b.items():
            m = tuple(x + y for x, y in zip(ma, mb))
            out[m] = out.get(m, 0) + ca * cb
    return {m: c for m, c in out.items() if c != 0}


def text_several(p, sep=""):
    """Highest total degree first; pfac's syntax, or gp's with sep="*"."""
    terms = []
    for m in sorted(p, key=lambda m: (-sum(m), [-e for e in m])):
        v = p[m]
        a = abs(v)
        factors = [LETTERS[i] + ("^%d" % e if e > 1 else "") for i, e in enumerate(m) if e > 0]
        coefficient = "" if a == 1 and factors else str(a)
        pieces = ([coefficient] if coefficient else []) + factors
        terms.append(("-" if v < 0 else "+") + sep.join(pieces))
    return "".join(terms).lstrip("+")


def factors_several(p):
    script = "f=factor(%s); print(vecsum(f[,2]))" % text_several(p, "*")
    out = subprocess.run(["gp", "-q", "-f"], input=script, capture_output=True, text=True)
    # gp declines some products in four variables; they are not taken.
    return int(out.stdout.strip()) if out.stdout.strip().isdigit() else -1


def random_factor_several(rng, variables, terms):
    """terms monomials with exponents 0 to 2, coefficients up to 5; a constant term
    now and then, so that no monomial divides the whole."""
    p = {}
    while len(p) < terms:
        m = tuple(rng.randint(0, 2) for _ in range(variables))
        p[m] = rng.choice([-1, 1]) * rng.randint(1, 5)
    return p


def several_variables(first):
    rng = random.Random(SEED + 1)
    made = first
    for variables in (3, 3, 3, 4, 4, 4):
        count = 2 + made % 2
        while True:
            factors = [random_factor_several(rng, variables, rng.randint(2, 4)) for _ in range(count)]
            product = {tuple([0] * variables): 1}
            for f in factors:
                product = multiply_several(product, f)
            if not 12 <= len(product) <= MAX_TERMS or max(abs(c) for c in product.values()) > MAX_COEFFICIENT:
                continue
            # Every variable occurs, and no monomial divides the whole product.
            if any(all(m[i] == 0 for m in product) or all(m[i] > 0 for m in product) for i in range(variables)):
                continue
            found = factors_several(product)
            if found == count:
                break
        name = "hard-%02d-%d-variables-%d-terms" % (made, variables, len(product))
        print("%s|%s|%d" % (name, text_several(product), found))
        made += 1


def main():
    rng = random.Random(SEED)
    print("# NAME|POLYNOMIAL|IRREDUCIBLE FACTORS (with multiplicity), written by")
    print("# bench/make_hard_corpus.py with the seed %d; read by bench/hard.sh." % SEED)
    # (degree, factors, coefficient size of the factors, sparse): dense
    # factors up to degree 29 (a product of degree 29 has at most 30 terms),
    # sparse ones from degree 30 to 40; the more factors, the smaller their
    # coefficients, so that the product stays within the bound. The last group
    # has two dense factors with coefficients up to 5, which puts some of them
    # beyond the search's coefficient bound.
    targets = []
    for made, (degree, sparse) in enumerate([(d, False) for d in (16, 18, 20, 22, 24, 26, 28, 29)] +
                                            [(d, True) for d in (30, 31, 32, 34, 35, 37, 38, 40)]):
        count = 2 + (made + 1) % 3
        targets.append((degree, count, 3 if count == 2 else 2, sparse))
    targets += [(d, 2, 5, False) for d in (16, 18, 20, 22, 24, 28)]
    for made, (target, count, size, sparse) in enumerate(targets, start=1):
        degrees = [target // count] * count
        degrees[-1] += target - sum(degrees)
        while True:
            factors = [random_factor(rng, d, size, sparse) for d in degrees]
            product = [1]
            for f in factors:
                product = multiply(product, f)
            if max(abs(v) for v in product) > MAX_COEFFICIENT:
                continue
            if sum(1 for v in product if v != 0) > MAX_TERMS:
                continue
            if all(is_irreducible(f) for f in factors):
                break
        kind = "sparse" if sparse else ("dense" if size < 5 else "wide")
        name = "hard-%02d-degree-%d-%s" % (made, target, kind)
        print("%s|%s|%d" % (name, text(product), irreducible_factors(product)))
    several_variables(len(targets) + 1)


if __name__ == "__main__":
    main()
