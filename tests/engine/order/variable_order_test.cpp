// The choice of the variable order and the combination of stored factors.
#include <gtest/gtest.h>

#include <set>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

TEST(VariableOrder, PermutationsComeInTheirFixedOrder) {
  Workbench w;
  Engine& e = w.e;
  e.SubsetSize = 3;
  e.GeneratePermutations();
  EXPECT_EQ(e.Permutations, (std::vector<std::vector<float>>{
                                {1, 2, 3}, {3, 2, 1}, {1, 3, 2}, {2, 1, 3}, {3, 1, 2}, {2, 3, 1}}));
  e.SubsetSize = 1;
  e.GeneratePermutations();
  EXPECT_EQ(e.Permutations, (std::vector<std::vector<float>>{{1}}));
  e.SubsetSize = 8;
  e.GeneratePermutations();
  ASSERT_EQ(e.Permutations.size(), 40320u);
  std::set<std::vector<float>> distinct(e.Permutations.begin(), e.Permutations.end());
  EXPECT_EQ(distinct.size(), 40320u);
  EXPECT_EQ(e.Permutations[1], (std::vector<float>{8, 2, 3, 4, 5, 6, 7, 1}));
}

TEST(VariableOrder, BinomialCountsSubsetsAndOrders) {
  Workbench w;
  Engine& e = w.e;
  e.SelectionTop = 9;
  e.SubsetSize = 8;
  e.Binomial();
  EXPECT_EQ(e.SubsetCount, 9);
  EXPECT_EQ(e.OrderCount, 40320);
  e.SelectionTop = 4;
  e.SubsetSize = 2;
  e.Binomial();
  EXPECT_EQ(e.SubsetCount, 6);
  // C(20, 10) = 184756 does not fit the 16-bit count: that size is skipped.
  e.SelectionTop = 20;
  e.SubsetSize = 10;
  e.Binomial();
  EXPECT_EQ(e.SubsetCount, 0);
}

TEST(VariableOrder, OneVariableKeepsItsExponentsAsCodes) {
  HandedOver run("x^3+x+1");
  Engine& e = run.e();
  EXPECT_EQ(e.ImageDegree, 3);
  EXPECT_EQ(e.BestSpread, 3);
  EXPECT_EQ(e.BestWeight[1], 1);
  EXPECT_EQ(e.Weight[1], 1);
  EXPECT_EQ(e.TermCode[1], 3);
  EXPECT_EQ(e.TermCode[2], 1);
  EXPECT_EQ(e.TermCode[3], 0);
}

TEST(VariableOrder, SmallestSpreadWinsAndTheFirstOfEqualSpreads) {
  // y main: weights 1, 2, codes 4 and 1; x main: weights 1, 3, codes 2, 3.
  HandedOver run("x^2+y");
  Engine& e = run.e();
  EXPECT_EQ(e.Letter[1], "x");
  EXPECT_EQ(e.Letter[2], "y");
  EXPECT_EQ(e.Weight[2], 3);
  EXPECT_EQ(e.TermCode[1], 2);
  EXPECT_EQ(e.TermCode[2], 3);
  EXPECT_EQ(e.ImageDegree, 1);
  EXPECT_EQ(e.InputLetter[1], "x");

  // Both orders give spread 4: the first order (1 2) makes y the main variable.
  HandedOver equal("x^2+y^2");
  EXPECT_EQ(equal.e().Letter[1], "y");
  EXPECT_EQ(equal.e().Exponent[1][2], 2);  // x^2: x is now the second column
  EXPECT_EQ(equal.e().ImageDegree, 4);
}

