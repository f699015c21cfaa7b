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
  const int n = std::max<int>(ImageDegree, 1);
  FactorStore.assign(2 * n + 2, 0.0f);
  FactorEnd.assign(n + 2, 0.0f);
  FactorDegree.assign(n + 2, 0.0f);
  const int positions = std::max(n, kMaxVariables) + 3;
  SelectionItem.assign(positions, 0.0f);
  SelectionIndex.assign(positions, 0);
  SelectionLimit.assign(positions, 0);
  StoredCount = 0;
  StoreFill = 0;
}

// Cofactor[0..QuotientTop + 1] := PassImage / Trial (Trial of degree
// FirstDegree), built from the constant term up; the leading coefficient is
// the ratio of the leading coefficients.
void Engine::DivideFromLow() {
  const int top = ToInt(QuotientTop);
  const int d = FirstDegree;
  EnsureSize(Cofactor, top + 2);
  for (int i = 0; i <= top; ++i) {
    float c = PassImage[i];
    const int m = i < d ? i : d;
    for (int j = 1; j <= m; ++j) c = Checked(c - Checked(Cofactor[i - j] * Trial[j]));
    Cofactor[i] = Checked(c / Trial[0]);
  }
  Cofactor[ToInt(QuotientTop + 1)] = Checked(PassImage[PassDegree] / Trial[d]);
}

// Trial := PassImage / Cofactor. The two ends come from the constant and the
// leading terms; the coefficients between are computed upward when the
// divisor's degree is at most ExactTop, otherwise downward from the top.
void Engine::ExactQuotient() {
  ExactTop = static_cast<float>(PassDegree - CofactorDegree - 1);
  FirstDegree = CofactorDegree;
  const int d = FirstDegree;
  const int q = ToInt(ExactTop);
  EnsureSize(Trial, q + 2);
  Trial[0] = Checked(PassImage[0] / Cofactor[0]);
  Trial[q + 1] = Checked(PassImage[PassDegree] / Cofactor[d]);
  if (d <= ExactTop) {
    for (int i = 1; i <= q; ++i) {
      float c = PassImage[i];
      const int m = i < d ? i : d;
      for (int j = 1; j <= m; ++j) c = Checked(c - Checked(Trial[i - j] * Cofactor[j]));
      Trial[i] = Checked(c / Cofactor[0]);
    }
    return;
  }
  float k = PassDegree;  // invariant inside the loop: k = i + d
  for (int i = q; i >= 1; --i) {
    k = k - 1;
    const int kk = ToInt(k);
    float c = PassImage[kk];
    const int low = ToInt(k - ExactTop - 1);
    for (int j = d - 1; j >= low; --j) c = Checked(c - Checked(Cofactor[j] * Trial[kk - j]));
    Trial[i] = Checked(c / Cofactor[d]);
  }
}

// Cofactor := Cofactor * the stored factor chosen at position
// SelectionPosition of the current subset. The factor is copied to Trial; the
// product is built apart (lower powers summed upward, upper powers downward),
// since it overwrites one of its operands, and copied back.
void Engine::MultiplyByStoredFactor() {
  const int k = ToInt(SelectionItem[SelectionIndex[SelectionPosition]]);
  const int from = ToInt(FactorEnd[k - 1]);
  const int to = ToInt(FactorEnd[k]);
  EnsureSize(Trial, to - from);
  for (int i = from; i <= to - 1; ++i) Trial[i - from] = FactorStore[i];
  const int a = CofactorDegree;
  const int b = ToInt(FactorDegree[k]);
  const int n = a + b;
  CofactorDegree = ToInt16(static_cast<long>(n));
  FloatTable product(static_cast<size_t>(n) + 1);
  EnsureSize(Cofactor, n + 1);
  for (int p = 0; p <= a - 1; ++p) {
    float s = 0;
    const int m = std::min(p, b);
    for (int j = 0; j <= m; ++j) s = Checked(Checked(Cofactor[p - j] * Trial[j]) + s);
    product[p] = s;
  }
  float r = static_cast<float>(n);
  for (int step = 0; step < b; ++step) {
    r = r - 1;
    const int rr = ToInt(r);
    float s = 0;
    for (int j = a; j >= std::max(0, rr - b); --j) s = Checked(Checked(Cofactor[j] * Trial[rr - j]) + s);
    product[rr] = s;
  }
  product[n] = Checked(Cofactor[a] * Trial[b]);
  for (int i = 0; i <= n; ++i) Cofactor[i] = product[i];
}

// Appends Trial[0..TrialDegree] to the store. The tables are sized by the
// image's degree and never overflow for factors of the image; they grow all the
// same should a caller store more.
void Engine::StoreFactor() {
  const int fill = ToInt(StoreFill);
  EnsureSize(FactorStore, fill + TrialDegree + 1);
  EnsureSize(FactorEnd, StoredCount + 2);
  EnsureSize(FactorDegree, StoredCount + 2);
  for (int i = 0; i <= TrialDegree; ++i) FactorStore[ToInt(i + StoreFill)] = Trial[i];
  StoredCount = ToInt16(static_cast<long>(StoredCount) + 1);
  StoreFill = TrialDegree + StoreFill + 1;
  FactorEnd[StoredCount] = StoreFill;
  FactorDegree[StoredCount] = TrialDegree;
}

void Engine::RemoveNewestFactor() {
  StoredCount = StoredCount - 1;
  StoreFill = FactorEnd[StoredCount];
}

void Engine::EmptyStore() {
  StoredCount = 0;
  StoreFill = 0;
}

}  // namespace pfac
