// Nothing is lost when a run fails: DXS.DAT is never written, jg.dat keeps
// the previous result until EchoPolynomial creates it, and a working file that
// cannot be created or written ends the run in order, whatever the cause.
#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kPrevious[] = "=(x + 1)(x - 1)\r\n";
constexpr char kClosing[] = "Use the mouse to close the window\n";

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// A run that fails: what DXS.DAT holds (nullopt: no such file), what else the
// folder holds, and the message the run must show.
struct Failure {
  const char* kind;
  std::optional<std::string> dxs;
  std::function<void(const fs::path&)> prepare;
  const char* message;
};

std::string Quoted(const std::string& polynomial) { return QuotedLine(polynomial); }

void Nothing(const fs::path&) {}
void FolderNamed(const fs::path& folder, const char* name) { fs::create_directory(folder / name); }

std::string ThirtyOneTerms() {
  std::string text = "x";
  for (int i = 2; i <= 31; ++i) text += "+x^" + std::to_string(i);
  return text;
}

// Every way a run can fail before EchoPolynomial creates jg.dat.
std::vector<Failure> FailuresBeforeTheEcho() {
  return {
      {"no DXS.DAT", std::nullopt, Nothing, "DXS.DAT was not found"},
      {"empty DXS.DAT", "", Nothing, "DXS.DAT is empty"},
      {"unreadable DXS.DAT", std::nullopt, [](const fs::path& f) { FolderNamed(f, "DXS.DAT"); },
       "DXS.DAT cannot be read"},
      {"end", Quoted("end"), Nothing, "结束"},
      {"syntax error", "x^2 + 1,\"unquoted\"\r\nsecond line\r\n", Nothing, "输入错误！"},
      {"bytes that are not ASCII", Quoted("x\xe4\xb8\xad+1"), Nothing, "输入错误！"},
      {"31 terms", Quoted(ThirtyOneTerms()), Nothing, "more than 30 terms"},
      {"9 variables", Quoted("a+b+c+d+f+g+h+i+j"), Nothing, "more than 8 variables"},
      {"7 variables in a term", Quoted("abcdfgh+1"), Nothing, "more than 6 variables"},
      {"a variable twice", Quoted("x^2yx+1"), Nothing, "written twice"},
      {"exponent beyond 16 bits", Quoted("x^32768+1"), Nothing, "exceeds 32767"},
      {"coefficient beyond the exact range", Quoted("16777217x-1"), Nothing, "exceeds 16777216"},
      {"denominators beyond the exact range", Quoted("1/4096x+1/4097"), Nothing, "exceeds 16777216"},
      {"DXS1.DAT cannot be created", Quoted("x^2-1"), [](const fs::path& f) { FolderNamed(f, "DXS1.DAT"); },
       "DXS1.DAT cannot be written"},
      {"DXS1.DAT cannot be written", Quoted("x^2-1"),
       [](const fs::path& f) { fs::create_symlink("/dev/full", f / "DXS1.DAT"); }, "DXS1.DAT cannot be written"},
      {"jg.dat cannot be created", Quoted("x^2-1"),
       [](const fs::path& f) {
         fs::remove(f / "jg.dat");
         FolderNamed(f, "jg.dat");
       },
       "jg.dat cannot be created"},
  };
}

// Failures after the echo: jg.dat is the new run's, marked as stopped.
std::vector<Failure> FailuresAfterTheEcho() {
  return {
      {"like terms beyond the exact range", Quoted("16777215x+2x+1"), Nothing, "Like terms add up"},
      {"substitution codes beyond 16 bits", Quoted("x^200y^200z+1"), Nothing, "exceeds 32767"},
      {"pending file cannot be created", Quoted("x^4-1"), [](const fs::path& f) { FolderNamed(f, "gsys 1"); },
       "cannot be created"},
  };
}

