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
  const int n = e.ImageDegree;
  const int k = e.TrialDegree;
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
    if (e.Image[c] != s) return false;
  }
  return true;
}

// What follows a passed check: the status row is cleared, the quotient
// becomes the polynomial still to factor, and for several variables the trial
// factor is stored and a split into factors in the variables is looked for:
// quotient against trial factor, the product of all stored factors, the newest
// factor alone against the pass's image, and combinations of older factors.
void AcceptCheckedFactor(Engine& e) {
  const int n = e.ImageDegree;
  const int k = e.TrialDegree;
  e.ConsoleEnd();
  e.console().ClearStatusRow();
  if (e.LateMode == 1) {
    e.FirstDegree = static_cast<int16_t>(n - k);
    e.SecondDegree = k;
    e.FindKroneckerSplit();
    return;
  }
  e.ImageDegree = static_cast<int16_t>(n - k);
  e.CofactorDegree = static_cast<int16_t>(n - k);
  for (int i = 0; i <= n - k; ++i) e.Image[i] = e.Cofactor[i];
  if (e.VariableCount == 1) {
    e.SplitResult = Engine::kSplitFound;
    e.FirstDegree = static_cast<int16_t>(n - k);
    e.SecondDegree = k;
    return;
  }
  e.StoreFactor();
  if (e.StoredCount == 1) {
    e.FirstDegree = e.CofactorDegree;
    e.SecondDegree = k;
    e.FindKroneckerSplit();
    if (e.SplitResult == Engine::kSplitFound) e.EmptyStore();
    return;
  }
  // The pass's image over the quotient: the product of every stored factor.
  e.ExactQuotient();
  e.SecondDegree = e.ExactTop + 1;
  e.FindKroneckerSplit();
  if (e.SplitResult == Engine::kSplitFound) {
    e.EmptyStore();
    return;
  }
  // The newest factor alone against the pass's whole image.
  e.QuotientTop = static_cast<float>(e.PassDegree - k - 1);
  e.FirstDegree = static_cast<int16_t>(k);
  const int first = ToInt(e.FactorEnd[e.StoredCount - 1]);
  for (int i = 0; i <= k; ++i) e.Trial[i] = e.FactorStore[first + i];
  e.DivideFromLow();
  e.SecondDegree = k;
  e.FirstDegree = ToInt16(e.QuotientTop + 1);
  e.FindKroneckerSplit();
  if (e.SplitResult == Engine::kSplitFound) {
    e.RemoveNewestFactor();
    return;
  }
  if (e.StoredCount == 2) return;
  for (int i = 0; i <= e.ImageDegree; ++i) e.Cofactor[i] = e.Image[i];
  e.CofactorDegree = e.ImageDegree;
  e.SelectionTop = static_cast<int16_t>(e.StoredCount - 1);
  e.SelectionStart = 1;
  e.CombineStoredFactors();
}

}  // namespace

// Trial[0..k] is the candidate, Cofactor[0..n-k] the quotient of Image by it
// built from the low end. Sets SplitResult: kNotAFactor, kFactorStored (a
// factor stored without a split) or kSplitFound (Image then holds the quotient).
void Engine::CheckAndSplitFactor() {
  SplitResult = kNotAFactor;
  if (!UpperCoefficientsMatch(*this, Trial, Cofactor)) return;
  AcceptCheckedFactor(*this);
}

