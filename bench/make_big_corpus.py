#!/usr/bin/env python3
"""Writes bench/big_corpus.txt: polynomials of high degree, up to the degree
limit 4000, of the kinds an algebra course shows and a factoriser meets: x^n - 1
and x^n + 1, x^n - y^n and x^n + y^n, the trinomials x^2n + x^n + 1 and
x^2n - x^n + 1, the irreducible trinomials x^n - x - 1, products of sparse
factors and powers of binomials. The exponents are fixed lists, spread over
the range, with no regard to which of them any tool finds hard. Every
polynomial has at most 30 terms and coefficients below 2^24, as pfac takes
them.

Each case is one line:  NAME|POLYNOMIAL
The benchmark bench/big.sh reads this file.

    python3 bench/make_big_corpus.py > bench/big_corpus.txt
"""
# Polynomials as {(x exponent, y exponent): coefficient}, multiplied and written
# as bench/make_hard_corpus.py does it for several variables.
from make_hard_corpus import multiply_several as multiply, text_several as text

MAX_TERMS = 30
MAX_COEFFICIENT = 1 << 24


def power(a, k):
    out = {(0, 0): 1}
    for _ in range(k):
        out = multiply(out, a)
    return out


def poly(*terms):
    """terms: (coefficient, x exponent[, y exponent])."""
    return {(t[1], t[2] if len(t) > 2 else 0): t[0] for t in terms}


def cases():
    for n in (60, 120, 210, 360, 512, 720, 1000, 1001, 1024, 1155, 1500, 2000, 2310, 2520, 2999, 3000, 3600,
              4000):
        yield f"x{n}-1", poly((1, n), (-1, 0))
    for n in (100, 210, 360, 512, 1000, 1155, 2000, 2310, 3000, 4000):
        yield f"x{n}+1", poly((1, n), (1, 0))
    for n in (12, 30, 60, 120, 180, 240, 360, 1000, 2000, 4000):
        yield f"x{n}-y{n}", poly((1, n, 0), (-1, 0, n))
    for n in (105, 1000):
        yield f"x{n}+y{n}", poly((1, n, 0), (1, 0, n))
    for n in (50, 100, 360, 500, 1000, 1500, 2000):
        yield f"x{2 * n}+x{n}+1", poly((1, 2 * n), (1, n), (1, 0))
    for n in (500, 1000):
        yield f"x{2 * n}-x{n}+1", poly((1, 2 * n), (-1, n), (1, 0))
    yield "x2000+x1000-1", poly((1, 2000), (1, 1000), (-1, 0))
    for n in (100, 250, 500, 1000, 2000, 3000, 4000):
        yield f"x{n}-x-1", poly((1, n), (-1, 1), (-1, 0))
    products = [
        [poly((1, 1000), (-1, 0)), poly((1, 999), (1, 1), (1, 0))],
        [poly((1, 500), (1, 1), (1, 0)), poly((1, 700), (-1, 3), (2, 0))],
        [poly((1, 300), (1, 0)), poly((1, 301), (-1, 1), (-1, 0)), poly((1, 2), (1, 1), (1, 0))],
        [poly((1, 1200), (-1, 0)), poly((1, 1201), (1, 600), (1, 0))],
        [poly((1, 2000), (-1, 1), (-1, 0)), poly((1, 2), (1, 0))],
        [poly((1, 1500), (2, 1), (3, 0)), poly((1, 1500), (-2, 1), (3, 0))],
        [poly((1, 777), (1, 7), (-1, 0)), poly((1, 1111), (1, 11), (1, 0))],
        [poly((1, 60, 0), (-1, 0, 60)), poly((1, 61, 0), (1, 30, 31), (-1, 0, 61))],
    ]
    for factors in products:
        p = {(0, 0): 1}
        for f in factors:
            p = multiply(p, f)
        yield "product-" + "-".join(str(max(e[0] + e[1] for e in f)) for f in factors), p
    for base, k in (((1, 100), 3), ((1, 500), 4), ((1, 150), 24), ((1, 1000), 2)):
        yield f"(x{base[1]}-1)^{k}", power(poly(base, (-1, 0)), k)
    for base, k in (((1, 100), 20), ((1, 1000), 3)):
        yield f"(x{base[1]}+1)^{k}", power(poly(base, (1, 0)), k)
    yield "(x1000-2)^2", power(poly((1, 1000), (-2, 0)), 2)
    yield "(x30-y30)^3", power(poly((1, 30, 0), (-1, 0, 30)), 3)


def main():
    print("# NAME|POLYNOMIAL, written by bench/make_big_corpus.py; read by bench/big.sh.")
    for name, p in cases():
        assert len(p) <= MAX_TERMS, name
        assert all(abs(c) < MAX_COEFFICIENT for c in p.values()), name
        print(f"{name}|{text(p)}")


if __name__ == "__main__":
    main()
