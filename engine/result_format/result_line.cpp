#include "engine/result_format/result_line.h"

#include <cctype>

#include "engine/result_format/marks.h"

namespace pfac::format {

namespace {

using Wide = __int128;

// ---- reading ---------------------------------------------------------------

struct Reader {
  std::string_view s;
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
    return i < s.size() && s[i] >= 'a' && s[i] <= 'z';
  }
  // Digits as a decimal text without leading zeros; false when a decimal
  // point or an exponent part follows (a rounded number in the engine's float
  // form).
  bool Digits(std::string* digits) {
    Blanks();
    digits->clear();
    size_t count = 0;
    for (; i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])); ++i, ++count) {
      if (!digits->empty() || s[i] != '0') *digits += s[i];
    }
    if (count > 0 && digits->empty()) *digits = "0";
    return count > 0 && (i >= s.size() || (s[i] != '.' && s[i] != 'E'));
  }
  // Digits as a number; false beyond 18 digits, or as Digits.
  bool Number(int64_t* v) {
    std::string digits;
    if (!Digits(&digits) || digits.size() > 18) return false;
    *v = 0;
    for (char d : digits) *v = *v * 10 + (d - '0');
    return true;
  }
  bool End() {
    Blanks();
    return i >= s.size();
  }
};

// Letters with optional exponents ("^" and digits), "*" between them allowed.
bool ReadMonomial(Reader& r, Exponents& m) {
  while (r.Letter()) {
    const int letter = r.s[r.i++] - 'a';
    int64_t exponent = 1;
    if (r.Take('^') && (!r.Number(&exponent) || exponent > kLargestReadExponent)) return false;
    m[letter] += static_cast<int32_t>(exponent);
    r.Take('*');
  }
  return true;
}

// a + b for decimal texts of at most 18 digits; nullopt beyond.
std::optional<std::string> SumOf(const std::string& a, const std::string& b) {
  int64_t x = 0, y = 0;
  if (!DecimalToInt64(a, &x) || !DecimalToInt64(b, &y)) return std::nullopt;
  const Wide sum = static_cast<Wide>(x) + y;
  if (sum > INT64_MAX || sum < -INT64_MAX) return std::nullopt;
  return std::to_string(static_cast<int64_t>(sum));
}

// A factor's terms up to its ")".
std::optional<LetterPoly> ReadFactor(Reader& r) {
  LetterPoly p;
  bool first = true;
  while (!r.End() && !r.At(')')) {
    bool negative = false;
    if (r.Take('-')) {
      negative = true;
    } else if (!r.Take('+') && !first) {
      return std::nullopt;
    }
    first = false;
    std::string coefficient = "1";
    if (r.Digit() && !r.Digits(&coefficient)) return std::nullopt;
    if (r.At('/')) return std::nullopt;
    Exponents m{};
    if (!ReadMonomial(r, m)) return std::nullopt;
    if (negative) coefficient = NegatedDecimal(coefficient);
    auto [at, fresh] = p.terms.emplace(m, coefficient);
    if (fresh) continue;
    const std::optional<std::string> sum = SumOf(at->second, coefficient);
    if (!sum) return std::nullopt;
    at->second = *sum;
  }
  std::erase_if(p.terms, [](const auto& term) { return term.second == "0"; });
  return p;
}

bool StartsWithAny(std::string_view line, std::initializer_list<std::string_view> starts) {
  for (std::string_view start : starts) {
    if (marks::StartsWith(line, start)) return true;
  }
  return false;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// The judged line's index among lines, or lines.size() when there is none:
// the lines that follow the result end the search for it.
size_t JudgedLine(const std::vector<std::string>& lines, bool trimmed) {
  size_t end = lines.size();
  for (size_t i = 1; i < lines.size(); ++i) {
    const std::string_view line = trimmed ? Trimmed(lines[i]) : std::string_view(lines[i]);
    if (StartsWithAny(line, {marks::kExactNote, marks::kCertificate, marks::kInternalError})) {
      end = i;
      break;
    }
  }
  // Line 1 is the polynomial as entered; results start on line 2.
  for (size_t i = end; i-- > 1;) {
    if (HoldsResult(ShapeOf(trimmed ? Trimmed(lines[i]) : std::string_view(lines[i]), false))) return i;
  }
  return lines.size();
}

}  // namespace

std::optional<ResultProduct> ReadResultSegment(std::string_view segment) {
  Reader r{segment};
  if (!r.Take('=')) return std::nullopt;
  ResultProduct out;
  while (r.Take('-')) out.numerator = -out.numerator;
  if (r.Digit()) {
    int64_t value = 0;
    if (!r.Number(&value)) return std::nullopt;
    out.numerator *= value;
    if (r.Take('/')) {
      if (!r.Number(&out.denominator) || out.denominator == 0) return std::nullopt;
    }
  }
  if (!ReadMonomial(r, out.monomial)) return std::nullopt;
  while (r.Take('(')) {
    auto factor = ReadFactor(r);
    if (!factor || !r.Take(')')) return std::nullopt;
    out.factors.push_back(std::move(*factor));
  }
  if (!r.End()) return std::nullopt;
  return out;
}

