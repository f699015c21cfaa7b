// The engine's fuzz target: arbitrary bytes are the content of DXS.DAT, and a
// whole run of the engine takes them from the start screen to the closing
// lines, in-process: an in-memory console whose keyboard never presses, a fake
// clock that moves on at every reading (so that every search reaches its time
// limit after a few thousand levels), and a working folder of its own.
//
// The engine has the exact factoriser at hand (in this process, ready as soon
// as the engine starts it, silent above degree 400), so that its proofs, its factors handed to the
// candidate check and the certificate are fuzzed with the search.
//
// Besides the sanitizers' reports, a run fails (abort) when
// - it does not end in order (exit status 0, the closing lines last),
// - DXS.DAT is not as it was,
// - its last result line in jg.dat does not multiply back exactly to the
//   polynomial entered, or a stopped search left no "=...." mark,
// - the result that the certificate judged (the values the writers recorded)
//   is not the result line that jg.dat holds, read back,
// - a result has no certificate, the certificate is an internal error, or the
//   complete factorisation after a "not complete" one does not multiply back.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/engine.h"
#include "engine/platform/clock.h"
#include "engine/platform/files.h"
#include "engine/platform/memory_console.h"
#include "engine/result_format/marks.h"
#include "support/exact_fake.h"
#include "support/poly_check.h"
#include "support/temp_folder.h"

namespace {

// Milliseconds the fake clock moves on at every reading (PFAC_FUZZ_CLOCK_MS
// sets another). The poll reads it every 64 calls, so with 7 seconds a first
// pass (7 minutes) stops after some 60 readings and a later one (1 minute)
// after some 9.
long ClockStepMs() {
  static const long step = [] {
    const char* value = std::getenv("PFAC_FUZZ_CLOCK_MS");
    return value ? std::atol(value) : 7000L;
  }();
  return step;
}

constexpr char kClosingLines[] = "\n用鼠标左键单击右上方 × 处关闭此窗口\nUse the mouse to close the window\n";

[[noreturn]] void Fail(const std::string& what, const std::string& detail) {
  std::fprintf(stderr, "pfac fuzz: %s\n%s\n", what.c_str(), detail.c_str());
  std::abort();
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The result of a run that reached a result must equal the polynomial entered.
void CheckResult(const pfac::Engine& engine, const std::string& polynomial, const std::string& jg) {
  using namespace pfac::testing;
  std::string printed;
  if (!JudgedIsPrinted(engine.Result.Judged(), jg, &printed)) Fail(printed, jg);
  if (jg.find(pfac::marks::kRunStopped) != std::string::npos || jg.find(pfac::marks::kPendingLost) != std::string::npos) {
    return;
  }
  auto last = LastResultLine(jg);
  if (!last) return;  // "=0", a single term: one line, written by the preparation
  auto input = ParseInput(polynomial);
  if (!input) return;  // a text the checker does not read
  std::string why;
  if (!LineEquals(last->line, *input, &why)) Fail("the result does not multiply back: " + why, jg);
  if (engine.Status.ResultAbortMark == pfac::Engine::kStopMark && !last->stopped) Fail("a stopped search left no \"=....\" mark", jg);
  using pfac::marks::CertificateKind;
  const CertificateKind kind = pfac::marks::KindOfCertificate(last->certificate);
  if (kind == CertificateKind::kNone) Fail("no certificate, or an internal error", jg);
  if (kind == CertificateKind::kNotComplete && !LineEquals(last->completeLine, *input, &why)) {
    Fail("the complete factorisation does not multiply back: " + why, jg);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  pfac::testing::TempFolder folder;
  const std::string content(reinterpret_cast<const char*>(data), size);
  folder.Write("DXS.DAT", content);
  pfac::MemoryConsole console;
  pfac::FakeClock clock;
  clock.SetStepPerReadingMs(ClockStepMs());
  pfac::testing::FakeFactoriser factoriser(pfac::testing::FakeFactoriser::Readiness::kAtStart);
  // Inputs of thousands of degrees would take the fuzzer's time in the
  // factoring library; for them the factoriser is one that never answers.
  factoriser.SetDegreeLimit(400);
  pfac::Engine engine(console, clock, folder.path(), &factoriser);
  const int status = engine.Run();
  if (status != 0) Fail("the run did not end in order, status " + std::to_string(status), console.Transcript());
  if (!EndsWith(console.Transcript(), kClosingLines)) Fail("the closing lines are not last", console.Transcript());
  if (folder.Read("DXS.DAT") != content) Fail("DXS.DAT changed", content);
  if (folder.Exists("jg.dat")) {
    CheckResult(engine, pfac::FirstFieldOfFirstLine(content), folder.Read("jg.dat"));
  }
  return 0;
}
