#include "engine/exact/factoriser.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>

#include "engine/exact/protocol.h"

extern char** environ;

namespace pfac::exact {

void ExactHandle::SetReady(Factorisation result) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    result_ = std::move(result);
    state_.store(ExactState::kReady, std::memory_order_release);
  }
  done_.notify_all();
}

void ExactHandle::SetFailed(std::string why) {
  {
    std::lock_guard<std::mutex> hold(lock_);
    failure_ = std::move(why);
    state_.store(ExactState::kFailed, std::memory_order_release);
  }
  done_.notify_all();
}

ExactState ExactHandle::WaitAtMost(int milliseconds) {
  std::unique_lock<std::mutex> hold(lock_);
  done_.wait_for(hold, std::chrono::milliseconds(milliseconds),
                 [this] { return State() != ExactState::kWorking; });
  return State();
}

struct HelperProcessFactoriser::Shared {
  std::mutex lock;
  pid_t pid = 0;          // the helper while it runs
  bool cancelled = false;
};

HelperProcessFactoriser::HelperProcessFactoriser(std::filesystem::path program)
    : program_(std::move(program)), shared_(std::make_shared<Shared>()) {}

HelperProcessFactoriser::~HelperProcessFactoriser() {
  Cancel();
  if (worker_.joinable()) worker_.join();
}

std::filesystem::path HelperProcessFactoriser::BesideThisProgram() {
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "pfac-exact";
  return self.parent_path() / "pfac-exact";
}

void HelperProcessFactoriser::Cancel() {
  std::lock_guard<std::mutex> hold(shared_->lock);
  shared_->cancelled = true;
  if (shared_->pid > 0) kill(shared_->pid, SIGKILL);
}

namespace {

// Writes all of text to fd; false when the reader has gone.
bool WriteAll(int fd, const std::string& text) {
  size_t done = 0;
  while (done < text.size()) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[65536];
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  return text;
}

// One run of the helper: the request in, the answer out.
void RunHelper(const std::filesystem::path& program, const std::string& request,
               const std::shared_ptr<ExactHandle>& handle,
               const std::shared_ptr<HelperProcessFactoriser::Shared>& shared) {
  // A helper that dies before it has read everything must not take the
  // engine with it: the broken pipe becomes an error of this write.
  sigset_t pipe;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

  int in[2], out[2];
  if (pipe2(in, O_CLOEXEC) != 0) {
    handle->SetFailed("no pipe for the helper");
    return;
  }
  if (pipe2(out, O_CLOEXEC) != 0) {
    close(in[0]);
    close(in[1]);
    handle->SetFailed("no pipe for the helper");
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in[0], 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  // The helper starts with the default signal actions and none blocked.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  // The helper is told who its engine is, and its death signal follows the
  // thread that spawned it: this thread, which waits for it to end.
  const std::string path = program.string();
  std::string engine = std::to_string(getpid());
  char* argv[] = {const_cast<char*>(path.c_str()), engine.data(), nullptr};
  pid_t pid = 0;
  int spawned;
  {
    std::lock_guard<std::mutex> hold(shared->lock);
    spawned = shared->cancelled ? ECANCELED : posix_spawn(&pid, path.c_str(), &actions, &attributes, argv, environ);
    if (spawned == 0) shared->pid = pid;
  }
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(in[0]);
  close(out[1]);
  if (spawned != 0) {
    close(in[1]);
    close(out[0]);
    handle->SetFailed("the helper program " + path + " cannot be started");
    return;
  }
  WriteAll(in[1], request);
  close(in[1]);
  std::string answer = ReadAll(out[0]);
  close(out[0]);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  bool cancelled;
  {
    std::lock_guard<std::mutex> hold(shared->lock);
    shared->pid = 0;
    cancelled = shared->cancelled;
  }
  if (cancelled) {
    handle->SetFailed("the wait for the helper was given up");
    return;
  }
  std::string why;
  auto result = ReadAnswer(answer, &why);
  if (result) {
    handle->SetReady(std::move(*result));
  } else if (WIFSIGNALED(status)) {
    handle->SetFailed("the helper program ended with signal " + std::to_string(WTERMSIG(status)));
  } else {
    handle->SetFailed(why);
  }
}

}  // namespace

void HelperProcessFactoriser::Start(const Polynomial& p) {
  if (handle_->State() != ExactState::kIdle) return;
  handle_->SetWorking();
  worker_ = std::thread(RunHelper, program_, RequestText(p), handle_, shared_);
}

}  // namespace pfac::exact
