#include "engine/result_format/result_value.h"

#include <array>
#include <cctype>

#include "engine/result_format/result_line.h"

namespace pfac::format {

namespace {

// A term of the echo: its coefficient as written and its exponents.
struct EchoTerm {
  std::string coefficient;
  Exponents exponents{};
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSmallLetter(char c) { return c >= 'a' && c <= 'z'; }

// Reads the echo's terms, in which blanks may stand between any two pieces:
// " x^ 3- 6x^ 2+ 4x+ 15", "1/ 2x^ 2- 3/ 4x+ 1".
class EchoReader {
 public:
  explicit EchoReader(std::string_view text) : text_(text) {}

  bool ReadAll(std::vector<EchoTerm>* terms) {
    while (Peek() != '\0') {
      EchoTerm term;
      bool negative = false;
      const char c = Peek();
      if (c == '+' || c == '-') {
        ++at_;
        negative = c == '-';
      } else if (!terms->empty()) {
        return false;
      }
      if (!ReadTermBody(&term)) return false;
      if (negative) term.coefficient.insert(0, "-");
      terms->push_back(std::move(term));
    }
    return !terms->empty();
  }

 private:
  char Peek() {
    while (at_ < text_.size() && text_[at_] == ' ') ++at_;
    return at_ < text_.size() ? text_[at_] : '\0';
  }
  bool Digits(std::string* digits) {
    digits->clear();
    while (IsDigit(Peek())) *digits += text_[at_++];
    return !digits->empty();
  }
  // A coefficient, then letters with their exponents; false when there is
  // neither, or a piece is not in the engine's form (a number with a decimal
  // point, an exponent without digits).
  bool ReadTermBody(EchoTerm* term) {
    std::string numerator, denominator;
    const bool number = Digits(&numerator);
    term->coefficient = number ? numerator : "1";
    if (number && Peek() == '/') {
      ++at_;
      if (!Digits(&denominator)) return false;
      term->coefficient += "/" + denominator;
    }
    bool letter = false;
    while (IsSmallLetter(Peek())) {
      const int v = text_[at_++] - 'a';
      int exponent = 1;
      if (Peek() == '^') {
        ++at_;
        std::string digits;
        if (!Digits(&digits) || digits.size() > 6) return false;
        exponent = std::stoi(digits);
      }
      term->exponents[v] += exponent;
      letter = true;
    }
    return number || letter;
  }

  std::string_view text_;
  size_t at_ = 0;
};

// The letters that occur in m, added to `used`.
void AddLetters(const Exponents& m, std::array<bool, 26>* used) {
  for (int v = 0; v < 26; ++v) (*used)[v] = (*used)[v] || m[v] != 0;
}

std::vector<int32_t> InLetters(const Exponents& m, const std::string& letters) {
  std::vector<int32_t> out;
  for (char letter : letters) out.push_back(m[letter - 'a']);
  return out;
}

RationalPolynomial InLetters(const LetterPoly& p, const std::string& letters) {
  RationalPolynomial out{static_cast<int>(letters.size()), {}};
  for (const auto& [m, c] : p.terms) out.terms.push_back({c, InLetters(m, letters)});
  return out;
}

}  // namespace

std::optional<ResultValue> ReadResultValue(std::string_view echo, std::string_view factorisation) {
  std::vector<EchoTerm> terms;
  if (!EchoReader(echo).ReadAll(&terms)) return std::nullopt;
  std::optional<ResultProduct> product;
  if (!factorisation.empty()) {
    product = ReadResultSegment("=" + std::string(factorisation));
    if (!product || product->unreadable) return std::nullopt;
  }

  std::array<bool, 26> used{};
  for (const EchoTerm& term : terms) AddLetters(term.exponents, &used);
  if (product) {
    AddLetters(product->monomial, &used);
    for (const LetterPoly& factor : product->factors) {
      for (const auto& [m, c] : factor.terms) AddLetters(m, &used);
    }
  }
  ResultValue value;
  for (int v = 0; v < 26; ++v) {
    if (used[v]) value.letters += static_cast<char>('a' + v);
  }
  value.entered.variables = static_cast<int>(value.letters.size());
  for (const EchoTerm& term : terms) value.entered.terms.push_back({term.coefficient, InLetters(term.exponents, value.letters)});
  if (!product) return value;

  value.factored = true;
  value.content = std::to_string(product->numerator);
  if (product->denominator != 1 && product->numerator != 0) value.content += "/" + std::to_string(product->denominator);
  value.monomial = InLetters(product->monomial, value.letters);
  for (const LetterPoly& factor : product->factors) value.factors.push_back(InLetters(factor, value.letters));
  return value;
}

}  // namespace pfac::format
