// The pieces of result text on the console and in jg.dat, blanks included.
#include <gtest/gtest.h>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

struct Writers : Workbench {
  Writers() {
    OpenResult();
    e.VariableCount = 1;
    e.LoadedVariableCount = 1;
    e.Letter[1] = e.InputLetter[1] = "x";
    e.Weight[1] = 1;
    e.CommonDenominator = 1;
    e.Content = 1;
  }
  std::string Console() const { return console.Transcript(); }
};

TEST(PrintCommonFactor, WritesContentOverDenominatorAndTheMonomial) {
  Writers w;
  Engine& e = w.e;
  e.TermCount = 2;
  e.Numerator[1] = 1;
  e.Content = 3;
  e.CommonDenominator = 2;
  e.LoadedVariableCount = 2;
  e.InputLetter[2] = "y";
  e.MinExponent[1] = 2;
  e.MinExponent[2] = 1;
  e.PrintCommonFactor();
  EXPECT_EQ(w.Console(), " 3 / 2 x^ 2 y");
  EXPECT_EQ(w.Result(), " 3/ 2x^ 2y");
}

TEST(PrintCommonFactor, NegativeSingleTermAndContentEqualToDenominator) {
  Writers negative;
  negative.e.TermCount = 1;
  negative.e.Numerator[1] = -1;
  negative.e.Content = 5;
  negative.e.PrintCommonFactor();
  EXPECT_EQ(negative.Console(), " - 5 ");
  EXPECT_EQ(negative.Result(), " - 5");

  // Content = CommonDenominator: the console shows 1 for a single term only;
  // jg.dat too when no monomial follows, or nothing would follow "=" there.
  Writers single;
  single.e.TermCount = 1;
  single.e.Numerator[1] = 1;
  single.e.SignText = "-";
  single.e.PrintCommonFactor();
  EXPECT_EQ(single.Console(), "- 1 ");
  EXPECT_EQ(single.Result(), "- 1");
  Writers monomial;
  monomial.e.TermCount = 1;
  monomial.e.Numerator[1] = 1;
  monomial.e.MinExponent[1] = 3;
  monomial.e.PrintCommonFactor();
  EXPECT_EQ(monomial.Console(), " 1 x^ 3 ");
  EXPECT_EQ(monomial.Result(), "x^ 3");

  Writers several;
  several.e.TermCount = 3;
  several.e.MinExponent[1] = 1;
  several.e.PrintCommonFactor();
  EXPECT_EQ(several.Console(), "x");
  EXPECT_EQ(several.Result(), "x");

  Writers console;
  console.e.TermCount = 3;
  console.e.Content = 4;
  console.e.PrintCommonFactorOnConsole();
  EXPECT_EQ(console.Console(), " 4 ");
  EXPECT_EQ(console.Result(), "");
}

TEST(PrintDenseFactor, OneVariableInBothNumberForms) {
  Writers w;
  Engine& e = w.e;
  SetVector(e.Cofactor, {-1, -1, 2});
  SetVector(e.PassImage, {1, 1, -2});
  e.DenseTop = 2;
  e.DenseOffset = 0;
  e.FileEcho = 0;
  e.PrintDenseFactor();
  EXPECT_EQ(w.Console(), "( 2 x^ 2 -x- 1 )");
  EXPECT_EQ(w.Result(), "( 2x^ 2 - x - 1)");
  // The terms are loaded with PassImage's coefficients and their codes.
  EXPECT_EQ(e.TermRows, 3);
  EXPECT_EQ(e.Numerator[1], -2);
  EXPECT_EQ(e.Numerator[3], 1);
  EXPECT_EQ(e.Exponent[1][1], 2);
  EXPECT_EQ(e.Exponent[2][1], 1);
  EXPECT_EQ(e.Exponent[3][1], 0);
}

TEST(PrintDenseFactor, UnitConstantsAndAFinalLetter) {
  for (float c : {1.0f, -1.0f}) {
    Writers w;
    SetVector(w.e.Cofactor, {c});
    w.e.DenseTop = 0;
    w.e.PrintDenseFactor();
    EXPECT_EQ(w.Result(), c > 0 ? "(1)" : "(-1)");
    EXPECT_EQ(w.Console(), c > 0 ? "( 1 )" : "(- 1 )");
  }

  Writers letter;
  SetVector(letter.e.Cofactor, {1, 1});
  letter.e.DenseTop = 1;
  letter.e.DenseOffset = 1;  // x^2 + x
  letter.e.PrintDenseFactor();
  EXPECT_EQ(letter.Console(), "(x^ 2 +x)");
  EXPECT_EQ(letter.Result(), "(x^ 2 + x )");

  Writers console;
  SetVector(console.e.Cofactor, {3, 1});
  console.e.DenseTop = 1;
  console.e.FileEcho = 1;
  console.e.PrintDenseFactor();
  EXPECT_EQ(console.Console(), "(x+ 3 )");
  EXPECT_EQ(console.Result(), "");
}