::testing::AssertionResult EndsInOrder(const EngineRun& run, const Failure& f) {
  if (run.status != 0) return ::testing::AssertionFailure() << f.kind << ": status " << run.status;
  const std::string transcript = run.Transcript();
  if (transcript.find(f.message) == std::string::npos) {
    return ::testing::AssertionFailure() << f.kind << ": no \"" << f.message << "\" in\n" << transcript;
  }
  if (!EndsWith(transcript, kClosing)) {
    return ::testing::AssertionFailure() << f.kind << ": the closing lines are not last\n" << transcript;
  }
  return ::testing::AssertionSuccess();
}

// Runs the failure in a folder that holds a previous result; DXS.DAT must be
// exactly as it was afterwards.
void RunFailure(EngineRun& run, const Failure& f) {
  run.folder.Write("jg.dat", kPrevious);
  if (f.dxs) run.folder.Write("DXS.DAT", *f.dxs);
  f.prepare(run.folder.path());
  run.RunAsIs();
  EXPECT_TRUE(EndsInOrder(run, f));
  if (f.dxs) {
    EXPECT_EQ(run.folder.Read("DXS.DAT"), *f.dxs) << f.kind;
  } else if (!fs::is_directory(run.folder.path() / "DXS.DAT")) {
    EXPECT_FALSE(run.folder.Exists("DXS.DAT")) << f.kind;
  }
}

TEST(NothingLost, RunsThatEndBeforeTheEchoLeaveDxsDatAndJgDatAsTheyWere) {
  for (const Failure& f : FailuresBeforeTheEcho()) {
    EngineRun run;
    RunFailure(run, f);
    if (!fs::is_directory(run.folder.path() / "jg.dat")) {
      EXPECT_EQ(run.Result(), kPrevious) << f.kind;
    }
  }
}

TEST(NothingLost, RunsStoppedAfterTheEchoLeaveDxsDatAndMarkJgDat) {
  for (const Failure& f : FailuresAfterTheEcho()) {
    EngineRun run;
    RunFailure(run, f);
    const std::string jg = run.Result();
    EXPECT_TRUE(EndsWith(jg, "\r\n") && jg.find("\r\nStopped") != std::string::npos) << f.kind << "\n" << jg;
  }
}

// The working files are read back in the course of a run: DXS1.DAT right after
// it was written, a pending-factor file at the end of the search. Another
// program in the folder may have removed, emptied, cut short or replaced one
// by then: the run says so and ends in order, with no result made up from
// what was left (an empty DXS1.DAT read as "=0", say).
TEST(NothingLost, WorkingFilesSpoiledBeforeTheyAreReadBackEndTheRunInOrder) {
  const std::string cannotRead = "无法读取工作文件 DXS1.DAT. (The working file DXS1.DAT cannot be read.)";
  const std::string pendingLost =
      "x^ 4- 1 \r\n=(x^ 4 - 1)\r\n=( 1 x^ 2 + 1 )( 1 x^ 2 - 1 )\r\n=(x - 1)\r\n"
      "Incomplete: the pending factor file \"gsys 1\" cannot be read.\r\n";
  const struct {
    const char* polynomial;
    Engine::Step readBack;
    const char* file;
    std::function<void(const fs::path&, const std::string&)> spoil;  // the file's path and content
    std::string message;
    std::string result;  // jg.dat at the end
  } cases[] = {
      {"x^3-6x^2+4x+15", &Engine::LoadTermTables, "DXS1.DAT", [](const fs::path&, const std::string&) {},
       cannotRead, kPrevious},
      {"x^3-6x^2+4x+15", &Engine::LoadTermTables, "DXS1.DAT",
       [](const fs::path& f, const std::string&) { std::ofstream{f}; }, cannotRead, kPrevious},
      {"x^3-6x^2+4x+15", &Engine::LoadTermTables, "DXS1.DAT",
       [](const fs::path& f, const std::string& content) { std::ofstream{f} << content.substr(0, 30); },
       cannotRead, kPrevious},
      {"x^3-6x^2+4x+15", &Engine::LoadTermTables, "DXS1.DAT",
       [](const fs::path& f, const std::string&) { fs::create_directory(f); }, cannotRead, kPrevious},
      {"x^4-1", &Engine::LoadPendingFactor, "gsys 1", [](const fs::path&, const std::string&) {},
       "\"gsys 1\" cannot be read", pendingLost},
      {"x^4-1", &Engine::LoadPendingFactor, "gsys 1", [](const fs::path& f, const std::string&) { std::ofstream{f}; },
       "\"gsys 1\" cannot be read", pendingLost},
      {"x^4-1", &Engine::LoadPendingFactor, "gsys 1",
       [](const fs::path& f, const std::string& content) { std::ofstream{f} << content.substr(0, 10); },
       "\"gsys 1\" cannot be read", pendingLost},
      {"x^4-1", &Engine::LoadPendingFactor, "gsys 1",
       [](const fs::path& f, const std::string&) { fs::create_directory(f); }, "\"gsys 1\" cannot be read",
       pendingLost},
  };
  for (const auto& c : cases) {
    EngineRun run;
    run.folder.Write("jg.dat", kPrevious);
    run.FactorUntil(c.polynomial, c.readBack);
    ASSERT_EQ(run.status, Engine::kStoppedBefore) << c.polynomial;
    const fs::path file = run.folder.path() / c.file;
    const std::string content = run.folder.Read(c.file);
    fs::remove(file);
    c.spoil(file, content);
    run.status = run.engine->RunFrom(c.readBack);
    EXPECT_EQ(run.status, 0) << c.file;
    EXPECT_NE(run.Transcript().find(c.message), std::string::npos) << c.file << "\n" << run.Transcript();
    EXPECT_TRUE(EndsWith(run.Transcript(), kClosing)) << c.file << "\n" << run.Transcript();
    EXPECT_EQ(run.Result(), c.result) << c.file << ", spoiled from " << content;
  }
}

