#include "engine/exact/letter_poly.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <numeric>

#include "engine/numbers.h"

namespace pfac::exact {

namespace {

using Wide = __int128;

int TotalDegree(const Exponents& m) { return std::accumulate(m.begin(), m.end(), 0); }

bool Negative(const std::string& decimal) { return !decimal.empty() && decimal[0] == '-'; }

// ---- rational roots ----------------------------------------------------

std::vector<int64_t> Divisors(int64_t n) {
  n = n < 0 ? -n : n;
  std::vector<int64_t> out;
  for (int64_t d = 1; d * d <= n; ++d) {
    if (n % d != 0) continue;
    out.push_back(d);
    if (d != n / d) out.push_back(n / d);
  }
  return out;
}

// coefficients[i] of x^i, degree 2 or 3, all of them small: true when some
// p/q with p dividing the constant and q the leading coefficient is a root.
bool HasRationalRoot(const std::vector<int64_t>& a) {
  const int d = static_cast<int>(a.size()) - 1;
  if (a[0] == 0) return true;
  for (int64_t p : Divisors(a[0])) {
    for (int64_t q : Divisors(a[d])) {
      for (int64_t s : {p, -p}) {
        // sum of a_i s^i q^(d-i), exact in 128 bits for coefficients below 2^24
        Wide sum = 0, sPower = 1;
        for (int i = 0; i <= d; ++i) {
          Wide qPower = 1;
          for (int j = 0; j < d - i; ++j) qPower *= q;
          sum += static_cast<Wide>(a[i]) * sPower * qPower;
          sPower *= s;
        }
        if (sum == 0) return true;
      }
    }
  }
  return false;
}

// The coefficients of p as a polynomial in the letter `letter` alone, when
// every term has exponents only in it (and, when `other` is a letter, in
// that letter with total degree `degree`); empty when p is not of that shape
// or a coefficient is not small.
std::vector<int64_t> DenseIn(const LetterPoly& p, int letter, int other, int degree) {
  int top = 0;
  for (const auto& [m, c] : p.terms) top = std::max(top, m[letter]);
  std::vector<int64_t> a(static_cast<size_t>(top) + 1, 0);
  for (const auto& [m, c] : p.terms) {
    for (int v = 0; v < 26; ++v) {
      if (v != letter && v != other && m[v] != 0) return {};
    }
    if (other >= 0 && m[letter] + m[other] != degree) return {};
    int64_t value = 0;
    if (!DecimalToInt64(c, &value) || value >= kExactLimit || value <= -kExactLimit) return {};
    a[m[letter]] = value;
  }
  return a;
}

bool LinearWithConstantPart(const LetterPoly& p, int letter) {
  LetterPoly withLetter, without;
  for (const auto& [m, c] : p.terms) {
    if (m[letter] > 1) return false;
    Exponents rest = m;
    rest[letter] = 0;
    (m[letter] == 1 ? withLetter : without).terms[rest] = c;
  }
  if (withLetter.terms.empty()) return false;
  return withLetter.IsConstant() || (!without.terms.empty() && without.IsConstant());
}

}  // namespace

LetterPoly FromExact(const Polynomial& p, const std::string& letters) {
  LetterPoly out;
  for (const Term& t : p.terms) {
    Exponents m{};
    for (int v = 0; v < p.variables && v < static_cast<int>(letters.size()); ++v) {
      m[letters[v] - 'a'] += t.exponents[v];
    }
    out.terms[m] = t.coefficient;
  }
  return out;
}

// ---- values modulo the prime -------------------------------------------

uint64_t MulMod(uint64_t a, uint64_t b) {
  unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  uint64_t low = static_cast<uint64_t>(product & kPrime);
  uint64_t high = static_cast<uint64_t>(product >> 61);
  uint64_t sum = low + high;
  return sum >= kPrime ? sum - kPrime : sum;
}

uint64_t PowMod(uint64_t base, uint64_t exponent) {
  uint64_t result = 1;
  while (exponent > 0) {
    if (exponent & 1) result = MulMod(result, base);
    base = MulMod(base, base);
    exponent >>= 1;
  }
  return result;
}

uint64_t ModPrime(const std::string& decimal) {
  uint64_t v = 0;
  for (size_t i = Negative(decimal) ? 1 : 0; i < decimal.size(); ++i) {
    v = MulMod(v, 10) + static_cast<uint64_t>(decimal[i] - '0');
    if (v >= kPrime) v -= kPrime;
  }
  return Negative(decimal) && v != 0 ? kPrime - v : v;
}

uint64_t ModPrime(int64_t value) {
  uint64_t magnitude = static_cast<uint64_t>(value < 0 ? -value : value) % kPrime;
  return value < 0 && magnitude != 0 ? kPrime - magnitude : magnitude;
}

Point EvaluationPoint(int round) {
  // A fixed sequence (splitmix64), so that every run checks alike.
  uint64_t state = 0x9E3779B97F4A7C15ull * static_cast<uint64_t>(round + 1);
  Point at{};
  for (uint64_t& value : at) {
    uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    z ^= z >> 31;
    value = z % (kPrime - 2) + 2;
  }
  return at;
}

uint64_t EvaluateMonomial(const Exponents& m, const Point& at) {
  uint64_t value = 1;
  for (int v = 0; v < 26; ++v) {
    if (m[v] != 0) value = MulMod(value, PowMod(at[v], static_cast<uint64_t>(m[v])));
  }
  return value;
}

uint64_t Evaluate(const LetterPoly& p, const Point& at) {
  uint64_t sum = 0;
  for (const auto& [m, c] : p.terms) {
    sum += MulMod(ModPrime(c), EvaluateMonomial(m, at));
    if (sum >= kPrime) sum -= kPrime;
  }
  return sum;
}

// ---- irreducibility ----------------------------------------------------

bool KnownIrreducible(const LetterPoly& p) {
  const std::string letters = p.Letters();
  if (letters.empty()) return false;
  for (char c : letters) {
    if (LinearWithConstantPart(p, c - 'a')) return true;
  }
  if (letters.size() == 1) {
    std::vector<int64_t> a = DenseIn(p, letters[0] - 'a', -1, 0);
    return (a.size() == 3 || a.size() == 4) && !HasRationalRoot(a);
  }
  if (letters.size() == 2) {
    const int degree = TotalDegree(p.terms.begin()->first);
    if (degree != 2 && degree != 3) return false;
    // Homogeneous: f(u, w) = w^d g(u / w) with g of full degree d.
    std::vector<int64_t> g = DenseIn(p, letters[0] - 'a', letters[1] - 'a', degree);
    return static_cast<int>(g.size()) == degree + 1 && !HasRationalRoot(g);
  }
  return false;
}

}  // namespace pfac::exact
