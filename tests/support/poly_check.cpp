#include "support/poly_check.h"

#include <cctype>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "engine/result_format/marks.h"

namespace pfac::testing {

namespace {

Integer Gcd(Integer a, Integer b) {
  if (a < 0) a = -a;
  if (b < 0) b = -b;
  while (b != 0) {
    Integer r = a % b;
    a = b;
    b = r;
  }
  return a;
}

// A small reader over a text with blanks skipped between tokens.
struct Reader {
  const std::string& s;
  size_t i = 0;
  void Blanks() {
    while (i < s.size() && s[i] == ' ') ++i;
  }
  bool At(char c) {
    Blanks();
    return i < s.size() && s[i] == c;
  }
  bool Take(char c) {
    if (!At(c)) return false;
    ++i;
    return true;
  }
  bool Digit() {
    Blanks();
    return i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]));
  }
  bool Letter() {
    Blanks();
    return i < s.size() && std::isalpha(static_cast<unsigned char>(s[i]));
  }
  Integer Number() {
    Blanks();
    Integer v = 0;
    // A number beyond the checker's integers is the test's own fault: say so
    // rather than read a wrapped value.
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
      if (__builtin_mul_overflow(v, 10, &v) || __builtin_add_overflow(v, s[i++] - '0', &v)) {
        throw std::overflow_error("a number beyond the test checker's integers: " + s);
      }
    }
    return v;
  }
  bool End() {
    Blanks();
    return i >= s.size();
  }
};

// Letters with optional exponents ("^" and digits, or digits directly after
// the letter in the input syntax), times the monomial so far.
bool ReadMonomial(Reader& r, Monomial& m, bool digitsAfterLetter) {
  while (r.Letter()) {
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(r.s[r.i++])));
    int exponent = 1;
    if (r.Take('^') || r.Take('\'')) {
      if (!r.Digit()) return false;
      exponent = static_cast<int>(r.Number());
    } else if (digitsAfterLetter && r.i < r.s.size() && std::isdigit(static_cast<unsigned char>(r.s[r.i]))) {
      exponent = static_cast<int>(r.Number());
    }
    m[letter - 'a'] += exponent;
    r.Take('*');
  }
  return true;
}

// A sum of terms "sign coefficient[/denominator] monomial", until the end of
// the text or a ")".
std::optional<Rational> ReadSum(Reader& r, bool digitsAfterLetter) {
  struct Term {
    Integer numerator, denominator;
    Monomial monomial;
  };
  std::vector<Term> terms;
  bool first = true;
  while (!r.End() && !r.At(')')) {
    Integer sign = 1;
    if (r.Take('-')) {
      sign = -1;
    } else if (r.Take('+')) {
      // In the input a "+" only separates terms: the coefficient after it may
      // bring its own sign (x+-2z is x - 2z, x++3y is x + 3y, x+-y is x - y).
      if (digitsAfterLetter && !first && r.Take('-')) {
        sign = -1;
      } else if (digitsAfterLetter && !first && r.At('+') && r.i + 1 < r.s.size() &&
                 std::isdigit(static_cast<unsigned char>(r.s[r.i + 1]))) {
        r.Take('+');
      }
    } else if (!first) {
      return std::nullopt;
    }
    first = false;
    Term t{sign, 1, {}};
    if (r.Digit()) {
      t.numerator *= r.Number();
      if (r.Take('/')) t.denominator = r.Number();
    }
    r.Take('*');
    if (!ReadMonomial(r, t.monomial, digitsAfterLetter)) return std::nullopt;
    if (t.denominator == 0) return std::nullopt;
    terms.push_back(t);
  }
  Integer common = 1;
  for (const Term& t : terms) common = common / Gcd(common, t.denominator) * t.denominator;
  Rational out;
  out.denominator = common;
  // Term by term in place: a factor of thousands of terms stays linear.
  for (const Term& t : terms) {
    Integer& slot = out.numerator.terms[t.monomial];
    slot += t.numerator * (common / t.denominator);
    if (slot == 0) out.numerator.terms.erase(t.monomial);
  }
  return out;
}

}  // namespace

Poly Poly::Constant(Integer c) {
  Poly p;
  if (c != 0) p.terms[Monomial{}] = c;
  return p;
}

Poly Poly::Variable(char letter, int exponent) {
  Poly p;
  Monomial m{};
  m[letter - 'a'] = exponent;
  p.terms[m] = 1;
  return p;
}

Poly Poly::operator*(const Poly& other) const {
  Poly out;
  for (const auto& [ma, ca] : terms) {
    for (const auto& [mb, cb] : other.terms) {
      Monomial m{};
      for (int v = 0; v < 26; ++v) m[v] = ma[v] + mb[v];
      Integer& c = out.terms[m];
      c += ca * cb;
      if (c == 0) out.terms.erase(m);
    }
  }
  return out;
}

Poly Poly::operator+(const Poly& other) const {
  Poly out = *this;
  for (const auto& [m, c] : other.terms) {
    Integer& slot = out.terms[m];
    slot += c;
    if (slot == 0) out.terms.erase(m);
  }
  return out;
}

