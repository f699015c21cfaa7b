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

TEST(Startup, UpperCaseEndIsAPolynomial) {
  EngineRun run;
  run.FactorUntil("END", &Engine::AllocateTables);
  EXPECT_EQ(run.status, Engine::kStoppedBefore);
  EXPECT_EQ(run.folder.Read("DXS1.DAT"),
            "\"1\"\r\n\"E\"\r\n\"1\"\r\n\"N\"\r\n\"1\"\r\n\"D\"\r\n\"1\"\r\n\"+\",\"+\"\r\n");
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

TEST(Startup, EchoShowsTheTextAsReadWithoutControlCharacters) {
  EngineRun run;
  run.Factor("x\x1b[2J");
  EXPECT_NE(run.Transcript().find("\nx?[2J\n\n"), std::string::npos) << run.Transcript();
  EXPECT_EQ(run.Transcript().find('\x1b'), std::string::npos);
}

TEST(Startup, MissingEmptyOrUnreadableFileEndsInOrder) {
  EngineRun missing;
  missing.folder.Write("jg.dat", "old\r\n");
  missing.RunAsIs();
  EXPECT_EQ(missing.status, 0);
  EXPECT_NE(missing.Transcript().find("DXS.DAT was not found"), std::string::npos);
  EXPECT_TRUE(EndsWith(missing.Transcript(), kClosing));
  EXPECT_EQ(missing.Result(), "old\r\n");

  EngineRun empty;
  empty.folder.Write("DXS.DAT", "");
  empty.RunAsIs();
  EXPECT_NE(empty.Transcript().find("DXS.DAT is empty"), std::string::npos);
  EXPECT_TRUE(EndsWith(empty.Transcript(), kClosing));
  EXPECT_FALSE(empty.folder.Exists("jg.dat"));

  EngineRun folder;
  std::filesystem::create_directory(folder.folder.path() / "DXS.DAT");
  folder.RunAsIs();
  EXPECT_NE(folder.Transcript().find("DXS.DAT cannot be read"), std::string::npos);
  EXPECT_TRUE(EndsWith(folder.Transcript(), kClosing));
}

TEST(Startup, SyntaxErrorLeavesJgDatAsItWas) {
  EngineRun run;
  run.folder.Write("jg.dat", "previous\r\n");
  run.Factor("x + 1");
  EXPECT_TRUE(EndsWith(run.Transcript(), std::string("x + 1\n\n输入错误！\n") + kClosing))
      << run.Transcript();
  EXPECT_EQ(run.Result(), "previous\r\n");
}

TEST(EngineBinary, RunsToItsEndWithInputAtItsEndAndWritesPlainText) {
  TempFolder folder;
  folder.Write("DXS.DAT", QuotedLine("x^3-6x^2+4x+15"));
  ProcessResult result = RunEngineBinary(folder.path());
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output.find('\x1b'), std::string::npos) << "no escape sequence when piped";
  EXPECT_NE(result.output.find("因 式 分 解"), std::string::npos);
  EXPECT_NE(result.output.find("x^3-6x^2+4x+15"), std::string::npos);
  EXPECT_NE(result.output.find("Use the mouse to close the window"), std::string::npos);
  EXPECT_EQ(folder.Read("DXS1.DAT"),
            "\"1\"\r\n\"x\"\r\n\" 3\"\r\n\"+\",\"+\"\r\n\"-6\"\r\n\"x\"\r\n\" 2\"\r\n\"+\",\"+\"\r\n"
            "\"4\"\r\n\"x\"\r\n\"1\"\r\n\"+\",\"+\"\r\n\"15\"\r\n\"+\",\"+\"\r\n");
  EXPECT_EQ(folder.Read("DXS.DAT"), QuotedLine("x^3-6x^2+4x+15"));
}

TEST(EngineBinary, MissingFileStillExitsZero) {
  TempFolder folder;
  ProcessResult result = RunEngineBinary(folder.path());
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.output.find("DXS.DAT was not found"), std::string::npos);
}

}  // namespace
}  // namespace pfac::testing
