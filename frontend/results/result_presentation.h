// A result as a student writes it: the polynomial entered and its
// factorisation, the rational content first, the factors in a fixed order with
// their terms in descending order, equal factors under one exponent, a sign in
// front of the whole, and an irreducible polynomial said in words. The same
// presentation serves the result panel, "复制", "复制 LaTeX" and the printout.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "frontend/results/line_breaking.h"

namespace pfac::frontend {

// The words that say a polynomial is irreducible.
inline constexpr char kIrreducible[] = "在有理数域上不可约";
inline constexpr char kIrreducibleEnglish[] = "(irreducible over Q)";

struct Presentation {
  // What the student reads, with the places where it may break:
  // "x³ - 6x² + 4x + 15 = (x - 3)(x² - 3x - 5)".
  Breakable shown;
  // "复制": "x^3-6x^2+4x+15 = (x-3)(x^2-3x-5)"; empty without a factorisation.
  std::string plain;
  // "复制 LaTeX": "x^{3}-6x^{2}+4x+15=(x-3)(x^{2}-3x-5)"; empty without a
  // factorisation.
  std::string latex;
};

// The polynomial entered (the echo of jg.dat's first line) and the
// factorisation the run gave (a result line after its last "=", in the
// engine's form; empty when there is none). Only a factorisation known to be
// complete says "irreducible". A text that is not in the engine's form is
// shown as it stands, its blanks tidied.
Presentation Present(std::string_view polynomial, std::string_view factorisation, bool complete);

// The engine's forms read as values, for what else is made of a result (the
// steps of its factorisation).
namespace engine_form {

// One term: a sign, a coefficient and the powers of its letters. The engine
// writes only lower-case letters.
struct Term {
  bool negative = false;
  std::string numerator = "1";  // the coefficient's digits
  std::string denominator;      // its denominator's digits; empty for an integer
  std::vector<std::pair<char, int>> powers;  // letter and exponent, in the order written

  bool UnitCoefficient() const { return numerator == "1" && denominator.empty(); }
  std::array<int, 26> Exponents() const {
    std::array<int, 26> exponents{};
    for (const auto& [letter, exponent] : powers) exponents[letter - 'a'] += exponent;
    return exponents;
  }
  int Degree() const {
    int degree = 0;
    for (const auto& power : powers) degree += power.second;
    return degree;
  }
  bool operator==(const Term& other) const {
    return negative == other.negative && numerator == other.numerator && denominator == other.denominator &&
           powers == other.powers;
  }
};

using Sum = std::vector<Term>;

struct Factor {
  Sum terms;
  int multiplicity = 1;
};

// A factorisation: a sign, the rational content, a monomial, and factors.
struct Product {
  Term front;  // sign, content and monomial
  std::vector<Factor> factors;
};

// " x^ 3 - 6x^ 2 + 4x + 15"; false when the text is not in the engine's form.
bool ReadSum(std::string_view text, Sum* sum);
// "- 1/ 2xy(x - 1)(x + 1)^ 2", " 4x^ 3", "0"; false when the text is not in
// the engine's form.
bool ReadProduct(std::string_view text, Product* product);
// Each term as a student writes it, with the sign that joins it to the one
// before: "x²", " - 6x", " + 15".
std::vector<std::string> StudentTerms(const Sum& sum);
// An exponent as a student writes it: "²", "¹²"; nothing for 1.
std::string StudentPower(int exponent);

}  // namespace engine_form

// A polynomial or product in the engine's file form (" 2x^ 2 - 3x + 4",
// "(x - 1)^ 2") written as it stands, as a student writes it: "2x² - 3x + 4",
// "(x - 1)²".
std::string StudentForm(std::string_view engineText);
// The same as plain text without blanks: "2x^2-3x+4", "(x-1)^2".
std::string PlainForm(std::string_view engineText);

}  // namespace pfac::frontend
