#include "engine/numbers.h"

#include <gtest/gtest.h>

namespace pfac {
namespace {

TEST(NumberText, IntegersKeepEveryDigitWithinTheExactRange) {
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(3), " 3");
  EXPECT_EQ(NumberText(-3), "-3");
  EXPECT_EQ(NumberText(12345678), " 12345678");  // not rounded to 7 digits
  EXPECT_EQ(NumberText(16777216), " 16777216");
  EXPECT_EQ(NumberItem(-12), "-12 ");
}

TEST(NumberText, LargerIntegersTakeTheExponentForm) {
  EXPECT_EQ(NumberText(16777218.0f), " 1.677722E+07");
  EXPECT_EQ(NumberText(1e8f), " 1E+08");
  EXPECT_EQ(NumberText(-33554432.0f), "-3.355443E+07");
}

TEST(NumberText, FractionsHaveNoLeadingZeroAndNoTrailingZeros) {
  EXPECT_EQ(NumberText(0.5f), " .5");
  EXPECT_EQ(NumberText(-0.25f), "-.25");
  EXPECT_EQ(NumberText(2.5f), " 2.5");
  EXPECT_EQ(NumberText(1.0f / 3.0f), " .3333333");
  EXPECT_EQ(NumberText(3.0000002f), " 3");  // seven significant digits
}

TEST(ProductText, ProductsOfCoefficientsAreExactBeyondTheRangeOfAFloat) {
  EXPECT_EQ(ProductText(-3, 4), "-12");
  EXPECT_EQ(ProductText(4096, 4096), " 16777216");
  // 3991 x 4204 = 16,778,164: the float product would read 1.677816E+07.
  EXPECT_EQ(NumberText(3991.0f * 4204.0f), " 1.677816E+07");
  EXPECT_EQ(ProductText(3991, 4204), " 16778164");
  EXPECT_EQ(ProductText(-16777216, 16777215), "-281474959933440");
  EXPECT_EQ(ProductText(0.5f, 3), " 1.5");
}

TEST(ToInt16, RoundsHalvesToEvenAndStopsOutsideTheRange) {
  EXPECT_EQ(ToInt16(2.5f), 2);
  EXPECT_EQ(ToInt16(3.5f), 4);
  EXPECT_EQ(ToInt16(-2.5f), -2);
  EXPECT_EQ(ToInt16(32767.0f), 32767);
  EXPECT_EQ(ToInt16(-32768.0f), -32768);
  EXPECT_THROW(ToInt16(32767.6f), RangeStop);
  EXPECT_THROW(ToInt16(-40000.0f), RangeStop);
  EXPECT_THROW(ToInt16(std::nanf("")), RangeStop);
}

TEST(ReadNumber, TakesTheLongestNumberAtTheStart) {
  EXPECT_EQ(ReadNumber("3/2x"), 3.0f);
  EXPECT_EQ(ReadNumber("  -12abc"), -12.0f);
  EXPECT_EQ(ReadNumber("+7"), 7.0f);
  EXPECT_EQ(ReadNumber("2.5x"), 2.5f);
  EXPECT_EQ(ReadNumber("2e3"), 2000.0f);
  EXPECT_EQ(ReadNumber("2d+2y"), 200.0f);
  EXPECT_EQ(ReadNumber("2e^3"), 2.0f);  // no digits after the letter: no exponent part
  EXPECT_EQ(ReadNumber("x"), 0.0f);
  EXPECT_EQ(ReadNumber("/3"), 0.0f);
  EXPECT_EQ(ReadNumber(""), 0.0f);
  EXPECT_EQ(ReadNumber("-"), 0.0f);
  EXPECT_EQ(ReadNumber(" 2"), 2.0f);
}

}  // namespace
}  // namespace pfac
