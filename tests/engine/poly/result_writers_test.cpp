// The pieces of result text on the console and in jg.dat, blanks included.
#include <gtest/gtest.h>

#include <random>

#include "engine/result_file.h"
#include "engine/result_format/marks.h"
#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

struct Writers : Workbench {
  Writers() {
    OpenResult();
    e.Terms.VariableCount = 1;
    e.Terms.LoadedVariableCount = 1;
    e.Terms.Letter[1] = e.Terms.InputLetter[1] = "x";
    e.Terms.Weight[1] = 1;
    e.Terms.CommonDenominator = 1;
    e.Terms.Content = 1;
  }
  std::string Console() const { return console.Transcript(); }
};

TEST(PrintCommonFactor, WritesContentOverDenominatorAndTheMonomial) {
  Writers w;
  Engine& e = w.e;
  e.Terms.TermCount = 2;
  e.Terms.Numerator[1] = 1;
  e.Terms.Content = 3;
  e.Terms.CommonDenominator = 2;
  e.Terms.LoadedVariableCount = 2;
  e.Terms.InputLetter[2] = "y";
  e.Terms.MinExponent[1] = 2;
  e.Terms.MinExponent[2] = 1;
  e.PrintCommonFactor();
  EXPECT_EQ(w.Console(), " 3 / 2 x^ 2 y");
  EXPECT_EQ(w.Result(), " 3/ 2x^ 2y");
}

TEST(PrintCommonFactor, NegativeSingleTermAndContentEqualToDenominator) {
  Writers negative;
  negative.e.Terms.TermCount = 1;
  negative.e.Terms.Numerator[1] = -1;
  negative.e.Terms.Content = 5;
  negative.e.PrintCommonFactor();
  EXPECT_EQ(negative.Console(), " - 5 ");
  EXPECT_EQ(negative.Result(), " - 5");

  // Content = CommonDenominator: the console shows 1 for a single term only;
  // jg.dat too when no monomial follows, or nothing would follow "=" there.
  Writers single;
  single.e.Terms.TermCount = 1;
  single.e.Terms.Numerator[1] = 1;
  single.e.Report.SignText = "-";
  single.e.PrintCommonFactor();
  EXPECT_EQ(single.Console(), "- 1 ");
  EXPECT_EQ(single.Result(), "- 1");
  Writers monomial;
  monomial.e.Terms.TermCount = 1;
  monomial.e.Terms.Numerator[1] = 1;
  monomial.e.Terms.MinExponent[1] = 3;
  monomial.e.PrintCommonFactor();
  EXPECT_EQ(monomial.Console(), " 1 x^ 3 ");
  EXPECT_EQ(monomial.Result(), "x^ 3");

  Writers several;
  several.e.Terms.TermCount = 3;
  several.e.Terms.MinExponent[1] = 1;
  several.e.PrintCommonFactor();
  EXPECT_EQ(several.Console(), "x");
  EXPECT_EQ(several.Result(), "x");

  Writers console;
  console.e.Terms.TermCount = 3;
  console.e.Terms.Content = 4;
  console.e.PrintCommonFactorOnConsole();
  EXPECT_EQ(console.Console(), " 4 ");
  EXPECT_EQ(console.Result(), "");
}

TEST(PrintDenseFactor, OneVariableInBothNumberForms) {
  Writers w;
  Engine& e = w.e;
  SetVector(e.Dense.Cofactor, {-1, -1, 2});
  SetVector(e.Dense.PassImage, {1, 1, -2});
  e.Split.DenseTop = 2;
  e.Split.DenseOffset = 0;
  e.Report.FileEcho = 0;
  e.PrintDenseFactor();
  EXPECT_EQ(w.Console(), "( 2 x^ 2 -x- 1 )");
  EXPECT_EQ(w.Result(), "( 2x^ 2 - x - 1)");
  // The terms are loaded with PassImage's coefficients and their codes.
  EXPECT_EQ(e.Terms.TermRows, 3);
  EXPECT_EQ(e.Terms.Numerator[1], -2);
  EXPECT_EQ(e.Terms.Numerator[3], 1);
  EXPECT_EQ(TermExponents(e, 1), (ExponentRows{{2}, {1}, {0}}));
}

TEST(PrintDenseFactor, UnitConstantsAndAFinalLetter) {
  for (float c : {1.0f, -1.0f}) {
    Writers w;
    SetVector(w.e.Dense.Cofactor, {c});
    w.e.Split.DenseTop = 0;
    w.e.PrintDenseFactor();
    EXPECT_EQ(w.Result(), c > 0 ? "(1)" : "(-1)");
    EXPECT_EQ(w.Console(), c > 0 ? "( 1 )" : "(- 1 )");
  }

  Writers letter;
  SetVector(letter.e.Dense.Cofactor, {1, 1});
  letter.e.Split.DenseTop = 1;
  letter.e.Split.DenseOffset = 1;  // x^2 + x
  letter.e.PrintDenseFactor();
  EXPECT_EQ(letter.Console(), "(x^ 2 +x)");
  EXPECT_EQ(letter.Result(), "(x^ 2 + x )");

  Writers console;
  SetVector(console.e.Dense.Cofactor, {3, 1});
  console.e.Split.DenseTop = 1;
  console.e.Report.FileEcho = 1;
  console.e.PrintDenseFactor();
  EXPECT_EQ(console.Console(), "(x+ 3 )");
  EXPECT_EQ(console.Result(), "");
}

