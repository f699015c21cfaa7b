// Loading DXS1.DAT into the term tables and the echo that begins jg.dat.
#include <gtest/gtest.h>

#include <cctype>

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

// The echo shows the fractions as written; the coefficients go on integral,
// over their common denominator 4.
TEST(TermTables, FractionsAreMadeIntegralOverTheLeastCommonDenominator) {
  Loaded run("1/2x^2-3/4x+1");
  EXPECT_EQ(run.Result(), " 1/ 2x^ 2- 3/ 4x+ 1");  // line left open
  EXPECT_NE(run.Transcript().find("\n 1 / 2 x^ 2 - 3 / 4 x+ 1 \n"), std::string::npos)
      << run.Transcript();
  EngineRun whole;
  whole.Factor("1/2x^2-3/4x+1");
  EXPECT_EQ(ValuesText(whole.engine->Result.Judged()), "1/4 (2x^2-3x+4)");
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
  EngineRun run;
  run.Factor("1/3x+1/7");
  EXPECT_EQ(ValuesText(run.engine->Result.Judged()), "1/21 (7x+3)");
}

TEST(TermTables, IntegerCoefficientsAreEchoedByThePrinterOfTheTermTable) {
  Loaded run("x^2-1");
  EXPECT_EQ(run.Result(), "x^ 2- 1 ");
  EXPECT_NE(run.Transcript().find("\nx^ 2 - 1 "), std::string::npos);

  Loaded negative("3x^2-5");
  EXPECT_EQ(negative.Result(), " 3 x^ 2- 5 ");
  EXPECT_NE(negative.Transcript().find(" 3 x^ 2 - 5 "), std::string::npos);

  // A lone "-" is the term -1, a single term and its own result.
  EngineRun lone;
  lone.Factor("-");
  EXPECT_EQ(lone.Result(), "- 1 = - 1");
  EXPECT_EQ(ValuesText(lone.engine->Result.Latest()), "-1/1 ");
}

// X and x are one variable; a variable that appears late in a term is the
// same variable in every term.
TEST(TermTables, VariablesAreNumberedByFirstAppearanceWithoutRegardToCase) {
  const std::pair<const char*, const char*> cases[] = {
      {"X^2+x", "1/1 x (x+1)"},
      {"x^2+3+y^4x", "1/1 (x^2+xy^4+3)"},
      {"y^4x+x^2y", "1/1 xy (x+y^3)"},
  };
  for (const auto& [polynomial, values] : cases) {
    EngineRun run;
    run.Factor(polynomial);
    EXPECT_EQ(ValuesText(run.engine->Result.Judged()), values) << polynomial << "\n" << run.Result();
  }
}

// The terms of x + x^2 + ... as a text, each once with the sign given (and,
// with cancel, once more with the other): count terms in all.
std::string PowersOfX(int count, bool cancel) {
  std::string text;
  for (int i = 1; i <= (cancel ? count / 2 : count); ++i) {
    text += "+x^" + std::to_string(i);
    if (cancel) text += "-x^" + std::to_string(i);
  }
  if (cancel && count % 2 == 1) text += "+7";
  return text.substr(1);
}

