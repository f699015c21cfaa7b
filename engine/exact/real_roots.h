// The real roots of a polynomial in one letter with rational coefficients,
// found exactly: counted and isolated with integer arithmetic, each refined
// to the double nearest to it, with its multiplicity and the label a student
// reads beside it on the graph of y = f(x); and the real roots of f' (the
// points where the graph turns). The header names no library type, so that
// the front end may include it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/exact/exact_types.h"

namespace pfac::exact {

// An exact form of a root known elsewhere ("√2", "1 - √2"): it replaces the
// label of the real root it matches.
struct RootLabel {
  double value = 0;
  std::string text;
};

struct LabelledRoot {
  double value = 0;      // within one unit of the last place of the root
  int multiplicity = 1;  // of the root in f
  bool rational = false; // a root of a linear factor, labelled exactly
  std::string label;     // "−2", "1/3", "1.414", or the text of a RootLabel
};

struct RealRootsFound {
  std::vector<LabelledRoot> roots;       // distinct, increasing
  std::vector<double> turningPoints; // the distinct real roots of f', increasing
  std::vector<double> coefficients;  // f's, the constant first, rounded to doubles for drawing
  int degree = 0;
};

// A label matches a root when they differ by at most this, relative to the
// larger of 1 and the root's size.
inline constexpr double kLabelMatch = 1e-9;

// The real roots of p (one variable, not constant); nullopt with the reason in
// *why for a polynomial in another number of letters, a constant, a malformed
// one, or a fault of the count (the roots isolated are not as many as the
// count of the real roots says). `labels` replace the labels of the roots they
// match.
std::optional<RealRootsFound> FindRealRoots(const RationalPolynomial& p, const std::vector<RootLabel>& labels,
                                       std::string* why);

// A number as the graph labels a root found without an exact form: three
// decimals, the minus sign a student writes: "−1.414"; beyond a million, or
// below a thousandth, three decimals times a power of ten: "1.000×10³⁰".
std::string DecimalLabel(double value);

// "×10" and the exponent in superscripts, as a class writes a power of ten:
// "×10³⁰", "×10⁻⁷". Inline, for the graph's ticks in a build without the
// exact arithmetic too.
inline std::string TimesPowerOfTen(int exponent) {
  static const char* const kSuperscripts[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
  std::string power = exponent < 0 ? "⁻" : "";
  for (char digit : std::to_string(exponent < 0 ? -exponent : exponent)) power += kSuperscripts[digit - '0'];
  return "×10" + power;
}

}  // namespace pfac::exact
