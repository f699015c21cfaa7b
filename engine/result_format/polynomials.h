// The polynomials that a result holds, as plain values: over the letters a-z
// with integer coefficients, as the factors of a result line stand (LetterPoly),
// and over a list of letters with rational coefficients, as a result is
// presented and explained (RationalPolynomial); the decimal texts of their
// coefficients, and their text in the input syntax.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pfac::format {

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

// ---- integers ----------------------------------------------------------
// The engine's number text of an integer of any size: a sign position (a
// blank or "-"), then the digits.
std::string SignedDigits(const std::string& decimal);
bool DecimalToInt64(const std::string& decimal, int64_t* value);
std::string NegatedDecimal(const std::string& decimal);

// ---- rational polynomials -------------------------------------------------
struct RationalTerm {
  // "p" or "p/q": p with its sign and never 0, q above 1, in lowest terms
  // (a polynomial as entered keeps its fractions as the user wrote them).
  std::string coefficient;
  std::vector<int32_t> exponents;  // one per variable
};

struct RationalPolynomial {
  int variables = 0;
  std::vector<RationalTerm> terms;  // none for the zero polynomial
};

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
// In the input syntax over `letters`, "3/4x^2y-x+1", or with `times` between a
// number and a letter and between letters, "3/4*x^2*y-x+1" (which other
// algebra programs read back); "0" for the zero polynomial.
std::string InputText(const RationalPolynomial& p, const std::string& letters, const std::string& times = "");

}  // namespace pfac::format