std::string ResultFactorText(const LetterPoly& p, const std::string& order, bool oneVariable) {
  const std::string full = FullOrder(order);
  std::string out = "(";
  bool first = true;
  bool variableWritten = false;
  std::string lastMagnitude;
  for (const auto& [m, c] : OrderedTerms(p, order)) {
    const bool negative = c.front() == '-';
    const std::string magnitude = negative ? c.substr(1) : c;
    if (first) {
      first = false;
      if (c == "-1") {
        out += "-";
      } else if (c != "1") {
        out += SignedDigits(c);
      }
    } else {
      out += negative ? "-" : "+";
      out += magnitude == "1" ? " " : " " + magnitude;
    }
    variableWritten = false;
    for (char letter : full) {
      const int e = m[letter - 'a'];
      if (e == 0) continue;
      variableWritten = true;
      out += letter;
      if (oneVariable) {
        out += e > 1 ? "^ " + std::to_string(e) + " " : " ";
      } else if (e > 1) {
        out += "^ " + std::to_string(e);
      }
    }
    lastMagnitude = magnitude;
  }
  if (!variableWritten && lastMagnitude == "1") out += "1";
  return out + ")";
}

std::string ResultSegmentText(const ResultProduct& values, const std::string& order, bool oneVariable) {
  auto signedNumber = [](int64_t v) { return SignedDigits(std::to_string(v)); };
  std::string line = "=";
  if (values.numerator < 0) line += "-";
  const int64_t magnitude = values.numerator < 0 ? -values.numerator : values.numerator;
  if (values.denominator != 1) {
    line += signedNumber(magnitude) + "/" + signedNumber(values.denominator);
  } else if (magnitude != 1) {
    line += signedNumber(magnitude);
  }
  for (char letter : FullOrder(order)) {
    const int e = values.monomial[letter - 'a'];
    if (e >= 1) line += letter;
    if (e > 1) line += "^" + signedNumber(e);
  }
  for (const LetterPoly& factor : values.factors) line += ResultFactorText(factor, order, oneVariable);
  return line;
}

bool HoldsResult(const LineShape& line) {
  // A line that does not begin with "=" holds no result, nor does the echo's.
  return line.startsSegment && line.holdsFactor && !line.expandedProduct && !line.echo;
}

LineShape ShapeOf(std::string_view line, bool echo) {
  LineShape shape;
  shape.echo = echo;
  shape.startsSegment = !line.empty() && line.front() == '=';
  shape.holdsFactor = line.find('(') != std::string_view::npos;
  shape.expandedProduct = line.find('[') != std::string_view::npos;
  return shape;
}

std::vector<std::string> LinesOf(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string line(text.substr(start, end - start));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::string_view LastSegment(std::string_view line) {
  const size_t equals = line.rfind('=');
  return equals == std::string_view::npos ? line : line.substr(equals);
}

std::string JudgedSegment(const std::vector<std::string>& lines) {
  const size_t line = JudgedLine(lines, false);
  return line < lines.size() ? std::string(LastSegment(lines[line])) : std::string();
}

Presented PresentedSegment(const std::vector<std::string>& lines) {
  auto withoutEquals = [](std::string_view segment) {
    if (!segment.empty() && segment.front() == '=') segment.remove_prefix(1);
    return std::string(Trimmed(segment));
  };
  for (size_t i = 1; i + 1 < lines.size(); ++i) {
    const std::string_view next = Trimmed(lines[i + 1]);
    if (marks::StartsWith(Trimmed(lines[i]), marks::kCertificate) && !next.empty() && next.front() == '=') {
      return {withoutEquals(LastSegment(next)), true};
    }
  }
  const size_t line = JudgedLine(lines, true);
  if (line < lines.size()) return {withoutEquals(LastSegment(Trimmed(lines[line]))), false};
  if (!lines.empty() && lines[0].find('=') != std::string::npos) return {withoutEquals(LastSegment(lines[0])), false};
  return {};
}

// ---- ResultRecord ------------------------------------------------------------

void ResultRecord::OpenSegment(ResultProduct common) {
  if (lineStart_ == LineStart::kNothingYet) lineStart_ = LineStart::kSegment;
  segment_ = std::move(common);
  segmentOnLine_ = true;
}

void ResultRecord::AddFactor(LetterPoly factor) {
  if (lineStart_ == LineStart::kNothingYet) lineStart_ = LineStart::kFactor;
  if (!segmentOnLine_) return;
  segment_->factors.push_back(std::move(factor));
  lineHasFactor_ = true;
}

void ResultRecord::MarkUnreadable() {
  if (segmentOnLine_) segment_->unreadable = true;
}

void ResultRecord::EndLine() {
  if (HoldsResult(Shape())) lastLine_ = segment_;
  segmentOnLine_ = false;
  lineStart_ = LineStart::kNothingYet;
  lineHasFactor_ = false;
  firstLine_ = false;
}

std::optional<ResultProduct> ResultRecord::Judged() const { return HoldsResult(Shape()) ? segment_ : lastLine_; }

LineShape ResultRecord::Shape() const {
  // The expanded products are written without factors of their own.
  return {firstLine_, lineStart_ == LineStart::kSegment, lineHasFactor_, false};
}

}  // namespace pfac::format
