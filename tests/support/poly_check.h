// Exact polynomial arithmetic for tests: polynomials in the letters a-z with
// integer coefficients (128-bit), read from the input syntax and from the
// result line of jg.dat, so that a test can multiply a reported factorisation
// back and compare it with the polynomial that was entered.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>

#include "engine/result_format/result_line.h"

namespace pfac::testing {

using Monomial = std::array<int, 26>;  // exponent of each letter a-z
using Integer = __int128;

struct Poly {
  std::map<Monomial, Integer> terms;  // no zero coefficients

  static Poly Constant(Integer c);
  static Poly Variable(char letter, int exponent = 1);
  Poly operator*(const Poly& other) const;
  Poly operator+(const Poly& other) const;
  Poly Scaled(Integer c) const;
  bool operator==(const Poly& other) const { return terms == other.terms; }
  bool IsZero() const { return terms.empty(); }
  // In the input syntax (x^2y-3x+1), letters in a-z order within a term.
  std::string Text() const;
};

// A polynomial with rational coefficients as numerator polynomial / denominator.
struct Rational {
  Poly numerator;
  Integer denominator = 1;
};

// Reads a polynomial in the engine's input syntax (upper case letters are the
// lower case ones); nullopt on anything it does not understand.
std::optional<Rational> ParseInput(const std::string& text);

// Reads one "=" segment of a result line of jg.dat ("=", sign, content,
// monomial factor and the factors in parentheses) into the product it stands
// for.
std::optional<Rational> ParseResultLine(const std::string& line);

// Whether every "=" segment of a result line (a line may hold the polynomial
// and its factors one after the other) equals the polynomial; on failure the
// reason is in *why.
bool LineEquals(const std::string& line, const Rational& polynomial, std::string* why);

// The last line of jg.dat that holds the search's result (not the "=...."
// and "=..." marks, nor the lines that the exact factoriser adds at the end),
// whether a mark of a stopped search stands after it, and the certificate.
struct FinalLine {
  std::string line;
  bool stopped = false;   // "=...."
  bool lateMode = false;  // "=..."
  std::string certificate;   // the line beginning with "验证" or "内部错误", if any
  std::string completeLine;  // the result line after a "not complete" certificate
};
std::optional<FinalLine> LastResultLine(const std::string& jg);

// Whether the result that the engine judged (its writers' values, from
// ResultRecord::Judged) is what jg.dat holds: the result line that the text
// gives before the lines that follow the result, read back. The check that
// what is printed is what was judged; on failure the reason is in *why.
bool JudgedIsPrinted(const std::optional<format::ResultProduct>& judged, const std::string& jg, std::string* why);

// Whether two rational polynomials are equal.
bool SameValue(const Rational& a, const Rational& b);

std::string ToString(Integer v);

}  // namespace pfac::testing
