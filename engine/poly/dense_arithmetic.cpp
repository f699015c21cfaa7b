// Dense polynomial arithmetic on the shared vectors, and the store of accepted
// trial factors. Every intermediate value is rounded to a 32-bit float before
// the next operation; the callers guarantee that each division is exact.
#include <algorithm>
#include <cmath>

#include "engine/engine.h"

namespace pfac {

namespace {

// Integral floats are exact below 2^24 in magnitude; an integral result at or
// beyond it may already have been rounded. The routines here feed the factors
// that are printed as results, so such a value stops the run instead of being
// used (NaN and infinity, from a zero divisor, stop it as well).
float Checked(float v) {
  if (!(std::fabs(v) < kExactLimit)) {
    throw RangeStop{"计算中的数值超过 16777216, 无法精确计算, 分解停止."
                    " (A value of the computation reached 16777216 and cannot be held exactly;"
                    " the run stops.)",
                    "Stopped: a value of the computation left the exact range."};
  }
  return v;
}

void EnsureSize(FloatTable& table, int entries) {
  if (static_cast<int>(table.size()) < entries) table.resize(entries, 0.0f);
}

}  // namespace

// Sizes the factor store and its per-factor tables by ImageDegree: the stored
// factors divide the pass's image, so there are at most n of them holding at
// most 2n coefficients. The selection tables of the combination search need
// positions 0..StoredCount + 1, and at least 0..VariableCount + 2 for the
// variable order.
void Engine::AllocateStoreTables() {
  const int n = std::max<int>(Dense.ImageDegree, 1);
  Dense.FactorStore.assign(2 * n + 2, 0.0f);
  Dense.FactorEnd.assign(n + 2, 0.0f);
  Dense.FactorDegree.assign(n + 2, 0.0f);
  const int positions = std::max(n, kMaxVariables) + 3;
  Order.SelectionItem.assign(positions, 0.0f);
  Order.SelectionIndex.assign(positions, 0);
  Order.SelectionLimit.assign(positions, 0);
  Dense.StoredCount = 0;
  Dense.StoreFill = 0;
}

// Cofactor[0..QuotientTop + 1] := PassImage / Trial (Trial of degree
// FirstDegree), built from the constant term up; the leading coefficient is
// the ratio of the leading coefficients.
void Engine::DivideFromLow() {
  const int top = ToInt(Dense.QuotientTop);
  const int d = Dense.FirstDegree;
  EnsureSize(Dense.Cofactor, top + 2);
  for (int i = 0; i <= top; ++i) {
    float c = Dense.PassImage[i];
    const int m = i < d ? i : d;
    for (int j = 1; j <= m; ++j) c = Checked(c - Checked(Dense.Cofactor[i - j] * Dense.Trial[j]));
    Dense.Cofactor[i] = Checked(c / Dense.Trial[0]);
  }
  Dense.Cofactor[ToInt(Dense.QuotientTop + 1)] = Checked(Dense.PassImage[Dense.PassDegree] / Dense.Trial[d]);
}

// Trial := PassImage / Cofactor. The two ends come from the constant and the
// leading terms; the coefficients between are computed upward when the
// divisor's degree is at most ExactTop, otherwise downward from the top.
void Engine::ExactQuotient() {
  Dense.ExactTop = static_cast<float>(Dense.PassDegree - Dense.CofactorDegree - 1);
  Dense.FirstDegree = Dense.CofactorDegree;
  const int d = Dense.FirstDegree;
  const int q = ToInt(Dense.ExactTop);
  EnsureSize(Dense.Trial, q + 2);
  Dense.Trial[0] = Checked(Dense.PassImage[0] / Dense.Cofactor[0]);
  Dense.Trial[q + 1] = Checked(Dense.PassImage[Dense.PassDegree] / Dense.Cofactor[d]);
  if (d <= Dense.ExactTop) {
    for (int i = 1; i <= q; ++i) {
      float c = Dense.PassImage[i];
      const int m = i < d ? i : d;
      for (int j = 1; j <= m; ++j) c = Checked(c - Checked(Dense.Trial[i - j] * Dense.Cofactor[j]));
      Dense.Trial[i] = Checked(c / Dense.Cofactor[0]);
    }
    return;
  }
  float k = Dense.PassDegree;  // invariant inside the loop: k = i + d
  for (int i = q; i >= 1; --i) {
    k = k - 1;
    const int kk = ToInt(k);
    float c = Dense.PassImage[kk];
    const int low = ToInt(k - Dense.ExactTop - 1);
    for (int j = d - 1; j >= low; --j) c = Checked(c - Checked(Dense.Cofactor[j] * Dense.Trial[kk - j]));
    Dense.Trial[i] = Checked(c / Dense.Cofactor[d]);
  }
}

// Cofactor := Cofactor * the stored factor chosen at position
// SelectionPosition of the current subset. The factor is copied to Trial; the
// product is built apart (lower powers summed upward, upper powers downward),
// since it overwrites one of its operands, and copied back.
void Engine::MultiplyByStoredFactor() {
  const int k = ToInt(Order.SelectionItem[Order.SelectionIndex[Order.SelectionPosition]]);
  const int from = ToInt(Dense.FactorEnd[k - 1]);
  const int to = ToInt(Dense.FactorEnd[k]);
  EnsureSize(Dense.Trial, to - from);
  for (int i = from; i <= to - 1; ++i) Dense.Trial[i - from] = Dense.FactorStore[i];
  const int a = Dense.CofactorDegree;
  const int b = ToInt(Dense.FactorDegree[k]);
  const int n = a + b;
  Dense.CofactorDegree = ToInt16(static_cast<long>(n));
  FloatTable product(static_cast<size_t>(n) + 1);
  EnsureSize(Dense.Cofactor, n + 1);
  for (int p = 0; p <= a - 1; ++p) {
    float s = 0;
    const int m = std::min(p, b);
    for (int j = 0; j <= m; ++j) s = Checked(Checked(Dense.Cofactor[p - j] * Dense.Trial[j]) + s);
    product[p] = s;
  }
  float r = static_cast<float>(n);
  for (int step = 0; step < b; ++step) {
    r = r - 1;
    const int rr = ToInt(r);
    float s = 0;
    for (int j = a; j >= std::max(0, rr - b); --j) s = Checked(Checked(Dense.Cofactor[j] * Dense.Trial[rr - j]) + s);
    product[rr] = s;
  }
  product[n] = Checked(Dense.Cofactor[a] * Dense.Trial[b]);
  for (int i = 0; i <= n; ++i) Dense.Cofactor[i] = product[i];
}

// Appends Trial[0..TrialDegree] to the store. The tables are sized by the
// image's degree and never overflow for factors of the image; they grow all the
// same should a caller store more.
void Engine::StoreFactor() {
  const int fill = ToInt(Dense.StoreFill);
  EnsureSize(Dense.FactorStore, fill + Dense.TrialDegree + 1);
  EnsureSize(Dense.FactorEnd, Dense.StoredCount + 2);
  EnsureSize(Dense.FactorDegree, Dense.StoredCount + 2);
  for (int i = 0; i <= Dense.TrialDegree; ++i) Dense.FactorStore[ToInt(i + Dense.StoreFill)] = Dense.Trial[i];
  Dense.StoredCount = ToInt16(static_cast<long>(Dense.StoredCount) + 1);
  Dense.StoreFill = Dense.TrialDegree + Dense.StoreFill + 1;
  Dense.FactorEnd[Dense.StoredCount] = Dense.StoreFill;
  Dense.FactorDegree[Dense.StoredCount] = Dense.TrialDegree;
}

void Engine::RemoveNewestFactor() {
  Dense.StoredCount = Dense.StoredCount - 1;
  Dense.StoreFill = Dense.FactorEnd[Dense.StoredCount];
}

void Engine::EmptyStore() {
  Dense.StoredCount = 0;
  Dense.StoreFill = 0;
}

}  // namespace pfac
