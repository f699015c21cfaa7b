// Pinned results: for every polynomial of cases.txt, a whole run in-process on
// the in-memory console and the fake clock (10:00:00, moving on by a fixed step
// at every reading, no keys) must give the exit status, the bytes of jg.dat and
// the console transcript that data/NAME.txt holds, byte for byte. Whatever is
// done to make the engine faster keeps every one of them.
//
// A change that alters results on purpose (a fix) rewrites the files with
//   PFAC_PIN_WRITE=1 build/bin/engine_tests --gtest_filter='*Pinned*'
// and its commit says why the results changed.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/engine_harness.h"
#ifdef PFAC_EXACT
#include "support/exact_fake.h"
#endif

namespace pfac::testing {
namespace {

const std::filesystem::path kPinnedFolder = PFAC_PINNED_FOLDER;

struct PinnedCase {
  std::string name;
  long msPerReading = 0;
  std::string polynomial;
};

// Names the case in test listings and failure messages by its polynomial.
void PrintTo(const PinnedCase& c, std::ostream* out) { *out << c.name << ": " << c.polynomial; }

// Lines of cases.txt: NAME MS POLYNOMIAL, where MS is how far the fake clock
// moves on at each reading and the polynomial is the rest of the line, as
// DXS.DAT gets it. Blank lines and lines starting with "#" are skipped.
std::vector<PinnedCase> ReadCases() {
  std::vector<PinnedCase> cases;
  std::ifstream in(kPinnedFolder / "cases.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    PinnedCase c;
    fields >> c.name >> c.msPerReading;
    fields.get();  // the blank before the polynomial
    std::getline(fields, c.polynomial);
    cases.push_back(c);
  }
  return cases;
}

// The pinned file: a short header, then each part as "label: N bytes", a line
// end and exactly N bytes, so that line ends and control characters are kept.
std::string PinnedText(const PinnedCase& c, const EngineRun& run) {
  std::string jg = run.folder.Exists("jg.dat") ? run.Result() : "";
  std::string console = run.Transcript();
  std::ostringstream out;
  out << "polynomial: " << c.polynomial << "\n"
      << "clock: 10:00:00, plus " << c.msPerReading << " ms a reading\n"
      << "status: " << run.status << "\n"
      << "jg.dat: " << jg.size() << " bytes\n" << jg << "\n"
      << "console: " << console.size() << " bytes\n" << console << "\n";
  return out.str();
}

std::string ReadWhole(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Line number and both lines where two texts first differ.
std::string FirstDifference(const std::string& expected, const std::string& actual) {
  std::istringstream a(expected), b(actual);
  std::string la, lb;
  for (int line = 1;; ++line) {
    bool ha = static_cast<bool>(std::getline(a, la));
    bool hb = static_cast<bool>(std::getline(b, lb));
    if (!ha && !hb) return "the texts differ only in their last bytes";
    if (!ha || !hb || la != lb) {
      return "first difference at line " + std::to_string(line) + "\n  pinned: " +
             (ha ? la : "<end>") + "\n  now:    " + (hb ? lb : "<end>");
    }
  }
}

bool WriteMode() {
  const char* value = std::getenv("PFAC_PIN_WRITE");
  return value && std::string(value) == "1";
}

class Pinned : public ::testing::TestWithParam<PinnedCase> {};

TEST_P(Pinned, RunMatchesItsPinnedFile) {
  const PinnedCase& c = GetParam();
  EngineRun run;
  run.clock.SetStepPerReadingMs(c.msPerReading);
  run.Factor(c.polynomial);
  std::string actual = PinnedText(c, run);
  std::filesystem::path file = kPinnedFolder / "data" / (c.name + ".txt");
  if (WriteMode()) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << actual;
    return;
  }
  ASSERT_TRUE(std::filesystem::exists(file))
      << file << " is missing; PFAC_PIN_WRITE=1 writes it";
  std::string expected = ReadWhole(file);
  EXPECT_TRUE(expected == actual) << c.name << " (" << c.polynomial << "): "
                                  << FirstDifference(expected, actual);
}

#ifdef PFAC_EXACT
// With the exact factoriser (ready when the engine first waits for it, so that
// the search itself runs as without it), a run whose pinned result is complete
// gives the same jg.dat with the certificate line after it. Where the run
// differs further (a stopped search, a factor the search's bounds left out),
// certified/NAME.txt holds its whole jg.dat.
TEST_P(Pinned, CertifiedRunAddsItsCertificate) {
  const PinnedCase& c = GetParam();
  FakeFactoriser factoriser(FakeFactoriser::Readiness::kAtFirstWait);
  EngineRun run(&factoriser);
  run.clock.SetStepPerReadingMs(c.msPerReading);
  run.Factor(c.polynomial);
  EngineRun alone;
  alone.clock.SetStepPerReadingMs(c.msPerReading);
  alone.Factor(c.polynomial);
  const std::string actual = run.folder.Exists("jg.dat") ? run.Result() : "";
  const std::string searchOwn = alone.folder.Exists("jg.dat") ? alone.Result() : "";
  const bool stopped = searchOwn.find("Stopped") != std::string::npos || searchOwn.empty();
  const std::string plain = stopped ? searchOwn : CertifiedByBinary(searchOwn);
  const std::filesystem::path file = kPinnedFolder / "certified" / (c.name + ".txt");
  if (WriteMode()) {
    if (actual == plain) {
      std::filesystem::remove(file);
    } else {
      std::filesystem::create_directories(file.parent_path());
      std::ofstream(file, std::ios::binary) << actual;
    }
    return;
  }
  const std::string expected = std::filesystem::exists(file) ? ReadWhole(file) : plain;
  EXPECT_TRUE(expected == actual) << c.name << " (" << c.polynomial << "): " << FirstDifference(expected, actual);
  EXPECT_EQ(run.status, alone.status);
}
#endif

std::string CaseName(const ::testing::TestParamInfo<PinnedCase>& info) {
  std::string name;
  for (char ch : info.param.name) name += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, Pinned, ::testing::ValuesIn(ReadCases()), CaseName);

// Every case has a file and every file a case, and no two cases share a name.
TEST(PinnedList, CasesAndFilesMatch) {
  std::vector<PinnedCase> cases = ReadCases();
  ASSERT_GE(cases.size(), 100u) << "cases.txt not found or cut short";
  std::set<std::string> names;
  for (const PinnedCase& c : cases) {
    EXPECT_TRUE(names.insert(c.name).second) << "two cases named " << c.name;
    EXPECT_FALSE(c.polynomial.empty()) << c.name;
  }
  if (WriteMode()) {
    std::filesystem::create_directories(kPinnedFolder / "data");
    for (const auto& entry : std::filesystem::directory_iterator(kPinnedFolder / "data")) {
      if (!names.count(entry.path().stem().string())) std::filesystem::remove(entry.path());
    }
    return;
  }
  for (const auto& entry : std::filesystem::directory_iterator(kPinnedFolder / "data")) {
    EXPECT_TRUE(names.count(entry.path().stem().string()))
        << entry.path() << " belongs to no case of cases.txt";
  }
}

}  // namespace
}  // namespace pfac::testing
