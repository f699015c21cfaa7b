// A result of the engine as one exact value: the polynomial entered (the echo
// of jg.dat's first line) and the factorisation presented (PresentedSegment),
// in one list of letters. The front end presents, prints and explains results
// from this value; it is read once, from the text of jg.dat or of a result
// kept in the history.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/result_format/polynomials.h"

namespace pfac::format {

struct ResultValue {
  // The letters of the polynomial and its factors, alphabetical; every
  // polynomial below has its exponents in this order.
  std::string letters;
  // The polynomial as entered: its terms in the order written, fractions as
  // written, like terms not merged ("x - x").
  RationalPolynomial entered;
  // Whether a factorisation was read; without one the fields below are empty.
  bool factored = false;
  // The sign and the rational content in front: "p" or "p/q"; "0" for the
  // result "=0".
  std::string content = "1";
  // The exponent of each letter in the monomial in front.
  std::vector<int32_t> monomial;
  // The factors in parentheses, in the order written, each as often as
  // written; their terms from the highest, integer coefficients.
  std::vector<RationalPolynomial> factors;
};

// The echo and the factorisation (a segment without its "="; empty for none)
// read into one value; nullopt when either is not in the engine's form (a
// number written rounded, a letter the engine does not write).
std::optional<ResultValue> ReadResultValue(std::string_view echo, std::string_view factorisation);

}  // namespace pfac::format
