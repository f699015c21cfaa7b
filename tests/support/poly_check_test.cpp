// The exact checker reads the input as the engine does; a misreading makes a
// correct result look wrong (or a wrong one look right).
#include "support/poly_check.h"

#include <gtest/gtest.h>

namespace pfac::testing {
namespace {

Poly X(int e = 1) { return Poly::Variable('x', e); }
Poly Z() { return Poly::Variable('z'); }
Poly C(Integer c) { return Poly::Constant(c); }

TEST(ExactChecker, ReadsSignedCoefficientsAfterAPlusAsTheEngineDoes) {
  // A "+" only separates terms; the coefficient after it keeps its own sign,
  // and a lone "-" is -1 (found by fuzzing: x^2+-2z+2 was read as x^2+1-2z+2).
  EXPECT_EQ(ParseInput("x^2+-2z+2")->numerator, X(2) + C(-2) * Z() + C(2));
  EXPECT_EQ(ParseInput("x++3x^5")->numerator, X() + C(3) * X(5));
  EXPECT_EQ(ParseInput("x+-z")->numerator, X() + C(-1) * Z());
  EXPECT_EQ(ParseInput("x+-")->numerator, X() + C(-1));
  EXPECT_EQ(ParseInput("x--z")->numerator, X() + C(-1) + C(-1) * Z());
  EXPECT_EQ(ParseInput("x+ 3")->numerator, X() + C(3));
}

TEST(ExactChecker, ReadsResultLinesWithTheirCommonFactor) {
  auto line = ParseResultLine("=-3/2x(x + 1)(x^ 2 - 2)");
  ASSERT_TRUE(line);
  EXPECT_EQ(line->denominator, 2);
  EXPECT_EQ(line->numerator, C(-3) * X() * (X() + C(1)) * (X(2) + C(-2)));
  EXPECT_FALSE(ParseResultLine("=( 1.677722E+07x + 1)"));
}

}  // namespace
}  // namespace pfac::testing
