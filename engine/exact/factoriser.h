// The engine's side of the exact factoriser. The engine hands it the prepared
// polynomial once a run needs it; the work goes on beside the search, and the
// engine's steps only look at the handle (working, ready or failed), never
// waiting on it while they search.
#pragma once

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/exact/exact_types.h"

namespace pfac::exact {

enum class ExactState { kIdle, kWorking, kReady, kFailed };

// The result of one factorisation, written once by the worker and read by the
// engine's thread.
class ExactHandle {
 public:
  ExactState State() const { return state_.load(std::memory_order_acquire); }
  void SetWorking() { state_.store(ExactState::kWorking, std::memory_order_release); }
  void SetReady(Factorisation result);
  void SetFailed(std::string why);
  // Waits until the handle is no longer working, at most so many milliseconds.
  ExactState WaitAtMost(int milliseconds);
  // Valid once State() is kReady, respectively kFailed.
  const Factorisation& Result() const { return result_; }
  const std::string& Failure() const { return failure_; }

 private:
  std::atomic<ExactState> state_{ExactState::kIdle};
  std::mutex lock_;
  std::condition_variable done_;
  Factorisation result_;
  std::string failure_;
};

class ExactFactoriser {
 public:
  virtual ~ExactFactoriser() = default;
  // Starts the factorisation of p; called at most once per run.
  virtual void Start(const Polynomial& p) = 0;
  // Where it stands, without waiting.
  virtual ExactState Poll() = 0;
  // Where it stands after waiting at most so many milliseconds.
  virtual ExactState Wait(int milliseconds) = 0;
  virtual const Factorisation& Result() const = 0;
  virtual std::string Failure() const = 0;
  // Gives up the work (the engine no longer waits for it).
  virtual void Cancel() = 0;
};

// Runs the helper program in a process of its own, fed and read through pipes
// by a worker thread. Cancel and the destructor end the process.
class HelperProcessFactoriser : public ExactFactoriser {
 public:
  explicit HelperProcessFactoriser(std::filesystem::path program);
  ~HelperProcessFactoriser() override;
  HelperProcessFactoriser(const HelperProcessFactoriser&) = delete;
  HelperProcessFactoriser& operator=(const HelperProcessFactoriser&) = delete;

  void Start(const Polynomial& p) override;
  ExactState Poll() override { return handle_->State(); }
  ExactState Wait(int milliseconds) override { return handle_->WaitAtMost(milliseconds); }
  const Factorisation& Result() const override { return handle_->Result(); }
  std::string Failure() const override { return handle_->Failure(); }
  void Cancel() override;

  // The helper beside the running program: pfac-exact in the folder of
  // /proc/self/exe.
  static std::filesystem::path BesideThisProgram();

  struct Shared;  // what the worker thread and the engine's thread share

 private:
  std::filesystem::path program_;
  std::shared_ptr<ExactHandle> handle_ = std::make_shared<ExactHandle>();
  std::shared_ptr<Shared> shared_;
  std::thread worker_;
};

}  // namespace pfac::exact
