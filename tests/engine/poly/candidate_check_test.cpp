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
  e.VariableCount = 2;
  e.LoadedVariableCount = 2;
  e.Letter[1] = e.InputLetter[1] = "x";
  e.Letter[2] = e.InputLetter[2] = "y";
  e.Weight[1] = 1;
  e.Weight[2] = 3;
  e.TargetDegree[1] = xDegree;
  e.TargetDegree[2] = yDegree;
  e.CodeOffset = codeOffset;
  SetVector(e.Image, image);
  SetVector(e.PassImage, image);
  e.ImageDegree = e.PassDegree = static_cast<int16_t>(image.size() - 1);
}

void OneVariable(Engine& e, std::initializer_list<float> image) {
  e.VariableCount = 1;
  e.Letter[1] = "x";
  e.Weight[1] = 1;
  e.CodeOffset = 0;
  SetVector(e.Image, image);
  SetVector(e.PassImage, image);
  e.ImageDegree = e.PassDegree = static_cast<int16_t>(image.size() - 1);
  e.TargetDegree[1] = e.ImageDegree;
}

void Candidate(Engine& e, std::initializer_list<float> trial, std::initializer_list<float> quotient) {
  SetVector(e.Trial, trial);
  e.TrialDegree = static_cast<int16_t>(trial.size() - 1);
  SetVector(e.Cofactor, quotient);
}

