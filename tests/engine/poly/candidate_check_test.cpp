// The last check of a candidate and the mapping of image factors back to
// several variables.
#include <gtest/gtest.h>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

// A polynomial in x (weight 1) and y (weight 3): Image[i] is the coefficient of
// the code CodeOffset + i.
void TwoVariables(Engine& e, float codeOffset, std::initializer_list<float> image, float xDegree,
                  float yDegree) {
  e.Terms.VariableCount = 2;
  e.Terms.LoadedVariableCount = 2;
  e.Terms.Letter[1] = e.Terms.InputLetter[1] = "x";
  e.Terms.Letter[2] = e.Terms.InputLetter[2] = "y";
  e.Terms.Weight[1] = 1;
  e.Terms.Weight[2] = 3;
  e.Terms.TargetDegree[1] = xDegree;
  e.Terms.TargetDegree[2] = yDegree;
  e.Split.CodeOffset = codeOffset;
  SetVector(e.Dense.Image, image);
  SetVector(e.Dense.PassImage, image);
  e.Dense.ImageDegree = e.Dense.PassDegree = static_cast<int16_t>(image.size() - 1);
}

void OneVariable(Engine& e, std::initializer_list<float> image) {
  e.Terms.VariableCount = 1;
  e.Terms.Letter[1] = "x";
  e.Terms.Weight[1] = 1;
  e.Split.CodeOffset = 0;
  SetVector(e.Dense.Image, image);
  SetVector(e.Dense.PassImage, image);
  e.Dense.ImageDegree = e.Dense.PassDegree = static_cast<int16_t>(image.size() - 1);
  e.Terms.TargetDegree[1] = e.Dense.ImageDegree;
}

void Candidate(Engine& e, std::initializer_list<float> trial, std::initializer_list<float> quotient) {
  SetVector(e.Dense.Trial, trial);
  e.Dense.TrialDegree = static_cast<int16_t>(trial.size() - 1);
  SetVector(e.Dense.Cofactor, quotient);
}

