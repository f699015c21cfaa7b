#include "engine/platform/memory_console.h"

#include <gtest/gtest.h>

namespace pfac {
namespace {

TEST(MemoryConsole, StatusRowKeepsThePlaceOfOrdinaryOutput) {
  MemoryConsole c;
  c.Write("abc");
  c.Locate(25, 14);
  c.SetColour(2, 0);
  c.WriteLine("status");
  c.SetColour(7, 0);
  c.Write("d");
  EXPECT_EQ(c.RowText(1), "abcd");
  EXPECT_EQ(c.RowText(25), std::string(13, ' ') + "status");
  EXPECT_EQ(c.At(25, 14).foreground, 2);
  EXPECT_EQ(c.At(1, 4).foreground, 7);
  EXPECT_EQ(c.Transcript(), "abcstatus\nd");
}

TEST(MemoryConsole, OrdinaryOutputScrollsAboveTheStatusRow) {
  MemoryConsole c;
  c.Locate(25, 1);
  c.WriteLine("keep");
  for (int i = 1; i <= 30; ++i) c.WriteLine("line " + std::to_string(i));
  EXPECT_EQ(c.RowText(25), "keep");
  EXPECT_EQ(c.RowText(23), "line 30");
  EXPECT_EQ(c.RowText(24), "");
  EXPECT_EQ(c.RowText(1), "line 8");
}

TEST(MemoryConsole, FullRowWrapsOnceAndWideCharactersTakeTwoCells) {
  MemoryConsole c;
  c.WriteLine(std::string(80, 'x'));
  c.Write("结束!");
  EXPECT_EQ(c.Row(), 2);
  EXPECT_EQ(c.Column(), 6);
  EXPECT_EQ(c.RowText(2), "结束!");
  c.Locate(3, 80);
  c.Write("因");  // no room in column 80: goes to the next row
  EXPECT_EQ(c.RowText(4), "因");
}

TEST(MemoryConsole, PrintZonesAreFourteenColumnsWide) {
  MemoryConsole c;
  c.Write("10:00:00");
  c.NextPrintZone();
  c.Write("10:05:00");
  EXPECT_EQ(c.RowText(1), "10:00:00      10:05:00");
  c.Locate(2, 71);
  c.NextPrintZone();  // past the last zone: next line
  EXPECT_EQ(c.Row(), 3);
}

// A word that would end past column 80 starts the next row in place of its
// blank; wide characters count two columns; a word wider than a row is
// written whole.
TEST(MemoryConsole, WordsBreakAtTheBlankBeforeTheRightEdge) {
  const std::string a74(74, 'a'), a76(76, 'a'), x90(90, 'x');
  const std::pair<std::string, std::string> cases[] = {
      {a74 + " bcdef", a74 + " bcdef\n"},
      {a74 + " bcdefg", a74 + "\nbcdefg\n"},
      {a76 + " 因式", a76 + "\n因式\n"},
      {x90 + " y", x90 + " y\n"},
  };
  for (const auto& [text, shown] : cases) {
    MemoryConsole c;
    c.WriteWords(text);
    EXPECT_EQ(c.Transcript(), shown);
    EXPECT_EQ(c.Column(), 1) << text;
  }
}

TEST(MemoryConsole, KeysComeWhenDue) {
  MemoryConsole c;
  c.PressKey('x', 2);
  EXPECT_EQ(c.ReadKey(), Console::kNoKey);
  EXPECT_EQ(c.ReadKey(), Console::kNoKey);
  EXPECT_EQ(c.ReadKey(), 'x');
  EXPECT_EQ(c.WaitKey(), Console::kNoKey);
  c.PressKeys("y");
  EXPECT_EQ(c.WaitKey(), 'y');
}

}  // namespace
}  // namespace pfac