TEST(CandidateCheck, OneVariableFactorSplitsAtOnce) {
  Workbench w;
  Engine& e = w.e;
  OneVariable(e, {3, 2, 4, 2, 1});  // (t^2 + 1)(t^2 + 2t + 3)
  w.console.Locate(Console::kStatusRow, 1);
  w.console.WriteLine("status");
  Candidate(e, {1, 0, 1}, {3, 2, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.SplitResult, 3);
  EXPECT_EQ(e.ImageDegree, 2);
  EXPECT_EQ(Entries(e.Image, 2), (std::vector<float>{3, 2, 1}));
  EXPECT_EQ(e.FirstDegree, 2);
  EXPECT_EQ(e.SecondDegree, 2);
  EXPECT_EQ(e.StoredCount, 0);
  EXPECT_EQ(w.console.RowText(Console::kStatusRow), "");  // the status row is erased
  EXPECT_NE(w.console.Transcript().find(std::string(80, ' ')), std::string::npos);
}

TEST(CandidateCheck, MismatchInTheUpperCoefficientsRejects) {
  Workbench w;
  Engine& e = w.e;
  OneVariable(e, {3, 2, 4, 5, 1});
  Candidate(e, {1, 0, 1}, {3, 2, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.SplitResult, 1);
  EXPECT_EQ(e.ImageDegree, 4);

  // Degree 1 has nothing left to check: accepted whatever the quotient.
  Candidate(e, {1, 1}, {3, 0, 0, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.SplitResult, 3);
  EXPECT_EQ(e.ImageDegree, 3);
}

TEST(CandidateCheck, ASumBeyondTheExactRangeIsNoMatch) {
  Workbench w;
  Engine& e = w.e;
  OneVariable(e, {1, 0, 0, 30000000, 1});
  Candidate(e, {1, 10, 1}, {1, 0, 3000000});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.SplitResult, 1);
}

TEST(CandidateCheck, LateModeLeavesTheImageAlone) {
  Workbench w;
  Engine& e = w.e;
  OneVariable(e, {3, 2, 4, 2, 1});
  e.LateMode = 1;
  Candidate(e, {1, 0, 1}, {3, 2, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.SplitResult, 3);
  EXPECT_EQ(e.ImageDegree, 4);
  EXPECT_EQ(e.Image[3], 2);
  EXPECT_EQ(e.StoredCount, 0);
}

TEST(CandidateCheck, MirroredCheckExchangesTheVectorsWhenItPasses) {
  Workbench w;
  Engine& e = w.e;
  OneVariable(e, {3, 2, 4, 2, 1});
  e.TrialDegree = 2;
  SetVector(e.Cofactor, {1, 0, 1, 7, 7});
  SetVector(e.Trial, {3, 2, 1, 8, 8});
  e.CheckAndSplitMirrored();
  EXPECT_EQ(e.MirrorUsed, 1);
  EXPECT_EQ(e.SplitResult, 3);
  EXPECT_EQ(Entries(e.Trial, 4), (std::vector<float>{1, 0, 1, 7, 7}));
  EXPECT_EQ(Entries(e.Image, 2), (std::vector<float>{3, 2, 1}));

  OneVariable(e, {3, 2, 4, 2, 1});
  SetVector(e.Cofactor, {1, 1, 1});
  SetVector(e.Trial, {3, 2, 1});
  e.CheckAndSplitMirrored();
  EXPECT_EQ(e.MirrorUsed, 0);
  EXPECT_EQ(e.SplitResult, 1);
  EXPECT_EQ(Entries(e.Cofactor, 2), (std::vector<float>{1, 1, 1}));
}

// x^2 - y^2: codes 2 and 6, image 1 - t^4 = (1 - t)(1 + t)(1 + t^2) with
// CodeOffset 2. Its factors x + y and x - y are t(1 + t^2) and t(1 - t^2).
TEST(CandidateCheck, FactorOfTwoVariablesMapsBackAtTheRightOffset) {
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 2, {1, 0, 0, 0, -1}, 2, 2);
  Candidate(e, {1, 0, -1}, {1, 0, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.SplitResult, 3);
  EXPECT_EQ(e.StoredCount, 0);  // emptied after the split
  EXPECT_EQ(e.FirstOffset, 1);
  EXPECT_EQ(e.DenseOffset, 1);
  // The term table holds the second factor's terms: y (code 3), then x.
  EXPECT_EQ(e.TermRows, 2);
  EXPECT_EQ(e.Exponent[1][1], 0);
  EXPECT_EQ(e.Exponent[1][2], 1);
  EXPECT_EQ(e.Exponent[2][1], 1);
  EXPECT_EQ(e.Exponent[2][2], 0);
  EXPECT_EQ(e.FirstFactorDegree[1], 1);
  EXPECT_EQ(e.FirstFactorDegree[2], 1);

  // With CodeOffset 0 only the offset 0 is tried, and it does not fit.
  e.CodeOffset = 0;
  SetVector(e.Cofactor, {1, 0, 1});
  SetVector(e.Trial, {1, 0, -1});
  e.FirstDegree = 2;
  e.SecondDegree = 2;
  e.FindKroneckerSplit();
  EXPECT_EQ(e.SplitResult, 2);
}

// No offset fits: the tables are left as the last offset tried leaves them,
// the second factor unpacked at CodeOffset, the first one's degrees at 0.
TEST(CandidateCheck, OffsetWalkWithoutFitEndsOnTheLastOffset) {
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 2, {1, 0, 0, 0, -1}, 2, 2);
  SetVector(e.Cofactor, {1, 1});
  SetVector(e.Trial, {1, -1, 1});
  e.FirstDegree = 1;
  e.SecondDegree = 2;
  e.FindKroneckerSplit();
  EXPECT_EQ(e.SplitResult, 2);
  EXPECT_EQ(e.DenseOffset, 2);
  EXPECT_EQ(e.FirstOffset, 0);
  ASSERT_EQ(e.TermRows, 3);  // codes 4, 3, 2: xy, y, x^2
  EXPECT_EQ(e.Exponent[1][1], 1);
  EXPECT_EQ(e.Exponent[1][2], 1);
  EXPECT_EQ(e.Exponent[2][1], 0);
  EXPECT_EQ(e.Exponent[2][2], 1);
  EXPECT_EQ(e.Exponent[3][1], 2);
  EXPECT_EQ(e.Exponent[3][2], 0);
  EXPECT_EQ(e.FirstFactorDegree[1], 1);  // 1 + x
  EXPECT_EQ(e.FirstFactorDegree[2], 0);
}

TEST(CandidateCheck, ProductOfStoredFactorsSplitsOnTheSecondFactor) {
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 2, {1, 0, 0, 0, -1}, 2, 2);
  Candidate(e, {1, 1}, {1, -1, 1, -1});  // 1 + t maps back to nothing
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.SplitResult, 2);
  EXPECT_EQ(e.StoredCount, 1);
  EXPECT_EQ(e.ImageDegree, 3);

  // 1 - t on the quotient: the pass's image over the quotient 1 + t^2 is
  // 1 - t^2, and the two map back to x + y and x - y.
  Candidate(e, {1, -1}, {1, 0, 1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.SplitResult, 3);
  EXPECT_EQ(e.StoredCount, 0);
  EXPECT_EQ(e.ImageDegree, 2);
  EXPECT_EQ(Entries(e.Trial, 2), (std::vector<float>{1, 0, -1}));
}

TEST(CandidateCheck, NewestFactorAloneSplitsAgainstThePassImage) {
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 2, {1, 0, 0, 0, -1}, 2, 2);
  Candidate(e, {1, 1}, {1, -1, 1, -1});
  e.CheckAndSplitFactor();
  ASSERT_EQ(e.StoredCount, 1);

  // 1 + t^2 on the quotient (1 - t)(1 + t^2): the product of both stored
  // factors does not map back, the newest alone does against 1 - t^4; it
  // leaves the store, the older factor stays.
  Candidate(e, {1, 0, 1}, {1, -1});
  e.CheckAndSplitFactor();
  EXPECT_EQ(e.SplitResult, 3);
  EXPECT_EQ(e.StoredCount, 1);
  EXPECT_EQ(e.StoreFill, 2);
  EXPECT_EQ(Entries(e.Cofactor, 2), (std::vector<float>{1, 0, -1}));
  EXPECT_EQ(e.FirstDegree, 2);
  EXPECT_EQ(e.SecondDegree, 2);
}

