#include "engine/numbers.h"

#include <cfenv>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace pfac {

namespace {

[[noreturn]] void OutOfRange() {
  throw RangeStop{"数值超出了本程序的计算范围,分解停止."
                  " (A value left the range the engine computes in; the run stops.)",
                  "Stopped: a value left the range the engine computes in."};
}

}  // namespace

int16_t ToInt16(double v) {
  double r = std::nearbyint(v);
  if (!(r >= -32768.0 && r <= 32767.0)) OutOfRange();
  return static_cast<int16_t>(r);
}

int16_t ToInt16(float v) { return ToInt16(static_cast<double>(v)); }

int16_t ToInt16(long v) {
  if (v < -32768 || v > 32767) OutOfRange();
  return static_cast<int16_t>(v);
}

int ToInt(float v) {
  double r = std::nearbyint(static_cast<double>(v));
  if (!(r >= std::numeric_limits<int>::min() && r <= std::numeric_limits<int>::max())) {
    OutOfRange();
  }
  return static_cast<int>(r);
}

std::string NumberText(double v) {
  if (std::isnan(v)) return " NaN";
  if (std::isinf(v)) return v < 0 ? "-Inf" : " Inf";
  std::string sign = v < 0 ? "-" : " ";
  double a = std::fabs(v);
  char digits[64];
  if (a == std::floor(a) && a <= kExactLimit) {
    // The digits of the integer, as "%.0f" writes them, without the cost of
    // formatting a float: a long result line writes thousands of them.
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, static_cast<int64_t>(a));
    return sign.append(digits, end.ptr);
  }
  // Seven significant digits; %G drops trailing zeros and writes two exponent
  // digits at least (1.677722E+07, 1E-05).
  std::snprintf(digits, sizeof digits, "%.7G", a);
  std::string text = digits;
  if (text.size() > 1 && text[0] == '0' && text[1] == '.') text.erase(0, 1);
  return sign + text;
}

std::string ProductText(float a, float b) {
  // Operands below 2^31 keep the product within 64 bits.
  constexpr float kOperandLimit = 2147483648.0f;
  const bool integral = a == std::floor(a) && b == std::floor(b) && std::fabs(a) < kOperandLimit &&
                        std::fabs(b) < kOperandLimit;
  if (!integral) return NumberText(a * b);
  const int64_t p = static_cast<int64_t>(a) * static_cast<int64_t>(b);
  const int64_t magnitude = p < 0 ? -p : p;
  if (magnitude <= kExactLimit) return NumberText(static_cast<double>(p));
  return (p < 0 ? "-" : " ") + std::to_string(magnitude);
}

float ReadNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  std::string prefix;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) prefix += text[i++];
  int digitCount = 0;
  bool point = false;
  while (i < text.size()) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      ++digitCount;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    prefix += c;
    ++i;
  }
  if (digitCount == 0) return 0.0f;
  if (i < text.size() && (text[i] == 'D' || text[i] == 'd' || text[i] == 'E' || text[i] == 'e')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    size_t digitsStart = j;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') exponent += text[j++];
    if (j > digitsStart) prefix += exponent;
  }
  return std::strtof(prefix.c_str(), nullptr);
}

}  // namespace pfac
