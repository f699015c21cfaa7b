// Arithmetic on the polynomials over the letters a-z that a result line holds
// (format::LetterPoly) and that the exact factoriser gives back: made from
// the factoriser's values, evaluated modulo a prime, tested cheaply for
// irreducibility.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/exact/exact_types.h"
#include "engine/result_format/polynomials.h"

namespace pfac::exact {

// The values and texts of engine/result_format, as the exact factoriser uses them.
using format::DecimalToInt64;
using format::Exponents;
using format::FirstTermNegative;
using format::FullOrder;
using format::InputText;
using format::LetterPoly;
using format::Negated;
using format::NegatedDecimal;
using format::OrderedTerms;
using format::SignedDigits;

// p over the letters named by letters[0 .. p.variables - 1].
LetterPoly FromExact(const Polynomial& p, const std::string& letters);

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

}  // namespace pfac::exact
