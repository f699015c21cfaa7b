// What the user typed, turned into the engine's syntax before it is handed
// off: blanks dropped, full-width characters (as a Chinese input method types
// them) and the minus sign read as ASCII, a leading "+" dropped, "*" and "·"
// read as multiplication, superscript digits as exponents, and brackets and
// powers of brackets multiplied out exactly by the helper program pfac-exact.
// A text that still cannot be read, or that passes the engine's limits, is
// refused with what is wrong and where, in the text as typed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/exact/expansion.h"

namespace pfac::frontend {

// The engine's limits on what it is handed.
inline constexpr int kMaxTerms = 30;
inline constexpr int kMaxVariables = 8;
inline constexpr int kMaxVariablesInTerm = 6;
inline constexpr int kMaxExponent = 32767;
inline constexpr char kMaxExactNumber[] = "16777216";

// Why a typed text is refused, and which characters to mark.
struct Refusal {
  // "第 5 个字符 '*' 不能出现在这里 / character 5, '*', cannot stand here"
  std::string message;
  int position = -1;  // the first character to mark, counted from 0 in the text as typed; -1 for none
  int length = 0;     // the number of characters to mark
};

struct ConvertedText {
  std::string text;                // the polynomial in the engine's syntax, once accepted
  std::optional<Refusal> refusal;  // set when the text is refused
  bool expanded = false;           // brackets or products were multiplied out

  bool Accepted() const { return !refusal.has_value(); }
};

// Multiplies out a polynomial: the helper program, asked through an expansion
// request of its protocol.
class Expander {
 public:
  virtual ~Expander() = default;
  // The expanded polynomial; nullopt with the reason in *why when there is
  // none (the helper's error line, or why it gave no answer).
  virtual std::optional<exact::RationalPolynomial> Expand(const exact::ExpansionProgram& program,
                                                          std::string* why) = 0;
};

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