TEST(CandidateCheck, OneVariableFactorSplitsAtOnce) {
  Workbench w;
  Engine& e = w.e;
  OneVariable(e, {3, 2, 4, 2, 1});  // (t^2 + 1)(t^2 + 2t + 3)
  w.console.Locate(Console::kStatusRow, 1);
  w.console.WriteLine("status");
  Candidate(e, {1, 0, 1}, {3, 2, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.Split.SplitResult, Engine::kSplitFound);
  EXPECT_EQ(e.Dense.ImageDegree, 2);
  EXPECT_EQ(Entries(e.Dense.Image, 2), (std::vector<float>{3, 2, 1}));
  EXPECT_EQ(e.Dense.FirstDegree, 2);
  EXPECT_EQ(e.Dense.SecondDegree, 2);
  EXPECT_EQ(e.Dense.StoredCount, 0);
  EXPECT_EQ(w.console.RowText(Console::kStatusRow), "");  // the status row is erased
  EXPECT_NE(w.console.Transcript().find(std::string(80, ' ')), std::string::npos);
}

TEST(CandidateCheck, MismatchInTheUpperCoefficientsRejects) {
  Workbench w;
  Engine& e = w.e;
  OneVariable(e, {3, 2, 4, 5, 1});
  Candidate(e, {1, 0, 1}, {3, 2, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.Split.SplitResult, Engine::kNotAFactor);
  EXPECT_EQ(e.Dense.ImageDegree, 4);

  // Degree 1 has nothing left to check: accepted whatever the quotient.
  Candidate(e, {1, 1}, {3, 0, 0, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.Split.SplitResult, Engine::kSplitFound);
  EXPECT_EQ(e.Dense.ImageDegree, 3);
}

TEST(CandidateCheck, ASumBeyondTheExactRangeIsNoMatch) {
  Workbench w;
  Engine& e = w.e;
  OneVariable(e, {1, 0, 0, 30000000, 1});
  Candidate(e, {1, 10, 1}, {1, 0, 3000000});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.Split.SplitResult, Engine::kNotAFactor);
}

TEST(CandidateCheck, LateModeLeavesTheImageAlone) {
  Workbench w;
  Engine& e = w.e;
  OneVariable(e, {3, 2, 4, 2, 1});
  e.Pass.LateMode = 1;
  Candidate(e, {1, 0, 1}, {3, 2, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.Split.SplitResult, Engine::kSplitFound);
  EXPECT_EQ(e.Dense.ImageDegree, 4);
  EXPECT_EQ(e.Dense.Image[3], 2);
  EXPECT_EQ(e.Dense.StoredCount, 0);
}

TEST(CandidateCheck, MirroredCheckExchangesTheVectorsWhenItPasses) {
  Workbench w;
  Engine& e = w.e;
  OneVariable(e, {3, 2, 4, 2, 1});
  e.Dense.TrialDegree = 2;
  SetVector(e.Dense.Cofactor, {1, 0, 1, 7, 7});
  SetVector(e.Dense.Trial, {3, 2, 1, 8, 8});
  e.CheckAndSplitMirrored();
  EXPECT_EQ(e.Split.SplitResult, Engine::kSplitFound);
  EXPECT_EQ(Entries(e.Dense.Trial, 4), (std::vector<float>{1, 0, 1, 7, 7}));
  EXPECT_EQ(Entries(e.Dense.Image, 2), (std::vector<float>{3, 2, 1}));

  OneVariable(e, {3, 2, 4, 2, 1});
  SetVector(e.Dense.Cofactor, {1, 1, 1});
  SetVector(e.Dense.Trial, {3, 2, 1});
  e.CheckAndSplitMirrored();
  EXPECT_EQ(e.Split.SplitResult, Engine::kNotAFactor);
  EXPECT_EQ(Entries(e.Dense.Cofactor, 2), (std::vector<float>{1, 1, 1}));
}

// x^2 - y^2: codes 2 and 6, image 1 - t^4 = (1 - t)(1 + t)(1 + t^2) with
// CodeOffset 2. Its factors x + y and x - y are t(1 + t^2) and t(1 - t^2).
TEST(CandidateCheck, FactorOfTwoVariablesMapsBackAtTheRightOffset) {
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 2, {1, 0, 0, 0, -1}, 2, 2);
  Candidate(e, {1, 0, -1}, {1, 0, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.Split.SplitResult, Engine::kSplitFound);
  EXPECT_EQ(e.Dense.StoredCount, 0);  // emptied after the split
  EXPECT_EQ(e.Split.FirstOffset, 1);
  EXPECT_EQ(e.Split.DenseOffset, 1);
  // The term table holds the second factor's terms: y (code 3), then x.
  EXPECT_EQ(e.Terms.TermRows, 2);
  EXPECT_EQ(TermExponents(e, 2), (ExponentRows{{0, 1}, {1, 0}}));
  EXPECT_EQ(e.Split.FirstFactorDegree[1], 1);
  EXPECT_EQ(e.Split.FirstFactorDegree[2], 1);

  // With CodeOffset 0 only the offset 0 is tried, and it does not fit.
  e.Split.CodeOffset = 0;
  SetVector(e.Dense.Cofactor, {1, 0, 1});
  SetVector(e.Dense.Trial, {1, 0, -1});
  e.Dense.FirstDegree = 2;
  e.Dense.SecondDegree = 2;
  e.FindKroneckerSplit();
  EXPECT_EQ(e.Split.SplitResult, Engine::kFactorStored);
}

// No offset fits: the tables are left as the last offset tried leaves them,
// the second factor unpacked at CodeOffset, the first one's degrees at 0.
TEST(CandidateCheck, OffsetWalkWithoutFitEndsOnTheLastOffset) {
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 2, {1, 0, 0, 0, -1}, 2, 2);
  SetVector(e.Dense.Cofactor, {1, 1});
  SetVector(e.Dense.Trial, {1, -1, 1});
  e.Dense.FirstDegree = 1;
  e.Dense.SecondDegree = 2;
  e.FindKroneckerSplit();
  EXPECT_EQ(e.Split.SplitResult, Engine::kFactorStored);
  EXPECT_EQ(e.Split.DenseOffset, 2);
  EXPECT_EQ(e.Split.FirstOffset, 0);
  ASSERT_EQ(e.Terms.TermRows, 3);  // codes 4, 3, 2: xy, y, x^2
  EXPECT_EQ(TermExponents(e, 2), (ExponentRows{{1, 1}, {0, 1}, {2, 0}}));
  EXPECT_EQ(e.Split.FirstFactorDegree[1], 1);  // 1 + x
  EXPECT_EQ(e.Split.FirstFactorDegree[2], 0);
}

TEST(CandidateCheck, ProductOfStoredFactorsSplitsOnTheSecondFactor) {
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 2, {1, 0, 0, 0, -1}, 2, 2);
  Candidate(e, {1, 1}, {1, -1, 1, -1});  // 1 + t maps back to nothing
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.Split.SplitResult, Engine::kFactorStored);
  EXPECT_EQ(e.Dense.StoredCount, 1);
  EXPECT_EQ(e.Dense.ImageDegree, 3);

  // 1 - t on the quotient: the pass's image over the quotient 1 + t^2 is
  // 1 - t^2, and the two map back to x + y and x - y.
  Candidate(e, {1, -1}, {1, 0, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.Split.SplitResult, Engine::kSplitFound);
  EXPECT_EQ(e.Dense.StoredCount, 0);
  EXPECT_EQ(e.Dense.ImageDegree, 2);
  EXPECT_EQ(Entries(e.Dense.Trial, 2), (std::vector<float>{1, 0, -1}));
}

TEST(CandidateCheck, NewestFactorAloneSplitsAgainstThePassImage) {
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 2, {1, 0, 0, 0, -1}, 2, 2);
  Candidate(e, {1, 1}, {1, -1, 1, -1});
  e.CheckAndSplitFactor();
  ASSERT_EQ(e.Dense.StoredCount, 1);

  // 1 + t^2 on the quotient (1 - t)(1 + t^2): the product of both stored
  // factors does not map back, the newest alone does against 1 - t^4; it
  // leaves the store, the older factor stays.
  Candidate(e, {1, 0, 1}, {1, -1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.Split.SplitResult, Engine::kSplitFound);
  EXPECT_EQ(e.Dense.StoredCount, 1);
  EXPECT_EQ(e.Dense.StoreFill, 2);
  EXPECT_EQ(Entries(e.Dense.Cofactor, 2), (std::vector<float>{1, 0, -1}));
  EXPECT_EQ(e.Dense.FirstDegree, 2);
  EXPECT_EQ(e.Dense.SecondDegree, 2);
}

TEST(CandidateCheck, UnpackingReadsCodesBackWithTheWeights) {
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 0, {1}, 0, 0);
  SetVector(e.Dense.Scratch, {0, 0, 0});
  e.Split.DenseTop = 2;
  e.Split.DenseOffset = 0;
  e.UnpackDenseToTerms();
  EXPECT_EQ(e.Terms.TermRows, 0);
  EXPECT_EQ(e.Split.VariableDegree[1], 0);
  EXPECT_EQ(e.Split.VariableDegree[2], 0);

  SetVector(e.Dense.Scratch, {5, 0, 7});
  e.Split.DenseOffset = 9;  // codes 11 (x^2 y^3) and 9 (y^3)
  e.UnpackDenseToTerms();
  EXPECT_EQ(e.Terms.TermRows, 2);
  EXPECT_EQ(TermExponents(e, 2), (ExponentRows{{2, 3}, {0, 3}}));
  EXPECT_EQ(e.Split.VariableDegree[1], 2);
  EXPECT_EQ(e.Split.VariableDegree[2], 3);
}

