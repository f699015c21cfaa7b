// pfac-engine: factors the polynomial of DXS.DAT in the current folder, shows
// the factors on the console and writes them to jg.dat.
#include <cstdio>
#include <memory>
#include <new>

#include "engine/engine.h"
#include "engine/exact/factoriser.h"
#include "engine/platform/terminal_console.h"

int main() {
  pfac::TerminalConsole console;
  pfac::RealClock clock;
#ifdef PFAC_EXACT
  // The exact factoriser runs in its helper program beside this one, started
  // only when a run needs it.
  auto factoriser = std::make_unique<pfac::exact::HelperProcessFactoriser>(
      pfac::exact::HelperProcessFactoriser::BesideThisProgram());
  pfac::Engine engine(console, clock, ".", factoriser.get());
#else
  pfac::Engine engine(console, clock, ".");
#endif
  try {
    return engine.Run();
  } catch (const std::bad_alloc&) {
    console.EndLine();
    console.WriteLine("内存不足 (Out of memory)");
    return 1;
  }
}
