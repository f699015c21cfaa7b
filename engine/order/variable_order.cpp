// The subset enumeration shared by the choice of the variable order (mode 1:
// every order of the variables, each with its weights, the one whose term
// codes have the smallest spread wins) and the combination of stored factors
// (mode 2: the image times every subset of the older stored factors, until one
// product maps back to polynomials in the variables).
#include <algorithm>
#include <utility>

#include "engine/engine.h"

namespace pfac {

namespace {

// Codes and weights are 16-bit integers.
constexpr float kLargestCode = 32767;
// The spread recorded before the first order is evaluated.
constexpr float kNoOrderYet = 9999999;

template <typename Table>
void EnsureSize(Table& table, int entries) {
  if (static_cast<int>(table.size()) < entries) table.resize(entries, 0);
}

// Moves SelectionIndex[1..k] to the next subset in lexicographic order; false
// after the last one.
bool AdvanceSelection(Engine& e, int k) {
  int c = k;
  while (c >= 1 && e.Order.SelectionIndex[c] >= e.Order.SelectionLimit[c]) --c;
  if (c < 1) return false;
  ++e.Order.SelectionIndex[c];
  for (int d = c + 1; d <= k; ++d) e.Order.SelectionIndex[d] = static_cast<int16_t>(e.Order.SelectionIndex[d - 1] + 1);
  return true;
}

// Cofactor := Image * the stored factors of the current subset of size k.
void MultiplySelection(Engine& e, int k) {
  for (int c = 1; c <= k; ++c) {
    e.Order.SelectionPosition = static_cast<int16_t>(c);
    e.MultiplyByStoredFactor();
  }
}

// Whether the current product (Cofactor) and the rest of the pass's image map
// back to factors in the variables. A rejected subset puts Image back into
// Cofactor; an accepted one keeps only its own factors in the store, in
// increasing order of their numbers.
bool SubsetSplits(Engine& e, int k) {
  e.ExactQuotient();
  e.Dense.SecondDegree = e.Dense.ExactTop + 1;
  e.FindKroneckerSplit();
  if (e.Split.SplitResult == Engine::kFactorStored) {
    for (int i = 0; i <= e.Dense.ImageDegree; ++i) e.Dense.Cofactor[i] = e.Dense.Image[i];
    e.Dense.CofactorDegree = e.Dense.ImageDegree;
    return false;
  }
  e.Dense.StoredCount = static_cast<int16_t>(k);
  e.Dense.StoreFill = 0;
  for (int J = 1; J <= k; ++J) {
    // Factor f >= J: copying front to back never overwrites one still to copy.
    const int f = ToInt(e.Order.SelectionItem[e.Order.SelectionIndex[J]]);
    const int d = ToInt(e.Dense.FactorDegree[f]);
    const int s = ToInt(e.Dense.FactorEnd[f] - d - 1);
    const int fill = ToInt(e.Dense.StoreFill);
    for (int i = 0; i <= d; ++i) e.Dense.FactorStore[fill + i] = e.Dense.FactorStore[s + i];
    e.Dense.StoreFill = e.Dense.StoreFill + d + 1;
    e.Dense.FactorEnd[J] = e.Dense.StoreFill;
    e.Dense.FactorDegree[J] = static_cast<float>(d);
  }
  return true;
}

}  // namespace

// Subsets of 1..SelectionTop of the sizes SelectionStart..SelectionTop - 1.
// Mode 1 evaluates every order of the variables for the first size and
// returns; mode 2 tests the product of the image with each subset of stored
// factors and returns at the first that splits (SplitResult kSplitFound), else
// with SplitResult kFactorStored and Cofactor = Image.
void Engine::SubsetSearch() {
  ConsoleEnd();
  const int n = Order.SelectionTop;
  EnsureSize(Order.SelectionItem, n + 3);
  EnsureSize(Order.SelectionIndex, n + 3);
  EnsureSize(Order.SelectionLimit, n + 3);
  for (int j = 1; j <= n; ++j) Order.SelectionItem[j] = static_cast<float>(j);
  for (int k = Order.SelectionStart; k <= n - 1; ++k) {
    Order.SubsetSize = static_cast<int16_t>(k);
    Binomial();
    // More subsets of one size than a 16-bit count holds are not enumerated.
    if (Order.SubsetCount == 0) continue;
    if (Order.SubsetMode == SubsetUse::kVariableOrder) GeneratePermutations();
    for (int c = 1; c <= k; ++c) {
      Order.SelectionLimit[c] = static_cast<int16_t>(n - k + c);
      Order.SelectionIndex[c] = static_cast<int16_t>(c);
    }
    if (Order.SubsetMode == SubsetUse::kStoredFactors) MultiplySelection(*this, k);
    ConsoleEnd();
    if (Order.SubsetMode == SubsetUse::kVariableOrder) {
      Order.BestSpread = kNoOrderYet;
      EvaluateAllOrders();
      return;
    }
    if (SubsetSplits(*this, k)) return;
    console_.NextPrintZone();
    Order.SelectionLimit[k + 1] = 0;
    Order.SelectionIndex[k + 1] = 0;
    for (int left = Order.SubsetCount - 1; left > 0 && AdvanceSelection(*this, k); --left) {
      MultiplySelection(*this, k);
      if (SubsetSplits(*this, k)) return;
    }
  }
}

// The order of the variables for the search. An order is used only when its
// weights and codes fit in 16 bits; when no order does, the run stops, or
// with the exact factoriser ends as a stopped search does.
void Engine::ChooseVariableOrder() {
  Order.SubsetMode = SubsetUse::kVariableOrder;
  const int variables = ToInt(Terms.VariableCount);
  EnsureSize(Order.BestOrder, variables + 1);
  EnsureSize(Order.BestWeight, variables + 1);
  EnsureSize(Order.CodeOrder, variables + 1);
  SubsetSearch();
  if (Order.BestSpread == kNoOrderYet && Exact.HasFactoriser()) {
    Go(&Engine::EndAtEncodingLimit);
  } else if (Order.BestSpread == kNoOrderYet) {
    StopRun(kEncodingLimitMessage,
            "Stopped: the substitution exponents exceed 32767 under every variable order.");
  }
}

void Engine::CombineStoredFactors() {
  Order.SubsetMode = SubsetUse::kStoredFactors;
  SubsetSearch();
}

// SubsetCount = C(SelectionTop, SubsetSize) and OrderCount = SubsetSize!, both
// formed in floats from the smallest factor up. A count beyond 16 bits leaves
// SubsetCount 0 (no subset of that size is enumerated).
void Engine::Binomial() {
  const int n = Order.SelectionTop;
  const int k = Order.SubsetSize;
  float p = 1;
  for (int i = n - k + 1; i <= n; ++i) p = p * static_cast<float>(i);
  float f = 1;
  for (int i = 2; i <= k; ++i) f = f * static_cast<float>(i);
  const float count = RoundHalfEven(p / f);
  Order.SubsetCount = count <= kLargestCode ? static_cast<int16_t>(count) : 0;
  Order.OrderCount = f;
}

// Every order of 1..k into Permutations. From the orders of 1..U-1, each gives
// itself with U appended, then that row with U exchanged in turn with each
// earlier position (for k = 3: 1 2 3, 3 2 1, 1 3 2, 2 1 3, 3 1 2, 2 3 1). The
// list is kept while k stays the same.
void Engine::GeneratePermutations() {
  const int k = Order.SubsetSize;
  if (!Order.Permutations.empty() && static_cast<int>(Order.Permutations.front().size()) == k) return;
  FloatTable row(static_cast<size_t>(k) + 1);  // [1..U] the order being built
  std::vector<std::vector<float>> rows(1);
  if (k >= 1) rows[0] = {1};
  for (int U = 2; U <= k; ++U) {
    std::vector<std::vector<float>> next;
    next.reserve(rows.size() * U);
    auto emit = [&] { next.emplace_back(row.begin() + 1, row.begin() + U + 1); };
    for (const std::vector<float>& shorter : rows) {
      std::copy(shorter.begin(), shorter.end(), row.begin() + 1);
      row[U] = static_cast<float>(U);
      emit();
      for (int J = 1; J <= U - 1; ++J) {
        std::swap(row[J], row[U]);
        emit();
        std::swap(row[J], row[U]);
      }
    }
    rows = std::move(next);
  }
  Order.Permutations = std::move(rows);
}

// Each order in turn: its numbers fill CodeOrder[k] down to CodeOrder[1] (the
// last becomes the main variable), and each weight is the previous one times
// (the previous variable's degree + 1).
void Engine::EvaluateAllOrders() {
  const int k = Order.SubsetSize;
  Order.CodeOrder[0] = 0;
  const long orders = std::min<long>(static_cast<long>(Order.OrderCount), static_cast<long>(Order.Permutations.size()));
  for (long o = 0; o < orders; ++o) {
    const std::vector<float>& order = Order.Permutations[o];
    for (int b = 0; b < k; ++b) Order.CodeOrder[k - b] = order[b];
    Terms.Weight[0] = 1;
    bool fits = true;
    for (int b = 1; b <= k && fits; ++b) {
      const float w = RoundHalfEven((Terms.TargetDegree[ToInt(Order.CodeOrder[b - 1])] + 1) * Terms.Weight[b - 1]);
      fits = w <= kLargestCode;
      if (fits) Terms.Weight[b] = static_cast<int16_t>(w);
    }
    if (fits) EvaluateOrder();
  }
}

// The codes of the terms under the order in CodeOrder and Weight; their spread
// replaces the best so far only when strictly smaller. An order under which a
// code leaves 16 bits is passed over.
void Engine::EvaluateOrder() {
  ComputeTermCodes();
  const int terms = ToInt(Terms.TermCount);
  float hi = Terms.TermCode[1];
  float lo = Terms.TermCode[1];
  for (int t = 1; t <= terms; ++t) {
    if (Terms.TermCode[t] > kLargestCode) return;
    hi = std::max(hi, Terms.TermCode[t]);
    lo = std::min(lo, Terms.TermCode[t]);
  }
  Dense.ImageDegree = ToInt16(hi - lo);
  if (Dense.ImageDegree < Order.BestSpread) {
    Order.BestSpread = Dense.ImageDegree;
    const int variables = ToInt(Terms.VariableCount);
    for (int i = 1; i <= variables; ++i) {
      Order.BestOrder[i] = Order.CodeOrder[i];
      Order.BestWeight[i] = Terms.Weight[i];
    }
  }
}

// TermCode[t] = the sum over positions b of the exponent of variable
// CodeOrder[b] times Weight[b].
void Engine::ComputeTermCodes() {
  const int terms = ToInt(Terms.TermCount);
  const int variables = ToInt(Terms.VariableCount);
  for (int t = 1; t <= terms; ++t) {
    float code = 0;
    for (int b = 1; b <= variables; ++b) code = code + Terms.Exponent[t][ToInt(Order.CodeOrder[b])] * Terms.Weight[b];
    Terms.TermCode[t] = code;
  }
}

}  // namespace pfac