TEST(CandidateCheck, DropAbsentVariablesClosesUpTheColumns) {
  Workbench w;
  Engine& e = w.e;
  e.Terms.VariableCount = 3;
  e.Terms.Letter[1] = "x";
  e.Terms.Letter[2] = "y";
  e.Terms.Letter[3] = "z";
  e.Terms.MaxExponent[1] = 2;
  e.Terms.MaxExponent[2] = 0;
  e.Terms.MaxExponent[3] = 1;
  e.Terms.TermRows = 2;
  e.Terms.Exponent[1][1] = 2;
  e.Terms.Exponent[1][3] = 0;
  e.Terms.Exponent[2][1] = 0;
  e.Terms.Exponent[2][3] = 1;
  e.DropAbsentVariables();
  EXPECT_EQ(e.Terms.VariableCount, 2);
  EXPECT_EQ(e.Terms.TermCount, 2);
  EXPECT_EQ(e.Terms.Letter[2], "z");
  EXPECT_EQ(e.Terms.Exponent[2][2], 1);
  EXPECT_EQ(e.Terms.TargetDegree[1], 2);
  EXPECT_EQ(e.Terms.TargetDegree[2], 1);

  // Nothing absent: only the counts and TargetDegree are set.
  e.Terms.TermRows = 1;
  e.DropAbsentVariables();
  EXPECT_EQ(e.Terms.VariableCount, 2);
  EXPECT_EQ(e.Terms.TermCount, 1);
  EXPECT_EQ(e.Terms.Letter[1], "x");
  EXPECT_EQ(e.Terms.Letter[2], "z");
  EXPECT_EQ(e.Terms.Exponent[2][2], 1);
}

TEST(CandidateCheck, VariableSumDivisorsAreTriedInTurn) {
  // x^2 - 2xy + y^2 = (y - x)^2: x + y does not divide, -x + y does.
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 2, {1, 0, -2, 0, 1}, 2, 2);
  e.TryVariableSumFactors();
  EXPECT_EQ(e.Split.SplitResult, Engine::kSplitFound);
  EXPECT_EQ(Entries(e.Dense.Trial, 2), (std::vector<float>{-1, 0, 1}));
  EXPECT_EQ(e.Dense.ImageDegree, 2);
  EXPECT_EQ(e.Dense.StoredCount, 0);

  // x^2 y^2 - 1: codes 8 and 0, image t^8 - 1. Both divisors divide the image
  // without mapping back; the image is put back each time.
  TwoVariables(e, 0, {-1, 0, 0, 0, 0, 0, 0, 0, 1}, 2, 2);
  e.TryVariableSumFactors();
  EXPECT_EQ(e.Split.SplitResult, Engine::kFactorStored);
  EXPECT_EQ(e.Dense.ImageDegree, 8);
  EXPECT_EQ(Entries(e.Dense.Image, 8), Entries(e.Dense.PassImage, 8));
  EXPECT_EQ(e.Dense.Trial[0], -1);  // the second divisor was tried
  EXPECT_EQ(e.Dense.StoredCount, 0);
}

}  // namespace
}  // namespace pfac::testing
