// The exact companion on its own interface: the engine's tables handed to it
// as a step would hand them, and a factoriser whose readiness is fixed.
#include <gtest/gtest.h>

#include "engine/exact/companion.h"
#include "support/exact_fake.h"

namespace pfac::testing {
namespace {

using exact::Finding;
using Readiness = FakeFactoriser::Readiness;

// A polynomial in x as the search lays it out: its two terms in the term
// table, the pass's image from the constant up.
struct OneVariable {
  FloatTable numerator;
  FloatGrid exponent;
  TextTable letter{"", "x"};
  ShortTable weight{0, 1};
  FloatTable minExponent{0, 0};
  FloatTable image;

  // a x^n + b, searched as it stands.
  OneVariable(float a, int n, float b) : numerator{0, a, b}, image(static_cast<size_t>(n) + 1, 0.0f) {
    exponent.Create(3, 2);
    exponent[1][1] = static_cast<float>(n);
    image[0] = b;
    image[n] = a;
  }
  // The pass's polynomial becomes another one (a cofactor).
  void Pass(std::initializer_list<float> values) { image.assign(values); }

  exact::EngineTables Tables() const {
    return {2, 1, numerator, exponent, letter, weight, 1, 1, 1, letter, minExponent, image,
            static_cast<int>(image.size()) - 1, 0, false};
  }
};

// The factoriser starts once the run has searched a tenth of a second; a
// pass that has searched as long without a split takes the exact factor of
// lowest degree, laid out as the image with its quotient; once one split,
// every later pass takes its own at once, and a pass whose polynomial is an
// exact factor is proved irreducible.
TEST(Companion, StartsLateTakesTheLowestFactorThenEveryPassAtOnce) {
  FakeFactoriser factoriser(Readiness::kAtStart);
  exact::Companion companion(&factoriser);
  OneVariable x4(1, 4, 64);  // x^4 + 64 = (x^2 + 4x + 8)(x^2 - 4x + 8)
  companion.TakeInputAtFirstSearch(x4.Tables(), 4);
  EXPECT_TRUE(companion.Taken());
  EXPECT_EQ(factoriser.Starts(), 0) << "degree 4 waits for the search";

  companion.SearchBegins(1000);
  EXPECT_EQ(companion.LookForResult(x4.Tables(), 1099), Finding::kNothing);
  EXPECT_EQ(factoriser.Starts(), 0);
  EXPECT_EQ(companion.LookForResult(x4.Tables(), 1100), Finding::kNothing);
  EXPECT_EQ(factoriser.Starts(), 1);

  // A new pass of the same polynomial: its own tenth of a second counts.
  companion.SearchBegins(5000);
  EXPECT_EQ(companion.LookForResult(x4.Tables(), 5099), Finding::kNothing);
  ASSERT_EQ(companion.LookForResult(x4.Tables(), 5100), Finding::kFactorToHandOver);
  const exact::HandOver factor = companion.TakeHandOver();
  EXPECT_EQ(factor.degree, 2);
  EXPECT_EQ(factor.trial, (std::vector<float>{8, 4, 1}));
  EXPECT_EQ(factor.quotient, (std::vector<float>{8, -4, 1}));
  EXPECT_EQ(factor.text, "x^2+4x+8");
  EXPECT_EQ(companion.LookForResult(x4.Tables(), 9000), Finding::kNothing) << "taken once a pass";
  companion.HandOverChecked(true);
  EXPECT_TRUE(companion.TakesAtOnce());

  x4.Pass({8, -4, 1});
  companion.SearchBegins(9000);
  EXPECT_TRUE(companion.ProvesIrreducible(x4.Tables()));
  EXPECT_EQ(companion.LookForResult(x4.Tables(), 9000), Finding::kIrreducible);
}

// A polynomial of total degree 12 or more has the factoriser started as soon
// as the first search takes it, and its pass takes the exact factor at the
// first look after the factorisation has come, without a tenth of a second
// of search; letters it cannot hold leave it untaken.
TEST(Companion, HighDegreeStartsAtOnceAndTakesItsFactorAtOnce) {
  FakeFactoriser high(Readiness::kAtStart);
  exact::Companion atOnce(&high);
  OneVariable x12(1, 12, -1);
  atOnce.TakeInputAtFirstSearch(x12.Tables(), 12);
  EXPECT_EQ(high.Starts(), 1);
  EXPECT_EQ(high.Input().terms.size(), 2u);
  atOnce.SearchBegins(1000);
  ASSERT_EQ(atOnce.LookForResult(x12.Tables(), 1000), Finding::kFactorToHandOver);
  EXPECT_EQ(atOnce.TakeHandOver().degree, 1);

  // Not yet there: the search goes on, and takes it when it comes.
  FakeFactoriser later(Readiness::kAtFirstWait);
  exact::Companion waiting(&later);
  waiting.TakeInputAtFirstSearch(x12.Tables(), 12);
  waiting.SearchBegins(1000);
  EXPECT_EQ(waiting.LookForResult(x12.Tables(), 1000), Finding::kNothing);
  later.Wait(0);
  EXPECT_EQ(waiting.LookForResult(x12.Tables(), 1001), Finding::kFactorToHandOver);

  FakeFactoriser none(Readiness::kAtStart);
  exact::Companion untaken(&none);
  OneVariable upper(1, 12, -1);
  upper.letter[1] = "X";
  untaken.TakeInputAtFirstSearch(upper.Tables(), 12);
  EXPECT_FALSE(untaken.Taken());
  EXPECT_EQ(none.Starts(), 0);
}

}  // namespace
}  // namespace pfac::testing
