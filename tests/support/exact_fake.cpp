#include "support/exact_fake.h"

#include "engine/exact/flint_factor.h"

namespace pfac::testing {

void FakeFactoriser::Start(const exact::Polynomial& p) {
  ++starts_;
  input_ = p;
  state_ = exact::ExactState::kWorking;
  if (readiness_ == Readiness::kAtStart) Answer();
  if (readiness_ == Readiness::kFails) {
    state_ = exact::ExactState::kFailed;
    failure_ = "the helper program ended with signal 9";
  }
}

exact::ExactState FakeFactoriser::Wait(int) {
  if (state_ == exact::ExactState::kWorking && readiness_ == Readiness::kAtFirstWait) Answer();
  return state_;
}

void FakeFactoriser::Answer() {
  for (const exact::Term& t : input_.terms) {
    int degree = 0;
    for (int32_t e : t.exponents) degree += e;
    if (degree > degreeLimit_) return;
  }
  if (injected_) {
    result_ = *injected_;
    state_ = exact::ExactState::kReady;
    return;
  }
  auto result = exact::FactorExactly(input_, &failure_);
  state_ = result ? exact::ExactState::kReady : exact::ExactState::kFailed;
  if (result) result_ = std::move(*result);
}

}  // namespace pfac::testing