TEST(NothingLost, ResultFileThatCannotBeWrittenIsSaidSo) {
  EngineRun run;
  run.folder.Write("DXS.DAT", Quoted("x^2-1"));
  fs::create_symlink("/dev/full", run.folder.path() / "jg.dat");
  run.RunAsIs();
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.Transcript().find("jg.dat could not be written completely"), std::string::npos) << run.Transcript();
  EXPECT_TRUE(EndsWith(run.Transcript(), kClosing));
}

// In a folder where nothing can be created the run ends at DXS1.DAT with its
// message. (Permissions do not bind the superuser: the case is skipped there;
// the folders in the way above stand for it.)
TEST(NothingLost, ReadOnlyFolderEndsInOrder) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  EngineRun run;
  run.folder.Write("DXS.DAT", Quoted("x^2-1"));
  run.folder.Write("jg.dat", kPrevious);
  fs::permissions(run.folder.path(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  run.RunAsIs();
  fs::permissions(run.folder.path(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.Transcript().find("DXS1.DAT cannot be written"), std::string::npos) << run.Transcript();
  EXPECT_TRUE(EndsWith(run.Transcript(), kClosing));
  EXPECT_EQ(run.Result(), kPrevious);
  EXPECT_EQ(run.folder.Read("DXS.DAT"), Quoted("x^2-1"));
}

// The real engine on a terminal, ended by a signal as closing its window (a
// hang-up), killing it or typing Ctrl-C does: jg.dat keeps what was written
// and ends with a line that says so; the pending-factor files are gone.
TEST(NothingLost, EngineEndedBySignalLeavesResultFileAndNoPendingFiles) {
  // A search of minutes in two variables that begins with a square form (its
  // other factor waits in "gsys 1"), and one that ends at once.
  const std::string searching = "x^32y^32-1296";
  const std::string searchingLines =
      "x^ 32y^ 32- 1296 \r\n=(x^ 32y^ 32- 1296)\r\n=( 1 y^ 16 x^ 16 + 36 )( 1 y^ 16 x^ 16 - 36 )\r\n"
      "=(x^ 8y^ 8- 6)\r\n";
  const std::string finished = "x^2-1";
  const std::string finishedResult = "x^ 2- 1 \r\n=(x^ 2 - 1)\r\n=( 1 x^ 1 + 1 )( 1 x^ 1 - 1 )\r\n=(x - 1)(x + 1)\r\n";
  const char kSearching[] = "Press x to exit";
  const char kWaitingForKey[] = "Press any key after reading";
  struct Case {
    int signal;
    const std::string& polynomial;
    const char* waitFor;
    std::string result;
  };
  const Case cases[] = {
      {SIGHUP, searching, kSearching,
       searchingLines + "Stopped: the engine's window was closed (hang-up) before the run ended.\r\n"},
      {SIGTERM, searching, kSearching, searchingLines + "Stopped: the engine was terminated before the run ended.\r\n"},
      {SIGINT, searching, kSearching, searchingLines + "Stopped: the engine was interrupted before the run ended.\r\n"},
      // After the result is written, a signal leaves it as it is.
      {SIGHUP, finished, kWaitingForKey, CertifiedByBinary(finishedResult)},
  };
  // The engine alone, without its exact factoriser beside it, so that the
  // search goes on for minutes (the factoriser would end it in a fraction of
  // a second, before the signal).
  TempFolder alone;
  fs::copy_file(PFAC_ENGINE_BINARY, alone.path() / "pfac-engine");
  for (const Case& c : cases) {
    TempFolder folder;
    folder.Write("DXS.DAT", Quoted(c.polynomial));
    EngineOnTerminal engine(folder.path(), alone.path() / "pfac-engine");
    ASSERT_TRUE(engine.WaitForOutput(c.waitFor)) << c.polynomial << "\n" << engine.Output();
    ASSERT_TRUE(folder.Exists("gsys 1")) << c.polynomial;
    EXPECT_EQ(engine.EndWith(c.signal), c.signal) << c.polynomial;
    EXPECT_EQ(folder.Read("jg.dat"), c.result) << "signal " << c.signal;
    EXPECT_FALSE(folder.Exists("gsys 1")) << "signal " << c.signal;
  }
}

// What the engine leaves in a folder: every file but DXS.DAT, by name.
std::map<std::string, std::string> FilesIn(const TempFolder& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::directory_iterator(folder.path())) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name != "DXS.DAT") files[name] = folder.Read(name);
  }
  return files;
}