// In several variables the codes are unpacked and every term shows its
// variables in the order the user wrote them, whatever the search order.
TEST(PrintDenseFactor, SeveralVariablesAreShownInTheirOwnLetters) {
  Writers w;
  Engine& e = w.e;
  e.Terms.VariableCount = 2;
  e.Terms.LoadedVariableCount = 2;
  e.Terms.InputLetter[1] = "x";
  e.Terms.InputLetter[2] = "y";
  e.Terms.Letter[1] = "y";  // the search's main variable
  e.Terms.Letter[2] = "x";
  e.Terms.Weight[2] = 3;
  SetVector(e.Dense.Cofactor, {1, 0, -1, 0, 0, 0, 0, 0, 0, 0, 4});
  SetVector(e.Dense.PassImage, {1, 0, -1, 0, 0, 0, 0, 0, 0, 0, 4});
  e.Split.DenseOffset = 1;  // codes 11 (y^2 x^3), 3 (x), 1 (y)
  e.Split.DenseTop = 10;
  e.PrintDenseFactor();
  EXPECT_EQ(w.Console(), "( 4 x^ 3 y^ 2 -x+y)");
  EXPECT_EQ(w.Result(), "( 4x^ 3y^ 2- x+ y)");
  ASSERT_EQ(e.Terms.TermRows, 3);
  EXPECT_EQ(TermExponents(e, 2), (ExponentRows{{2, 3}, {0, 1}, {1, 0}}));  // y, x
  EXPECT_EQ(e.Split.VariableDegree[1], 2);
  EXPECT_EQ(e.Split.VariableDegree[2], 3);
}

TEST(WriteMonomialCode, UnpacksTheCodeHighestVariableFirst) {
  Writers w;
  Engine& e = w.e;
  e.Terms.VariableCount = 2;
  e.Terms.Letter[2] = "y";
  e.Terms.Weight[2] = 3;
  e.Report.MonomialCode = 11;
  e.WriteMonomialCode();
  e.ResultText("|");
  e.Report.MonomialCode = 0;
  e.WriteMonomialCode();
  e.ResultText("|");
  e.Split.CodeOffset = 2;
  e.Report.MonomialCode = 2;
  e.WriteMonomialCode();
  EXPECT_EQ(w.Result(), "*y^ 3 *x^ 2||*y*x");
}

TEST(WriteExpandedProduct, GroupsPartialProductsAndNeverWritesAnEmptyGroup) {
  Writers w;
  Engine& e = w.e;
  // (x^2 + 1)(x + 1)
  SetVector(e.Dense.Cofactor, {1, 0, 1});
  SetVector(e.Dense.Trial, {1, 1});
  e.Report.LongDegree = 2;
  e.Report.ShortDegree = 1;
  e.Dense.PassDegree = 3;
  e.WriteExpandedProductCofactorFirst();
  // (x^2 + 1)(x^2 + 1): the groups of x^3 and x stay open for the next
  // nonzero products.
  SetVector(e.Dense.Trial, {1, 0, 1});
  e.Report.ShortDegree = 2;
  e.Dense.PassDegree = 4;
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
  SetVector(e.Dense.Cofactor, {4204, 3991});
  SetVector(e.Dense.Trial, {-3990, 3991});
  e.Report.LongDegree = 1;
  e.Report.ShortDegree = 1;
  e.Dense.PassDegree = 2;
  e.WriteExpandedProductCofactorFirst();
  EXPECT_EQ(w.Result(), "[ 15928081*x^ 2+(-15924090  16778164 )*x-16773960]\r\n");
}

TEST(BeginSpecialLine, OpensAResultLineOnTheFirstPassOnly) {
  Writers first;
  first.e.Terms.TermCount = 2;
  first.e.Terms.Content = 2;
  first.e.BeginSpecialLine();
  EXPECT_EQ(first.Console(), "= 2 (");
  EXPECT_EQ(first.Result(), "\r\n= 2(");

  Writers later;
  later.e.Pass.SecondPass = 1;
  later.e.Terms.Content = 2;
  later.e.BeginSpecialLine();
  EXPECT_EQ(later.Console(), "(");
  EXPECT_EQ(later.Result(), "");
}

