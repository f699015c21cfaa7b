#include "support/engine_harness.h"

#include "support/poly_check.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

namespace pfac::testing {

std::string QuotedLine(const std::string& polynomial) { return "\"" + polynomial + "\"\r\n"; }

EngineRun::EngineRun(exact::ExactFactoriser* exactFactoriser)
    : engine(std::make_unique<Engine>(console, clock, folder.path(), exactFactoriser)) {}

void EngineRun::Factor(const std::string& polynomial) {
  folder.Write("DXS.DAT", QuotedLine(polynomial));
  RunAsIs();
}

void EngineRun::RunAsIs() { status = engine->Run(); }

std::string EngineRun::FinalLine() const {
  auto last = LastResultLine(Result());
  return last ? last->line : "";
}

void EngineRun::FactorUntil(const std::string& polynomial, Engine::Step stopAt) {
  folder.Write("DXS.DAT", QuotedLine(polynomial));
  status = engine->RunUntil(&Engine::ShowBanner, stopAt);
}

HandedOver::HandedOver(const std::string& polynomial) {
  FactorUntil(polynomial, &Engine::AllocateSearchTables);
  EXPECT_EQ(status, Engine::kStoppedBefore) << polynomial << "\n" << Transcript();
}

Workbench::Workbench() : e(console, clock, folder.path()) {
  e.AllocateTables();
  e.Dense.ImageDegree = 40;
  e.AllocateStoreTables();
  e.Go(nullptr);
}

std::string ValuesText(const std::optional<format::ResultProduct>& values) {
  if (!values) return "none";
  std::string text = std::to_string(values->numerator) + "/" + std::to_string(values->denominator);
  exact::LetterPoly monomial;
  monomial.terms[values->monomial] = "1";
  if (!monomial.IsConstant()) text += " " + exact::InputText(monomial, "");
  text += " ";
  for (const exact::LetterPoly& factor : values->factors) text += "(" + exact::InputText(factor, "") + ")";
  if (values->unreadable) text += " unreadable";
  return text;
}

void Workbench::OpenResult() { e.Result.Create(folder.path() / "jg.dat"); }

std::string Workbench::Result() {
  e.Result.Close();
  return folder.Read("jg.dat");
}

void SetVector(FloatTable& table, std::initializer_list<float> values) {
  if (table.size() < values.size()) table.resize(values.size(), 0.0f);
  std::copy(values.begin(), values.end(), table.begin());
}

std::vector<float> Entries(const FloatTable& table, int last) {
  return std::vector<float>(table.begin(), table.begin() + last + 1);
}

ExponentRows TermExponents(const Engine& e, int variables) {
  ExponentRows rows;
  for (int t = 1; t <= e.Terms.TermRows && t < e.Terms.Exponent.Rows(); ++t) {
    rows.emplace_back(e.Terms.Exponent[t] + 1, e.Terms.Exponent[t] + 1 + variables);
  }
  return rows;
}

std::string CertifiedByBinary(const std::string& jg) {
#ifdef PFAC_EXACT
  const bool ended = jg.size() >= 2 && jg.compare(jg.size() - 2, 2, "\r\n") == 0;
  return jg + (ended ? "" : "\r\n") + kCompleteCertificate + "\r\n";
#else
  return jg;
#endif
}

void EndWithParent(pid_t parent) {
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != parent) _exit(127);
}

ProcessResult RunEngineBinary(const std::filesystem::path& folder, const std::filesystem::path& program) {
  ProcessResult result;
  int out[2];
  if (pipe2(out, O_CLOEXEC) != 0) return result;
  const pid_t parent = getpid();
  const std::string path = program.string();
  const pid_t pid = fork();
  if (pid == 0) {
    EndWithParent(parent);
    const int none = open("/dev/null", O_RDONLY);
    if (none < 0 || dup2(none, 0) < 0 || dup2(out[1], 1) < 0 || dup2(out[1], 2) < 0 || chdir(folder.c_str()) != 0) {
      _exit(127);
    }
    execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(out[1]);
  if (pid > 0) {
    char buffer[4096];
    ssize_t n;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0 || (n < 0 && errno == EINTR)) {
      if (n > 0) result.output.append(buffer, static_cast<size_t>(n));
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  close(out[0]);
  return result;
}

std::string WithoutTimes(std::string text) {
  auto digit = [&](size_t i) { return text[i] >= '0' && text[i] <= '9'; };
  for (size_t i = 0; i + 8 <= text.size(); ++i) {
    if (digit(i) && digit(i + 1) && text[i + 2] == ':' && digit(i + 3) && digit(i + 4) && text[i + 5] == ':' &&
        digit(i + 6) && digit(i + 7)) {
      text.replace(i, 8, "hh:mm:ss");
    }
  }
  const std::string wait = "(Waiting for the exact factorisation; press x to skip.)";
  for (size_t at; (at = text.find(wait)) != std::string::npos;) {
    const size_t newline = text.rfind('\n', at);
    const size_t begin = newline == std::string::npos ? 0 : newline + 1;
    const size_t end = std::min(text.find('\n', at), text.size() - 1);
    text.erase(begin, end + 1 - begin);  // the line and its end
  }
  return text;
}

EngineOnTerminal::EngineOnTerminal(const std::filesystem::path& folder, const std::filesystem::path& program) {
  winsize size{};
  size.ws_row = 25;
  size.ws_col = 80;
  const std::string path = program.string();
  const pid_t parent = getpid();
  pid_ = forkpty(&terminal_, nullptr, nullptr, &size);
  if (pid_ == 0) {
    EndWithParent(parent);
    if (chdir(folder.c_str()) == 0) execl(path.c_str(), path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
}

EngineOnTerminal::~EngineOnTerminal() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  if (terminal_ >= 0) close(terminal_);
}

bool EngineOnTerminal::ReadSome(int timeoutMs) {
  pollfd ready{terminal_, POLLIN, 0};
  if (poll(&ready, 1, timeoutMs) <= 0) return true;
  char buffer[4096];
  ssize_t n = read(terminal_, buffer, sizeof buffer);
  if (n <= 0) return false;
  output_.append(buffer, static_cast<size_t>(n));
  return true;
}

bool EngineOnTerminal::WaitForOutput(const std::string& text) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  while (output_.find(text) == std::string::npos) {
    if (pid_ <= 0 || std::chrono::steady_clock::now() > deadline || !ReadSome(100)) return false;
  }
  return true;
}

void EngineOnTerminal::Type(const std::string& keys) {
  if (terminal_ >= 0 && write(terminal_, keys.data(), keys.size()) < 0) ADD_FAILURE() << "keys not typed";
}

int EngineOnTerminal::EndWith(int signal) {
  if (pid_ <= 0) return -1;
  kill(pid_, signal);
  // The engine's last output is read on, so that it never waits for room.
  int status = 0;
  while (waitpid(pid_, &status, WNOHANG) == 0) {
    if (!ReadSome(20)) usleep(1000);
  }
  pid_ = -1;
  return WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

}  // namespace pfac::testing