// Every limit of the input at its value and just beyond it: a text at the
// limit (and, in the same text, a value just below it) gives its result; one
// beyond ends the run in order with its message, leaving jg.dat as it was.
TEST(TermTables, LimitsAreTakenAtTheirValueAndRefusedBeyondIt) {
  struct Limit {
    std::string text;
    const char* result;   // how jg.dat ends for a text that is taken
    const char* message;  // what the run says about a text beyond the limit
  };
  const Limit cases[] = {
      {PowersOfX(30, true), "=0\r\n", nullptr},
      {PowersOfX(31, true), nullptr, "more than 30 terms"},
      {"a+b+c+d+e+f+g+h-a-b-c-d-e-f-g-h", "=0\r\n", nullptr},
      {"a+b+c+d+f+g+h+i+j", nullptr, "more than 8 variables"},
      {"2abcdfg", "= 2abcdfg", nullptr},
      {"abcdfgh+1", nullptr, "more than 6 variables"},
      {"a^2b^2c^2d^2-f^2g^2h^2k^2", "=(abcd- fghk)(abcd+ fghk)\r\n", nullptr},  // a pending factor in 8 variables
      {"x^32767+x^32766", "=x^ 32766(x + 1)=x^ 32766(x + 1)\r\n", nullptr},
      {"x32767-x32766", "=x^ 32766(x - 1)=x^ 32766(x - 1)\r\n", nullptr},
      {"x^32768+1", nullptr, "exceeds 32767"},
      {"x32768+1", nullptr, "exceeds 32767"},
      {"16777216x-16777215", "=( 16777216x - 16777215)=( 16777216x - 16777215)\r\n", nullptr},
      {"-16777216x+16777215", "=-( 16777216x - 16777215)=-( 16777216x - 16777215)\r\n", nullptr},
      {"x^2+16777216", "=(x^ 2 + 16777216)=(x^ 2 + 16777216)\r\n", nullptr},  // a constant term at the limit
      {"16777217x+1", nullptr, "exceeds 16777216"},
      {"x-16777217", nullptr, "exceeds 16777216"},
      {"x+1/16777216", "= 1/ 16777216( 16777216x + 1)= 1/ 16777216( 16777216x + 1)\r\n", nullptr},
      {"-8388608/3x+1/6", "=- 1/ 6( 16777216x - 1)=- 1/ 6( 16777216x - 1)\r\n", nullptr},  // made integral
      {"1/16777217x+1", nullptr, "exceeds 16777216"},
      {"1/4096x+1/4097", nullptr, "exceeds 16777216"},     // a common denominator beyond
      {"16777215/2x+1/3", nullptr, "exceeds 16777216"},    // 3 x 16777215 made integral
      {"-16777215/2x+1/3", nullptr, "exceeds 16777216"},
      {"xyx", nullptr, "written twice"},
      {"Xx+1", nullptr, "written twice"},
  };
  for (const Limit& c : cases) {
    EngineRun run;
    run.folder.Write("jg.dat", "previous result\r\n");
    run.Factor(c.text);
    EXPECT_EQ(run.status, 0) << c.text;
    EXPECT_NE(run.Transcript().find("Use the mouse to close the window\n"), std::string::npos) << c.text;
    if (c.result) {
      const std::string jg = run.Result();
      const std::string tail = c.result;
      EXPECT_TRUE(jg.size() > tail.size() && jg.compare(jg.size() - tail.size(), tail.size(), tail) == 0)
          << c.text << "\n" << jg;
    } else {
      EXPECT_NE(run.Transcript().find(c.message), std::string::npos) << c.text << "\n" << run.Transcript();
      EXPECT_EQ(run.Result(), "previous result\r\n") << c.text;
    }
  }
}

// The text with the variables x and y (in either case) named first and
// second; an x or y beside another letter (in a word) stays.
std::string Renamed(const std::string& text, char first, char second) {
  auto inWord = [&](size_t i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    return std::isalpha(static_cast<unsigned char>(c)) && c != 'x' && c != 'y';
  };
  std::string renamed = text;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    if ((c != 'x' && c != 'y') || (i > 0 && inWord(i - 1)) || (i + 1 < text.size() && inWord(i + 1))) continue;
    renamed[i] = c == 'x' ? first : second;
  }
  return renamed;
}

// The letters a, z, A and Z at either end of the alphabet go through every
// place a letter is read (the text, the term tables, the pending-factor files,
// the exact factoriser and the certificate) as x and y do: the real engine
// writes the same jg.dat, in lower-case letters.
TEST(TermTables, LettersAtTheEndsOfTheAlphabetActAsAnyOther) {
  const char* templates[] = {
      "x^4-1",              // square forms: pending files
      "x^3-6x^2+4x+15",     // a split found by the search
      "x^4+1",              // no split: the exact factoriser proves it irreducible
      "x^4-Y^4",            // forms in two variables
      "x^3y-xy^3+x^2-y^2",  // splits in two variables
      "X^4+64y^4",          // a factor taken from the exact factorisation
  };
  const std::pair<char, char> names[] = {{'a', 'z'}, {'z', 'a'}, {'A', 'Z'}, {'Z', 'A'}};
  for (const char* polynomial : templates) {
    TempFolder reference;
    reference.Write("DXS.DAT", QuotedLine(polynomial));
    ASSERT_EQ(RunEngineBinary(reference.path()).status, 0) << polynomial;
    const std::string jg = reference.Read("jg.dat");
    for (const auto& [first, second] : names) {
      const std::string expected = Renamed(jg, first | 0x20, second | 0x20);
      TempFolder folder;
      const std::string text = Renamed(polynomial, first, second);
      folder.Write("DXS.DAT", QuotedLine(text));
      EXPECT_EQ(RunEngineBinary(folder.path()).status, 0) << text;
      EXPECT_EQ(folder.Read("jg.dat"), expected) << text;
    }
  }
}

}  // namespace
}  // namespace pfac::testing
