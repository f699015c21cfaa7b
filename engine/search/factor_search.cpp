// The factor search. The polynomial's image in one indeterminate t (its terms
// laid out by their substitution codes) is searched degree by degree for a
// factor g = g0 + g1 t + ... + gk t^k with integer coefficients: the constant
// pairs (g0, h0) run over the divisors of a0, and level i solves
// h0 gi + g0 hi = ci for the next coefficient pair of g and of its cofactor h,
// depth first, within the bounds B_i (for g) and H (for h). A complete
// candidate is divided out of the image from the low end and handed to the
// candidate check, which splits the polynomial when it is a factor.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>

#include "engine/engine.h"

namespace pfac {

namespace {

// Divisor counts of integers up to 16,777,216 stay below 1024; the pair tables
// are sized for that once, so that no constant term of a later pass overflows.
constexpr int kPairCapacity = 1024 + 2;

// The bounds of the search. B bounds the trial factor's inner coefficients: it
// is L, the largest coefficient, while L and the degree n are small, and else
// the rounded square root of L, which the inner coefficients of a factor seldom
// pass.
constexpr float kSmallCoefficient = 8;  // the largest L for which B = L
constexpr int kSmallDegree = 12;        // the highest n for which B = L
constexpr int kNarrowBoundDegree = 17;  // below it a B of 1 becomes 2: low degrees can afford the wider walk
// H bounds the cofactor's coefficients: (4 - floor(n / 30)) L, at least L and
// at least 3.
constexpr float kCofactorMultiple = 4;       // H is this many times L on low degrees
constexpr float kCofactorDegreeStep = 30;    // one multiple of L less every 30 degrees
constexpr float kSmallestCofactorCap = 3;    // the cap of H is never below 3
// ReduceBound caps B above these degrees of the image: the number of
// candidates grows as B to the power of the degree.
constexpr int kModerateDegree = 19;   // above it a B beyond 8 is halved, then capped at 8
constexpr float kModerateCap = 8;
constexpr int kHighDegree = 29;       // above it B is at most 4
constexpr float kHighCap = 4;
constexpr int kHigherDegree = 39;     // above it B is at most 3
constexpr float kHigherCap = 3;
constexpr int kHighestDegree = 49;    // above it B is at most 2
constexpr float kHighestCap = 2;
// Trial degrees at which the bounds tighten as the search goes deeper.
constexpr int kReduceFromDegree = 5;  // B is reduced for the image's degree from this trial degree on
constexpr int kCapFromDegree = 9;     // H is capped at max(L, 3) from this trial degree on
// A first pass that found nothing in this many minutes searches only the top
// degree from then on (the late switch).
constexpr float kLateSwitchMinutes = 2;

float Magnitude(float v) { return std::fabs(v); }

}  // namespace

void Engine::SizeSearchTables(int n) {
  const int m = n / 2;
  const bool fresh = Pass.SecondPass == 0;
  auto size = [fresh](auto& table, size_t entries) {
    if (fresh) {
      table.assign(entries, {});
    } else if (table.size() < entries) {
      table.resize(entries);
    }
  };
  for (FloatTable* table : {&Dense.Image, &Dense.Cofactor, &Dense.Trial, &Dense.PassImage, &Dense.Scratch}) {
    size(*table, n + 1);
  }
  for (FloatTable* table : {&Search.UpTrial, &Search.UpCofactor, &Search.DownTrial, &Search.DownCofactor}) {
    size(*table, m + 1);
  }
  size(Search.WalkerSide, m + 1);
  size(Search.LevelBound, m + 1);
  size(Search.PairTrialConst, kPairCapacity);
  size(Search.PairCofactorConst, kPairCapacity);
  // The factor store and the selection tables of its combinations; the
  // printers load the terms of each printed factor into the term table.
  AllocateStoreTables();
  EnsureTermRows(n + 2);
}

// Tables by the degree of the image; on the first pass they are created empty,
// later passes keep them (growing them if a new variable order needs more).
void Engine::AllocateSearchTables() {
  if (Exact.HasFactoriser() && Pass.SecondPass == 0) Exact.TakeInputAtFirstSearch(ExactTables(), Dense.ImageDegree);
  SizeSearchTables(Dense.ImageDegree);
  Go(&Engine::BuildImage);
}

// Lays the terms out as the dense vector of the image (in Cofactor first).
void Engine::BuildImage() {
  const int n = Dense.ImageDegree;
  const int terms = ToInt(Terms.TermCount);
  // Bubble sort by code, carrying the coefficients; equal codes keep their order.
  for (int pass = 1; pass <= terms - 1; ++pass) {
    for (int j = 2; j <= terms - pass + 1; ++j) {
      if (Terms.TermCode[j] < Terms.TermCode[j - 1]) {
        std::swap(Terms.TermCode[j], Terms.TermCode[j - 1]);
        std::swap(Terms.Numerator[j], Terms.Numerator[j - 1]);
      }
    }
  }
  auto index = [&](float code) {
    int i = ToInt(code - Terms.TermCode[1]);
    if (i < 0 || i > n) throw RangeStop{"内部错误: 项的代码超出范围. (internal fault: a term code is out of range.)",
                                        "Stopped: internal fault."};
    return i;
  };
  Dense.Cofactor[n] = Terms.Numerator[terms];
  for (int t = terms - 1; t >= 1; --t) {
    const int low = index(Terms.TermCode[t]);
    const int gap = ToInt(Terms.TermCode[t + 1] - Terms.TermCode[t]) - 1;
    for (int j = 1; j <= gap; ++j) Dense.Cofactor[low + j] = 0;
    Dense.Cofactor[low] = Terms.Numerator[t];
  }
  Split.CodeOffset = Terms.TermCode[1];
  Split.DenseOffset = ToInt16(Split.CodeOffset);
  Split.DenseTop = static_cast<int16_t>(n);
  Dense.PassDegree = static_cast<int16_t>(n);
  Dense.StoredCount = 0;
  Dense.StoreFill = 0;
  if (Pass.SecondPass == 0) {
    // The term table now receives the terms of each printed factor.
    Terms.Exponent.Create(n + 2, kVariableColumns);
    Terms.Numerator.assign(n + 2, 0.0f);
    Terms.TermCode.assign(n + 2, 0.0f);
  }
  Go(&Engine::NormaliseSign);
}

void Engine::NormaliseSign() {
  const int n = Dense.ImageDegree;
  ConsoleEnd();
  if (Pass.SecondPass == 0 && Dense.Cofactor[n] < 0) {
    Report.SignText = "-";
    for (int i = 0; i <= n; ++i) Dense.Cofactor[i] = -Dense.Cofactor[i];
  } else if (Terms.TermCount == 2 || Terms.TermCount == 3) {
    if (Dense.Cofactor[n] < 0) {
      for (int i = 0; i <= n; ++i) Dense.Cofactor[i] = -Dense.Cofactor[i];
      Report.SignFactor = -Report.SignFactor;
    }
  }
  for (int i = 0; i <= n; ++i) {
    Dense.PassImage[i] = Dense.Cofactor[i];
    Dense.Image[i] = Dense.Cofactor[i];
  }
  Go(&Engine::OpenReport);
}

// The line of jg.dat that shows the polynomial after its common factor (only
// before anything was tested in this run), and the polynomial on the console.
void Engine::OpenReport() {
  Report.FileEcho = 1;
  if (Split.SplitResult == kNothingTested) {
    Report.FileEcho = 0;
    ResultEnd();
    ResultText("=");
    ConsoleEnd();
    ConsoleText("=");
    PrintCommonFactor();
  }
  PrintDenseFactor();
  ConsoleEnd();
  SetTargetDegrees();
  Go(&Engine::TrySpecialForms);
}

void Engine::TrySpecialForms() {
  if (Terms.TermCount == 2) FactorSpecialBinomial();
  if (Terms.TermCount == 3 && !Diverted()) FactorSquareTrinomial();
  if (Diverted()) return;
  if (Report.SignFactor == -1) {
    for (int i = 0; i <= Dense.ImageDegree; ++i) {
      Dense.Cofactor[i] = -Dense.Cofactor[i];
      Dense.PassImage[i] = -Dense.PassImage[i];
      Dense.Image[i] = -Dense.Image[i];
    }
    Report.SignFactor = 1;
  }
  Go(&Engine::PreCheckSumFactors);
}

void Engine::PreCheckSumFactors() {
  const int n = Dense.ImageDegree;
  if (n == 1) {
    Go(&Engine::EndOfSearch);
    return;
  }
  if (Search.SumFactorsTried == 0 && n > 15 && Split.CodeOffset > 0 &&
      Terms.Weight[ToInt(Terms.VariableCount)] < n) {
    TryVariableSumFactors();
    if (Split.SplitResult == kSplitFound) {
      Go(&Engine::ReportFactorisation);
      return;
    }
    Search.SumFactorsTried = 1;
  }
  Search.StartDegree = Pass.ResumeDegree;
  Go(&Engine::StartPass);
}

void Engine::StartPass() {
  // A polynomial that the exact factorisation, already at hand, proves
  // irreducible is not searched.
  if (Exact.ProvesIrreducible(ExactTables())) {
    Go(&Engine::EndSearchProvedIrreducible);
    return;
  }
  EisensteinTest();
  if (Diverted()) return;
  Go(&Engine::ComputeSearchBounds);
}

// B for the trial factor's inner coefficients and H for the cofactor's, from
// the largest coefficient L (the constant term aside) and the degree.
void Engine::ComputeSearchBounds() {
  const int n = Dense.ImageDegree;
  float L = 0;
  for (int i = 1; i <= n; ++i) L = std::max(L, Magnitude(Dense.Image[i]));
  Search.LargestCoefficient = L;
  float B = L;
  if (L > kSmallCoefficient || n > kSmallDegree) B = Floor(std::sqrt(L) + 0.5f);
  if (std::sqrt(Magnitude(Dense.Image[0])) + 0.1f - B > 1) B = B + 1;
  if (n < kNarrowBoundDegree && B == 1) B = 2;
  Search.CofactorBoundCap = L < kSmallestCofactorCap ? kSmallestCofactorCap : L;
  Search.InitialCoefficientBound = B;
  Search.CoefficientBound = B;
  float H = (kCofactorMultiple - Floor(static_cast<float>(n) / kCofactorDegreeStep)) * L;
  if (H < Search.CofactorBoundCap) H = Search.CofactorBoundCap;
  Search.CofactorBound = H;
  Go(&Engine::ApplyRetryBounds);
}

void Engine::ApplyRetryBounds() {
  if (Search.LargestCoefficient / Search.CoefficientBound > Search.CofactorBound) {
    Search.CofactorBound = Floor(Search.LargestCoefficient / Search.CoefficientBound) + 1;
  }
  ShowRunningLine();
  Go(&Engine::PrepareDegreeBounds);
}

void Engine::PrepareDegreeBounds() {
  const int n = Dense.ImageDegree;
  Dense.Trial[0] = Magnitude(Dense.Image[0]);
  Search.LeadMagnitude = Magnitude(Dense.Image[n]);
  if (Search.StartDegree > kReduceFromDegree) {
    if (Search.RetryMark == kRetryAsked) {
      Search.RetryMark = kRetryTaken;
    } else {
      ReduceBound();
    }
  }
  for (int i = 1; i <= Search.StartDegree - 2; ++i) Search.LevelBound[i] = ToInt(Search.CoefficientBound);
  Search.TopBound = ToInt(Search.LeadMagnitude > Search.CoefficientBound ? Search.LeadMagnitude : Search.CoefficientBound);
  if (Search.StartDegree > kCapFromDegree) {
    ShowWaitingMessageBeforeLoop();
    Search.CofactorBound = std::min(Search.CofactorBound, Search.CofactorBoundCap);
  }
  Go(&Engine::ListConstantPairs);
}

// B shrinks with the degree: the number of candidates grows as B to the power
// of the degree.
void Engine::ReduceBound() {
  const int n = Dense.ImageDegree;
  float& B = Search.CoefficientBound;
  if (n > kHighestDegree) {
    B = std::min(B, kHighestCap);
  } else if (n > kHigherDegree) {
    B = std::min(B, kHigherCap);
  } else if (n > kHighDegree) {
    B = std::min(B, kHighCap);
  } else if (n > kModerateDegree && B > kModerateCap) {
    B = Floor(B / 2);
    B = std::min(B, kModerateCap);
  }
}

// The pairs (g0, h0 = a0 / g0) over the positive divisors g0 of a0, g0
// decreasing from |a0| to 1; the first pair is put in place at once.
void Engine::ListConstantPairs() {
  const float a0 = Dense.Image[0];
  const float size = Magnitude(a0);
  Search.PairGcd = 1;
  Search.TrialStep = size;
  Search.CofactorStep = a0 / size;
  Dense.Cofactor[0] = a0 / size;
  Search.PairCount = 0;
  if (size > kExactLimit) {
    throw RangeStop{"常数项超过 16777216. (The constant term exceeds 16777216.)",
                    "Stopped: the constant term exceeds 16777216."};
  }
  // The divisors come from a walk up to the square root, listed large to
  // small: the same list as trying every d from |a0| down, without the
  // |a0| trials.
  const int64_t magnitude = static_cast<int64_t>(size);
  int64_t root = 1;
  while ((root + 1) * (root + 1) <= magnitude) ++root;
  auto store = [&](int64_t d) {
    ++Search.PairCount;
    Search.PairTrialConst[Search.PairCount] = static_cast<float>(d);
    Search.PairCofactorConst[Search.PairCount] = a0 / static_cast<float>(d);
  };
  for (int64_t d = 1; d <= root; ++d) {
    if (magnitude % d == 0 && magnitude / d != d) store(magnitude / d);
  }
  for (int64_t d = root; d >= 1; --d) {
    if (magnitude % d == 0) store(d);
  }
  Search.PairCount = static_cast<int16_t>(Search.PairCount + 1);
  Search.PairIndex = 1;
  Go(&Engine::SearchDegrees);
}

void Engine::SearchDegrees() {
  Search.Level = 1;
  Search.SnapshotTaken = 0;
  Search.ValueLimitPassed = 0;
  Search.MaxTrialDegree = static_cast<int16_t>(Dense.ImageDegree / 2);
  StartSearchClock();
  if (Exact.HasFactoriser()) Exact.SearchBegins(clock_.Milliseconds());
  Dense.TrialDegree = Search.StartDegree;
  // Once a pass has taken its factor from the exact factorisation, the
  // factors are known: a later pass takes its own before it searches.
  if (Exact.TakesAtOnce()) {
    LookForExactResult();
    if (Diverted()) return;
  }
  Go(&Engine::EnterDegree);
}

void Engine::EnterDegree() {
  int k = Dense.TrialDegree;
  if (k > Search.MaxTrialDegree) {
    Go(&Engine::EndOfSearch);
    return;
  }
  ConsoleText(" *   ");
  if (k == kReduceFromDegree) {
    if (Search.RetryMark == kRetryAsked) {
      Search.RetryMark = kRetryTaken;
    } else {
      ReduceBound();
      for (int i = 1; i <= Search.StartDegree - 2; ++i) Search.LevelBound[i] = ToInt(Search.CoefficientBound);
      Search.TopBound = ToInt(std::max(Search.LeadMagnitude, Search.CoefficientBound));
    }
  }
  const int32_t bound = ToInt(Search.CoefficientBound);
  Search.LevelBound[k] = Search.TopBound;
  Search.LevelBound[k - 1] = bound;
  Search.LevelBound[Search.MaxTrialDegree] = ToInt(Search.LeadMagnitude);
  // After two minutes without a factor the first pass searches only the
  // highest degree, with zero leading coefficients allowed.
  if (Pass.SecondPass == 0 && Dense.StoredCount == 0 && Search.MaxTrialDegree > k && ElapsedBeyond(kLateSwitchMinutes)) {
    Pass.LateMode = 1;
    k = Search.MaxTrialDegree;
    Dense.TrialDegree = Search.StartDegree = static_cast<int16_t>(k);
    ConsoleText("*");
    ConsoleEnd();
    for (int i = 1; i <= k - 1; ++i) Search.LevelBound[i] = bound;
  }
  if (k == kCapFromDegree) {
    Search.CofactorBound = std::min(Search.CofactorBound, Search.CofactorBoundCap);
    ShowWaitingMessageAtNine();
  }
  Go(&Engine::SolveLevel);
}

// The first solution of level i: from g = -B_i upward to the first integral h,
// then toward |h| <= H, then to g >= 0.
void Engine::SolveLevel() {
  ++levelsSolved_;
  const int i = Search.Level;
  const float g0 = Dense.Trial[0];
  const float h0 = Dense.Cofactor[0];
  // c_i, the right-hand side of the level's equation h0 g + g0 h = c_i.
  float residual = Dense.Image[i];
  for (int m = i - 1; m >= 1; --m) residual = residual - Dense.Cofactor[m] * Dense.Trial[i - m];
  PollInterruption();
  if (Diverted()) return;
  const float bound = static_cast<float>(Search.LevelBound[i]);
  const float H = Search.CofactorBound;
  float g = -bound;
  float h;
  if (g0 == 1) {
    h = residual - g * h0;
  } else {
    if (!IsWhole(residual / Search.PairGcd)) {
      Backtrack();
      return;
    }
    residual = residual - g * h0;
    for (;;) {
      Dense.Trial[i] = g;
      h = residual / g0;
      if (IsWhole(h)) break;
      residual = residual - h0;
      g = g + 1;
      if (g > bound) {
        Backtrack();
        return;
      }
    }
  }
  if (Magnitude(h) > H) {
    const float remembered = Magnitude(h);
    g = g + Search.TrialStep;
    h = h - Search.CofactorStep;
    if (Magnitude(h) > remembered) {
      Backtrack();  // the line leads away from |h| <= H
      return;
    }
    for (;;) {
      if (g > bound) {
        Backtrack();
        return;
      }
      if (Magnitude(h) <= H) break;
      g = g + Search.TrialStep;
      h = h - Search.CofactorStep;
    }
  }
  while (g < 0) {
    g = g + Search.TrialStep;
    h = h - Search.CofactorStep;
  }
  Dense.Trial[i] = g;
  Dense.Cofactor[i] = h;
  Search.WalkerSide[i] = kWalkerUp;
  Search.UpTrial[i] = Search.DownTrial[i] = g;
  Search.UpCofactor[i] = Search.DownCofactor[i] = h;
  TakeSolution();
}

// With g0 = 1 the top coefficient of the trial factor also stays within
// |a_n|; otherwise the solution just taken is accepted as it is.
void Engine::TakeSolution() {
  if (Dense.Trial[0] == 1 && Search.Level == Dense.TrialDegree) {
    if (Dense.Trial[Search.Level] < -Search.LeadMagnitude) {
      Backtrack();
      return;
    }
    if (Dense.Trial[Search.Level] > Search.LeadMagnitude) {
      Go(&Engine::NextSolution);
      return;
    }
  }
  Advance();
}

void Engine::Advance() {
  Search.Level = static_cast<int16_t>(Search.Level + 1);
  Go(Search.Level > Dense.TrialDegree ? &Engine::CandidateComplete : &Engine::SolveLevel);
}

// The next solution of level i, taken alternately below and above the first
// one; the level ends when the downward walker passes -B_i.
void Engine::NextSolution() {
  const int i = Search.Level;
  const float bound = static_cast<float>(Search.LevelBound[i]);
  const float H = Search.CofactorBound;
  bool down = Search.WalkerSide[i] == kWalkerUp;
  for (;;) {
    if (down) {
      Search.DownTrial[i] = Search.DownTrial[i] - Search.TrialStep;
      Search.DownCofactor[i] = Search.DownCofactor[i] + Search.CofactorStep;
      if (Search.DownTrial[i] < -bound) {
        Backtrack();
        return;
      }
      if (Magnitude(Search.DownCofactor[i]) <= H) {
        Dense.Trial[i] = Search.DownTrial[i];
        Dense.Cofactor[i] = Search.DownCofactor[i];
        Search.WalkerSide[i] = kWalkerDown;
        TakeSolution();
        return;
      }
      down = false;
    } else {
      Search.UpTrial[i] = Search.UpTrial[i] + Search.TrialStep;
      Search.UpCofactor[i] = Search.UpCofactor[i] - Search.CofactorStep;
      if (Search.UpTrial[i] <= bound && Magnitude(Search.UpCofactor[i]) <= H) {
        Dense.Trial[i] = Search.UpTrial[i];
        Dense.Cofactor[i] = Search.UpCofactor[i];
        Search.WalkerSide[i] = kWalkerUp;
        TakeSolution();
        return;
      }
      down = true;
    }
  }
}

void Engine::Backtrack() {
  Search.Level = static_cast<int16_t>(Search.Level - 1);
  Go(Search.Level >= 1 ? &Engine::NextSolution : &Engine::NextPair);
}

void Engine::NextPair() {
  Search.PairIndex = static_cast<int16_t>(Search.PairIndex + 1);
  if (Search.PairIndex >= Search.PairCount) {
    Go(Search.SnapshotTaken == 1 ? &Engine::RestoreSnapshot : &Engine::EndOfSearch);
    return;
  }
  const float g0 = Search.PairTrialConst[Search.PairIndex];
  const float h0 = Search.PairCofactorConst[Search.PairIndex];
  Dense.Trial[0] = g0;
  Dense.Cofactor[0] = h0;
  // g0 and h0 are integers within the exact range, as is their gcd.
  Search.PairGcd = static_cast<float>(std::gcd(static_cast<int64_t>(g0), static_cast<int64_t>(h0)));
  Search.TrialStep = std::trunc(g0 / Search.PairGcd);
  Search.CofactorStep = std::trunc(h0 / Search.PairGcd);
  Search.Level = 0;
  Advance();
}

void Engine::CandidateComplete() {
  // A walk along the top level can take many candidates between two levels:
  // the poll here keeps the X key and the time limit prompt.
  PollInterruption();
  if (Diverted()) return;
  int k = Dense.TrialDegree;
  if (Search.SnapshotTaken == 0) {
    TakeSnapshot();
    Search.SnapshotTaken = 1;
  }
  Search.SavedTrialDegree = static_cast<int16_t>(k);
  if (Pass.LateMode == 1 && Search.StartDegree == k && Dense.Trial[k] == 0) {
    int j = k - 1;
    while (j >= 1 && Dense.Trial[j] == 0) --j;
    if (j >= 1) {
      Dense.TrialDegree = static_cast<int16_t>(j);
      Go(&Engine::VerifyCandidate);
    } else {
      Search.Level = Search.SavedTrialDegree;
      Go(&Engine::NextSolution);
    }
    return;
  }
  if (Dense.Trial[k] == 0) {
    if (Dense.Cofactor[k] == 0 || Dense.Trial[0] == 1) {
      Search.Level = static_cast<int16_t>(k);
      Go(&Engine::NextSolution);
    } else {
      Go(&Engine::MirrorCheck);
    }
    return;
  }
  Go(&Engine::VerifyCandidate);
}

// quotient[k+1 .. n-k] := Image / factor, from the low end: false as soon as a
// value passes 3,000,000, a quotient is not integral, or the last one is not
// lead (a_n over the factor's leading coefficient). quotient[0..k] holds the
// cofactor's low part that the levels found. A factor with constant term 1
// needs no division (the quotient is the value itself).
inline bool Engine::DivideImageFromLow(const FloatTable& factor, FloatTable& quotient, float lead) {
  const int n = Dense.ImageDegree;
  const int k = Dense.TrialDegree;
  const float constant = factor[0];
  const float* image = Dense.Image.data();
  const float* f = factor.data();
  float* q = quotient.data();
  for (int i = k + 1; i <= n - k; ++i) {
    float value = image[i];
    for (int j = 1; j <= k; ++j) {
      value = value - q[i - j] * f[j];
      if (Magnitude(value) > kDivisionValueLimit) {
        Search.ValueLimitPassed = 1;
        return false;
      }
    }
    if (constant == 1) {
      q[i] = value;
    } else {
      q[i] = value / constant;
      if (!IsWhole(q[i])) return false;
    }
  }
  return q[n - k] == lead;
}

// A candidate that divides the image is multiplied back in exact integers
// before it counts (see CheckProduct), unless its numbers are small enough
// that no float operation of the division or of the candidate check can have
// been rounded; then the candidate check has the last word. False when the
// product shows that the float division lied.
bool Engine::HandOnCandidate(const FloatTable& factor, const FloatTable& quotient, Step check) {
  const int n = Dense.ImageDegree;
  const int k = Dense.TrialDegree;
  double largestFactor = 0, largestQuotient = 0, largestImage = 0;
  for (int j = 0; j <= k; ++j) largestFactor = std::max(largestFactor, double{Magnitude(factor[j])});
  for (int i = 0; i <= n - k; ++i) largestQuotient = std::max(largestQuotient, double{Magnitude(quotient[i])});
  for (int i = 0; i <= n; ++i) largestImage = std::max(largestImage, double{Magnitude(Dense.Image[i])});
  const bool floatsExact = largestImage + (k + 1) * largestFactor * largestQuotient < kExactLimit;
  ProductCheck result = floatsExact ? ProductCheck::kExact : CheckProduct(factor, k, quotient);
  if (result == ProductCheck::kLowerPartDiffers) return false;
  if (result == ProductCheck::kExact) {
    // Past the value limit, a factor of lower degree may have been passed over.
    if (Search.ValueLimitPassed == 1 && Exact.CandidateWaitsForFactorisation(ExactTables(), k)) {
      LookForExactResult();
      if (Diverted()) return true;
    }
    if (Exact.LowerFactorKnown(ExactTables(), k)) {
      Go(&Engine::HandOverExactFactor);
      return true;
    }
    (this->*check)();
    // A mirrored check that passes has exchanged Trial and Cofactor.
    Search.MirrorUsed = check == &Engine::CheckAndSplitMirrored && Split.SplitResult != kNotAFactor ? 1 : 0;
  } else {
    Search.MirrorUsed = 0;
    Split.SplitResult = kNotAFactor;  // what the check of the upper coefficients finds
  }
  Go(&Engine::HandleOutcome);
  return true;
}

// Divides the image by the candidate from the low end; the quotient must be
// integral, stay within 3,000,000 on the way, and end in a_n / g_k. (With
// g0 = 1 the division is by 1 and the lead test only rejects earlier what the
// last test would reject.) A rejected candidate is tried from the cofactor's
// side when h_k is not 0, except with g0 = 1.
void Engine::VerifyCandidate() {
  const int k = Dense.TrialDegree;
  const float cofactorLead = Dense.Image[Dense.ImageDegree] / Dense.Trial[k];  // a_n / g_k
  Search.MirrorUsed = 0;
  if (IsWhole(cofactorLead) && DivideImageFromLow(Dense.Trial, Dense.Cofactor, cofactorLead) &&
      HandOnCandidate(Dense.Trial, Dense.Cofactor, &Engine::CheckAndSplitFactor)) {
    return;
  }
  if (Dense.Cofactor[k] == 0 || Dense.Trial[0] == 1) {
    if (Pass.LateMode == 1) Dense.TrialDegree = Search.SavedTrialDegree;
    Search.Level = Dense.TrialDegree;
    Go(&Engine::NextSolution);
    return;
  }
  Go(&Engine::MirrorCheck);
}

// Tries the cofactor's low part h0..hk as the factor of degree k.
void Engine::MirrorCheck() {
  const int k = Dense.TrialDegree;
  const float mirrorLead = Dense.Image[Dense.ImageDegree] / Dense.Cofactor[k];  // a_n / h_k
  if (IsWhole(mirrorLead) && DivideImageFromLow(Dense.Cofactor, Dense.Trial, mirrorLead) &&
      HandOnCandidate(Dense.Cofactor, Dense.Trial, &Engine::CheckAndSplitMirrored)) {
    return;
  }
  if (Pass.LateMode == 1) Dense.TrialDegree = Search.SavedTrialDegree;
  Search.Level = Dense.TrialDegree;
  Go(&Engine::NextSolution);
}

void Engine::HandleOutcome() {
  if (Pass.LateMode == 1) Dense.TrialDegree = Search.SavedTrialDegree;
  const int k = Dense.TrialDegree;
  if (Split.SplitResult == kNotAFactor) {
    Search.Level = static_cast<int16_t>(k);
    Go(&Engine::NextSolution);
  } else if (Split.SplitResult == kFactorStored) {
    Pass.ResumeDegree = static_cast<int16_t>(k);
    if (Pass.LateMode == 1) {
      if (Search.MirrorUsed == 1) {
        for (int i = 0; i <= k; ++i) std::swap(Dense.Trial[i], Dense.Cofactor[i]);
        Search.MirrorUsed = 0;
      }
      Search.Level = static_cast<int16_t>(k);
      Go(&Engine::NextSolution);
    } else {
      Go(&Engine::ContinueAfterSplit);
    }
  } else {
    Go(&Engine::ReportFactorisation);
  }
}

// The state at the first complete candidate of degree k, from which degree
// k + 1 starts: levels 1..k hold that candidate.
void Engine::TakeSnapshot() {
  const int k = Dense.TrialDegree;
  Snapshot.Search = Search;
  Snapshot.Trial.assign(Dense.Trial.begin(), Dense.Trial.begin() + k + 1);
  Snapshot.Cofactor.assign(Dense.Cofactor.begin(), Dense.Cofactor.begin() + k + 1);
}

void Engine::RestoreSnapshot() {
  const int k = Dense.TrialDegree;
  Search = Snapshot.Search;
  std::copy(Snapshot.Trial.begin(), Snapshot.Trial.begin() + k + 1, Dense.Trial.begin());
  std::copy(Snapshot.Cofactor.begin(), Snapshot.Cofactor.begin() + k + 1, Dense.Cofactor.begin());
  Search.SnapshotTaken = 0;
  Dense.TrialDegree = static_cast<int16_t>(k + 1);
  Go(&Engine::EnterDegree);
}

Engine::ProductCheck Engine::CheckProduct(const FloatTable& factor, int k,
                                          const FloatTable& quotient) const {
  const int n = Dense.ImageDegree;
  const int q = n - k;
  ProductCheck result = ProductCheck::kExact;
  for (int c = 0; c <= n; ++c) {
    __int128 sum = 0;
    const int low = std::max(0, c - q);
    const int high = std::min(c, k);
    for (int j = low; j <= high; ++j) {
      const float a = factor[j];
      const float b = quotient[c - j];
      // A coefficient beyond 16,777,216 could be written only rounded: such a
      // candidate counts as one whose floats lied.
      if (a != std::floor(a) || b != std::floor(b) || std::fabs(a) > kExactLimit || std::fabs(b) > kExactLimit) {
        return ProductCheck::kLowerPartDiffers;
      }
      sum += static_cast<__int128>(static_cast<int64_t>(a)) * static_cast<int64_t>(b);
    }
    if (sum == static_cast<__int128>(static_cast<int64_t>(Dense.Image[c]))) continue;
    if (c > q && c < n) {
      result = ProductCheck::kUpperPartDiffers;
    } else {
      return ProductCheck::kLowerPartDiffers;
    }
  }
  return result;
}

}  // namespace pfac
