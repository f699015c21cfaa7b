// The report of a split, the end of a search and the end of the run.
#include "engine/engine.h"

namespace pfac {

// The end of a run from the step that closes all files: "结束!", the bell,
// "ok!" when a factor was split off, and a wait for one key.
void Engine::EndRun() {
  CloseAllFiles();
  console_.WriteLine("结束!");
  console_.WriteLine("End");
  console_.WriteLine("\a");
  if (SecondPass == 1) console_.WriteLine("ok!");
  console_.WriteLine("阅读后按任一键");
  console_.WriteLine("Press any key after reading");
  console_.WaitKey();
  Go(&Engine::ClosingLines);
}

void Engine::ClosingLines() {
  ConsoleEnd();
  console_.WriteLine("用鼠标左键单击右上方 × 处关闭此窗口");
  console_.WriteLine("Use the mouse to close the window");
  finished_ = true;
}

}  // namespace pfac
