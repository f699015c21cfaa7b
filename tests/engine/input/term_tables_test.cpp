// Loading DXS1.DAT into the term tables and the echo that begins jg.dat.
#include <gtest/gtest.h>

#include "support/engine_harness.h"
#include "support/poly_check.h"

namespace pfac::testing {
namespace {

// Runs up to the first step of the preparation, where the tables stand as the
// loading and the echo left them.
struct Loaded : EngineRun {
  explicit Loaded(const std::string& polynomial) {
    FactorUntil(polynomial, &Engine::MergeLikeTerms);
    EXPECT_EQ(status, Engine::kStoppedBefore) << polynomial << "\n" << Transcript();
    engine->CloseAllFiles();  // jg.dat is complete on disk once closed
  }
  Engine& e() { return *engine; }
};

TEST(TermTables, FractionsAreMadeIntegralOverTheLeastCommonDenominator) {
  Loaded run("1/2x^2-3/4x+1");
  Engine& e = run.e();
  EXPECT_EQ(e.FractionFlag, "f");
  EXPECT_EQ(e.CommonDenominator, 4);
  EXPECT_EQ(e.TermCount, 3);
  EXPECT_EQ(e.Numerator[1], 2);
  EXPECT_EQ(e.Numerator[2], -3);
  EXPECT_EQ(e.Numerator[3], 4);
  EXPECT_EQ(run.Result(), " 1/ 2x^ 2- 3/ 4x+ 1");  // line left open
  EXPECT_NE(run.Transcript().find("\n 1 / 2 x^ 2 - 3 / 4 x+ 1 \n"), std::string::npos)
      << run.Transcript();
}

// Denominators whose product passes 16,777,216 while their least common
// multiple and the integral coefficients stay small are taken, and the result
// multiplies back to the polynomial.
TEST(TermTables, DenominatorsWhoseProductPassesTheExactRangeAreTaken) {
  const std::pair<const char*, const char*> cases[] = {
      {"1/48x^3-19/1260x^2-17/1260x+1/105", "= 1/ 5040( 3x - 2)( 7x - 6)( 5x + 4)"},
      {"x^4-77/60x^3+71/120x^2-7/60x+1/120", "= 1/ 120( 2x - 1)( 3x - 1)( 4x - 1)( 5x - 1)"},
      {"1/128x^7+7/64x^6+21/32x^5+35/16x^4+35/8x^3+21/4x^2+7/2x+1",
       "= 1/ 128(x + 2)(x + 2)(x + 2)(x + 2)(x + 2)(x + 2)(x + 2)"},
  };
  for (const auto& [polynomial, result] : cases) {
    EngineRun run;
    run.Factor(polynomial);
    EXPECT_EQ(run.FinalLine(), result) << polynomial << "\n" << run.Result();
    std::string why;
    EXPECT_TRUE(LineEquals(run.FinalLine(), *ParseInput(polynomial), &why)) << polynomial << ": " << why;
  }
}

TEST(TermTables, IntegralCoefficientsAreExactEvenWhenDivisionFirstIsNot) {
  // Dividing first gives 1/7 * 21 = 3.0000002 in 32-bit floats.
  Loaded run("1/3x+1/7");
  EXPECT_EQ(run.e().CommonDenominator, 21);
  EXPECT_EQ(run.e().Numerator[1], 7);
  EXPECT_EQ(run.e().Numerator[2], 3);
}

TEST(TermTables, IntegerCoefficientsAreEchoedByThePrinterOfTheTermTable) {
  Loaded run("x^2-1");
  EXPECT_EQ(run.e().FractionFlag, "");
  EXPECT_EQ(run.e().CommonDenominator, 1);
  EXPECT_EQ(run.Result(), "x^ 2- 1 ");
  EXPECT_NE(run.Transcript().find("\nx^ 2 - 1 "), std::string::npos);

  Loaded negative("3x^2-5");
  EXPECT_EQ(negative.Result(), " 3 x^ 2- 5 ");
  EXPECT_NE(negative.Transcript().find(" 3 x^ 2 - 5 "), std::string::npos);

  Loaded lone("-");
  EXPECT_EQ(lone.e().Numerator[1], -1);
  EXPECT_EQ(lone.e().Denominator[1], 1);
}

TEST(TermTables, VariablesAreNumberedByFirstAppearanceWithoutRegardToCase) {
  Loaded run("X^2+x");
  Engine& e = run.e();
  EXPECT_EQ(e.VariableCount, 1);
  EXPECT_EQ(e.Letter[1], "x");
  EXPECT_EQ(e.Exponent[1][1], 2);
  EXPECT_EQ(e.Exponent[2][1], 1);

  Loaded third("x^2+3+y^4x");
  Engine& f = third.e();
  EXPECT_EQ(f.VariableCount, 2);
  EXPECT_EQ(f.Letter[2], "y");
  EXPECT_EQ(f.InputLetter[2], "y");
  EXPECT_EQ(f.Exponent[1][2], 0);
  EXPECT_EQ(f.Exponent[3][2], 4);
  EXPECT_EQ(f.Exponent[3][1], 1);
}

TEST(TermTables, ThirtyTermsLoad) {
  std::string text = "x";
  for (int i = 2; i <= 30; ++i) text += "+x^" + std::to_string(i);
  Loaded run(text);
  EXPECT_EQ(run.e().TermCount, 30);
  EXPECT_EQ(run.e().Exponent[30][1], 30);
}

struct Limit {
  std::string text;
  const char* message;
};

TEST(TermTables, InputsBeyondTheLimitsEndInOrderWithoutTouchingJgDat) {
  std::string thirtyOne = "x";
  for (int i = 2; i <= 31; ++i) thirtyOne += "+x^" + std::to_string(i);
  const Limit cases[] = {
      {thirtyOne, "more than 30 terms"},
      {"a+b+c+d+f+g+h+i+j", "more than 8 variables"},
      {"abcdfgh+1", "more than 6 variables"},
      {"xyx", "written twice"},
      {"Xx+1", "written twice"},
      {"16777217x+1", "exceeds 16777216"},
      {"x+123456789", "exceeds 16777216"},
      {"1/16777217x+1", "exceeds 16777216"},
      {"1/4096x+1/4097", "exceeds 16777216"},
      {"4096/4097x+1/4096", "exceeds 16777216"},
      {"16777215/2x+1/3", "exceeds 16777216"},  // the common denominator 6 is small, 3 x 16777215 is not
      {"-16777215/2x+1/3", "exceeds 16777216"},
      {"x^40000+1", "exceeds 32767"},
  };
  for (const Limit& c : cases) {
    EngineRun run;
    run.folder.Write("jg.dat", "previous result\r\n");
    run.Factor(c.text);
    EXPECT_EQ(run.status, 0) << c.text;
    EXPECT_NE(run.Transcript().find(c.message), std::string::npos) << c.text << "\n" << run.Transcript();
    EXPECT_NE(run.Transcript().find("Use the mouse to close the window\n"), std::string::npos);
    EXPECT_EQ(run.Result(), "previous result\r\n") << c.text;
  }
}

TEST(TermTables, SixVariablesInOneTermAndEightInAllAreAccepted) {
  Loaded six("abcdfg+1");
  EXPECT_EQ(six.e().VariableCount, 6);
  Loaded eight("abcd+fghi+1");
  EXPECT_EQ(eight.e().VariableCount, 8);
  Loaded largest("x+1/16777216");
  EXPECT_EQ(largest.e().CommonDenominator, 16777216);
  // Coefficients up to 16,777,216 load, written or made integral.
  Loaded numerator("16777216x-1");
  EXPECT_EQ(numerator.Result(), " 16777216 x- 1 ");
  Loaded integral("-8388608/3x+1/6");
  EXPECT_EQ(integral.e().Numerator[1], -16777216);
}

}  // namespace
}  // namespace pfac::testing
