// The choice of the variable order and the combination of stored factors.
#include <gtest/gtest.h>

#include <set>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

TEST(VariableOrder, PermutationsComeInTheirFixedOrder) {
  Workbench w;
  Engine& e = w.e;
  e.Order.SubsetSize = 3;
  e.GeneratePermutations();
  EXPECT_EQ(e.Order.Permutations, (std::vector<std::vector<float>>{
                                {1, 2, 3}, {3, 2, 1}, {1, 3, 2}, {2, 1, 3}, {3, 1, 2}, {2, 3, 1}}));
  e.Order.SubsetSize = 1;
  e.GeneratePermutations();
  EXPECT_EQ(e.Order.Permutations, (std::vector<std::vector<float>>{{1}}));
  e.Order.SubsetSize = 8;
  e.GeneratePermutations();
  ASSERT_EQ(e.Order.Permutations.size(), 40320u);
  std::set<std::vector<float>> distinct(e.Order.Permutations.begin(), e.Order.Permutations.end());
  EXPECT_EQ(distinct.size(), 40320u);
  EXPECT_EQ(e.Order.Permutations[1], (std::vector<float>{8, 2, 3, 4, 5, 6, 7, 1}));
}

TEST(VariableOrder, BinomialCountsSubsetsAndOrders) {
  Workbench w;
  Engine& e = w.e;
  e.Order.SelectionTop = 9;
  e.Order.SubsetSize = 8;
  e.Binomial();
  EXPECT_EQ(e.Order.SubsetCount, 9);
  EXPECT_EQ(e.Order.OrderCount, 40320);
  e.Order.SelectionTop = 4;
  e.Order.SubsetSize = 2;
  e.Binomial();
  EXPECT_EQ(e.Order.SubsetCount, 6);
  // C(20, 10) = 184756 does not fit the 16-bit count: that size is skipped.
  e.Order.SelectionTop = 20;
  e.Order.SubsetSize = 10;
  e.Binomial();
  EXPECT_EQ(e.Order.SubsetCount, 0);
}

TEST(VariableOrder, OneVariableKeepsItsExponentsAsCodes) {
  HandedOver run("x^3+x+1");
  Engine& e = run.e();
  EXPECT_EQ(e.Dense.ImageDegree, 3);
  EXPECT_EQ(e.Order.BestSpread, 3);
  EXPECT_EQ(e.Order.BestWeight[1], 1);
  EXPECT_EQ(e.Terms.Weight[1], 1);
  EXPECT_EQ(e.Terms.TermCode[1], 3);
  EXPECT_EQ(e.Terms.TermCode[2], 1);
  EXPECT_EQ(e.Terms.TermCode[3], 0);
}

TEST(VariableOrder, SmallestSpreadWinsAndTheFirstOfEqualSpreads) {
  // y main: weights 1, 2, codes 4 and 1; x main: weights 1, 3, codes 2, 3.
  HandedOver run("x^2+y");
  Engine& e = run.e();
  EXPECT_EQ(e.Terms.Letter[1], "x");
  EXPECT_EQ(e.Terms.Letter[2], "y");
  EXPECT_EQ(e.Terms.Weight[2], 3);
  EXPECT_EQ(e.Terms.TermCode[1], 2);
  EXPECT_EQ(e.Terms.TermCode[2], 3);
  EXPECT_EQ(e.Dense.ImageDegree, 1);
  EXPECT_EQ(e.Terms.InputLetter[1], "x");

  // Both orders give spread 4: the first order (1 2) makes y the main variable.
  HandedOver equal("x^2+y^2");
  EXPECT_EQ(equal.e().Terms.Letter[1], "y");
  EXPECT_EQ(equal.e().Terms.Exponent[1][2], 2);  // x^2: x is now the second column
  EXPECT_EQ(equal.e().Dense.ImageDegree, 4);
}

TEST(VariableOrder, OrdersWhoseCodesLeaveSixteenBitsArePassedOver) {
  // y main would give x^326 the code 326 * 101 = 32926.
  HandedOver run("x^326+y^100");
  Engine& e = run.e();
  EXPECT_EQ(e.Terms.Letter[1], "x");
  EXPECT_EQ(e.Terms.Weight[2], 327);
  EXPECT_EQ(e.Dense.ImageDegree, 32374);
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
  e.Terms.VariableCount = 2;
  e.Terms.Weight[1] = 1;
  e.Terms.Weight[2] = 2;
  e.Terms.TargetDegree[1] = xDegree;
  e.Terms.TargetDegree[2] = yDegree;
  e.Split.CodeOffset = 0;
  SetVector(e.Dense.Image, {1});
  e.Dense.ImageDegree = 0;
  SetVector(e.Dense.PassImage, passImage);
  e.Dense.PassDegree = static_cast<int16_t>(passImage.size() - 1);
  for (const std::vector<float>& f : factors) {
    std::copy(f.begin(), f.end(), e.Dense.Trial.begin());
    e.Dense.TrialDegree = static_cast<int16_t>(f.size() - 1);
    e.StoreFactor();
  }
  SetVector(e.Dense.Cofactor, {1});
  e.Dense.CofactorDegree = 0;
  e.Order.SelectionTop = static_cast<int16_t>(e.Dense.StoredCount - 1);
  e.Order.SelectionStart = 1;
}

TEST(CombineStoredFactors, AcceptedSubsetKeepsOnlyItsFactors) {
  // Subsets in order {1} {2} {3} {4} {1,2} {1,3} {1,4} {2,3}: only {2,3},
  // (1 - t)^2 against (1 + t)^2 (1 + t^2), has degrees adding up to (2, 3).
  Workbench w;
  Engine& e = w.e;
  StoreFactors(e, {{1, 1}, {1, -1}, {1, -1}, {1, 0, 1}, {1, 1}}, {1, 0, -1, 0, -1, 0, 1}, 2, 3);
  e.CombineStoredFactors();
  EXPECT_EQ(e.Split.SplitResult, Engine::kSplitFound);
  EXPECT_EQ(e.Dense.StoredCount, 2);
  EXPECT_EQ(e.Dense.StoreFill, 4);
  EXPECT_EQ(Entries(e.Dense.FactorStore, 3), (std::vector<float>{1, -1, 1, -1}));
  EXPECT_EQ(e.Dense.FactorEnd[1], 2);
  EXPECT_EQ(e.Dense.FactorEnd[2], 4);
  EXPECT_EQ(e.Dense.FactorDegree[2], 1);
  EXPECT_EQ(e.Dense.CofactorDegree, 2);
  EXPECT_EQ(Entries(e.Dense.Cofactor, 2), (std::vector<float>{1, -2, 1}));
  EXPECT_EQ(Entries(e.Dense.Trial, 4), (std::vector<float>{1, 2, 2, 2, 1}));
}

TEST(CombineStoredFactors, NewestFactorIsNeverPartOfASubset) {
  // Three stored factors: only {1} and {2} are tried. {3} alone would fit.
  Workbench w;
  Engine& e = w.e;
  StoreFactors(e, {{1, 1}, {1, 1}, {1, 0, 1}}, {1, 2, 2, 2, 1}, 1, 2);
  e.CombineStoredFactors();
  EXPECT_EQ(e.Split.SplitResult, Engine::kFactorStored);
  EXPECT_EQ(e.Dense.StoredCount, 3);
  EXPECT_EQ(e.Dense.CofactorDegree, 0);
  EXPECT_EQ(e.Dense.Cofactor[0], 1);
}

}  // namespace
}  // namespace pfac::testing
