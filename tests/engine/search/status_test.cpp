// The status line, the waiting messages, the search clock and the X key.
#include <gtest/gtest.h>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

struct Status : ::testing::Test {
  TempFolder folder;
  MemoryConsole console;
  FakeClock clock{10, 0, 0};
  Engine engine{console, clock, folder.path()};
};

// The minutes a search may run: the poll ends it at EndOfSearch once the
// minute field has moved on by more than this since the search clock started.
int MinutesAllowed(Engine& engine, FakeClock& clock) {
  clock.Set(10, 0, 0);
  engine.StartSearchClock();
  for (int minutes = 0; minutes < 60; ++minutes) {
    for (int i = 0; i < 200 && !engine.Diverted(); ++i) engine.PollInterruption();
    if (engine.Diverted()) {
      EXPECT_TRUE(engine.NextStep() == &Engine::EndOfSearch);
      return minutes - 1;
    }
    clock.Advance(60);
  }
  return -1;
}

TEST_F(Status, RunningLineStandsOnRowTwentyFiveInGreenAndSetsTheTimeLimit) {
  engine.Pass.SecondPass = 0;
  engine.ShowRunningLine();
  EXPECT_EQ(console.RowText(25), std::string(13, ' ') + "程序正在运行. 按 X 键可退出分解(Press x to exit)");
  EXPECT_EQ(console.At(25, 14).foreground, 2);
  EXPECT_EQ(console.Row(), 1) << "ordinary output goes on where it was";
  EXPECT_EQ(MinutesAllowed(engine, clock), 7);

  Engine later{console, clock, folder.path()};
  later.Pass.SecondPass = 1;
  later.ShowRunningLine();
  EXPECT_EQ(console.RowText(25).substr(0, 5), "     ");
  EXPECT_EQ(console.At(25, 6).glyph, "已");
  EXPECT_EQ(MinutesAllowed(later, clock), 1);
}

TEST_F(Status, ElapsedCountsMinuteFieldsWithOneTurnOfTheHour) {
  clock.Set(9, 58, 30);
  engine.StartSearchClock();
  clock.Set(10, 5, 59);
  EXPECT_FALSE(engine.ElapsedBeyond(7));  // 5 - (58 - 60) = 7
  clock.Set(10, 6, 0);
  EXPECT_TRUE(engine.ElapsedBeyond(7));   // 6 - (58 - 60) = 8
  clock.Set(10, 10, 0);
  engine.StartSearchClock();
  clock.Set(10, 12, 59);
  EXPECT_FALSE(engine.ElapsedBeyond(2));
  clock.Set(10, 13, 0);
  EXPECT_TRUE(engine.ElapsedBeyond(2));
  clock.Set(11, 10, 0);
  EXPECT_FALSE(engine.ElapsedBeyond(1)) << "only the minute field counts";
}

// x or X ends the search at EndOfSearch; any other key is consumed and
// ignored.
TEST_F(Status, TheXKeyEndsTheSearch) {
  engine.ShowRunningLine();
  engine.StartSearchClock();
  for (char key : {'a', 'n', 'y'}) {
    console.PressKey(key);
    for (int i = 0; i < 200; ++i) engine.PollInterruption();
    EXPECT_FALSE(engine.Diverted()) << key;
  }
  for (int key : {'X', 'x'}) {
    Engine stopped{console, clock, folder.path()};
    stopped.ShowRunningLine();
    stopped.StartSearchClock();
    for (int i = 0; i < 1000 && !stopped.Diverted(); ++i) {
      if (i == 300) console.PressKey(key);
      stopped.PollInterruption();
    }
    EXPECT_TRUE(stopped.NextStep() == &Engine::EndOfSearch) << static_cast<char>(key);
  }
}

TEST_F(Status, WaitingMessagesDependOnTheDegree) {
  engine.Status.TimeLimit = 7;
  engine.Dense.ImageDegree = 24;
  engine.ShowWaitingMessageAtNine();
  EXPECT_EQ(console.Transcript(),
            "\n程序正在运行中,请等候. 等候时间< 8 分钟.休息一会儿吧!\n"
            "The process is operating now,Wait for less than 8 minutes .\n");
  EXPECT_EQ(console.At(2, 1).foreground, 10);
  EXPECT_EQ(console.At(2, 1).background, 7);

  console.ClearTranscript();
  engine.Dense.ImageDegree = 23;
  engine.ShowWaitingMessageAtNine();
  EXPECT_EQ(console.Transcript(), "\n稍候!\nWait a moment!\n");

  console.ClearTranscript();
  engine.Search.StartDegree = 10;
  engine.Dense.ImageDegree = 23;  // 2 * 10 + 3 = 23 is not below 23
  engine.ShowWaitingMessageBeforeLoop();
  EXPECT_EQ(console.Transcript(), "\n稍候!\n");

  console.ClearTranscript();
  engine.Status.TimeLimit = 1;
  engine.Dense.ImageDegree = 24;
  engine.ShowWaitingMessageBeforeLoop();
  EXPECT_EQ(console.Transcript(),
            "\n程序正在运行中,请等候. 等候时间< 2 分钟.休息一会儿吧!\n您也可以按下X键取消等候.\n");
}

}  // namespace
}  // namespace pfac::testing
