// The normaliser: checks the polynomial text and writes it, term by term, as
// records of DXS1.DAT (a coefficient, variable/exponent pairs, a separator).
#include "engine/engine.h"

namespace pfac {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsExponentLetter(char c) { return c == 'D' || c == 'd' || c == 'e' || c == 'E'; }

// A coefficient as ReadCoefficient cuts it out must be an optional sign (or the
// blank of "x+ 3"), digits, and optionally "/" and digits that are not all 0.
bool WellFormedCoefficient(std::string_view c) {
  size_t i = 0;
  if (i < c.size() && (c[i] == '+' || c[i] == '-' || c[i] == ' ')) ++i;
  size_t digits = 0;
  while (i < c.size() && IsDigit(c[i])) ++i, ++digits;
  if (digits == 0) return false;
  if (i == c.size()) return true;
  if (c[i] != '/') return false;
  ++i;
  bool nonzero = false;
  digits = 0;
  while (i < c.size() && IsDigit(c[i])) nonzero |= c[i++] != '0', ++digits;
  return digits > 0 && nonzero && i == c.size();
}

}  // namespace

// Keeps a variable d, D, e or E from being read as the exponent part of a
// number: "^" goes after such a letter when a digit 1-9 follows, "^1" when a
// sign follows (2e3 -> 2e^3, 5d+1 -> 5d^1+1).
void Engine::ProtectExponentLetters() {
  const std::string& text = PolynomialText;
  std::string out;
  out.reserve(text.size() + text.size() / 2);
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (!IsExponentLetter(text[i]) || i + 1 >= text.size()) continue;
    char next = text[i + 1];
    if (next >= '1' && next <= '9') {
      out += '^';
    } else if (next == '+' || next == '-') {
      out += "^1";
    }
  }
  PolynomialText = std::move(out);
  Go(&Engine::TokenisePolynomial);
}

// Alternates between a coefficient at each term start and the variable
// factors after it; the text is consumed from the front.
void Engine::TokenisePolynomial() {
  if (!WorkOutput.Create(PathOf("DXS1.DAT"))) {
    StopRun("无法写工作文件 DXS1.DAT. (The working file DXS1.DAT cannot be written.)");
    return;
  }
  textFront_ = 0;
  auto rest = [this] { return std::string_view(PolynomialText).substr(textFront_); };
  for (;;) {
    if (!ReadCoefficient()) return;
    for (;;) {
      std::string_view text = rest();
      if (text.empty()) {
        WorkOutput.WriteRecord("+", "+");
        bool written = WorkOutput.Close();
        CloseAllFiles();
        PolynomialText.clear();
        textFront_ = 0;
        if (!written) {
          StopRun("无法写工作文件 DXS1.DAT. (The working file DXS1.DAT cannot be written.)");
          return;
        }
        ConsoleEnd();
        Go(&Engine::AllocateTables);
        return;
      }
      char h = text[0];
      if (IsLetter(h)) {
        WorkOutput.WriteRecord(std::string(1, h));
        bool hasSecond = text.size() > 1;
        char n = hasSecond ? text[1] : '\0';
        if (hasSecond && (n == '^' || n == '\'')) {
          textFront_ += 2;
          float v = ReadNumber(rest());
          if (!(v > 0)) {
            ReportInputError();
            return;
          }
          if (!WriteExponent(v)) return;
        } else {
          textFront_ += 1;
          if (n >= '1' && n <= '9') {
            float v = ReadNumber(rest());
              if (!WriteExponent(v)) return;
          } else if (hasSecond && n >= ':' && n <= '@') {
            // ":;<=>?@" after a variable is no exponent and no factor.
            ReportInputError();
            return;
          } else {
            WorkOutput.WriteRecord("1");
          }
        }
        continue;
      }
      if (h == '+') {
        WorkOutput.WriteRecord("+", "+");
        textFront_ += 1;
        break;
      }
      if (h == '-') {
        WorkOutput.WriteRecord("+", "+");
        break;
      }
      // A digit left after a variable, a blank, "*", "(", ".", "/", ",", and
      // every character that is not a letter in the place of a variable.
      ReportInputError();
      return;
    }
  }
}

bool Engine::ReadCoefficient() {
  std::string_view text = std::string_view(PolynomialText).substr(textFront_);
  float v = ReadNumber(text);
  if (v == 0) {
    if (!text.empty() && text[0] == '-') {
      WorkOutput.WriteRecord("-1");
      textFront_ += 1;
      return true;
    }
    WorkOutput.WriteRecord("1");
    if (text.empty() || static_cast<unsigned char>(text[0]) < 'A') {
      ReportInputError();
      return false;
    }
    return true;
  }
  size_t length = 1;
  while (length < text.size() && (text[length] == '/' || IsDigit(text[length]))) ++length;
  std::string_view coefficient = text.substr(0, length);
  // .5x, 3/x, 3/0x and 3/2/5 are no coefficients of the syntax.
  if (!WellFormedCoefficient(coefficient)) {
    ReportInputError();
    return false;
  }
  WorkOutput.WriteRecord(coefficient);
  textFront_ += length;
  return true;
}

// Writes the exponent record and drops the exponent's digits. The digits that
// stand in the text must be exactly those of the record: x^2.5 and x^2e05
// would otherwise leave the text and the records out of step.
bool Engine::WriteExponent(float v) {
  std::string record = NumberText(v);
  std::string_view digits = std::string_view(record).substr(1);
  std::string_view text = std::string_view(PolynomialText).substr(textFront_);
  size_t run = 0;
  while (run < text.size() && IsDigit(text[run])) ++run;
  WorkOutput.WriteRecord(record);
  if (text.substr(0, run) != digits) {
    ReportInputError();
    return false;
  }
  textFront_ += digits.size();
  return true;
}

void Engine::ReportInputError() {
  console_.WriteLine("输入错误！");
  CloseAllFiles();
  Go(&Engine::ClosingLines);
}

}  // namespace pfac
