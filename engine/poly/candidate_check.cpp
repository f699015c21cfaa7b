// The last check of a trial factor and the mapping of factors of the image
// back to polynomials in several variables. A monomial x1^e1 ... xn^en has the
// code e1 Weight[1] + ... + en Weight[n]; since each weight exceeds every code
// of the lower variables, a code is read back by integer division from the
// highest variable down.
#include <algorithm>
#include <cmath>

#include "engine/engine.h"

namespace pfac {

namespace {

// A sum of products of integral floats is exact while every product and every
// partial sum stays below 2^24 in magnitude.
bool WithinExactRange(float v) { return std::fabs(v) < kExactLimit; }

void EnsureSize(FloatTable& table, int entries) {
  if (static_cast<int>(table.size()) < entries) table.resize(entries, 0.0f);
}

// The coefficients of quotient * factor at the powers n - 1 down to n - k + 1
// (n = ImageDegree, k = TrialDegree) against Image; the lower ones and the
// leading one were matched by the search. A sum that leaves the exact range
// cannot be compared and counts as a mismatch.
bool UpperCoefficientsMatch(const Engine& e, const FloatTable& factor, const FloatTable& quotient) {
  const int n = e.Dense.ImageDegree;
  const int k = e.Dense.TrialDegree;
  int c = n;
  for (int i = k - 1; i >= 1; --i) {
    c = c - 1;  // c = n - k + i
    float s = quotient[n - k] * factor[i];
    if (!WithinExactRange(s)) return false;
    for (int j = n - k - 1; j >= std::max(0, c - k); --j) {
      const float product = quotient[j] * factor[c - j];
      s = product + s;
      if (!WithinExactRange(product) || !WithinExactRange(s)) return false;
    }
    if (e.Dense.Image[c] != s) return false;
  }
  return true;
}

// What follows a passed check: the status row is cleared, the quotient
// becomes the polynomial still to factor, and for several variables the trial
// factor is stored and a split into factors in the variables is looked for:
// quotient against trial factor, the product of all stored factors, the newest
// factor alone against the pass's image, and combinations of older factors.
void AcceptCheckedFactor(Engine& e) {
  const int n = e.Dense.ImageDegree;
  const int k = e.Dense.TrialDegree;
  e.ConsoleEnd();
  e.console().ClearStatusRow();
  if (e.Pass.LateMode == 1) {
    e.Dense.FirstDegree = static_cast<int16_t>(n - k);
    e.Dense.SecondDegree = k;
    e.FindKroneckerSplit();
    return;
  }
  e.Dense.ImageDegree = static_cast<int16_t>(n - k);
  e.Dense.CofactorDegree = static_cast<int16_t>(n - k);
  for (int i = 0; i <= n - k; ++i) e.Dense.Image[i] = e.Dense.Cofactor[i];
  if (e.Terms.VariableCount == 1) {
    e.Split.SplitResult = Engine::kSplitFound;
    e.Dense.FirstDegree = static_cast<int16_t>(n - k);
    e.Dense.SecondDegree = k;
    return;
  }
  e.StoreFactor();
  if (e.Dense.StoredCount == 1) {
    e.Dense.FirstDegree = e.Dense.CofactorDegree;
    e.Dense.SecondDegree = k;
    e.FindKroneckerSplit();
    if (e.Split.SplitResult == Engine::kSplitFound) e.EmptyStore();
    return;
  }
  // The pass's image over the quotient: the product of every stored factor.
  e.ExactQuotient();
  e.Dense.SecondDegree = e.Dense.ExactTop + 1;
  e.FindKroneckerSplit();
  if (e.Split.SplitResult == Engine::kSplitFound) {
    e.EmptyStore();
    return;
  }
  // The newest factor alone against the pass's whole image.
  e.Dense.QuotientTop = static_cast<float>(e.Dense.PassDegree - k - 1);
  e.Dense.FirstDegree = static_cast<int16_t>(k);
  const int first = ToInt(e.Dense.FactorEnd[e.Dense.StoredCount - 1]);
  for (int i = 0; i <= k; ++i) e.Dense.Trial[i] = e.Dense.FactorStore[first + i];
  e.DivideFromLow();
  e.Dense.SecondDegree = k;
  e.Dense.FirstDegree = ToInt16(e.Dense.QuotientTop + 1);
  e.FindKroneckerSplit();
  if (e.Split.SplitResult == Engine::kSplitFound) {
    e.RemoveNewestFactor();
    return;
  }
  if (e.Dense.StoredCount == 2) return;
  for (int i = 0; i <= e.Dense.ImageDegree; ++i) e.Dense.Cofactor[i] = e.Dense.Image[i];
  e.Dense.CofactorDegree = e.Dense.ImageDegree;
  e.Order.SelectionTop = static_cast<int16_t>(e.Dense.StoredCount - 1);
  e.Order.SelectionStart = 1;
  e.CombineStoredFactors();
}

}  // namespace

// Trial[0..k] is the candidate, Cofactor[0..n-k] the quotient of Image by it
// built from the low end. Sets SplitResult: kNotAFactor, kFactorStored (a
// factor stored without a split) or kSplitFound (Image then holds the quotient).
void Engine::CheckAndSplitFactor() {
  Split.SplitResult = kNotAFactor;
  if (!UpperCoefficientsMatch(*this, Dense.Trial, Dense.Cofactor)) return;
  AcceptCheckedFactor(*this);
}

// The same for a candidate found on the cofactor's side: the factor is
// Cofactor[0..k] and the quotient Trial[0..n-k]. When the check passes the two
// vectors are exchanged, so that what follows sees the factor in Trial.
void Engine::CheckAndSplitMirrored() {
  Split.SplitResult = kNotAFactor;
  if (!UpperCoefficientsMatch(*this, Dense.Cofactor, Dense.Trial)) return;
  const int n = Dense.ImageDegree;
  EnsureSize(Dense.Trial, n + 1);
  EnsureSize(Dense.Cofactor, n + 1);
  std::swap_ranges(Dense.Trial.begin(), Dense.Trial.begin() + n + 1, Dense.Cofactor.begin());
  AcceptCheckedFactor(*this);
}

// Looks for code offsets under which the first factor (Cofactor, degree
// FirstDegree) and the second (Trial, degree SecondDegree) have degrees in
// every variable that add up to TargetDegree. The second factor's offset s
// runs up from 0; the first gets CodeOffset - s. Only degrees are compared.
//
// Each offset is first tried on the nonzero positions alone (listed once), so
// that a sparse factor of high degree costs its terms per offset, not its
// degree. The offset that fits, or the last one when none does, then runs
// through TryKroneckerOffset, which leaves the tables as the plain walk would.
void Engine::FindKroneckerSplit() {
  const int offsets = ToInt(Split.CodeOffset);
  const int variables = ToInt(Terms.VariableCount);
  const int second = ToInt(Dense.SecondDegree);
  if (offsets < 0) {
    Split.SplitResult = kFactorStored;
    return;
  }
  EnsureSize(Dense.Scratch, std::max<int>(Dense.FirstDegree, second) + 1);
  // The nonzero positions of the first factor, then of the second.
  std::vector<int> positions;
  for (int i = Dense.FirstDegree; i >= 0; --i) {
    if (Dense.Cofactor[i] != 0) positions.push_back(i);
  }
  const size_t firstTerms = positions.size();
  for (int i = second; i >= 0; --i) {
    if (Dense.Trial[i] != 0) positions.push_back(i);
  }
  // Degree in v of the terms at positions [from, to) with codes base + i,
  // read back as UnpackDenseToTerms does; false when one leaves the 16-bit
  // range, where the full unpacking stops the run.
  auto degrees = [&](size_t from, size_t to, int base, int* degree) {
    for (int v = 1; v <= variables; ++v) degree[v] = 0;
    for (size_t t = from; t < to; ++t) {
      int code = base + positions[t];
      for (int v = variables; v >= 2; --v) {
        degree[v] = std::max(degree[v], code / Terms.Weight[v]);
        code = code % Terms.Weight[v];
      }
      degree[1] = std::max(degree[1], code);
    }
    for (int v = 1; v <= variables; ++v) {
      if (degree[v] > INT16_MAX) return false;
    }
    return true;
  };
  int firstDegree[kVariableColumns];
  int secondDegree[kVariableColumns];
  int s = 0;
  for (; s < offsets; ++s) {
    if (!degrees(0, firstTerms, offsets - s, firstDegree) ||
        !degrees(firstTerms, positions.size(), s, secondDegree)) {
      break;
    }
    bool fits = true;
    for (int v = 1; v <= variables && fits; ++v) {
      fits = static_cast<int16_t>(secondDegree[v] + firstDegree[v]) == Terms.TargetDegree[v];
    }
    if (fits) break;
  }
  TryKroneckerOffset(s);
}

// The factors unpacked with the second at offset s and the first at
// CodeOffset - s: SplitResult kSplitFound when their degrees add up to
// TargetDegree in every variable, else kFactorStored. Leaves the second
// factor in the term table, the first one's degrees in FirstFactorDegree.
void Engine::TryKroneckerOffset(int s) {
  const int variables = ToInt(Terms.VariableCount);
  const int second = ToInt(Dense.SecondDegree);
  Split.DenseOffset = Split.FirstOffset = ToInt16(Split.CodeOffset - s);
  for (int i = 0; i <= Dense.FirstDegree; ++i) Dense.Scratch[i] = Dense.Cofactor[i];
  Split.DenseTop = Dense.FirstDegree;
  UnpackDenseToTerms();
  for (int v = 1; v <= variables; ++v) Split.FirstFactorDegree[v] = Split.VariableDegree[v];
  Split.DenseOffset = static_cast<int16_t>(s);
  for (int i = 0; i <= second; ++i) Dense.Scratch[i] = Dense.Trial[i];
  Split.DenseTop = static_cast<int16_t>(second);
  UnpackDenseToTerms();
  bool fits = true;
  for (int v = 1; v <= variables && fits; ++v) {
    const int16_t degreeSum = static_cast<int16_t>(Split.VariableDegree[v] + Split.FirstFactorDegree[v]);
    fits = degreeSum == Terms.TargetDegree[v];
  }
  Split.SplitResult = fits ? kSplitFound : kFactorStored;
}

// One term-table row per nonzero entry of Scratch[0..DenseTop], highest code
// first, with the exponents of the code DenseOffset + i; then the degrees.
void Engine::UnpackDenseToTerms() {
  const int variables = ToInt(Terms.VariableCount);
  EnsureTermRows(Split.DenseTop + 2);
  Terms.TermRows = 0;
  for (int i = Split.DenseTop; i >= 0; --i) {
    if (Dense.Scratch[i] == 0) continue;
    ++Terms.TermRows;
    int code = Split.DenseOffset + i;
    for (int v = variables; v >= 2; --v) {
      Terms.Exponent[Terms.TermRows][v] = static_cast<float>(code / Terms.Weight[v]);
      code = code % Terms.Weight[v];
    }
    Terms.Exponent[Terms.TermRows][1] = static_cast<float>(code);
  }
  ComputeVariableDegrees();
}

void Engine::ComputeVariableDegrees() {
  const int variables = ToInt(Terms.VariableCount);
  for (int v = 1; v <= variables; ++v) {
    Split.VariableDegree[v] = 0;
    for (int t = 1; t <= Terms.TermRows; ++t) {
      if (Terms.Exponent[t][v] > Split.VariableDegree[v]) Split.VariableDegree[v] = ToInt16(Terms.Exponent[t][v]);
    }
  }
}

void Engine::SetTargetDegrees() {
  ComputeVariableDegrees();
  const int variables = ToInt(Terms.VariableCount);
  for (int v = 1; v <= variables; ++v) Terms.TargetDegree[v] = Split.VariableDegree[v];
}

// Removes the variables whose MaxExponent is 0, closing up Letter, MaxExponent
// and the exponent columns of rows 1..TermRows in their order.
void Engine::DropAbsentVariables() {
  const int variables = ToInt(Terms.VariableCount);
  int u = 0;
  for (int v = 1; v <= variables; ++v) {
    if (Terms.MaxExponent[v] == 0) continue;
    ++u;
    Terms.MaxExponent[u] = Terms.MaxExponent[v];
    Terms.Letter[u] = Terms.Letter[v];
    for (int t = 1; t <= Terms.TermRows; ++t) Terms.Exponent[t][u] = Terms.Exponent[t][v];
  }
  Terms.TermCount = Terms.TermRows;
  Terms.VariableCount = static_cast<float>(u);
  for (int v = 1; v <= u; ++v) Terms.TargetDegree[v] = Terms.MaxExponent[v];
}

// Tries the images of x1 + x2 + ... + xn and then -x1 + x2 + ... + xn (shifted
// down by one power) as divisors of Image before the full search. A divisor
// that divides goes through CheckAndSplitFactor; one that divides without a
// split puts the pass's image back.
void Engine::TryVariableSumFactors() {
  Split.SplitResult = kNotAFactor;
  const int variables = ToInt(Terms.VariableCount);
  const int top = Terms.Weight[variables];
  EnsureSize(Dense.Trial, top + 1);
  EnsureSize(Dense.Cofactor, Dense.ImageDegree + 1);
  for (bool firstDivisor : {true, false}) {
    std::fill(Dense.Trial.begin(), Dense.Trial.begin() + top + 1, 0.0f);
    for (int v = firstDivisor ? 1 : 2; v <= variables; ++v) Dense.Trial[Terms.Weight[v] - 1] = 1;
    if (!firstDivisor) Dense.Trial[0] = -1;
    Dense.TrialDegree = static_cast<int16_t>(top - 1);
    const int n = Dense.ImageDegree;
    const int k = Dense.TrialDegree;
    bool divides = k <= n;
    for (int i = 0; divides && i <= n - k; ++i) {
      float c = Dense.Image[i];
      for (int j = 1; j <= std::min(i, k) && divides; ++j) {
        c = c - Dense.Cofactor[i - j] * Dense.Trial[j];
        divides = WithinExactRange(c);
      }
      c = c / Dense.Trial[0];
      Dense.Cofactor[i] = c;
      divides = divides && WithinExactRange(c) && IsWhole(c);
    }
    if (divides && Dense.Cofactor[n - k] * Dense.Trial[k] != Dense.Image[n]) divides = false;
    if (!divides) continue;
    CheckAndSplitFactor();
    EmptyStore();
    if (Split.SplitResult != kFactorStored) return;
    for (int i = 0; i <= Dense.PassDegree; ++i) Dense.Image[i] = Dense.PassImage[i];
    Dense.ImageDegree = Dense.PassDegree;
  }
}

}  // namespace pfac
