// Eisenstein's criterion on the prime factors of the constant term, written on
// the console as they are found. The constant term and the coefficients are
// integers held in floats; the test computes in 64-bit integers, which gives
// the same verdicts for every value and cannot wrap.
#include <cmath>
#include <cstdint>

#include "engine/engine.h"

namespace pfac {

namespace {

// p divides an, p does not divide a0 when p2 is nonzero (p2 = 0: not tested),
// and p divides every coefficient in between: the polynomial is irreducible.
bool CriterionHolds(const FloatTable& a, int n, int64_t p, int64_t p2) {
  if (p == 0) return false;
  auto value = [&](int i) { return static_cast<int64_t>(a[i]); };
  if (value(n) % p == 0) return false;
  if (p2 != 0 && value(0) % p2 == 0) return false;
  for (int i = 1; i <= n - 1; ++i) {
    if (value(i) % p != 0) return false;
  }
  return true;
}

}  // namespace

void Engine::EisensteinTest() {
  const int n = Dense.ImageDegree;
  const float a0 = Dense.Image[0];
  if (std::fabs(a0) == 1 || a0 == 0) return;
  auto irreducible = [this] { Go(Pass.SecondPass == 0 ? &Engine::CloseResultFile : &Engine::FinalOutput); };

  long rest = static_cast<long>(a0);  // the part of a0 not yet written (wider than 16 bits)
  float done = 1;                     // the product of the prime factors written
  const long limit = static_cast<long>(RoundHalfEven(std::sqrt(std::fabs(a0))));
  const long magnitude = rest < 0 ? -rest : rest;
  for (long d = 2; d <= limit; ++d) {
    if (rest % d != 0) continue;
    if (CriterionHolds(Dense.Image, n, d, d * d)) {
      irreducible();
      return;
    }
    for (;;) {
      ConsoleNumber(static_cast<float>(d));
      rest /= d;
      done = static_cast<float>(d) * done;
      if (done == static_cast<float>(magnitude)) {
        ConsoleEnd();
        return;
      }
      ConsoleText("*");
      if (rest % d != 0) break;
    }
  }
  ConsoleNumber(static_cast<float>(rest));
  ConsoleEnd();
  if (CriterionHolds(Dense.Image, n, rest, 0)) {
    irreducible();
    return;
  }
  ConsoleEnd();
}

}  // namespace pfac
