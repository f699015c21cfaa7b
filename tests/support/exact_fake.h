// An exact factoriser for tests whose readiness follows a fixed rule, so that
// runs on the fake clock go the same way every time. Its answer is the real
// factorisation (computed in this process) unless a test injects another.
#pragma once

#include <optional>
#include <string>

#include "engine/exact/factoriser.h"

namespace pfac::testing {

class FakeFactoriser : public exact::ExactFactoriser {
 public:
  enum class Readiness {
    kAtStart,      // ready as soon as it is started
    kAtFirstWait,  // working while the engine only polls; ready when it first waits
    kNever,        // working for ever
    kFails,        // failed as soon as it is started
  };
  explicit FakeFactoriser(Readiness readiness) : readiness_(readiness) {}

  // The answer given in place of the real factorisation.
  void Inject(exact::Factorisation answer) { injected_ = std::move(answer); }
  // A polynomial of higher degree gets no answer, as from a helper too slow
  // for it (factoring a degree of thousands takes seconds to minutes).
  void SetDegreeLimit(int degree) { degreeLimit_ = degree; }

  void Start(const exact::Polynomial& p) override;
  exact::ExactState Poll() override { return state_; }
  exact::ExactState Wait(int milliseconds) override;
  const exact::Factorisation& Result() const override { return result_; }
  std::string Failure() const override { return failure_; }
  void Cancel() override { ++cancels_; }

  int Starts() const { return starts_; }
  const exact::Polynomial& Input() const { return input_; }

 private:
  void Answer();

  Readiness readiness_;
  std::optional<exact::Factorisation> injected_;
  exact::ExactState state_ = exact::ExactState::kIdle;
  exact::Factorisation result_;
  std::string failure_;
  exact::Polynomial input_;
  int starts_ = 0;
  int degreeLimit_ = 1 << 30;
  int cancels_ = 0;
};

}  // namespace pfac::testing
