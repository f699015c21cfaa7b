// The start of a run: the start screen, DXS.DAT, "end", and the real binary.
#include <gtest/gtest.h>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

constexpr char kClosing[] =
    "\n用鼠标左键单击右上方 × 处关闭此窗口\nUse the mouse to close the window\n";

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST(Startup, BannerStandsAtRowFourColumnThirty) {
  EngineRun run;
  run.Factor("end");
  EXPECT_EQ(run.console.At(4, 30).glyph, "因");
  EXPECT_EQ(run.console.At(4, 31).glyph, "");  // right half of the wide character
  EXPECT_EQ(run.console.At(4, 32).glyph, " ");
  EXPECT_EQ(run.console.At(5, 29).glyph, "-");
  EXPECT_EQ(run.console.At(5, 41).glyph, "-");
  EXPECT_EQ(run.console.At(6, 33).glyph, "p");
  const std::string banner = "因 式 分 解 \n";
  EXPECT_EQ(run.Transcript().substr(0, banner.size()), banner);
}

TEST(Startup, EndStopsAtOnceAndTouchesNoFile) {
  EngineRun run;
  run.folder.Write("jg.dat", "old\r\n");
  run.folder.Write("DXS1.DAT", "old\r\n");
  run.Factor("end");
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(EndsWith(run.Transcript(), std::string("\n结束\n") + kClosing)) << run.Transcript();
  EXPECT_EQ(run.folder.Read("jg.dat"), "old\r\n");
  EXPECT_EQ(run.folder.Read("DXS1.DAT"), "old\r\n");
  EXPECT_EQ(run.console.KeyWaits(), 0);
}

TEST(Startup, OnlyEndItselfStopsTheEngine) {
  EngineRun run;
  run.FactorUntil("END", &Engine::AllocateTables);
  EXPECT_EQ(run.status, Engine::kStoppedBefore);
  EXPECT_EQ(run.folder.Read("DXS1.DAT"),
            "\"1\"\r\n\"E\"\r\n\"1\"\r\n\"N\"\r\n\"1\"\r\n\"D\"\r\n\"1\"\r\n\"+\",\"+\"\r\n");
  for (const char* polynomial : {"End", "end+1", "endx", "xend"}) {
    EngineRun other;
    other.FactorUntil(polynomial, &Engine::AllocateTables);
    EXPECT_EQ(other.status, Engine::kStoppedBefore) << polynomial;
  }
}

TEST(Startup, QuotedAndUnquotedFilesGiveTheSameRun) {
  EngineRun quoted;
  quoted.folder.Write("DXS.DAT", "\"x^2-1\"\r\n");
  quoted.RunAsIs();
  EngineRun plain;
  plain.folder.Write("DXS.DAT", "  x^2-1,ignored\r\nsecond line\r\n");
  plain.RunAsIs();
  EXPECT_EQ(quoted.Transcript(), plain.Transcript());
  EXPECT_EQ(quoted.folder.Read("DXS1.DAT"), plain.folder.Read("DXS1.DAT"));
  EXPECT_EQ(quoted.Result(), plain.Result());
}

// Control characters, C0 and C1, raw or encoded, and bytes that are no UTF-8
// become "?": what DXS.DAT holds cannot steer the terminal.
TEST(Startup, EchoShowsTheTextAsReadWithoutControlCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"x\x1b[2J", "x?[2J"},              // escape
      {"x\x7f+1", "x?+1"},                // delete
      {"x\xc2\x85+1", "x?+1"},            // U+0085, next line
      {"x\xc2\x9b" "2J", "x?2J"},         // U+009B, control sequence introducer
      {"x\x9b" "2J", "x?2J"},             // the same as a raw byte
      {"x\x80\x9f", "x??"},               // raw bytes at both ends of the C1 range
      {"x\xc2\xa0y", "x\xc2\xa0y"},       // U+00A0, the first character after them, stays
  };
  for (const auto& [text, echo] : cases) {
    EngineRun run;
    run.Factor(text);
    // The echo is a line of its own: the text as read stands nowhere else.
    EXPECT_NE(run.Transcript().find("\n" + std::string(echo) + "\n\n"), std::string::npos) << run.Transcript();
  }
}

// A run stopped right after an echo of exactly 80 columns writes its message
// on a line of its own, on the terminal as on the in-memory console.
TEST(EngineBinary, StopMessageAfterAFullEchoLineStandsOnItsOwnLine) {
  const std::string polynomial = "16777215x+2x+1+x^2+x^3+x^4+x^5+x^6+x^7+x^8+x^9+333x^10";
  const std::string echo = " 16777215 x+ 2 x+ 1 +x^ 2 +x^ 3 +x^ 4 +x^ 5 +x^ 6 +x^ 7 +x^ 8 +x^ 9 + 333 x^ 10 ";
  ASSERT_EQ(echo.size(), 80u);
  const std::string stopped = "\n" + echo + "\n合并同类项后系数超过 16777216";
  TempFolder folder;
  folder.Write("DXS.DAT", QuotedLine(polynomial));
  ProcessResult binary = RunEngineBinary(folder.path());
  EXPECT_NE(binary.output.find(stopped), std::string::npos) << binary.output;
  EngineRun run;
  run.Factor(polynomial);
  EXPECT_NE(run.Transcript().find(stopped), std::string::npos) << run.Transcript();
}

}  // namespace
}  // namespace pfac::testing