// In several variables the codes are unpacked and every term shows its
// variables in the order the user wrote them, whatever the search order.
TEST(PrintDenseFactor, SeveralVariablesAreShownInTheirOwnLetters) {
  Writers w;
  Engine& e = w.e;
  e.VariableCount = 2;
  e.LoadedVariableCount = 2;
  e.InputLetter[1] = "x";
  e.InputLetter[2] = "y";
  e.Letter[1] = "y";  // the search's main variable
  e.Letter[2] = "x";
  e.Weight[2] = 3;
  SetVector(e.Cofactor, {1, 0, -1, 0, 0, 0, 0, 0, 0, 0, 4});
  SetVector(e.PassImage, {1, 0, -1, 0, 0, 0, 0, 0, 0, 0, 4});
  e.DenseOffset = 1;  // codes 11 (y^2 x^3), 3 (x), 1 (y)
  e.DenseTop = 10;
  e.PrintDenseFactor();
  EXPECT_EQ(w.Console(), "( 4 x^ 3 y^ 2 -x+y)");
  EXPECT_EQ(w.Result(), "( 4x^ 3y^ 2- x+ y)");
  ASSERT_EQ(e.TermRows, 3);
  EXPECT_EQ(e.Exponent[1][1], 2);  // y
  EXPECT_EQ(e.Exponent[1][2], 3);  // x
  EXPECT_EQ(e.Exponent[2][1], 0);
  EXPECT_EQ(e.Exponent[2][2], 1);
  EXPECT_EQ(e.Exponent[3][1], 1);
  EXPECT_EQ(e.Exponent[3][2], 0);
  EXPECT_EQ(e.VariableDegree[1], 2);
  EXPECT_EQ(e.VariableDegree[2], 3);
}

TEST(WriteMonomialCode, UnpacksTheCodeHighestVariableFirst) {
  Writers w;
  Engine& e = w.e;
  e.VariableCount = 2;
  e.Letter[2] = "y";
  e.Weight[2] = 3;
  e.MonomialCode = 11;
  e.WriteMonomialCode();
  e.ResultText("|");
  e.MonomialCode = 0;
  e.WriteMonomialCode();
  e.ResultText("|");
  e.CodeOffset = 2;
  e.MonomialCode = 2;
  e.WriteMonomialCode();
  EXPECT_EQ(w.Result(), "*y^ 3 *x^ 2||*y*x");
}

TEST(WriteExpandedProduct, GroupsPartialProductsAndNeverWritesAnEmptyGroup) {
  Writers w;
  Engine& e = w.e;
  // (x^2 + 1)(x + 1)
  SetVector(e.Cofactor, {1, 0, 1});
  SetVector(e.Trial, {1, 1});
  e.LongDegree = 2;
  e.ShortDegree = 1;
  e.PassDegree = 3;
  e.WriteExpandedProductCofactorFirst();
  // (x^2 + 1)(x^2 + 1): the groups of x^3 and x stay open for the next
  // nonzero products.
  SetVector(e.Trial, {1, 0, 1});
  e.ShortDegree = 2;
  e.PassDegree = 4;
  e.WriteExpandedProductTrialFirst();
  EXPECT_EQ(w.Result(),
            "[ 1*x^ 3+( 1 )*x^ 2+( 1 )*x+ 1]\r\n"
            "[ 1*x^ 4+( 1  1 )*x^ 2+(+ 1)]\r\n");
  EXPECT_EQ(w.Console(), "");
}

TEST(WriteExpandedProduct, PartialProductsBeyondTheExactRangeKeepEveryDigit) {
  Writers w;
  Engine& e = w.e;
  // (3991x + 4204)(3991x - 3990) = 15928081x^2 + 854074x - 16773960: the
  // partial products of x, 16,778,164 and -15,924,090, add up to a coefficient
  // within the exact range although the first lies beyond it.
  SetVector(e.Cofactor, {4204, 3991});
  SetVector(e.Trial, {-3990, 3991});
  e.LongDegree = 1;
  e.ShortDegree = 1;
  e.PassDegree = 2;
  e.WriteExpandedProductCofactorFirst();
  EXPECT_EQ(w.Result(), "[ 15928081*x^ 2+(-15924090  16778164 )*x-16773960]\r\n");
}

TEST(BeginSpecialLine, OpensAResultLineOnTheFirstPassOnly) {
  Writers first;
  first.e.TermCount = 2;
  first.e.Content = 2;
  first.e.BeginSpecialLine();
  EXPECT_EQ(first.Console(), "= 2 (");
  EXPECT_EQ(first.Result(), "\r\n= 2(");

  Writers later;
  later.e.SecondPass = 1;
  later.e.Content = 2;
  later.e.BeginSpecialLine();
  EXPECT_EQ(later.Console(), "(");
  EXPECT_EQ(later.Result(), "");
}

}  // namespace
}  // namespace pfac::testing