Poly Poly::Scaled(Integer c) const { return *this * Constant(c); }

std::string ToString(Integer v) {
  if (v == 0) return "0";
  bool negative = v < 0;
  if (negative) v = -v;
  std::string digits;
  while (v > 0) {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
    v /= 10;
  }
  return negative ? "-" + digits : digits;
}

std::string Poly::Text() const {
  std::string out;
  // Highest total degree first, for a readable text.
  for (auto it = terms.rbegin(); it != terms.rend(); ++it) {
    const auto& [m, c] = *it;
    bool constant = true;
    for (int e : m) constant = constant && e == 0;
    Integer magnitude = c < 0 ? -c : c;
    out += c < 0 ? "-" : (out.empty() ? "" : "+");
    if (magnitude != 1 || constant) out += ToString(magnitude);
    for (int v = 0; v < 26; ++v) {
      if (m[v] == 0) continue;
      out += static_cast<char>('a' + v);
      if (m[v] > 1) out += "^" + std::to_string(m[v]);
    }
  }
  return out.empty() ? "0" : out;
}

std::optional<Rational> ParseInput(const std::string& text) {
  Reader r{text};
  if (text.empty()) return std::nullopt;
  auto sum = ReadSum(r, true);
  if (!sum || !r.End()) return std::nullopt;
  return sum;
}

std::optional<Rational> ParseResultLine(const std::string& line) {
  Reader r{line};
  if (!r.Take('=')) return std::nullopt;
  Rational out;
  out.numerator = Poly::Constant(1);
  // The common factor: signs, content and common denominator, monomial.
  while (r.Take('-')) out.numerator = out.numerator.Scaled(-1);
  if (r.Digit()) {
    out.numerator = out.numerator.Scaled(r.Number());
    if (r.Take('/')) out.denominator = r.Number();
  }
  Monomial m{};
  if (!ReadMonomial(r, m, false)) return std::nullopt;
  Poly monomial;
  monomial.terms[m] = 1;
  out.numerator = out.numerator * monomial;
  while (r.Take('(')) {
    auto factor = ReadSum(r, false);
    if (!factor || !r.Take(')')) return std::nullopt;
    out.numerator = out.numerator * factor->numerator;
    out.denominator *= factor->denominator;
  }
  if (!r.End()) return std::nullopt;
  return out;
}

std::optional<FinalLine> LastResultLine(const std::string& jg) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < jg.size()) {
    size_t end = jg.find("\r\n", start);
    if (end == std::string::npos) end = jg.size();
    lines.push_back(jg.substr(start, end - start));
    start = end + 2;
  }
  FinalLine out;
  using marks::StartsWith;
  for (size_t i = lines.size(); i-- > 1;) {
    if (StartsWith(lines[i], marks::kCertificate) || StartsWith(lines[i], marks::kInternalError)) {
      out.certificate = lines[i];
      if (i + 1 < lines.size()) out.completeLine = lines[i + 1];
      lines.resize(i);
      break;
    }
  }
  while (!lines.empty() && StartsWith(lines.back(), marks::kExactNote)) lines.pop_back();
  while (!lines.empty() && (lines.back() == marks::kSearchStopped || lines.back() == marks::kLateSearch)) {
    if (lines.back() == marks::kSearchStopped) out.stopped = true;
    if (lines.back() == marks::kLateSearch) out.lateMode = true;
    lines.pop_back();
  }
  if (lines.size() < 2) return std::nullopt;
  out.line = lines.back();
  return out;
}

bool LineEquals(const std::string& line, const Rational& polynomial, std::string* why) {
  size_t start = line.find('=');
  if (start == std::string::npos) {
    *why = "no \"=\" in the result line";
    return false;
  }
  while (start != std::string::npos) {
    size_t next = line.find('=', start + 1);
    std::string segment = line.substr(start, next == std::string::npos ? std::string::npos : next - start);
    auto product = ParseResultLine(segment);
    if (!product) {
      *why = "result not understood: " + segment;
      return false;
    }
    if (!SameValue(*product, polynomial)) {
      *why = "result differs: " + segment;
      return false;
    }
    start = next;
  }
  return true;
}

bool SameValue(const Rational& a, const Rational& b) {
  return a.numerator.Scaled(b.denominator) == b.numerator.Scaled(a.denominator);
}

bool JudgedIsPrinted(const std::optional<format::ResultProduct>& judged, const std::string& jg, std::string* why) {
  const std::string segment = format::JudgedSegment(format::LinesOf(jg));
  const std::optional<format::ResultProduct> printed = format::ReadResultSegment(segment);
  if (!printed) {
    if (!judged || judged->unreadable) return true;
    *why = "the result judged has no readable line in jg.dat (\"" + segment + "\")";
    return false;
  }
  if (!judged) {
    *why = "jg.dat holds the result \"" + segment + "\", but none was judged";
    return false;
  }
  if (judged->unreadable) {
    *why = "a value of the result judged is not written exactly, but \"" + segment + "\" reads back";
    return false;
  }
  if (!(*judged == *printed)) {
    *why = "the result judged is not the result printed: \"" + segment + "\"";
    return false;
  }
  return true;
}

}  // namespace pfac::testing