TEST(VariableOrder, OrdersWhoseCodesLeaveSixteenBitsArePassedOver) {
  // y main would give x^326 the code 326 * 101 = 32926.
  HandedOver run("x^326+y^100");
  Engine& e = run.e();
  EXPECT_EQ(e.Letter[1], "x");
  EXPECT_EQ(e.Weight[2], 327);
  EXPECT_EQ(e.ImageDegree, 32374);
  EXPECT_NE(run.Transcript().find("次数太高了!\n"), std::string::npos);

  // Every order gives x^200 y^200 z the code 80801: the run stops.
  EngineRun none;
  none.Factor("x^200y^200z+1");
  EXPECT_EQ(none.status, 0);
  EXPECT_NE(none.Transcript().find("exceeds 32767"), std::string::npos) << none.Transcript();
  EXPECT_NE(none.Result().find("\r\nStopped: the substitution exponents exceed 32767"), std::string::npos);
}

// A store of factors of the pass's image in two variables with weights 1
// and 2, the image still to factor being 1.
void StoreFactors(Engine& e, const std::vector<std::vector<float>>& factors,
                  std::initializer_list<float> passImage, float xDegree, float yDegree) {
  e.VariableCount = 2;
  e.Weight[1] = 1;
  e.Weight[2] = 2;
  e.TargetDegree[1] = xDegree;
  e.TargetDegree[2] = yDegree;
  e.CodeOffset = 0;
  SetVector(e.Image, {1});
  e.ImageDegree = 0;
  SetVector(e.PassImage, passImage);
  e.PassDegree = static_cast<int16_t>(passImage.size() - 1);
  for (const std::vector<float>& f : factors) {
    std::copy(f.begin(), f.end(), e.Trial.begin());
    e.TrialDegree = static_cast<int16_t>(f.size() - 1);
    e.StoreFactor();
  }
  SetVector(e.Cofactor, {1});
  e.CofactorDegree = 0;
  e.SelectionTop = static_cast<int16_t>(e.StoredCount - 1);
  e.SelectionStart = 1;
}

TEST(CombineStoredFactors, AcceptedSubsetKeepsOnlyItsFactors) {
  // Subsets in order {1} {2} {3} {4} {1,2} {1,3} {1,4} {2,3}: only {2,3},
  // (1 - t)^2 against (1 + t)^2 (1 + t^2), has degrees adding up to (2, 3).
  Workbench w;
  Engine& e = w.e;
  StoreFactors(e, {{1, 1}, {1, -1}, {1, -1}, {1, 0, 1}, {1, 1}}, {1, 0, -1, 0, -1, 0, 1}, 2, 3);
  e.CombineStoredFactors();
  EXPECT_EQ(e.SplitResult, 3);
  EXPECT_EQ(e.StoredCount, 2);
  EXPECT_EQ(e.StoreFill, 4);
  EXPECT_EQ(Entries(e.FactorStore, 3), (std::vector<float>{1, -1, 1, -1}));
  EXPECT_EQ(e.FactorEnd[1], 2);
  EXPECT_EQ(e.FactorEnd[2], 4);
  EXPECT_EQ(e.FactorDegree[2], 1);
  EXPECT_EQ(e.CofactorDegree, 2);
  EXPECT_EQ(Entries(e.Cofactor, 2), (std::vector<float>{1, -2, 1}));
  EXPECT_EQ(Entries(e.Trial, 4), (std::vector<float>{1, 2, 2, 2, 1}));
}

TEST(CombineStoredFactors, NewestFactorIsNeverPartOfASubset) {
  // Three stored factors: only {1} and {2} are tried. {3} alone would fit.
  Workbench w;
  Engine& e = w.e;
  StoreFactors(e, {{1, 1}, {1, 1}, {1, 0, 1}}, {1, 2, 2, 2, 1}, 1, 2);
  e.CombineStoredFactors();
  EXPECT_EQ(e.SplitResult, 2);
  EXPECT_EQ(e.StoredCount, 3);
  EXPECT_EQ(e.CofactorDegree, 0);
  EXPECT_EQ(e.Cofactor[0], 1);
}

}  // namespace
}  // namespace pfac::testing
