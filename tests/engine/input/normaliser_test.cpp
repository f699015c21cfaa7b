// The normaliser: the records of DXS1.DAT for accepted texts, "输入错误！" for
// the rest.
#include <gtest/gtest.h>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

constexpr char kInputError[] = "输入错误！";

// The lines of DXS1.DAT, each without its CR LF, joined by "|".
std::string Records(const EngineRun& run) {
  std::string text = run.folder.Read("DXS1.DAT");
  std::string out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    EXPECT_NE(end, std::string::npos) << "every record ends with CR LF";
    if (end == std::string::npos) break;
    if (!out.empty()) out += '|';
    out += text.substr(start, end - start);
    start = end + 2;
  }
  return out;
}

std::string Normalise(const std::string& polynomial) {
  EngineRun run;
  run.FactorUntil(polynomial, &Engine::AllocateTables);
  EXPECT_EQ(run.status, Engine::kStoppedBefore) << polynomial << "\n" << run.Transcript();
  return Records(run);
}

TEST(Normaliser, WorkedExamplesGiveTheirRecords) {
  EXPECT_EQ(Normalise("x^3-6x^2+4x+15"),
            R"("1"|"x"|" 3"|"+","+"|"-6"|"x"|" 2"|"+","+"|"4"|"x"|"1"|"+","+"|"15"|"+","+")");
  EXPECT_EQ(Normalise("x^2-3x+1"), R"("1"|"x"|" 2"|"+","+"|"-3"|"x"|"1"|"+","+"|"1"|"+","+")");
  EXPECT_EQ(Normalise("x4y"), R"("1"|"x"|" 4"|"y"|"1"|"+","+")");
  EXPECT_EQ(Normalise("X^2+x"), R"("1"|"X"|" 2"|"+","+"|"1"|"x"|"1"|"+","+")");
}

TEST(Normaliser, CoefficientsKeepTheirWrittenForm) {
  EXPECT_EQ(Normalise("3/2x"), R"("3/2"|"x"|"1"|"+","+")");
  EXPECT_EQ(Normalise("-1/6y"), R"("-1/6"|"y"|"1"|"+","+")");
  EXPECT_EQ(Normalise("-x"), R"("-1"|"x"|"1"|"+","+")");
  EXPECT_EQ(Normalise("x-"), R"("1"|"x"|"1"|"+","+"|"-1"|"+","+")");
  EXPECT_EQ(Normalise("-"), R"("-1"|"+","+")");
  EXPECT_EQ(Normalise("x+ 3"), R"("1"|"x"|"1"|"+","+"|" 3"|"+","+")");
  EXPECT_EQ(Normalise("+3x"), R"("+3"|"x"|"1"|"+","+")");
}

TEST(Normaliser, LettersDAndEAreVariables) {
  EXPECT_EQ(Normalise("2e3"), R"("2"|"e"|" 3"|"+","+")");
  EXPECT_EQ(Normalise("5d+1"), R"("5"|"d"|" 1"|"+","+"|"1"|"+","+")");
  EXPECT_EQ(Normalise("4E-x"), R"("4"|"E"|" 1"|"+","+"|"-1"|"x"|"1"|"+","+")");
  EXPECT_EQ(Normalise("x'2"), R"("1"|"x"|" 2"|"+","+")");
  // After an exponent the letter is a variable too, not the exponent part of
  // a number (2e1 would read as 20).
  EXPECT_EQ(Normalise("x2e1+1"), R"("1"|"x"|" 2"|"e"|" 1"|"+","+"|"1"|"+","+")");
  EXPECT_EQ(Normalise("x3d-y"), R"("1"|"x"|" 3"|"d"|" 1"|"+","+"|"-1"|"y"|"1"|"+","+")");
}

struct Rejected {
  const char* text;
  const char* records;  // DXS1.DAT as left at the error
};

TEST(Normaliser, SyntaxErrorsEndWithTheMessageAndClosingLines) {
  const Rejected cases[] = {
      {"x+", R"("1"|"x"|"1"|"+","+"|"1")"},
      {"x^02", R"("1"|"x"|" 2")"},
      {"x02", R"("1"|"x"|"1")"},
      {"x +3", R"("1"|"x"|"1")"},
      {"2.5x", R"("2")"},
      {"+x", R"("1")"},
      {"0x+1", R"("1")"},
      {"x^0", R"("1"|"x")"},
      {"x^-2", R"("1"|"x")"},
      {"x^", R"("1"|"x")"},
      {"2*x", R"("2")"},
      {"(x+1)", R"("1")"},
      {"x,y", R"("1"|"x"|"1")"},
      {"", R"("1")"},
  };
  for (const Rejected& c : cases) {
    EngineRun run;
    run.Factor(c.text);
    EXPECT_EQ(run.status, 0) << c.text;
    EXPECT_NE(run.Transcript().find(std::string(kInputError) + "\n\n用鼠标左键单击右上方 × 处关闭此窗口\n"
                                    "Use the mouse to close the window\n"),
              std::string::npos)
        << c.text << "\n" << run.Transcript();
    EXPECT_EQ(Records(run), c.records) << c.text;
    EXPECT_FALSE(run.folder.Exists("jg.dat")) << c.text;
  }
}

// Texts outside the syntax that the normaliser would otherwise pass on in a
// form the later steps cannot compute with.
TEST(Normaliser, RejectsWhatTheSyntaxDoesNotAdmit) {
  const char* texts[] = {
      "x:2", "x;", "x<1", "x=1", "x>", "x?", "x@",  // a variable followed by ":;<=>?@"
      ".5x", "x^2.5", "x2.5", "x^2e05", "x2e05",     // decimals and exponent parts
      "3/x", "3/0x", "3/2/5", "3/",                  // bad fractions
      "2^3", "x_1", "x`", "~x", "x~",                // no letters in the place of a variable
      "x+\xc3\xa9", "\xe5\x9b\xa0x", "x\x01",        // bytes that are not ASCII or printable
      "x+ -3",
  };
  for (const char* text : texts) {
    EngineRun run;
    run.Factor(text);
    EXPECT_EQ(run.status, 0) << text;
    EXPECT_NE(run.Transcript().find(kInputError), std::string::npos) << text << "\n" << run.Transcript();
    EXPECT_FALSE(run.folder.Exists("jg.dat")) << text;
  }
}

TEST(Normaliser, VeryLongLineIsRejectedQuickly) {
  std::string text;
  while (text.size() < 100 * 1024) text += "x+";
  text += "*";
  EngineRun run;
  run.Factor(text);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.Transcript().find(kInputError), std::string::npos);
  // A long run of protected letters must not take quadratic time either.
  std::string letters;
  while (letters.size() < 100 * 1024) letters += "e1";
  EngineRun second;
  second.Factor(letters + "*");
  EXPECT_NE(second.Transcript().find(kInputError), std::string::npos);
}

}  // namespace
}  // namespace pfac::testing
