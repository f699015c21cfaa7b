// The engine's numbers: 32-bit floats that hold integers, 16-bit integers for
// indices and degrees, and the two written forms of a number.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace pfac {

// Integral values of a 32-bit float are exact up to this magnitude, 2^24: the
// largest coefficient, denominator and intermediate value the engine holds.
// An integer, so that comparing a 64-bit integer with it never rounds.
inline constexpr int64_t kExactLimit = 16777216;

// A value that the engine cannot hold in the form it computes with: the run
// stops with the message instead of computing with a wrapped or inexact value.
struct RangeStop {
  std::string message;   // for the console, Chinese with English
  std::string fileLine;  // for jg.dat, ASCII
};

// Rounds to the nearest integer, halves to the even neighbour.
inline float RoundHalfEven(float v) { return std::nearbyint(v); }

// The integer part, toward minus infinity.
inline float Floor(float v) { return std::floor(v); }

// Divisibility as the engine tests it: a quotient equal to its floor.
inline bool IsWhole(float v) { return v == std::floor(v); }

// Float to 16-bit integer, rounding halves to even. A value outside the 16-bit
// range (or not a number) stops the run: the conversion would otherwise be
// undefined or wrap.
int16_t ToInt16(float v);
int16_t ToInt16(double v);
int16_t ToInt16(long v);
// Float to int for loop bounds and indices, rounding halves to even; checked
// the same way against the range of int.
int ToInt(float v);

// The number text: a sign position (blank or "-"), then the digits. Integers
// up to 16,777,216 in magnitude are written with all their digits; larger ones
// in exponent form with 7 significant digits (1.677722E+07); other values with
// at most 7 significant digits, no trailing zeros and no 0 before the point.
std::string NumberText(double v);
// The number item: the number text and one trailing blank.
inline std::string NumberItem(double v) { return NumberText(v) + " "; }

// The number text of the product of two coefficients (integral floats),
// computed exactly in 64 bits. Within the exact range of a float it is the
// number text of their float product; beyond it, where the float product would
// already be rounded, it is written with all its digits.
std::string ProductText(float a, float b);

// The value of the number at the start of a text: blanks skipped, an optional
// sign, digits with at most one decimal point, an optional exponent part (D, d,
// E or e, an optional sign and digits). 0 when the text starts with no number.
float ReadNumber(std::string_view text);

}  // namespace pfac