// The same for a candidate found on the cofactor's side: the factor is
// Cofactor[0..k] and the quotient Trial[0..n-k]. When the check passes the two
// vectors are exchanged, so that what follows sees the factor in Trial.
void Engine::CheckAndSplitMirrored() {
  SplitResult = kNotAFactor;
  if (!UpperCoefficientsMatch(*this, Cofactor, Trial)) {
    MirrorUsed = 0;
    return;
  }
  const int n = ImageDegree;
  EnsureSize(Trial, n + 1);
  EnsureSize(Cofactor, n + 1);
  std::swap_ranges(Trial.begin(), Trial.begin() + n + 1, Cofactor.begin());
  MirrorUsed = 1;
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
  const int offsets = ToInt(CodeOffset);
  const int variables = ToInt(VariableCount);
  const int second = ToInt(SecondDegree);
  if (offsets < 0) {
    SplitResult = kFactorStored;
    return;
  }
  EnsureSize(Scratch, std::max<int>(FirstDegree, second) + 1);
  // The nonzero positions of the first factor, then of the second.
  std::vector<int> positions;
  for (int i = FirstDegree; i >= 0; --i) {
    if (Cofactor[i] != 0) positions.push_back(i);
  }
  const size_t firstTerms = positions.size();
  for (int i = second; i >= 0; --i) {
    if (Trial[i] != 0) positions.push_back(i);
  }
  // Degree in v of the terms at positions [from, to) with codes base + i,
  // read back as UnpackDenseToTerms does; false when one leaves the 16-bit
  // range, where the full unpacking stops the run.
  auto degrees = [&](size_t from, size_t to, int base, int* degree) {
    for (int v = 1; v <= variables; ++v) degree[v] = 0;
    for (size_t t = from; t < to; ++t) {
      int code = base + positions[t];
      for (int v = variables; v >= 2; --v) {
        degree[v] = std::max(degree[v], code / Weight[v]);
        code = code % Weight[v];
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
      fits = static_cast<int16_t>(secondDegree[v] + firstDegree[v]) == TargetDegree[v];
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
  const int variables = ToInt(VariableCount);
  const int second = ToInt(SecondDegree);
  DenseOffset = FirstOffset = ToInt16(CodeOffset - s);
  for (int i = 0; i <= FirstDegree; ++i) Scratch[i] = Cofactor[i];
  DenseTop = FirstDegree;
  UnpackDenseToTerms();
  for (int v = 1; v <= variables; ++v) FirstFactorDegree[v] = VariableDegree[v];
  DenseOffset = static_cast<int16_t>(s);
  for (int i = 0; i <= second; ++i) Scratch[i] = Trial[i];
  DenseTop = static_cast<int16_t>(second);
  UnpackDenseToTerms();
  bool fits = true;
  for (int v = 1; v <= variables && fits; ++v) {
    const int16_t degreeSum = static_cast<int16_t>(VariableDegree[v] + FirstFactorDegree[v]);
    fits = degreeSum == TargetDegree[v];
  }
  SplitResult = fits ? kSplitFound : kFactorStored;
}

// One term-table row per nonzero entry of Scratch[0..DenseTop], highest code
// first, with the exponents of the code DenseOffset + i; then the degrees.
void Engine::UnpackDenseToTerms() {
  const int variables = ToInt(VariableCount);
  EnsureTermRows(DenseTop + 2);
  TermRows = 0;
  for (int i = DenseTop; i >= 0; --i) {
    if (Scratch[i] == 0) continue;
    ++TermRows;
    int code = DenseOffset + i;
    for (int v = variables; v >= 2; --v) {
      Exponent[TermRows][v] = static_cast<float>(code / Weight[v]);
      code = code % Weight[v];
    }
    Exponent[TermRows][1] = static_cast<float>(code);
  }
  ComputeVariableDegrees();
}

void Engine::ComputeVariableDegrees() {
  const int variables = ToInt(VariableCount);
  for (int v = 1; v <= variables; ++v) {
    VariableDegree[v] = 0;
    for (int t = 1; t <= TermRows; ++t) {
      if (Exponent[t][v] > VariableDegree[v]) VariableDegree[v] = ToInt16(Exponent[t][v]);
    }
  }
}

void Engine::SetTargetDegrees() {
  ComputeVariableDegrees();
  const int variables = ToInt(VariableCount);
  for (int v = 1; v <= variables; ++v) TargetDegree[v] = VariableDegree[v];
}

// Removes the variables whose MaxExponent is 0, closing up Letter, MaxExponent
// and the exponent columns of rows 1..TermRows in their order.
void Engine::DropAbsentVariables() {
  const int variables = ToInt(VariableCount);
  int u = 0;
  for (int v = 1; v <= variables; ++v) {
    if (MaxExponent[v] == 0) continue;
    ++u;
    MaxExponent[u] = MaxExponent[v];
    Letter[u] = Letter[v];
    for (int t = 1; t <= TermRows; ++t) Exponent[t][u] = Exponent[t][v];
  }
  TermCount = TermRows;
  VariableCount = static_cast<float>(u);
  for (int v = 1; v <= u; ++v) TargetDegree[v] = MaxExponent[v];
}

// Tries the images of x1 + x2 + ... + xn and then -x1 + x2 + ... + xn (shifted
// down by one power) as divisors of Image before the full search. A divisor
// that divides goes through CheckAndSplitFactor; one that divides without a
// split puts the pass's image back.
void Engine::TryVariableSumFactors() {
  SplitResult = kNotAFactor;
  const int variables = ToInt(VariableCount);
  const int top = Weight[variables];
  EnsureSize(Trial, top + 1);
  EnsureSize(Cofactor, ImageDegree + 1);
  for (bool firstDivisor : {true, false}) {
    std::fill(Trial.begin(), Trial.begin() + top + 1, 0.0f);
    for (int v = firstDivisor ? 1 : 2; v <= variables; ++v) Trial[Weight[v] - 1] = 1;
    if (!firstDivisor) Trial[0] = -1;
    TrialDegree = static_cast<int16_t>(top - 1);
    const int n = ImageDegree;
    const int k = TrialDegree;
    bool divides = k <= n;
    for (int i = 0; divides && i <= n - k; ++i) {
      float c = Image[i];
      for (int j = 1; j <= std::min(i, k) && divides; ++j) {
        c = c - Cofactor[i - j] * Trial[j];
        divides = WithinExactRange(c);
      }
      c = c / Trial[0];
      Cofactor[i] = c;
      divides = divides && WithinExactRange(c) && IsWhole(c);
    }
    if (divides && Cofactor[n - k] * Trial[k] != Image[n]) divides = false;
    if (!divides) continue;
    CheckAndSplitFactor();
    EmptyStore();
    if (SplitResult != kFactorStored) return;
    for (int i = 0; i <= PassDegree; ++i) Image[i] = PassImage[i];
    ImageDegree = PassDegree;
  }
}

}  // namespace pfac
