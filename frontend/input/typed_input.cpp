#include "frontend/input/typed_input.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <set>
#include <utility>
#include <vector>

namespace pfac::frontend {

namespace {

// ---- characters --------------------------------------------------------

// One character of the typed text: the code point and where it stands.
struct Typed {
  char32_t code;
  int at;  // counted from 0, in characters
};

std::vector<Typed> Decode(std::string_view text) {
  std::vector<Typed> out;
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    int length = byte < 0x80 ? 1 : (byte >> 5) == 0x6 ? 2 : (byte >> 4) == 0xE ? 3 : (byte >> 3) == 0x1E ? 4 : 0;
    char32_t code = length == 1 ? byte : length == 2 ? byte & 0x1F : length == 3 ? byte & 0x0F : byte & 0x07;
    bool good = length > 0 && i + length <= text.size();
    for (int k = 1; good && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      good = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    if (!good) {
      code = 0xFFFD;
      length = 1;
      // The bytes of a broken character count as one character each.
    }
    out.push_back({code, static_cast<int>(out.size())});
    i += static_cast<size_t>(length);
  }
  return out;
}

std::string Encode(char32_t code) {
  std::string out;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
  return out;
}

// The digit of a superscript digit, or -1.
int SuperscriptDigit(char32_t code) {
  switch (code) {
    case 0x2070: return 0;
    case 0x00B9: return 1;
    case 0x00B2: return 2;
    case 0x00B3: return 3;
    default: return code >= 0x2074 && code <= 0x2079 ? static_cast<int>(code - 0x2070) : -1;
  }
}

// The ASCII character a typed character stands for: full-width forms (as a
// Chinese input method types them) and the typographic signs read as the
// characters the engine knows. Others stay as they are.
char32_t AsAscii(char32_t code) {
  if (code >= 0xFF01 && code <= 0xFF5E) return code - 0xFEE0;  // full-width ASCII
  switch (code) {
    case 0x3000:  // ideographic space
    case 0x00A0:  // no-break space
    case U'\t': return U' ';
    case 0x2212:  // minus sign
    case 0x2013: return U'-';  // en dash
    case 0x00B7:  // middle dot
    case 0x22C5:  // dot operator
    case 0x00D7: return U'*';  // multiplication sign
    default: return code;
  }
}

// ---- tokens ------------------------------------------------------------

enum class Tok { Number, Letter, Plus, Minus, Times, Slash, Power, Open, Close, Other, End };

struct Token {
  Tok kind = Tok::End;
  std::string digits;  // a number's digits (before a decimal point); a letter in lower case
  bool decimal = false;   // a number written with a decimal point
  std::string fraction;   // its digits after the point
  int at = 0;          // the first typed character
  int length = 0;      // typed characters
  bool blankBefore = false;
  std::string shown;   // the first typed character, as typed
};

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

std::vector<Token> Tokenise(const std::vector<Typed>& typed) {
  std::vector<Token> tokens;
  bool blank = false;
  for (size_t i = 0; i < typed.size();) {
    const char32_t c = AsAscii(typed[i].code);
    Token token;
    token.at = typed[i].at;
    token.length = 1;
    token.blankBefore = blank;
    token.shown = Encode(typed[i].code);
    blank = false;
    if (c == U' ') {
      blank = true;
      ++i;
      continue;
    }
    if (SuperscriptDigit(typed[i].code) >= 0) {
      // x² is x^2: a power marker, then the digits.
      token.kind = Tok::Power;
      token.length = 0;
      tokens.push_back(token);
      token.kind = Tok::Number;
      token.blankBefore = false;
      token.length = 0;
      while (i < typed.size() && SuperscriptDigit(typed[i].code) >= 0) {
        token.digits += static_cast<char>('0' + SuperscriptDigit(typed[i].code));
        ++token.length;
        ++i;
      }
      tokens.push_back(token);
      continue;
    }
    ++i;
    const auto digitAt = [&typed](size_t k) { return k < typed.size() && IsDigit(AsAscii(typed[k].code)); };
    if (IsDigit(c) || (c == U'.' && digitAt(i))) {
      // 12, 0.25, .5: a decimal point counts only with a digit after it.
      token.kind = Tok::Number;
      token.length = 0;
      size_t k = i - 1;
      for (; digitAt(k); ++k, ++token.length) token.digits += static_cast<char>(AsAscii(typed[k].code));
      if (token.digits.empty()) token.digits = "0";
      if (k + 1 < typed.size() && AsAscii(typed[k].code) == U'.' && digitAt(k + 1)) {
        token.decimal = true;
        for (++k, ++token.length; digitAt(k); ++k, ++token.length) {
          token.fraction += static_cast<char>(AsAscii(typed[k].code));
        }
      }
      i = k;
    } else if (IsLetter(c)) {
      token.kind = Tok::Letter;
      token.digits = static_cast<char>(c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c);
    } else {
      switch (c) {
        case U'+': token.kind = Tok::Plus; break;
        case U'-': token.kind = Tok::Minus; break;
        case U'*': token.kind = Tok::Times; break;
        case U'/': token.kind = Tok::Slash; break;
        case U'^':
        case U'\'': token.kind = Tok::Power; break;
        case U'(': token.kind = Tok::Open; break;
        case U')': token.kind = Tok::Close; break;
        default: token.kind = Tok::Other; break;
      }
    }
    tokens.push_back(token);
  }
  Token end;
  end.at = typed.empty() ? 0 : typed.back().at + 1;
  tokens.push_back(end);
  return tokens;
}

// ---- numbers as digit texts ------------------------------------------------

std::string WithoutLeadingZeros(const std::string& digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

// A digit text divided by a small number: the quotient without leading
// zeros, or nullopt when the division leaves a remainder.
std::optional<std::string> DividedExactly(const std::string& digits, int by) {
  std::string quotient;
  int remainder = 0;
  for (const char d : digits) {
    remainder = remainder * 10 + (d - '0');
    if (!quotient.empty() || remainder >= by) quotient += static_cast<char>('0' + remainder / by);
    remainder %= by;
  }
  if (remainder != 0) return std::nullopt;
  return quotient.empty() ? "0" : quotient;
}

// A decimal as a fraction in lowest terms: 0.25 is 1/4, 1.5 is 3/2, 2.0 is 2
// (an empty denominator). The denominator divides a power of ten, so only the
// factors 2 and 5 can be shared.
void DecimalAsFraction(const std::string& whole, std::string fraction, std::string* numerator,
                       std::string* denominator) {
  while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
  *numerator = WithoutLeadingZeros(whole + fraction);
  int twos = static_cast<int>(fraction.size());
  int fives = twos;
  for (std::optional<std::string> q; twos > 0 && (q = DividedExactly(*numerator, 2)); --twos) *numerator = *q;
  for (std::optional<std::string> q; fives > 0 && (q = DividedExactly(*numerator, 5)); --fives) *numerator = *q;
  // 2^twos 5^fives, from 10^places divided by what was taken out.
  const int places = static_cast<int>(fraction.size());
  std::string d = "1" + std::string(static_cast<size_t>(places), '0');
  for (int k = twos; k < places; ++k) d = *DividedExactly(d, 2);
  for (int k = fives; k < places; ++k) d = *DividedExactly(d, 5);
  *denominator = d == "1" ? "" : d;
}

// Compares two digit texts without leading zeros by value.
bool Exceeds(const std::string& digits, std::string_view limit) {
  return digits.size() != limit.size() ? digits.size() > limit.size() : digits > limit;
}

// A number as a message shows it: long ones cut short.
std::string Shown(const std::string& digits) {
  return digits.size() <= 20 ? digits : digits.substr(0, 12) + "…(" + std::to_string(digits.size()) + " 位 digits)";
}

// ---- messages ----------------------------------------------------------------

std::string Nth(int at) { return std::to_string(at + 1); }

bool IsDecimalPoint(const Token& t) { return t.shown == "." || t.shown == "．"; }

Refusal CannotStandHere(const Token& t) {
  if (IsDecimalPoint(t)) {
    return {"第 " + Nth(t.at) + " 个字符 '" + t.shown + "': 小数点后面缺少数字 / character " + Nth(t.at) + ", '" +
                t.shown + "': a decimal point needs a digit after it",
            t.at, 1};
  }
  return {"第 " + Nth(t.at) + " 个字符 '" + t.shown + "' 不能出现在这里 / character " + Nth(t.at) + ", '" + t.shown +
              "', cannot stand here",
          t.at, 1};
}

Refusal EndsAfter(const Token& t) {
  return {"第 " + Nth(t.at) + " 个字符 '" + t.shown + "' 后面还缺少内容 / something is missing after character " +
              Nth(t.at) + ", '" + t.shown + "'",
          t.at, 1};
}

Refusal Unclosed(const Token& open) {
  return {"第 " + Nth(open.at) + " 个字符 '" + open.shown + "' 没有对应的 ')' / character " + Nth(open.at) + ", '" +
              open.shown + "', has no matching ')'",
          open.at, 1};
}

Refusal NestedTooDeep(const Token& open) {
  const std::string limit = std::to_string(kMaxBracketDepth);
  return {"第 " + Nth(open.at) + " 个字符 '" + open.shown + "': 括号嵌套超过 " + limit + " 层 / character " +
              Nth(open.at) + ", '" + open.shown + "': brackets are nested more than " + limit + " deep",
          open.at, 1};
}

Refusal Unopened(const Token& close) {
  return {"第 " + Nth(close.at) + " 个字符 '" + close.shown + "' 没有对应的 '(' / character " + Nth(close.at) +
              ", '" + close.shown + "', has no matching '('",
          close.at, 1};
}

Refusal ExponentNeeded(const Token& t) {
  return {"第 " + Nth(t.at) + " 个字符 '" + t.shown + "': 指数必须是正整数 / character " + Nth(t.at) + ", '" + t.shown +
              "': an exponent must be a whole number from 1 up",
          t.at, std::max(t.length, 1)};
}

// A number as typed: "12", "0.25".
std::string NumberTyped(const Token& t) { return t.decimal ? t.digits + "." + t.fraction : t.digits; }

Refusal DecimalExponent(const Token& t) {
  const std::string number = Shown(NumberTyped(t));
  return {"第 " + Nth(t.at) + " 个字符起的指数 " + number + " 不是正整数 / the exponent " + number + " at character " +
              Nth(t.at) + " is not a whole number",
          t.at, t.length};
}

Refusal TooManyPlaces(const Token& t) {
  const std::string limit = std::to_string(kMaxDecimalPlaces);
  return {"第 " + Nth(t.at) + " 个字符起的小数的小数位多于 " + limit + " 位 / the decimal at character " + Nth(t.at) +
              " has more than " + limit + " digits after the point",
          t.at, t.length};
}

Refusal DecimalInFraction(const Token& t) {
  const std::string number = Shown(NumberTyped(t));
  return {"第 " + Nth(t.at) + " 个字符起的小数 " + number + " 不能写在分数中 / the decimal " + number +
              " at character " + Nth(t.at) + " cannot stand in a fraction",
          t.at, t.length};
}

Refusal ExponentBeyondReach(const Token& t) {
  const std::string limit = std::to_string(kMaxTypedExponent);
  return {"第 " + Nth(t.at) + " 个字符起的指数 " + Shown(t.digits) + " 超过 " + limit + ", 太大无法计算 / the exponent " +
              Shown(t.digits) + " at character " + Nth(t.at) + " exceeds " + limit + ", too large to compute",
          t.at, t.length};
}

Refusal ExponentTooLarge(const Token& t) {
  return {"第 " + Nth(t.at) + " 个字符起的指数 " + Shown(t.digits) + " 超过 32767 / the exponent " + Shown(t.digits) +
              " at character " + Nth(t.at) + " exceeds 32767",
          t.at, t.length};
}

Refusal ZeroNumber(const Token& t, bool denominator) {
  if (denominator) {
    return {"第 " + Nth(t.at) + " 个字符 '" + t.shown + "': 分母不能为 0 / character " + Nth(t.at) + ", '" + t.shown +
                "': a denominator cannot be 0",
            t.at, t.length};
  }
  return {"第 " + Nth(t.at) + " 个字符 '" + t.shown + "': 系数不能为 0 / character " + Nth(t.at) + ", '" + t.shown +
              "': a coefficient cannot be 0",
          t.at, t.length};
}

Refusal NumberTooLarge(const std::string& digits, int at, int length) {
  const std::string where = at >= 0 ? "第 " + Nth(at) + " 个字符起的" : "展开后的";
  const std::string whereEnglish = at >= 0 ? " at character " + Nth(at) : " of the expansion";
  return {where + "系数 " + Shown(digits) + " 超过 16777216 / the coefficient " + Shown(digits) + whereEnglish +
              " exceeds 16777216",
          at, length};
}

// ---- the text read -------------------------------------------------------------

class Reader {
 public:
  explicit Reader(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  // The whole text as a sum; false, with the refusal, when it cannot be read.
  bool ReadAll(std::vector<TypedTerm>* sum) {
    if (!ReadSum(sum, true)) return false;
    if (Peek().kind == Tok::Close) return Fail(Unopened(Peek()));
    if (Peek().kind != Tok::End) return Fail(CannotStandHere(Peek()));
    return true;
  }

  const Refusal& Why() const { return why_; }
  // The first of the search's limits that the text passes, once read.
  const std::optional<Refusal>& Limit() const { return limit_; }

 private:
  const Token& Peek() const { return tokens_[next_]; }
  const Token& Take() { return tokens_[next_ < tokens_.size() - 1 ? next_++ : next_]; }
  bool Fail(Refusal why) {
    why_ = std::move(why);
    return false;
  }
  void NoteLimit(Refusal why) {
    if (!limit_) limit_ = std::move(why);
  }
  static bool StartsFactor(Tok kind) { return kind == Tok::Number || kind == Tok::Letter || kind == Tok::Open; }

  // Where a factor was expected after `after`: what stands there instead.
  bool NoFactor(const Token& after) {
    if (Peek().kind == Tok::End || Peek().kind == Tok::Close) return Fail(EndsAfter(after));
    return Fail(CannotStandHere(Peek()));
  }

  // Terms joined by "+" and "-"; a leading "+" is dropped. At the top level a
  // "-" at the very end is the constant -1, as the engine reads it (x- is
  // x - 1).
  bool ReadSum(std::vector<TypedTerm>* sum, bool topLevel) {
    bool first = true;
    for (;;) {
      TypedTerm term;
      term.at = Peek().at;
      const Token* sign = nullptr;
      if (Peek().kind == Tok::Plus || Peek().kind == Tok::Minus) {
        sign = &Take();
        term.negative = sign->kind == Tok::Minus;
        if (Peek().kind == Tok::Plus || Peek().kind == Tok::Minus) return Fail(CannotStandHere(Peek()));
        if (topLevel && term.negative && Peek().kind == Tok::End) {
          TypedFactor one;
          one.numerator = "1";
          one.at = sign->at;
          term.factors.push_back(one);
          term.end = sign->at + 1;
          sum->push_back(std::move(term));
          return true;
        }
        if (!StartsFactor(Peek().kind)) return NoFactor(*sign);
      } else if (!first) {
        return true;
      } else if (!StartsFactor(Peek().kind)) {
        if (Peek().kind == Tok::End) return Fail({kNothingTyped, -1, 0});
        if (Peek().kind == Tok::Close) return Fail(Unopened(Peek()));
        return Fail(CannotStandHere(Peek()));
      }
      if (!ReadProduct(&term)) return false;
      sum->push_back(std::move(term));
      first = false;
    }
  }

  // Factors one after another, or joined by "*". A number after another
  // factor must follow a "*": x*3 is 3x, while x 3 and (x+1)2 are refused.
  bool ReadProduct(TypedTerm* term) {
    for (;;) {
      TypedFactor factor;
      if (!ReadFactor(&factor)) return false;
      term->end = factor.end;
      term->factors.push_back(std::move(factor));
      const Tok next = Peek().kind;
      if (next == Tok::Times) {
        const Token& times = Take();
        if (!StartsFactor(Peek().kind)) return NoFactor(times);
      } else if (next == Tok::Number) {
        return Fail(CannotStandHere(Peek()));
      } else if (next != Tok::Letter && next != Tok::Open) {
        return true;
      }
    }
  }

  bool ReadFactor(TypedFactor* factor) {
    const Token& start = Take();
    factor->at = start.at;
    factor->end = start.at + start.length;
    switch (start.kind) {
      case Tok::Number: {
        factor->kind = TypedFactor::Kind::Number;
        factor->numerator = WithoutLeadingZeros(start.digits);
        if (start.decimal) {
          // Its lowest terms take a division per factor 2 or 5 shared: a
          // bounded number of places keeps that short.
          if (static_cast<int>(start.fraction.size()) > kMaxDecimalPlaces) return Fail(TooManyPlaces(start));
          DecimalAsFraction(start.digits, start.fraction, &factor->numerator, &factor->denominator);
          factor->decimal = (start.digits.empty() ? "0" : start.digits) + "." + start.fraction;
        }
        if (Peek().kind == Tok::Other && IsDecimalPoint(Peek())) return Fail(CannotStandHere(Peek()));
        if (factor->numerator == "0") return Fail(ZeroNumber(start, false));
        if (Exceeds(factor->numerator, kMaxExactNumber)) {
          NoteLimit(NumberTooLarge(start.decimal ? factor->numerator : start.digits, start.at, start.length));
        }
        if (Exceeds(factor->denominator, kMaxExactNumber)) {
          NoteLimit(NumberTooLarge(factor->denominator, start.at, start.length));
        }
        if (Peek().kind == Tok::Slash) {
          if (start.decimal) return Fail(DecimalInFraction(start));
          const Token& slash = Take();
          if (Peek().kind != Tok::Number) return NoFactor(slash);
          const Token& denominator = Take();
          if (denominator.decimal) return Fail(DecimalInFraction(denominator));
          factor->denominator = WithoutLeadingZeros(denominator.digits);
          if (factor->denominator == "0") return Fail(ZeroNumber(denominator, true));
          if (Exceeds(factor->denominator, kMaxExactNumber)) {
            NoteLimit(NumberTooLarge(denominator.digits, denominator.at, denominator.length));
          }
          factor->end = denominator.at + denominator.length;
        }
        // 2^3 is not read: 2/3^2 would be ambiguous.
        if (Peek().kind == Tok::Power) return Fail(CannotStandHere(Peek()));
        return true;
      }
      case Tok::Letter: {
        factor->kind = TypedFactor::Kind::Letter;
        factor->letter = start.digits[0];
        // x2 is x^2, as the engine reads it; x 2 is not.
        if (Peek().kind == Tok::Number && !Peek().blankBefore) {
          if (!ReadExponentDigits(factor)) return false;
          if (Peek().kind == Tok::Power) return Fail(CannotStandHere(Peek()));
        } else if (Peek().kind == Tok::Power) {
          if (!ReadPower(factor)) return false;
        }
        return true;
      }
      case Tok::Open: {
        factor->kind = TypedFactor::Kind::Bracket;
        if (Peek().kind == Tok::Close) return Fail(CannotStandHere(Peek()));
        // The reader, the writer of the expansion and the tree's destructor
        // descend once per bracket: a bounded depth keeps them off the end of
        // the stack, whatever the text.
        if (depth_ == kMaxBracketDepth) return Fail(NestedTooDeep(start));
        ++depth_;
        const bool read = ReadSum(&factor->inner, false);
        --depth_;
        if (!read) return false;
        if (Peek().kind == Tok::End) return Fail(Unclosed(start));
        if (Peek().kind != Tok::Close) return Fail(CannotStandHere(Peek()));
        const Token& close = Take();
        factor->end = close.at + 1;
        if (Peek().kind == Tok::Power && !ReadPower(factor)) return false;
        return true;
      }
      default: return Fail(CannotStandHere(start));
    }
  }

  // "^" or "'" and a whole number from 1 to 32767.
  bool ReadPower(TypedFactor* factor) {
    const Token& marker = Take();
    if (Peek().kind == Tok::End) return Fail(EndsAfter(marker));
    if (Peek().kind != Tok::Number) return Fail(ExponentNeeded(Peek()));
    return ReadExponentDigits(factor);
  }

  bool ReadExponentDigits(TypedFactor* factor) {
    const Token& digits = Take();
    if (digits.decimal) return Fail(DecimalExponent(digits));
    const std::string value = WithoutLeadingZeros(digits.digits);
    if (value == "0") return Fail(ExponentNeeded(digits));
    if (Exceeds(value, std::to_string(kMaxTypedExponent))) return Fail(ExponentBeyondReach(digits));
    if (Exceeds(value, std::to_string(kMaxExponent))) NoteLimit(ExponentTooLarge(digits));
    factor->exponent = std::stoi(value);
    factor->end = digits.at + digits.length;
    return true;
  }

  std::vector<Token> tokens_;
  size_t next_ = 0;
  int depth_ = 0;  // the brackets open around the next token
  std::optional<Refusal> limit_;
  Refusal why_;
};

// ---- the text written in the engine's syntax ---------------------------------

// One term of the result: sign, coefficient and powers of letters, and where
// its pieces stand in the typed text (-1 for a term of an expansion).
struct Term {
  bool negative = false;
  std::string numerator = "1";
  std::string denominator;  // empty for an integer
  std::vector<std::pair<char, int>> powers;
  std::vector<int> letterAt;  // per power: the letter's place
  int at = -1;
  int end = -1;
};

std::string Written(const std::vector<Term>& terms) {
  std::string out;
  for (const Term& term : terms) {
    if (term.negative) {
      out += '-';
    } else if (!out.empty()) {
      out += '+';
    }
    if (term.numerator != "1" || !term.denominator.empty() || term.powers.empty()) {
      out += term.numerator;
      if (!term.denominator.empty()) out += "/" + term.denominator;
    }
    for (const auto& [letter, exponent] : term.powers) {
      out += letter;
      if (exponent > 1) out += "^" + std::to_string(exponent);
    }
  }
  return out;
}

// A term as the engine writes one: at most one number, each letter once, no
// bracket. Such a text needs no multiplying out.
bool IsEngineTerm(const TypedTerm& term) {
  int numbers = 0;
  std::set<char> letters;
  for (const TypedFactor& f : term.factors) {
    if (f.kind == TypedFactor::Kind::Bracket) return false;
    if (f.kind == TypedFactor::Kind::Number && ++numbers > 1) return false;
    if (f.kind == TypedFactor::Kind::Letter && !letters.insert(f.letter).second) return false;
  }
  return true;
}

// The first place that needs multiplying out: a bracket, a second number, a
// letter written twice.
int FirstExpansion(const std::vector<TypedTerm>& sum) {
  for (const TypedTerm& term : sum) {
    int numbers = 0;
    std::set<char> letters;
    for (const TypedFactor& f : term.factors) {
      if (f.kind == TypedFactor::Kind::Bracket || (f.kind == TypedFactor::Kind::Number && ++numbers > 1) ||
          (f.kind == TypedFactor::Kind::Letter && !letters.insert(f.letter).second)) {
        return f.at;
      }
    }
  }
  return -1;
}

// The term with its number in front (x*3 is 3x) and its letters as typed.
Term AsTyped(const TypedTerm& product) {
  Term term;
  term.negative = product.negative;
  term.at = product.at;
  term.end = product.end;
  for (const TypedFactor& f : product.factors) {
    if (f.kind == TypedFactor::Kind::Number) {
      term.numerator = f.numerator;
      term.denominator = f.denominator;
    } else {
      term.powers.emplace_back(f.letter, f.exponent);
      term.letterAt.push_back(f.at);
    }
  }
  return term;
}

// ---- the program of the expansion ------------------------------------------------

class ProgramWriter {
 public:
  explicit ProgramWriter(const std::vector<TypedTerm>& sum) {
    std::set<char> letters;
    Collect(sum, &letters);
    letters_.assign(letters.begin(), letters.end());  // alphabetical
    program_.variables = static_cast<int>(letters_.size());
    if (program_.variables == 0) {
      // A constant: one variable that no term uses.
      letters_ = {'x'};
      program_.variables = 1;
    }
    WriteSum(sum);
  }

  const exact::ExpansionProgram& Program() const { return program_; }
  const std::vector<char>& Letters() const { return letters_; }

 private:
  using Kind = exact::ExpansionStep::Kind;

  static void Collect(const std::vector<TypedTerm>& sum, std::set<char>* letters) {
    for (const TypedTerm& term : sum) {
      for (const TypedFactor& f : term.factors) {
        if (f.kind == TypedFactor::Kind::Letter) letters->insert(f.letter);
        if (f.kind == TypedFactor::Kind::Bracket) Collect(f.inner, letters);
      }
    }
  }

  void Push(const std::string& coefficient, char letter = 0, int exponent = 0) {
    exact::ExpansionStep step;
    step.kind = Kind::Push;
    step.term.coefficient = coefficient;
    step.term.exponents.assign(letters_.size(), 0);
    if (letter != 0) {
      const auto at = std::find(letters_.begin(), letters_.end(), letter) - letters_.begin();
      step.term.exponents[static_cast<size_t>(at)] = exponent;
    }
    program_.steps.push_back(std::move(step));
  }
  void Op(Kind kind, int exponent = 0) {
    exact::ExpansionStep step;
    step.kind = kind;
    step.exponent = exponent;
    program_.steps.push_back(std::move(step));
  }

  void WriteSum(const std::vector<TypedTerm>& sum) {
    for (size_t i = 0; i < sum.size(); ++i) {
      WriteTerm(sum[i]);
      if (i > 0) Op(Kind::Add);
    }
  }

  void WriteTerm(const TypedTerm& term) {
    Push(term.negative ? "-1" : "1");
    for (const TypedFactor& f : term.factors) {
      switch (f.kind) {
        case TypedFactor::Kind::Number: Push(f.denominator.empty() ? f.numerator : f.numerator + "/" + f.denominator); break;
        case TypedFactor::Kind::Letter: Push("1", f.letter, f.exponent); break;
        case TypedFactor::Kind::Bracket:
          WriteSum(f.inner);
          if (f.exponent > 1) Op(Kind::Power, f.exponent);
          break;
      }
      Op(Kind::Multiply);
    }
  }

  std::vector<char> letters_;
  exact::ExpansionProgram program_;
};

// The expanded polynomial's terms, letters alphabetical.
std::vector<Term> ExpandedTerms(const format::RationalPolynomial& expanded, const std::vector<char>& letters) {
  std::vector<Term> terms;
  for (const format::RationalTerm& t : expanded.terms) {
    Term term;
    std::string coefficient = t.coefficient;
    term.negative = !coefficient.empty() && coefficient[0] == '-';
    if (term.negative) coefficient.erase(0, 1);
    const size_t slash = coefficient.find('/');
    term.numerator = coefficient.substr(0, slash);
    if (slash != std::string::npos) term.denominator = coefficient.substr(slash + 1);
    for (size_t v = 0; v < letters.size() && v < t.exponents.size(); ++v) {
      if (t.exponents[v] > 0) {
        term.powers.emplace_back(letters[v], t.exponents[v]);
        term.letterAt.push_back(-1);
      }
    }
    terms.push_back(std::move(term));
  }
  return terms;
}

// ---- the engine's limits -------------------------------------------------------

// The search makes fractions integral over their least common denominator:
// that denominator and every numerator over it must stay within 16777216.
// Every number here is already within it.
std::optional<Refusal> BeyondCommonDenominator(const std::vector<Term>& terms) {
  const int64_t limit = std::stoll(kMaxExactNumber);
  int64_t common = 1;
  for (const Term& term : terms) {
    if (term.denominator.empty()) continue;
    common = std::lcm(common, std::stoll(term.denominator));
    if (common > limit) {
      const std::string c = std::to_string(common);
      return Refusal{"公分母 " + c + " 超过 16777216 / the common denominator " + c + " exceeds 16777216", -1, 0};
    }
  }
  if (common == 1) return std::nullopt;
  for (const Term& term : terms) {
    const int64_t over = std::stoll(term.numerator) * (common / (term.denominator.empty() ? 1 : std::stoll(term.denominator)));
    if (over > limit) {
      const std::string c = std::to_string(over);
      return Refusal{"通分后的系数 " + c + " 超过 16777216 / over the common denominator, the coefficient " + c +
                         " exceeds 16777216",
                     -1, 0};
    }
  }
  return std::nullopt;
}

// The terms, variables, exponents and numbers against the engine's limits.
// Places in the typed text are named where the terms have them. The common
// denominator of fractions is left to the engine.
std::optional<Refusal> BeyondLimits(const std::vector<Term>& terms, int typedLength) {
  if (static_cast<int>(terms.size()) > kMaxTerms) {
    const std::string n = std::to_string(terms.size());
    const int at = terms[kMaxTerms].at;
    return Refusal{"项数 " + n + " 超过 30 / " + n + " terms, at most 30", at, at < 0 ? 0 : typedLength - at};
  }
  std::set<char> seen;
  for (const Term& term : terms) {
    if (static_cast<int>(term.powers.size()) > kMaxVariablesInTerm) {
      const int at = term.letterAt[kMaxVariablesInTerm];
      if (at < 0) {
        return Refusal{"展开后有一项的变量多于 6 个 / a term of the expansion names more than 6 variables", -1, 0};
      }
      const std::string letter(1, term.powers[kMaxVariablesInTerm].first);
      return Refusal{"第 " + Nth(at) + " 个字符 '" + letter + "': 一项中的变量多于 6 个 / character " + Nth(at) +
                         ", '" + letter + "': a term names more than 6 variables",
                     at, 1};
    }
    for (size_t p = 0; p < term.powers.size(); ++p) {
      const char letter = term.powers[p].first;
      if (!seen.insert(letter).second || static_cast<int>(seen.size()) <= kMaxVariables) continue;
      const int at = term.letterAt[p];
      if (at < 0) {
        return Refusal{"展开后有 9 个以上变量, 最多 8 个 / the expansion has more than 8 variables", -1, 0};
      }
      return Refusal{"第 " + Nth(at) + " 个字符 '" + std::string(1, letter) + "' 是第 9 个变量, 最多 8 个 / character " +
                         Nth(at) + ", '" + std::string(1, letter) + "', is a 9th variable; at most 8",
                     at, 1};
    }
    // Only an expansion's terms can hold more than was typed.
    if (term.at >= 0) continue;
    for (const auto& power : term.powers) {
      if (power.second > kMaxExponent) {
        const std::string e = std::to_string(power.second);
        return Refusal{"展开后的指数 " + e + " 超过 32767 / the expansion has the exponent " + e + ", beyond 32767", -1,
                       0};
      }
    }
    for (const std::string* number : {&term.numerator, &term.denominator}) {
      if (Exceeds(*number, kMaxExactNumber)) return NumberTooLarge(*number, -1, 0);
    }
  }
  return BeyondCommonDenominator(terms);
}

// The terms as the value of the converted text: the letters alphabetical,
// each term's coefficient "p" or "p/q" as written.
void WriteValue(const std::vector<Term>& terms, ConvertedText* converted) {
  std::set<char> letters;
  for (const Term& term : terms) {
    for (const auto& power : term.powers) letters.insert(power.first);
  }
  converted->letters.assign(letters.begin(), letters.end());
  converted->value.variables = static_cast<int>(letters.size());
  for (const Term& term : terms) {
    format::RationalTerm value{(term.negative ? "-" : "") + term.numerator, {}};
    if (!term.denominator.empty()) value.coefficient += "/" + term.denominator;
    value.exponents.assign(letters.size(), 0);
    for (const auto& [letter, exponent] : term.powers) {
      value.exponents[converted->letters.find(letter)] += exponent;
    }
    converted->value.terms.push_back(std::move(value));
  }
}

Refusal ExpansionFailed(const std::string& why, int at) {
  if (why == exact::kExpansionTooLarge) {
    return {"展开后的多项式太大, 无法计算 / multiplied out, the polynomial is too large to compute", at, 1};
  }
  return {"无法展开括号: " + why + " / the brackets could not be multiplied out: " + why, at, 1};
}

}  // namespace

ConvertedText ConvertTypedText(std::string_view typed, Expander* expander) {
  const std::vector<Typed> characters = Decode(typed);
  const int length = static_cast<int>(characters.size());
  ConvertedText converted;
  Reader reader(Tokenise(characters));
  std::vector<TypedTerm> sum;
  if (!reader.ReadAll(&sum)) {
    converted.refusal = reader.Why();
    return converted;
  }

  std::vector<Term> terms;
  if (std::all_of(sum.begin(), sum.end(), IsEngineTerm)) {
    for (const TypedTerm& product : sum) terms.push_back(AsTyped(product));
  } else {
    const int at = FirstExpansion(sum);
    if (expander == nullptr) {
      converted.refusal = Refusal{kNoExpander, at, 1};
      return converted;
    }
    const ProgramWriter writer(sum);
    std::string why;
    const auto expanded = expander->Expand(writer.Program(), &why);
    if (!expanded) {
      converted.refusal = ExpansionFailed(why, at);
      return converted;
    }
    if (expanded->terms.empty()) {
      converted.refusal = Refusal{"展开后多项式为 0 / the polynomial is 0 once multiplied out", -1, 0};
      return converted;
    }
    terms = ExpandedTerms(*expanded, writer.Letters());
    converted.expanded = true;
    for (const Term& term : terms) {
      for (const auto& power : term.powers) {
        if (power.second <= kMaxTypedExponent) continue;
        const std::string e = std::to_string(power.second);
        const std::string limit = std::to_string(kMaxTypedExponent);
        converted.refusal = Refusal{"展开后的指数 " + e + " 超过 " + limit + ", 太大无法计算 / the expansion has the exponent " +
                                        e + ", beyond " + limit + ", too large to compute",
                                    -1, 0};
        return converted;
      }
    }
  }
  // Beyond the search's limits the text is read all the same: the refusal
  // says which limit, and the value is there for the exact factorisation.
  converted.refusal = reader.Limit() ? reader.Limit() : BeyondLimits(terms, length);
  converted.beyondSearch = converted.refusal.has_value();
  converted.text = Written(terms);
  converted.typed = std::move(sum);
  WriteValue(terms, &converted);
  return converted;
}

#ifdef PFAC_EXACT
namespace {

class InProcessExpander : public Expander {
 public:
  std::optional<format::RationalPolynomial> Expand(const exact::ExpansionProgram& program, std::string* why) override {
    return exact::ExpandExactly(program, why);
  }
};

}  // namespace

std::unique_ptr<Expander> ExactExpander() { return std::make_unique<InProcessExpander>(); }
#else
std::unique_ptr<Expander> ExactExpander() { return nullptr; }
#endif

}  // namespace pfac::frontend
