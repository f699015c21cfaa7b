// Polynomials over the letters a-z with integer coefficients, as the result
// lines of jg.dat show them and as the exact factoriser gives them back:
// recorded as values while the engine writes a result line (ResultRecord),
// read back from its text for the checks that the two agree, compared,
// evaluated modulo a prime, tested cheaply for irreducibility, and written in
// the engine's own result format.
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

// ---- the result line -----------------------------------------------------
// The largest exponent a result line is read with.
inline constexpr int32_t kLargestReadExponent = 100000;

// One "=" segment of a result line: sign, content and common denominator,
// common monomial and the factors in parentheses.
struct ResultProduct {
  int64_t numerator = 1;    // with the sign of the segment
  int64_t denominator = 1;  // positive
  Exponents monomial{};
  std::vector<LetterPoly> factors;
  // The line does not hold this value in a form that can be read back: a
  // number written rounded (beyond the exact range, or not an integer), or a
  // letter outside a-z.
  bool unreadable = false;
  bool operator==(const ResultProduct& other) const = default;
};

// The result lines of jg.dat as values, recorded by the engine's writers as
// they write each piece: the certificate judges these, never the text read
// back. Which segment it judges follows the text's own rule (LastResultSegment
// below): the last segment of the last line that begins with "=" and holds a
// factor, the echo's line excepted.
class ResultRecord {
 public:
  // "=" and the common factor: a segment of the line being written begins.
  void OpenSegment(ResultProduct common);
  // A factor written into the segment open on this line.
  void AddFactor(LetterPoly factor);
  // A piece of the open segment written in a form that cannot be read back.
  void MarkUnreadable();
  // The line being written ends.
  void EndLine();
  // The segment the certificate judges; nullopt when no line holds a factor.
  std::optional<ResultProduct> Judged() const;
  // The last segment written, on whatever line: "=0" and a single term stand
  // on the echo's line, without a factor.
  const std::optional<ResultProduct>& Latest() const { return segment_; }

 private:
  // Whether the line being written can hold the result: it begins with "="
  // (a segment), or with a factor written before any segment.
  enum class LineStart { kNothingYet, kSegment, kFactor };

  std::optional<ResultProduct> segment_;   // the last segment opened
  bool segmentOnLine_ = false;             // it was opened on the line being written
  LineStart lineStart_ = LineStart::kNothingYet;  // what the line being written began with
  bool lineHasFactor_ = false;             // a factor was written into a segment of this line
  bool firstLine_ = true;                  // the line being written is the echo's
  std::optional<ResultProduct> lastLine_;  // the last segment of the last finished line that held a factor

  // The line being written is a result line of the text's rule.
  bool HoldsResult() const;
};

// The text's side, for the checks that what is printed is what was judged:
// one segment read back, and the segment that LastResultSegment picks.
std::optional<ResultProduct> ReadResultSegment(const std::string& segment);
// The last "=" segment of the last result line of a jg.dat text: the marks
// of a stopped search ("=....", "=...") and lines without "(" after it are
// passed over. Empty when there is none.
std::string LastResultSegment(const std::string& jg);

// ---- irreducibility without the factoriser -----------------------------
// True when p is irreducible over Q by a test that needs no factorisation:
// of degree 1 in a letter whose coefficient or whose rest is a nonzero
// constant; in one letter of degree 2 or 3 without a rational root; in two
// letters homogeneous of degree 2 or 3 with no rational root after setting
// the second letter to 1. False means "not known".
bool KnownIrreducible(const LetterPoly& p);

// ---- text --------------------------------------------------------------
// Whether the first term in the order of the letters of `order` is negative.
bool FirstTermNegative(const LetterPoly& p, const std::string& order);
LetterPoly Negated(const LetterPoly& p);

// In the input syntax, without blanks: x^2-4x+8, x^2y-3xy+1. Letters within a
// term in the order of `order` (letters not named there come last).
std::string InputText(const LetterPoly& p, const std::string& order);
// One factor as the engine writes it into jg.dat, parentheses included: the
// form of one variable ("(x^ 2 - 3x - 5)") when oneVariable is set, the form
// of several otherwise ("(x^ 2- xy+ y^ 2)"); terms ordered by the letters of
// `order` (the order in which the user wrote them).
std::string ResultFactorText(const LetterPoly& p, const std::string& order, bool oneVariable);

}  // namespace pfac::exact
