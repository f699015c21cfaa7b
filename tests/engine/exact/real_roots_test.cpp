// The real roots of a polynomial in one letter: counted and isolated exactly,
// labelled as a student reads them, a label from outside put in place, and
// the points where the graph turns.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/exact/real_roots.h"

namespace pfac::exact {
namespace {

// The polynomial with these coefficients, the highest first.
RationalPolynomial Coefficients(const std::vector<std::string>& highestFirst) {
  RationalPolynomial p{1, {}};
  const int degree = static_cast<int>(highestFirst.size()) - 1;
  for (int i = 0; i <= degree; ++i) {
    if (highestFirst[i] != "0") p.terms.push_back({highestFirst[i], {degree - i}});
  }
  return p;
}

struct RootsCase {
  const char* name;
  std::vector<std::string> coefficients;  // the highest first
  std::vector<std::string> labels;        // of the roots, increasing
  std::vector<int> multiplicities;
  std::vector<double> values;             // the roots, to 1e-12
  size_t turningPoints;
};

TEST(RealRootsFound, CountedIsolatedAndLabelled) {
  const double r2 = std::sqrt(2.0), r3 = std::sqrt(3.0);
  const RootsCase cases[] = {
      {"x^3 - x", {"1", "0", "-1", "0"}, {"−1", "0", "1"}, {1, 1, 1}, {-1, 0, 1}, 2},
      {"(x - 1)^2(x + 2)", {"1", "0", "-3", "2"}, {"−2", "1"}, {1, 2}, {-2, 1}, 2},
      {"x^2 + 1", {"1", "0", "1"}, {}, {}, {}, 1},
      {"x^4 - 5x^2 + 4", {"1", "0", "-5", "0", "4"}, {"−2", "−1", "1", "2"}, {1, 1, 1, 1}, {-2, -1, 1, 2}, 3},
      {"3x^2 + 2x - 1", {"3", "2", "-1"}, {"−1", "1/3"}, {1, 1}, {-1, 1.0 / 3}, 1},
      {"1/2x^2 - 1/8", {"1/2", "0", "-1/8"}, {"−1/2", "1/2"}, {1, 1}, {-0.5, 0.5}, 1},
      {"x^2 - 2", {"1", "0", "-2"}, {"−1.414", "1.414"}, {1, 1}, {-r2, r2}, 1},
      {"x^3 - 2", {"1", "0", "0", "-2"}, {"1.260"}, {1}, {std::cbrt(2.0)}, 1},
      {"x^3 - 3x + 1", {"1", "0", "-3", "1"}, {"−1.879", "0.347", "1.532"}, {1, 1, 1},
       {-2 * std::cos(M_PI / 9) , 2 * std::cos(4 * M_PI / 9), 2 * std::cos(2 * M_PI / 9)}, 2},
      // ±√2 ± √3: four roots of one irreducible factor.
      {"x^4 - 10x^2 + 1", {"1", "0", "-10", "0", "1"}, {"−3.146", "−0.318", "0.318", "3.146"}, {1, 1, 1, 1},
       {-r2 - r3, r2 - r3, r3 - r2, r2 + r3}, 3},
      // (x^2 - 2)^3 (x + 1)^4: repeated irrational and rational roots.
      {"(x^2 - 2)^3(x + 1)^4",
       {"1", "4", "0", "-20", "-23", "24", "58", "16", "-36", "-32", "-8"},
       {"−1.414", "−1", "1.414"}, {3, 4, 3}, {-r2, -1, r2}, 5},
      // Two roots a millionth apart.
      {"(x^2 - 2)(x^2 - 2000001/1000000)", {"1", "0", "-4000001/1000000", "0", "2000001/500000"},
       {"−1.414", "−1.414", "1.414", "1.414"}, {1, 1, 1, 1},
       {-std::sqrt(2.000001), -r2, r2, std::sqrt(2.000001)}, 3},
      {"x^24 - 1", {"1", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0", "0",
                    "0", "0", "0", "0", "0", "-1"},
       {"−1", "1"}, {1, 1}, {-1, 1}, 1},
  };
  for (const RootsCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string why;
    const auto found = FindRealRoots(Coefficients(c.coefficients), {}, &why);
    ASSERT_TRUE(found) << why;
    std::vector<std::string> labels;
    std::vector<int> multiplicities;
    for (const LabelledRoot& root : found->roots) {
      labels.push_back(root.label);
      multiplicities.push_back(root.multiplicity);
    }
    EXPECT_EQ(labels, c.labels);
    EXPECT_EQ(multiplicities, c.multiplicities);
    ASSERT_EQ(found->roots.size(), c.values.size());
    for (size_t i = 0; i < c.values.size(); ++i) EXPECT_NEAR(found->roots[i].value, c.values[i], 1e-12);
    EXPECT_EQ(found->turningPoints.size(), c.turningPoints);
    EXPECT_TRUE(std::is_sorted(found->turningPoints.begin(), found->turningPoints.end()));
  }
}

// A root is refined to the double nearest it; a label from outside replaces
// the decimals of the root it matches, and no other.
TEST(RealRootsFound, RefinedToTheLastPlaceAndLabelledFromOutside) {
  std::string why;
  const auto found = FindRealRoots(Coefficients({"1", "-2", "-1"}), {{1 + std::sqrt(2.0), "1 + √2"}}, &why);
  ASSERT_TRUE(found) << why;
  ASSERT_EQ(found->roots.size(), 2u);
  EXPECT_EQ(found->roots[0].label, "−0.414");
  EXPECT_EQ(found->roots[1].label, "1 + √2");
  EXPECT_FALSE(found->roots[1].rational);
  EXPECT_LE(std::fabs(found->roots[1].value - (1 + std::sqrt(2.0))), 4e-16);
  EXPECT_EQ(found->turningPoints, std::vector<double>{1.0});
  EXPECT_EQ(found->coefficients, (std::vector<double>{-1, -2, 1}));
  // √2 labels its own root, not −√2 beside it.
  const auto mirrored = FindRealRoots(Coefficients({"1", "0", "-2"}), {{std::sqrt(2.0), "√2"}}, &why);
  ASSERT_TRUE(mirrored) << why;
  ASSERT_EQ(mirrored->roots.size(), 2u);
  EXPECT_EQ(mirrored->roots[0].label, "−1.414");
  EXPECT_EQ(mirrored->roots[1].label, "√2");
}

// Rational roots closer than doubles tell apart stand in their order; a root
// far from 1 is written with a power of ten.
TEST(RealRootsFound, FarAndCloseRoots) {
  std::string why;
  // (x - 10^15)(x - 10^15 - 1/1000)
  const auto close = FindRealRoots(
      Coefficients({"1", "-2000000000000000001/1000", "1000000000000000001000000000000000/1000"}), {}, &why);
  ASSERT_TRUE(close) << why;
  ASSERT_EQ(close->roots.size(), 2u);
  EXPECT_EQ(close->roots[0].label, "1000000000000000");
  EXPECT_EQ(close->roots[1].label, "1000000000000000001/1000");
  // x^2 - 10^30 x + 1: roots near 10^-30 and 10^30.
  const auto far = FindRealRoots(Coefficients({"1", "-1000000000000000000000000000000", "1"}), {}, &why);
  ASSERT_TRUE(far) << why;
  ASSERT_EQ(far->roots.size(), 2u);
  EXPECT_EQ(far->roots[0].label, "1.000×10⁻³⁰");
  EXPECT_EQ(far->roots[1].label, "1.000×10³⁰");
  EXPECT_EQ(DecimalLabel(-0.0000025), "−2.500×10⁻⁶");
}

TEST(RealRootsFound, OnlyAPolynomialInOneLetter) {
  std::string why;
  EXPECT_FALSE(FindRealRoots({2, {{"1", {1, 0}}, {"1", {0, 1}}}}, {}, &why));
  EXPECT_FALSE(FindRealRoots(Coefficients({"5"}), {}, &why));
  EXPECT_FALSE(FindRealRoots(Coefficients({"1", "x"}), {}, &why));
}

}  // namespace
}  // namespace pfac::exact
