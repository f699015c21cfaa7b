// Helpers for engine tests: a working folder of its own per test, a whole run
// of the engine in-process on an in-memory console with a fake clock, and the
// real binary run as a child process.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/engine.h"
#include "engine/platform/clock.h"
#include "engine/platform/memory_console.h"
#include "support/temp_folder.h"

namespace pfac::testing {

// DXS.DAT as the front end writes it: the text in double quotes and CR LF.
std::string QuotedLine(const std::string& polynomial);

// One whole run of the engine in its own folder.
struct EngineRun {
  TempFolder folder;
  MemoryConsole console;
  FakeClock clock;
  std::unique_ptr<Engine> engine;
  int status = -1;

  // With an exact factoriser, the engine takes its help and certifies.
  explicit EngineRun(exact::ExactFactoriser* exactFactoriser = nullptr);
  // Writes DXS.DAT with the polynomial in double quotes and runs the engine.
  void Factor(const std::string& polynomial);
  // Runs on whatever DXS.DAT holds (or lacks).
  void RunAsIs();
  // Writes DXS.DAT and runs until the engine is about to call stopAt.
  void FactorUntil(const std::string& polynomial, Engine::Step stopAt);

  std::string Transcript() const { return console.Transcript(); }
  std::string Result() const { return folder.Read("jg.dat"); }
  // The last result line of jg.dat (see LastResultLine); empty when none.
  std::string FinalLine() const;
};

// A run stopped where the preparation hands over to the factor search (before
// AllocateSearchTables), for looking at the tables there.
struct HandedOver : EngineRun {
  explicit HandedOver(const std::string& polynomial);
  Engine& e() { return *engine; }
};

// An engine with its tables allocated and no step pending, for calling its
// routines directly on registers and tables that a test sets.
struct Workbench {
  TempFolder folder;
  MemoryConsole console;
  FakeClock clock;
  Engine e;

  Workbench();
  // Creates jg.dat for the writers.
  void OpenResult();
  // Closes jg.dat and returns what it holds.
  std::string Result();
};

// A result as values (ResultRecord) in a short text: the rational factor, the
// monomial and the factors in the input syntax with their letters in a-z
// order, "-2/1 x (x-1)(3x+1)"; "none" when there is none.
std::string ValuesText(const std::optional<format::ResultProduct>& values);

// Sets table[0..] to the values (a dense vector from the constant term up).
void SetVector(FloatTable& table, std::initializer_list<float> values);
// The values of table[0..last].
std::vector<float> Entries(const FloatTable& table, int last);
// The exponents of variables 1..variables in each row 1..TermRows of the term
// table, one row after the other.
using ExponentRows = std::vector<std::vector<float>>;
ExponentRows TermExponents(const Engine& e, int variables);

// The certificate line of a complete result.
inline constexpr char kCompleteCertificate[] =
    "验证: 结果完整, 每个因式在有理数域上不可约 / verified: the factorisation is complete, "
    "every factor is irreducible over Q";
// jg.dat of the search's complete result as the real binary writes it: with
// the exact factoriser, the certificate line follows the result.
std::string CertifiedByBinary(const std::string& jg);

// Output and exit status of the real binary run in a folder with standard
// input at its end (status -1: ended by a signal).
struct ProcessResult {
  int status = -1;
  std::string output;
};
ProcessResult RunEngineBinary(const std::filesystem::path& folder,
                              const std::filesystem::path& program = PFAC_ENGINE_BINARY);

// The output of a run as any machine shows it: every time of day (hh:mm:ss)
// written as "hh:mm:ss", and the line saying that the run waits for the
// exact factorisation left out (it comes only when the helper is slow, as on
// a loaded machine).
std::string WithoutTimes(std::string text);

// Every process a test starts calls this in the child before exec: the child
// is killed when the test process ends, however it ends (a test binary killed
// at its time limit included). A test process that is already gone ends the
// child at once.
void EndWithParent(pid_t parent);

// The real binary on a terminal of its own (a pseudo-terminal of 80 x 25), as
// the front end's terminal window runs it: it waits for keys there.
class EngineOnTerminal {
 public:
  // program: the engine binary to run (by default the one built).
  explicit EngineOnTerminal(const std::filesystem::path& folder,
                            const std::filesystem::path& program = PFAC_ENGINE_BINARY);
  ~EngineOnTerminal();
  EngineOnTerminal(const EngineOnTerminal&) = delete;
  EngineOnTerminal& operator=(const EngineOnTerminal&) = delete;

  // Reads the engine's screen output until it holds the text. False when the
  // engine ended first, or after a minute (a safeguard, not a measurement).
  bool WaitForOutput(const std::string& text);
  // Types keys on the engine's terminal.
  void Type(const std::string& keys);
  // Sends the signal and waits for the engine to end. The signal that ended
  // it, or 0 when it exited on its own.
  int EndWith(int signal);
  const std::string& Output() const { return output_; }

 private:
  bool ReadSome(int timeoutMs);  // false at the end of the output
  int pid_ = -1;
  int terminal_ = -1;  // the controlling side of the pseudo-terminal
  std::string output_;
};

}  // namespace pfac::testing
