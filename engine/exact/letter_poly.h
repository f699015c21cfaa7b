// Polynomials over the letters a-z with integer coefficients, as the result
// lines of jg.dat show them (engine/result_format reads and writes those
// lines) and as the exact factoriser gives them back: compared, evaluated
// modulo a prime, tested cheaply for irreducibility, and written in the input
// syntax.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/exact/exact_types.h"

namespace pfac::exact {

using Exponents = std::array<int32_t, 26>;  // the exponent of each letter a-z

// Terms from the highest to the lowest (lexicographic in a, b, ..., z);
// coefficients are decimal texts, never "0".
struct LetterPoly {
  std::map<Exponents, std::string, std::greater<Exponents>> terms;

  bool IsConstant() const;
  // The letters that occur, in alphabetical order.
  std::string Letters() const;
  // The polynomial with the sign that makes its first term positive.
  LetterPoly SignNormalised() const;
  // Divided by the greatest common divisor of its coefficients and sign
  // normalised; nullopt when a coefficient does not fit 64 bits.
  std::optional<LetterPoly> PrimitivePart() const;
  bool operator==(const LetterPoly& other) const { return terms == other.terms; }
  bool operator<(const LetterPoly& other) const { return terms < other.terms; }
};

// p over the letters named by letters[0 .. p.variables - 1].
LetterPoly FromExact(const Polynomial& p, const std::string& letters);

// ---- integers ----------------------------------------------------------
// The engine's number text of an integer of any size: a sign position (a
// blank or "-"), then the digits.
std::string SignedDigits(const std::string& decimal);
bool DecimalToInt64(const std::string& decimal, int64_t* value);
std::string NegatedDecimal(const std::string& decimal);

// ---- values modulo the prime 2^61 - 1 ----------------------------------
inline constexpr uint64_t kPrime = (uint64_t{1} << 61) - 1;
uint64_t ModPrime(const std::string& decimal);
uint64_t ModPrime(int64_t value);
uint64_t MulMod(uint64_t a, uint64_t b);
uint64_t PowMod(uint64_t base, uint64_t exponent);
// A fixed value for each letter, one table per round.
using Point = std::array<uint64_t, 26>;
Point EvaluationPoint(int round);
uint64_t Evaluate(const LetterPoly& p, const Point& at);
uint64_t EvaluateMonomial(const Exponents& m, const Point& at);

// ---- irreducibility without the factoriser -----------------------------
// True when p is irreducible over Q by a test that needs no factorisation:
// of degree 1 in a letter whose coefficient or whose rest is a nonzero
// constant; in one letter of degree 2 or 3 without a rational root; in two
// letters homogeneous of degree 2 or 3 with no rational root after setting
// the second letter to 1. False means "not known".
bool KnownIrreducible(const LetterPoly& p);

// ---- text --------------------------------------------------------------
// The letters of `order` first, then the others alphabetically.
std::string FullOrder(const std::string& order);
// The terms of p, highest first in the order of the letters of `order`.
std::vector<std::pair<Exponents, std::string>> OrderedTerms(const LetterPoly& p, const std::string& order);
// Whether the first term in the order of the letters of `order` is negative.
bool FirstTermNegative(const LetterPoly& p, const std::string& order);
LetterPoly Negated(const LetterPoly& p);

// In the input syntax, without blanks: x^2-4x+8, x^2y-3xy+1. Letters within a
// term in the order of `order` (letters not named there come last).
std::string InputText(const LetterPoly& p, const std::string& order);

}  // namespace pfac::exact