TEST(CandidateCheck, UnpackingReadsCodesBackWithTheWeights) {
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 0, {1}, 0, 0);
  SetVector(e.Scratch, {0, 0, 0});
  e.DenseTop = 2;
  e.DenseOffset = 0;
  e.UnpackDenseToTerms();
  EXPECT_EQ(e.TermRows, 0);
  EXPECT_EQ(e.VariableDegree[1], 0);
  EXPECT_EQ(e.VariableDegree[2], 0);

  SetVector(e.Scratch, {5, 0, 7});
  e.DenseOffset = 9;  // codes 11 (x^2 y^3) and 9 (y^3)
  e.UnpackDenseToTerms();
  EXPECT_EQ(e.TermRows, 2);
  EXPECT_EQ(e.Exponent[1][1], 2);
  EXPECT_EQ(e.Exponent[1][2], 3);
  EXPECT_EQ(e.Exponent[2][1], 0);
  EXPECT_EQ(e.Exponent[2][2], 3);
  EXPECT_EQ(e.VariableDegree[1], 2);
  EXPECT_EQ(e.VariableDegree[2], 3);
}

TEST(CandidateCheck, DropAbsentVariablesClosesUpTheColumns) {
  Workbench w;
  Engine& e = w.e;
  e.VariableCount = 3;
  e.Letter[1] = "x";
  e.Letter[2] = "y";
  e.Letter[3] = "z";
  e.MaxExponent[1] = 2;
  e.MaxExponent[2] = 0;
  e.MaxExponent[3] = 1;
  e.TermRows = 2;
  e.Exponent[1][1] = 2;
  e.Exponent[1][3] = 0;
  e.Exponent[2][1] = 0;
  e.Exponent[2][3] = 1;
  e.DropAbsentVariables();
  EXPECT_EQ(e.VariableCount, 2);
  EXPECT_EQ(e.TermCount, 2);
  EXPECT_EQ(e.Letter[2], "z");
  EXPECT_EQ(e.Exponent[2][2], 1);
  EXPECT_EQ(e.TargetDegree[1], 2);
  EXPECT_EQ(e.TargetDegree[2], 1);

  // Nothing absent: only the counts and TargetDegree are set.
  e.TermRows = 1;
  e.DropAbsentVariables();
  EXPECT_EQ(e.VariableCount, 2);
  EXPECT_EQ(e.TermCount, 1);
  EXPECT_EQ(e.Letter[1], "x");
  EXPECT_EQ(e.Letter[2], "z");
  EXPECT_EQ(e.Exponent[2][2], 1);
}

TEST(CandidateCheck, VariableSumDivisorsAreTriedInTurn) {
  // x^2 - 2xy + y^2 = (y - x)^2: x + y does not divide, -x + y does.
  Workbench w;
  Engine& e = w.e;
  TwoVariables(e, 2, {1, 0, -2, 0, 1}, 2, 2);
  e.TryVariableSumFactors();
  EXPECT_EQ(e.SplitResult, 3);
  EXPECT_EQ(Entries(e.Trial, 2), (std::vector<float>{-1, 0, 1}));
  EXPECT_EQ(e.ImageDegree, 2);
  EXPECT_EQ(e.StoredCount, 0);

  // x^2 y^2 - 1: codes 8 and 0, image t^8 - 1. Both divisors divide the image
  // without mapping back; the image is put back each time.
  TwoVariables(e, 0, {-1, 0, 0, 0, 0, 0, 0, 0, 1}, 2, 2);
  e.TryVariableSumFactors();
  EXPECT_EQ(e.SplitResult, 2);
  EXPECT_EQ(e.ImageDegree, 8);
  EXPECT_EQ(Entries(e.Image, 8), Entries(e.PassImage, 8));
  EXPECT_EQ(e.Trial[0], -1);  // the second divisor was tried
  EXPECT_EQ(e.StoredCount, 0);
}

}  // namespace
}  // namespace pfac::testing
