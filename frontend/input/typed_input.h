// What the user typed, turned into the engine's syntax before it is handed
// off: blanks dropped, full-width characters (as a Chinese input method types
// them) and the minus sign read as ASCII, a leading "+" dropped, "*" and "·"
// read as multiplication, superscript digits as exponents, and brackets and
// powers of brackets multiplied out exactly, in this process.
// A text that still cannot be read, or that passes the engine's limits, is
// refused with what is wrong and where, in the text as typed.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include <vector>

#include "engine/exact/expansion.h"

namespace pfac::frontend {

// The engine's limits on what it is handed.
inline constexpr int kMaxTerms = 30;
inline constexpr int kMaxVariables = 8;
inline constexpr int kMaxVariablesInTerm = 6;
inline constexpr int kMaxExponent = 32767;
// An exponent beyond this is refused outright: the exact factorisation of its
// polynomial is beyond what anyone waits for, and a result is read back with
// exponents up to format::kLargestReadExponent, which this is.
inline constexpr int kMaxTypedExponent = 100000;
inline constexpr char kMaxExactNumber[] = "16777216";
// Brackets inside brackets: deeper than any exercise, far from what the
// reader's recursion could not hold.
inline constexpr int kMaxBracketDepth = 100;
// Digits after a decimal point.
inline constexpr int kMaxDecimalPlaces = 1000;

// Why a typed text is refused, and which characters to mark.
struct Refusal {
  // "第 5 个字符 '*' 不能出现在这里 / character 5, '*', cannot stand here"
  std::string message;
  int position = -1;  // the first character to mark, counted from 0 in the text as typed; -1 for none
  int length = 0;     // the number of characters to mark
};

// What the student typed, as read: a sum of terms, each a product of factors,
// each factor a number, a letter or a bracket with its power, in the order
// typed: (x + 1)(x + y + z)² keeps its brackets and its power.
struct TypedTerm;
struct TypedFactor {
  enum class Kind { Number, Letter, Bracket } kind = Kind::Number;
  std::string numerator;         // Number: digits without leading zeros
  std::string denominator;       // Number: empty for an integer
  std::string decimal;           // Number: as written with its decimal point ("0.25"), empty for none
  char letter = 0;               // Letter: in lower case
  std::vector<TypedTerm> inner;  // Bracket: its terms
  int exponent = 1;
  int at = 0;   // where the factor begins in the typed text, in characters from 0
  int end = 0;  // the character after it
};
struct TypedTerm {
  bool negative = false;
  std::vector<TypedFactor> factors;
  int at = 0;   // the sign, or the first factor
  int end = 0;  // the character after it
};

struct ConvertedText {
  std::string text;                // the polynomial in the engine's syntax, once accepted
  std::optional<Refusal> refusal;  // set when the text is refused
  // The text is read, but passes one of the search's limits (the refusal
  // says which): the fields below are set all the same, and the exact
  // factoriser can take the value where the search cannot.
  bool beyondSearch = false;
  bool expanded = false;           // brackets or products were multiplied out
  // Once accepted: what was typed, as read, and beside it its value, the
  // polynomial that `text` writes (its terms in the same order, its exponents
  // in the order of `letters`, alphabetical).
  std::vector<TypedTerm> typed;
  format::RationalPolynomial value;
  std::string letters;

  bool Accepted() const { return !refusal.has_value(); }
};

// Multiplies out a polynomial.
class Expander {
 public:
  virtual ~Expander() = default;
  // The expanded polynomial; nullopt with the reason in *why when there is
  // none (kExpansionTooLarge, or a malformed program).
  virtual std::optional<format::RationalPolynomial> Expand(const exact::ExpansionProgram& program,
                                                          std::string* why) = 0;
};

// The exact arithmetic in this process (exact::ExpandExactly); none in a
// build without the exact factoriser, which then refuses brackets.
std::unique_ptr<Expander> ExactExpander();

// Said when nothing but blanks was typed.
inline constexpr char kNothingTyped[] = "没有输入多项式 / no polynomial was typed";

// Said when brackets or products must be multiplied out and there is no
// expander (a build without the exact factoriser).
inline constexpr char kNoExpander[] =
    "这个版本没有精确分解程序 pfac-exact, 不能展开括号和乘积 / "
    "this build has no exact factoriser (pfac-exact) to multiply out brackets and products";

// The typed text (UTF-8) in the engine's syntax, or why it is refused. The
// expander is asked only when the text has brackets, or a product that is
// not one term as the engine writes it (2*3x, x*x); without one such a text
// is refused with kNoExpander.
ConvertedText ConvertTypedText(std::string_view typed, Expander* expander);

}  // namespace pfac::frontend
