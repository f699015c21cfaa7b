// The running status of a search: the status line on row 25, the waiting
// messages, the search clock with its time limit, and the X key.
#include "engine/engine.h"

namespace pfac {

namespace {

// The time limits of a search: the first pass may take long, since it has the
// whole polynomial; a later pass only refines what was split off.
constexpr float kFirstPassMinutes = 7;
constexpr float kLaterPassMinutes = 1;

float MinuteField(const std::string& timeOfDay) {
  return static_cast<float>((timeOfDay[3] - '0') * 10 + (timeOfDay[4] - '0'));
}

}  // namespace

void Engine::ShowRunningLine() {
  console_.SetColours(kStatusColours);
  if (Pass.SecondPass == 0) {
    Status.TimeLimit = kFirstPassMinutes;
    console_.Locate(Console::kStatusRow, 14);
    console_.WriteLine("程序正在运行. 按 X 键可退出分解(Press x to exit)");
  }
  if (Pass.SecondPass == 1) {
    Status.TimeLimit = kLaterPassMinutes;
    console_.Locate(Console::kStatusRow, 6);
    console_.WriteLine("已有因式分出,正在继续分解.按 X 键可退出到下一步(Press x to exit)");
  }
  console_.SetColours(kNormalColours);
}

void Engine::ShowWaitingMessageBeforeLoop() {
  ConsoleEnd();
  console_.SetColours(kWaitingColours);
  if (2 * Search.StartDegree + 3 < Dense.ImageDegree) {
    ConsoleText("程序正在运行中,请等候. 等候时间<");
    ConsoleNumber(Status.TimeLimit + 1);
    console_.WriteLine("分钟.休息一会儿吧!");
    console_.WriteLine("您也可以按下X键取消等候.");
  } else {
    console_.WriteLine("稍候!");
  }
  console_.SetColours(kNormalColours);
}

void Engine::ShowWaitingMessageAtNine() {
  ConsoleEnd();
  console_.SetColours(kWaitingColours);
  if (Dense.ImageDegree > 23) {
    ConsoleText("程序正在运行中,请等候. 等候时间<");
    ConsoleNumber(Status.TimeLimit + 1);
    console_.WriteLine("分钟.休息一会儿吧!");
    ConsoleText("The process is operating now,Wait for less than");
    ConsoleNumber(Status.TimeLimit + 1);
    console_.WriteLine("minutes .");
  } else {
    console_.WriteLine("稍候!");
    console_.WriteLine("Wait a moment!");
  }
  console_.SetColours(kNormalColours);
}

void Engine::StartSearchClock() { Status.StartMinute = MinuteField(clock_.TimeOfDay()); }

// Only the minute field is compared, with one turn of the hour accounted for.
bool Engine::ElapsedBeyond(float minutes) {
  float now = MinuteField(clock_.TimeOfDay());
  if (now - Status.StartMinute > minutes) return true;
  return now < Status.StartMinute && now - (Status.StartMinute - 60) > minutes;
}

// The time limit, then one key: x or X ends the search at EndOfSearch; any
// other key is consumed and ignored.
void Engine::LookForInterruption() {
  if (ElapsedBeyond(Status.TimeLimit)) {
    Status.AbortMark = kStopMark;
    Status.ResultAbortMark = kStopMark;
    Exact.NoteStoppedByTime();
    Go(&Engine::EndOfSearch);
    return;
  }
  int key = console_.ReadKey();
  Status.KeyText = key == Console::kNoKey ? "" : std::string(1, static_cast<char>(key));
  if (key == 'x' || key == 'X') {
    Status.KeyText = kStopMark;
    Status.AbortMark = kStopMark;
    Status.ResultAbortMark = kStopMark;
    Exact.NoteStoppedByKey();
    Go(&Engine::EndOfSearch);
    return;
  }
  if (Exact.HasFactoriser()) LookForExactResult();
}

}  // namespace pfac