// The front end runs the engine again and again in one folder. After each run
// every file holds what that run wrote (as the same run in a fresh folder
// writes it), or, where the run writes nothing to it (a refused text leaves
// jg.dat as it was), what it held before: never a mix of two runs. A run
// whose window is closed while it searches (a hang-up) is stopped there.
TEST(NothingLost, RunsOneAfterAnotherInOneFolderEachLeaveTheirOwnFiles) {
  struct Run {
    std::string polynomial;
    bool closedWhileSearching = false;
  };
  const Run longer{"x^7+x^6+x^5+x^4+x^3+x^2+x+1"};  // long records, pending files, long jg.dat
  const Run shorter{"x-1"};
  const Run refused{"x^2 + 1"};
  const Run stopped{"x^32y^32-1296", true};
  const std::vector<Run> sessions[] = {
      {longer, shorter},
      {longer, refused, shorter},
      {longer, stopped, shorter},
      {longer, Run{"end"}, Run{ThirtyOneTerms()}, shorter, longer},
  };
  // The engine alone searches the stopped run for minutes (with its exact
  // factoriser it would end in a fraction of a second).
  TempFolder alone;
  fs::copy_file(PFAC_ENGINE_BINARY, alone.path() / "pfac-engine");
  auto runIn = [&](const TempFolder& folder, const Run& run) {
    folder.Write("DXS.DAT", Quoted(run.polynomial));
    if (!run.closedWhileSearching) return RunEngineBinary(folder.path());
    EngineOnTerminal engine(folder.path(), alone.path() / "pfac-engine");
    EXPECT_TRUE(engine.WaitForOutput("Press x to exit")) << engine.Output();
    EXPECT_EQ(engine.EndWith(SIGHUP), SIGHUP);
    return ProcessResult{};
  };
  for (const std::vector<Run>& session : sessions) {
    TempFolder folder;
    std::string history;
    for (const Run& run : session) {
      history += " | " + run.polynomial;
      TempFolder fresh;
      const ProcessResult expected = runIn(fresh, run);
      const std::map<std::string, std::string> written = FilesIn(fresh);
      const std::map<std::string, std::string> before = FilesIn(folder);
      const ProcessResult actual = runIn(folder, run);
      EXPECT_EQ(folder.Read("DXS.DAT"), Quoted(run.polynomial)) << "the engine never writes it";
      const std::map<std::string, std::string> after = FilesIn(folder);
      std::set<std::string> names;
      for (const auto* files : {&written, &before, &after}) {
        for (const auto& [name, content] : *files) names.insert(name);
      }
      for (const std::string& name : names) {
        const auto& expectedFiles = written.count(name) ? written : before;
        const bool present = expectedFiles.count(name) != 0;
        EXPECT_EQ(after.count(name) != 0, present) << name << " after" << history;
        if (present && after.count(name)) {
          EXPECT_EQ(after.at(name), expectedFiles.at(name)) << name << " after" << history;
        }
      }
      EXPECT_EQ(actual.status, expected.status) << history;
      EXPECT_EQ(WithoutTimes(actual.output), WithoutTimes(expected.output)) << history;
    }
  }
}

