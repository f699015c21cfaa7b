// pfac-engine: factors the polynomial of DXS.DAT in the current folder, shows
// the factors on the console and writes them to jg.dat.
#include <cstdio>
#include <new>

#include "engine/engine.h"
#include "engine/platform/terminal_console.h"

int main() {
  pfac::TerminalConsole console;
  pfac::RealClock clock;
  pfac::Engine engine(console, clock, ".");
  try {
    return engine.Run();
  } catch (const std::bad_alloc&) {
    console.EndLine();
    console.WriteLine("内存不足 (Out of memory)");
    return 1;
  }
}