// What the writers put into jg.dat is recorded as values, the very values
// its text stands for: each case writes "=", the common factor and a factor,
// and the segment read back from jg.dat equals the segment recorded (a
// number written rounded makes both unreadable).
TEST(ResultValues, WritersRecordWhatTheTextStandsFor) {
  struct Case {
    const char* what;
    float content, denominator, sign;   // sign: Numerator[1] of a single term
    int termCount;
    float minExponent;                  // of x, in the common factor
    std::vector<float> factor;          // Cofactor[0..], printed at offset 0
    int16_t offset;
    const char* letter = "x";           // the one variable: the alphabet's ends are read back too
  };
  const Case cases[] = {
      {"content over denominator", 3, 2, 1, 2, 2, {-1, -1, 2}, 0},
      {"content equal to the denominator", 1, 1, 1, 3, 0, {5, 0, -1}, 0},
      {"a negative single term", 5, 1, -1, 1, 1, {1}, 0},
      {"unit constant terms, in z", 1, 1, 1, 2, 0, {-1, 0, 1}, 0, "z"},
      {"a factor at an offset, in a", 1, 1, 1, 2, 0, {1, 1}, 1, "a"},
      {"a coefficient beyond the exact range", 1, 1, 1, 2, 0, {1, 16777218.0f}, 0},
      {"a coefficient that is no integer", 1, 1, 1, 2, 0, {2.5f, 1}, 0},
  };
  for (const Case& c : cases) {
    Workbench w;
    Engine& e = w.e;
    w.OpenResult();
    e.Terms.VariableCount = e.Terms.LoadedVariableCount = 1;
    e.Terms.Letter[1] = e.Terms.InputLetter[1] = c.letter;
    e.Terms.Weight[1] = 1;
    e.Terms.Content = c.content;
    e.Terms.CommonDenominator = c.denominator;
    e.Terms.TermCount = static_cast<float>(c.termCount);
    e.Terms.Numerator[1] = c.sign;
    e.Terms.MinExponent[1] = c.minExponent;
    SetVector(e.Dense.Cofactor, std::initializer_list<float>{});
    for (size_t i = 0; i < c.factor.size(); ++i) e.Dense.Cofactor[i] = c.factor[i];
    e.Split.DenseTop = static_cast<int16_t>(c.factor.size() - 1);
    e.Split.DenseOffset = c.offset;
    e.Report.FileEcho = 0;
    e.ResultText("=");
    e.PrintCommonFactor();
    e.PrintDenseFactor();
    const std::optional<format::ResultProduct> recorded = e.Result.Latest();
    const std::string text = w.Result();
    const std::optional<format::ResultProduct> read = format::ReadResultSegment(text);
    ASSERT_TRUE(recorded) << c.what;
    if (read) {
      EXPECT_EQ(ValuesText(recorded), ValuesText(read)) << c.what << ": " << text;
      EXPECT_TRUE(*recorded == *read) << c.what << ": " << text;
    } else {
      EXPECT_TRUE(recorded->unreadable) << c.what << ": " << text;
    }
  }
}

// The result file holds the text and the values together: the segment judged
// is the one that the text's rule picks from jg.dat (the last segment of the
// last line, the echo's excepted, that holds a factor). Random sequences of
// lines, segments and factors, each written as text and as values in one
// call of the result file, agree.
TEST(ResultFile, JudgedSegmentIsTheOneTheTextGives) {
  std::mt19937 random(20240919);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  TempFolder folder;
  for (int round = 0; round < 300; ++round) {
    ResultFile file;
    ASSERT_TRUE(file.Create(folder.path() / "jg.dat"));
    file.Write(" 2 x+ 1 ");  // the echo
    const int pieces = pick(1, 12);
    for (int p = 0; p < pieces; ++p) {
      switch (pick(0, 3)) {
        case 0: {  // "=" and a common factor
          format::ResultProduct common;
          common.numerator = pick(-3, 3);
          if (common.numerator == 0) common.numerator = 1;
          file.Write("=" + NumberText(static_cast<float>(common.numerator)));
          file.OpenSegment(common);
          break;
        }
        case 1: {  // a factor x + c
          const int c = pick(1, 9);
          exact::LetterPoly f;
          exact::Exponents x{};
          x['x' - 'a'] = 1;
          f.terms[x] = "1";
          f.terms[exact::Exponents{}] = std::to_string(c);
          file.Write("(x + " + std::to_string(c) + ")");
          file.AddFactor(f, false);
          break;
        }
        case 2:  // the end of a line
          file.EndLine();
          break;
        default:  // a line that is no result
          file.EndLine();
          file.Write(marks::kSearchStopped);
          file.EndLine();
          break;
      }
    }
    ASSERT_TRUE(file.Close());
    const std::string text = folder.Read("jg.dat");
    const std::optional<format::ResultProduct> read = format::ReadResultSegment(format::JudgedSegment(format::LinesOf(text)));
    EXPECT_EQ(ValuesText(file.Judged()), ValuesText(read)) << text;
  }
}

}  // namespace
}  // namespace pfac::testing