// The window closed while the run waits for its certificate, after a search
// stopped with X: jg.dat holds the result, its mark, and the stop line right
// after them. The helper beside this engine never answers; it ends with it.
TEST(NothingLost, WindowClosedWhileTheCertificateIsAwaitedKeepsTheResult) {
  TempFolder slow;
  fs::copy_file(PFAC_ENGINE_BINARY, slow.path() / "pfac-engine");
  slow.Write("pfac-exact", "#!/bin/sh\nwhile kill -0 \"$1\" 2>/dev/null; do sleep 0.1; done\n");
  fs::permissions(slow.path() / "pfac-exact", fs::perms::owner_exec, fs::perm_options::add);
  TempFolder folder;
  // A search of minutes (it reaches the late switch after two).
  folder.Write("DXS.DAT", Quoted("x^20+7x^19-11x^18+23x^17-5x^16+31x^15-17x^14+29x^13-3x^12+19x^11-37x^10+13x^9-"
                                 "41x^8+2x^7+43x^6-9x^5+47x^4-21x^3+33x^2-27x+1"));
  EngineOnTerminal engine(folder.path(), slow.path() / "pfac-engine");
  ASSERT_TRUE(engine.WaitForOutput("Press x to exit")) << engine.Output();
  engine.Type("x");
  ASSERT_TRUE(engine.WaitForOutput("Decompose again y/n ?")) << engine.Output();
  engine.Type("n");
  ASSERT_TRUE(engine.WaitForOutput("Waiting for the exact factorisation")) << engine.Output();
  EXPECT_EQ(engine.EndWith(SIGHUP), SIGHUP);
  const std::string jg = folder.Read("jg.dat");
  EXPECT_TRUE(EndsWith(jg, " + 1)\r\n=....\r\nStopped: the engine's window was closed (hang-up) before the run ended.\r\n"))
      << jg;
}

// A run that ends in order removes its pending-factor files too.
TEST(NothingLost, PendingFilesAreRemovedAtTheEndOfTheRun) {
  EngineRun run;
  run.Factor("x^8-1");  // three square forms, three pending files
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.Result().substr(run.Result().rfind("\r\n=") + 2), "=(x - 1)(x^ 4 + 1)(x^ 2 + 1)(x + 1)\r\n");
  for (const char* name : {"gsys 1", "gsys 2", "gsys 3"}) EXPECT_FALSE(run.folder.Exists(name)) << name;
}

}  // namespace
}  // namespace pfac::testing
