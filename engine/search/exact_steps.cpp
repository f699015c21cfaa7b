// The engine's steps around the exact factoriser. The factoriser gets the
// prepared polynomial once a search has gone on for a tenth of a second, at
// once for a polynomial of high degree (or when the certificate at the end
// cannot be decided without it) and works beside the search; the search looks
// at its handle in the interruption poll:
// - a polynomial being searched that the exact factorisation proves
//   irreducible ends its search as a search of every degree would;
// - one that has been searched for a tenth of a second without a split takes
//   the exact factor of lowest degree in the image, through the same candidate
//   check as a found factor: with the lowest degree, every factor of the
//   cofactor has a degree at least as high, which is what the search assumes
//   when it goes on from the degree just found; every later pass of the run
//   then takes its factor so before it searches at all;
// - at the end of every run that reaches a result, the result is judged and
//   the verdict written as the last line of jg.dat.
// What the run knows of the factorisation is the engine's part Exact
// (engine/exact/run_state.h); the helper, its protocol and the judgement on
// plain values stay in engine/exact/.
#include <algorithm>
#include <array>
#include <cmath>

#include "engine/engine.h"
#include "engine/exact/factoriser.h"
#include "engine/result_marks.h"

namespace pfac {

namespace {

using exact::ExactState;
using exact::Known;
using exact::PassLook;
using Wide = __int128;

// A search that has gone on this long has the factoriser started: textbook
// polynomials end well before, so most runs never load it.
constexpr int64_t kExactStartMs = 100;
// A polynomial of at least this total degree has the factoriser started as
// soon as it is prepared: no search of such a degree ends within
// a tenth of a second unless it finds factors of low degree only, and the
// polynomials of a course (degree 6 at most) stay far below.
constexpr int kExactAtOnceDegree = 12;
// A polynomial searched this long without a split takes its factor from the
// exact factorisation, when that knows one (the time the factoriser's start
// already waits: whatever the search finds by itself within it stays its own).
constexpr int64_t kExactHandOverMs = kExactStartMs;
// The end of a run waits for the factoriser at most this many rounds of
// kExactWaitRoundMs (the X key ends the wait).
constexpr int kExactWaitRounds = 50;
constexpr int kExactWaitRoundMs = 100;

int64_t Abs(int64_t v) { return v < 0 ? -v : v; }

// The line that says a factor of the result came from the exact factorisation
// ("is taken" as it happens, "was taken" among the notes of the run).
std::string ExactFactorNote(const std::string& factor, const char* taken) {
  return std::string(marks::kExactNote) + factor + " / the factor " + factor + " " + taken +
         " from the exact factorisation";
}

}  // namespace

// The prepared polynomial as the search first receives it, and with it the
// polynomial entered (the rational factor and the monomial taken out). Letters
// other than a-z and coefficients that are not integral leave ExactTaken 0:
// the run then goes without the factoriser.
void Engine::TakeExactInput() {
  const int terms = ToInt(Terms.TermCount);
  const int variables = ToInt(Terms.VariableCount);
  Exact.Taken = false;
  Exact.Input = exact::Polynomial{variables, {}};
  Exact.Entered = exact::EnteredPolynomial{};
  std::string letters;
  for (int v = 1; v <= variables; ++v) {
    if (!IsPlainLetter(Terms.Letter[v])) return;
    letters += Terms.Letter[v];
  }
  for (int t = 1; t <= terms; ++t) {
    if (!IsWhole(Terms.Numerator[t]) || Terms.Numerator[t] == 0) return;
    exact::Term term{std::to_string(static_cast<int64_t>(Terms.Numerator[t])),
                     std::vector<int32_t>(static_cast<size_t>(variables))};
    for (int v = 1; v <= variables; ++v) {
      if (!IsWhole(Terms.Exponent[t][v]) || Terms.Exponent[t][v] < 0) return;
      term.exponents[v - 1] = static_cast<int32_t>(Terms.Exponent[t][v]);
    }
    Exact.Input.terms.push_back(std::move(term));
  }
  if (!IsWhole(Terms.Content) || !IsWhole(Terms.CommonDenominator) || Terms.CommonDenominator == 0) return;
  Exact.Entered.numerator = static_cast<int64_t>(Terms.Content);
  Exact.Entered.denominator = static_cast<int64_t>(Terms.CommonDenominator);
  for (int v = 1; v <= ToInt(Terms.LoadedVariableCount); ++v) {
    if (Terms.MinExponent[v] == 0) continue;
    if (!IsPlainLetter(Terms.InputLetter[v]) || !IsWhole(Terms.MinExponent[v])) return;
    Exact.Entered.monomial[Terms.InputLetter[v][0] - 'a'] += static_cast<int32_t>(Terms.MinExponent[v]);
  }
  Exact.Entered.prepared = exact::FromExact(Exact.Input, letters);
  Exact.Entered.letters = letters;
  Exact.Taken = true;
}

// At the first search of a run: the polynomial for the factoriser, which a
// polynomial of high total degree has started at once (the image's degree
// would count the weights of several variables as well).
void Engine::TakeExactInputAtFirstSearch() {
  TakeExactInput();
  int degree = 0;
  for (const exact::Term& t : Exact.Input.terms) {
    int total = 0;
    for (int32_t e : t.exponents) total += e;
    degree = std::max(degree, total);
  }
  if (degree >= kExactAtOnceDegree) StartExactFactoriser();
}

void Engine::StartExactFactoriser() {
  if (exact_->Poll() != ExactState::kIdle || !Exact.Taken || Exact.Input.variables < 1 ||
      Exact.Input.terms.empty()) {
    return;
  }
  exact_->Start(Exact.Input);
}

bool Engine::ExactReady() { return exact_ && exact_->Poll() == ExactState::kReady; }

void Engine::LookForExactResult() {
  const int64_t now = clock_.Milliseconds();
  if (exact_->Poll() == ExactState::kIdle) {
    if (Exact.FirstSearchMs >= 0 && now - Exact.FirstSearchMs >= kExactStartMs) StartExactFactoriser();
    return;
  }
  if (Exact.PassState == PassLook::kNothingToDo || !ExactReady()) return;
  if (Exact.PassState == PassLook::kNotLookedAt) {
    const Known known = ClassifyCurrentPolynomial();
    if (known == Known::kIrreducible) {
      Go(&Engine::EndSearchProvedIrreducible);
      return;
    }
    Exact.PassState = known == Known::kReducible ? PassLook::kFactorToHandOver : PassLook::kNothingToDo;
  }
  if (Exact.PassState == PassLook::kFactorToHandOver && Pass.LateMode == 0 &&
      (Exact.TakeAtOnce || now - Exact.PassSearchMs >= kExactHandOverMs)) {
    if (PrepareHandOver()) {
      Go(&Engine::HandOverExactFactor);
    } else if (PrepareKnownFactors()) {
      Go(&Engine::WriteKnownFactors);
    } else {
      Exact.PassState = PassLook::kNothingToDo;
    }
  }
}

// The polynomial of the current pass (PassImage) in its letters: each index
// stands for the code CodeOffset + i, read back through the weights.
exact::LetterPoly Engine::CurrentPolynomial() const {
  exact::LetterPoly p;
  const int offset = ToInt(Split.CodeOffset);
  for (int i = 0; i <= Dense.PassDegree; ++i) {
    if (Dense.PassImage[i] != 0) p.terms[ExponentsOfCode(offset + i)] = std::to_string(static_cast<int64_t>(Dense.PassImage[i]));
  }
  return p;
}

// Read back from the highest variable down, as UnpackDenseToTerms does.
exact::Exponents Engine::ExponentsOfCode(int code) const {
  exact::Exponents m{};
  for (int v = ToInt(Terms.VariableCount); v >= 2; --v) {
    m[Terms.Letter[v][0] - 'a'] += code / Terms.Weight[v];
    code = code % Terms.Weight[v];
  }
  m[Terms.Letter[1][0] - 'a'] += code;
  return m;
}

Known Engine::ClassifyCurrentPolynomial() {
  for (int v = 1; v <= ToInt(Terms.VariableCount); ++v) {
    if (!IsPlainLetter(Terms.Letter[v])) return Known::kNothing;
  }
  auto current = CurrentPolynomial().PrimitivePart();
  if (!current || current->terms.empty() || current->IsConstant()) return Known::kNothing;
  for (const exact::Factor& f : exact_->Result().factors) {
    if (exact::FromExact(f.polynomial, Exact.Entered.letters).SignNormalised() == *current) {
      return Known::kIrreducible;
    }
  }
  return Known::kReducible;
}

bool Engine::UnsplitKnownIrreducible() {
  if (!exact_ || !Exact.Taken) return false;
  auto current = CurrentPolynomial().PrimitivePart();
  if (!current || current->IsConstant()) return false;
  if (exact::KnownIrreducible(*current)) return true;
  return ExactReady() && ClassifyCurrentPolynomial() == Known::kIrreducible;
}

// The exact factors laid out as the image lays out the pass's polynomial:
// each term at its code under the current variable order and weights, the
// lowest code's coefficient positive, by increasing degree in the image (the
// first of the factorisation among equals). Factors in a letter that the
// pass's polynomial lacks, with a coefficient beyond the floats' exact range,
// or of more than half the pass's degree are left out.
std::vector<exact::ImageFactor> Engine::ExactFactorsInImage() {
  std::vector<exact::ImageFactor> factors;
  const int n = Dense.PassDegree;
  const int variables = ToInt(Terms.VariableCount);
  std::array<int, 26> variableOf{};
  for (int v = 1; v <= variables; ++v) {
    if (!IsPlainLetter(Terms.Letter[v])) return factors;
    variableOf[Terms.Letter[v][0] - 'a'] = v;
  }
  auto weightOf = [&](int v) { return variables <= 1 ? 1 : static_cast<int>(Terms.Weight[v]); };
  const std::string inputOrder = InputOrder();
  for (const exact::Factor& f : exact_->Result().factors) {
    const exact::LetterPoly q = exact::FromExact(f.polynomial, Exact.Entered.letters);
    std::vector<std::pair<long, int64_t>> terms;
    bool usable = true;
    for (const auto& [m, c] : q.terms) {
      long code = 0;
      for (int letter = 0; letter < 26 && usable; ++letter) {
        if (m[letter] == 0) continue;
        if (variableOf[letter] == 0) usable = false;
        else code += static_cast<long>(m[letter]) * weightOf(variableOf[letter]);
      }
      int64_t value = 0;
      if (!usable || !exact::DecimalToInt64(c, &value) || Abs(value) >= kExactLimit) {
        usable = false;
        break;
      }
      terms.push_back({code, value});
    }
    if (!usable || terms.empty()) continue;
    long low = terms[0].first, high = terms[0].first;
    for (const auto& t : terms) {
      low = std::min(low, t.first);
      high = std::max(high, t.first);
    }
    const long degree = high - low;
    if (degree < 1 || 2 * degree > n) continue;
    exact::ImageFactor factor{static_cast<int>(degree), static_cast<int>(low),
                              std::vector<int64_t>(static_cast<size_t>(degree) + 1, 0), exact::InputText(q, inputOrder)};
    for (const auto& t : terms) factor.values[t.first - low] = t.second;
    if (factor.values[0] < 0) {
      for (int64_t& v : factor.values) v = -v;
    }
    factors.push_back(std::move(factor));
  }
  std::stable_sort(factors.begin(), factors.end(),
                   [](const exact::ImageFactor& a, const exact::ImageFactor& b) { return a.degree < b.degree; });
  return factors;
}

// Of the exact factors whose image divides the pass's image, the one of
// lowest degree in the image, with its quotient. The division is exact in
// 128-bit integers, and only a factor and quotient whose products stay in the
// exact range of the floats are taken, so that the candidate check sees them
// as the search would. In several variables the degrees of factor and
// quotient in each variable must add up to the polynomial's, so that the
// quotient read back through the weights is the true one.
bool Engine::PrepareHandOver() {
  if (Exact.HandOverRefused) return false;
  const int n = Dense.PassDegree;
  const int variables = ToInt(Terms.VariableCount);
  const int offset = ToInt(Split.CodeOffset);
  // The degree in each letter of the terms at codes low + i with nonzero values.
  auto degrees = [&](const std::vector<int64_t>& values, int low) {
    exact::Exponents top{};
    for (size_t i = 0; i < values.size(); ++i) {
      if (values[i] == 0) continue;
      const exact::Exponents m = ExponentsOfCode(low + static_cast<int>(i));
      for (int letter = 0; letter < 26; ++letter) top[letter] = std::max(top[letter], m[letter]);
    }
    return top;
  };
  std::vector<int64_t> image(static_cast<size_t>(n) + 1);
  int64_t largestImage = 0;
  for (int i = 0; i <= n; ++i) {
    image[i] = static_cast<int64_t>(Dense.PassImage[i]);
    largestImage = std::max(largestImage, Abs(image[i]));
  }

  for (const exact::ImageFactor& c : ExactFactorsInImage()) {
    const int k = c.degree;
    const std::vector<int64_t>& t = c.values;
    std::vector<int64_t> q(static_cast<size_t>(n - k) + 1, 0);
    int64_t largestFactor = 0, largestQuotient = 0;
    for (int64_t v : t) largestFactor = std::max(largestFactor, Abs(v));
    bool divides = true;
    for (int i = 0; i <= n - k && divides; ++i) {
      Wide value = image[i];
      for (int j = 1; j <= std::min(i, k); ++j) value -= static_cast<Wide>(t[j]) * q[i - j];
      if (value % t[0] != 0) divides = false;
      Wide quotient = value / t[0];
      if (quotient >= kExactLimit || quotient <= -kExactLimit) divides = false;
      q[i] = static_cast<int64_t>(quotient);
      largestQuotient = std::max(largestQuotient, Abs(q[i]));
    }
    for (int power = n - k + 1; power <= n && divides; ++power) {
      Wide sum = 0;
      for (int j = std::max(0, power - (n - k)); j <= k; ++j) sum += static_cast<Wide>(t[j]) * q[power - j];
      if (sum != image[power]) divides = false;
    }
    if (!divides) continue;
    if (static_cast<double>(largestImage) +
            (k + 1.0) * static_cast<double>(largestFactor) * static_cast<double>(largestQuotient) >=
        static_cast<double>(kExactLimit)) {
      continue;
    }
    if (variables > 1) {
      const int quotientLow = offset - c.low;
      if (quotientLow < 0) continue;
      const exact::Exponents factorTop = degrees(t, c.low);
      const exact::Exponents quotientTop = degrees(q, quotientLow);
      const exact::Exponents imageTop = degrees(image, offset);
      bool fits = true;
      for (int letter = 0; letter < 26; ++letter) fits = fits && factorTop[letter] + quotientTop[letter] == imageTop[letter];
      if (!fits) continue;
    }
    Exact.HandOverDegree = static_cast<int16_t>(k);
    Exact.HandOverTrial.assign(t.begin(), t.end());
    Exact.HandOverQuotient.assign(q.begin(), q.end());
    Exact.HandOverText = c.text;
    return true;
  }
  return false;
}

// A polynomial in one variable whose every exact factor divides it, but none
// with a quotient in the floats' exact range (the powers of a product, whose
// cofactors have coefficients far beyond the polynomial's own): the whole
// pass's polynomial as the product of exact factors, each with its
// multiplicity, the division exact in 128-bit integers. True when the factors
// multiply back to it (its constant sign aside, which KnownFactorSign keeps).
bool Engine::PrepareKnownFactors() {
  Exact.KnownFactors.clear();
  if (ToInt(Terms.VariableCount) != 1 || Split.CodeOffset != 0) return false;
  const std::vector<exact::ImageFactor> factors = ExactFactorsInImage();
  for (const exact::ImageFactor& f : factors) {
    if (f.low != 0) return false;
  }
  // Quotients stay below 2^90, so that a sum of up to 4000 products with the
  // factor's coefficients (below 2^24) stays inside 128 bits.
  const Wide largest = static_cast<Wide>(1) << 90;
  std::vector<Wide> rest(Dense.PassImage.begin(), Dense.PassImage.begin() + Dense.PassDegree + 1);
  // rest / f when f divides it with every quotient below the bound.
  auto divide = [&](const exact::ImageFactor& f, std::vector<Wide>& q) {
    const int n = static_cast<int>(rest.size()) - 1;
    const int k = f.degree;
    if (n < k) return false;
    q.assign(static_cast<size_t>(n - k) + 1, 0);
    for (int i = 0; i <= n - k; ++i) {
      Wide value = rest[i];
      for (int j = 1; j <= std::min(i, k); ++j) value -= f.values[j] * q[i - j];
      if (value % f.values[0] != 0) return false;
      q[i] = value / f.values[0];
      if (q[i] >= largest || q[i] <= -largest) return false;
    }
    for (int power = n - k + 1; power <= n; ++power) {
      Wide sum = 0;
      for (int j = std::max(0, power - (n - k)); j <= std::min(k, power); ++j) sum += f.values[j] * q[power - j];
      if (sum != rest[power]) return false;
    }
    return true;
  };
  // Each factor once a round: the powers of a product are divided a whole
  // product at a time, which keeps the quotients near the polynomial's size.
  std::vector<Wide> q;
  for (bool divided = true; divided && rest.size() > 1;) {
    divided = false;
    for (const exact::ImageFactor& f : factors) {
      if (!divide(f, q)) continue;
      rest.swap(q);
      Exact.KnownFactors.push_back(f);
      divided = true;
    }
  }
  if (rest.size() != 1 || (rest[0] != 1 && rest[0] != -1) || Exact.KnownFactors.empty()) return false;
  std::stable_sort(Exact.KnownFactors.begin(), Exact.KnownFactors.end(),
                   [](const exact::ImageFactor& a, const exact::ImageFactor& b) { return a.degree < b.degree; });
  Exact.KnownFactorSign = static_cast<int16_t>(rest[0]);
  return true;
}

// Writes the known factors of the pass's polynomial as its last factors, the
// first with the sign of the factor pairs before it and the polynomial's own,
// each with the note that it comes from the exact factorisation; then the run
// goes on as after FinalOutput.
void Engine::WriteKnownFactors() {
  if (console_.Column() > 1) ConsoleEnd();
  Status.AbortMark = "";
  Status.KeyText = "";
  Exact.PassState = PassLook::kNothingToDo;
  if (Report.ReportStarted == 0) {
    ConsoleText("=");
    ResultText("=");
    PrintCommonFactor();
  }
  Report.FileEcho = 0;
  int sign = Report.AccumulatedSign * Exact.KnownFactorSign;
  Report.AccumulatedSign = 1;
  for (const exact::ImageFactor& f : Exact.KnownFactors) {
    Exact.Notes.push_back(ExactFactorNote(f.text, "was taken"));
    Split.DenseOffset = static_cast<int16_t>(f.low);
    Split.DenseTop = static_cast<int16_t>(f.degree);
    for (int i = 0; i <= f.degree; ++i) Dense.Cofactor[i] = static_cast<float>(sign * f.values[i]);
    sign = 1;
    PrintDenseFactor();
  }
  ConsoleEnd();
  Go(AfterLastFactor());
}

// A candidate of degree k divides the image, but the exact factorisation at
// hand knows a factor of lower degree that divides it too: the search's bounds
// left that one out (its trial division passed the value limit), and the
// candidate may be a product of such factors. The factor of lower degree is
// then handed over in the candidate's place.
bool Engine::LowerExactFactorKnown(int k) {
  if (!exact_ || !Exact.Taken || Pass.LateMode != 0 || !ExactReady()) return false;
  return PrepareHandOver() && Exact.HandOverDegree < k;
}

void Engine::EndSearchProvedIrreducible() {
  if (console_.Column() > 1) ConsoleEnd();
  console_.WriteLine("已证明在有理数域上不可约 / proved irreducible over Q");
  Status.AbortMark = "";
  Exact.ProvedIrreducible = true;
  Exact.PassState = PassLook::kNothingToDo;
  Go(&Engine::EndOfSearch);
}

// The exact factor goes where a candidate of the search would: Trial holds
// it, Cofactor its quotient, and the candidate check splits the polynomial.
// Factors that the search stored without a split are let go first, so that
// the check starts from the pass's whole image.
void Engine::HandOverExactFactor() {
  const int n = Dense.PassDegree;
  const int k = Exact.HandOverDegree;
  if (Dense.StoredCount > 0 || Dense.ImageDegree != n) {
    for (int i = 0; i <= n; ++i) Dense.Image[i] = Dense.PassImage[i];
    Dense.ImageDegree = static_cast<int16_t>(n);
    EmptyStore();
  }
  for (int i = 0; i <= k; ++i) Dense.Trial[i] = Exact.HandOverTrial[i];
  for (int i = 0; i <= n - k; ++i) Dense.Cofactor[i] = Exact.HandOverQuotient[i];
  Dense.TrialDegree = static_cast<int16_t>(k);
  Search.SavedTrialDegree = static_cast<int16_t>(k);
  Search.MirrorUsed = 0;
  Exact.PassState = PassLook::kNothingToDo;
  if (console_.Column() > 1) ConsoleEnd();
  console_.WriteLine(ExactFactorNote(Exact.HandOverText, "is taken"));
  Exact.Notes.push_back(ExactFactorNote(Exact.HandOverText, "was taken"));
  CheckAndSplitFactor();
  // A factor that maps back to no split is not handed over again in this
  // run (the same one would come back at every end of a search). One that the
  // check refuses cannot come from a factorisation that divides exactly; the
  // search's state is gone with it, so the search ends there.
  if (Split.SplitResult != kSplitFound) Exact.HandOverRefused = true;
  if (Split.SplitResult == kSplitFound) Exact.TakeAtOnce = true;
  if (Split.SplitResult == kNotAFactor) {
    Exact.SearchEndExamined = true;
    Go(&Engine::EndOfSearch);
    return;
  }
  Go(&Engine::HandleOutcome);
}

// One round of a wait for the factoriser after a search: true when the wait
// is over (a result, a failure, the X key, or the time allowed for the run
// used up; once given up, no later wait of the run begins). The message comes
// only when the first round has not brought the result.
bool Engine::ExactWaitOver() {
  if (Exact.WaitGivenUp || exact_->Poll() == ExactState::kIdle) return true;
  if (exact_->Wait(kExactWaitRoundMs) != ExactState::kWorking) return true;
  if (Exact.WaitRounds == 0) {
    if (console_.Column() > 1) ConsoleEnd();
    console_.SetColours(kWaitingColours);
    console_.WriteLine("正在精确分解, 最多等候 5 秒, 按 X 键可跳过. (Waiting for the exact factorisation; press x to skip.)");
    console_.SetColours(kNormalColours);
  }
  const int key = console_.ReadKey();
  if (key == 'x' || key == 'X') {
    Exact.WaitGivenUp = true;
    Exact.WaitSkipped = true;
    return true;
  }
  if (++Exact.WaitRounds >= kExactWaitRounds) {
    Exact.WaitGivenUp = true;
    return true;
  }
  return false;
}

// A search that ended on its own (not stopped, not in the late mode) leaves a
// polynomial that it found no factor of. Unless a cheap test shows it
// irreducible, the exact factorisation is asked: a factor that it knows is
// handed over as after a tenth of a second of search, since the search's
// bounds left it out.
void Engine::ExamineSearchEnd() {
  Exact.SearchEndExamined = true;
  auto current = CurrentPolynomial().PrimitivePart();
  if (!Exact.Taken || !current || current->IsConstant() || exact::KnownIrreducible(*current)) {
    Go(&Engine::EndOfSearch);
    return;
  }
  StartExactFactoriser();
  Go(&Engine::WaitAtSearchEnd);
}

void Engine::WaitAtSearchEnd() {
  if (!ExactWaitOver()) {
    Go(&Engine::WaitAtSearchEnd);
    return;
  }
  if (ExactReady() && ClassifyCurrentPolynomial() == Known::kReducible && PrepareHandOver()) {
    Exact.SearchEndExamined = false;
    Go(&Engine::HandOverExactFactor);
    return;
  }
  Go(&Engine::EndOfSearch);
}

// Judges the result with what is at hand, and waits for the factoriser only
// when the verdict needs it: a result whose factors are all known irreducible
// without it, or that disagrees with the polynomial, is judged at once.
void Engine::CertifyResult() {
  Exact.Judged = exact::Judgement{};
  Exact.JudgedWithExact = false;
  if (Exact.Taken) {
    const bool ready = ExactReady();
    Exact.Judged = exact::JudgeResult(Result.Judged(), Exact.Entered, ready ? &exact_->Result() : nullptr,
                                      !Exact.PendingLost);
    Exact.JudgedWithExact = ready;
    if (!ready && Exact.Judged.verdict != exact::Verdict::kComplete &&
        Exact.Judged.verdict != exact::Verdict::kInternalError) {
      StartExactFactoriser();
      Go(&Engine::WaitForExactResult);
      return;
    }
  }
  Go(&Engine::WriteCertificate);
}

void Engine::WaitForExactResult() {
  Go(ExactWaitOver() ? &Engine::WriteCertificate : &Engine::WaitForExactResult);
}

// jg.dat only: the results display shows what follows the result.
void Engine::WriteCertificate() {
  const bool ready = ExactReady();
  if (Exact.Taken && ready && !Exact.JudgedWithExact) {
    Exact.Judged = exact::JudgeResult(Result.Judged(), Exact.Entered, &exact_->Result(), !Exact.PendingLost);
  }
  if (Result.LineOpen()) ResultEnd();
  for (const std::string& note : Exact.Notes) {
    ResultText(note);
    ResultEnd();
  }
  for (const std::string& line : exact::CertificateLines(Exact.Judged, CertificateCircumstances(),
                                                         ready ? &exact_->Result() : nullptr, Exact.Entered,
                                                         InputOrder())) {
    ResultText(line);
    ResultEnd();
  }
  Exact.CertificateDone = true;
  Go(&Engine::CloseResultFile);
}

// The circumstances that the certificate names, as the run knows them.
exact::RunCircumstances Engine::CertificateCircumstances() {
  exact::RunCircumstances run;
  run.pendingLost = Exact.PendingLost;
  run.stoppedByKey = Exact.StoppedByKey;
  run.stoppedByTime = Exact.StoppedByTime;
  run.lateMode = Pass.LateMode == 1;
  run.encodingLimit = Exact.StoppedByEncoding;
  run.taken = Exact.Taken;
  run.waitSkipped = Exact.WaitSkipped;
  run.failed = exact_->Poll() == ExactState::kFailed;
  if (run.failed) run.failure = exact_->Failure();
  return run;
}

std::string Engine::InputOrder() const {
  std::string order;
  for (int v = 1; v <= ToInt(Terms.LoadedVariableCount); ++v) order += Terms.InputLetter[v];
  return order;
}

// A result that the preparation wrote itself ("=0", a single term) has no
// factor to judge: its value is checked against the term table, and the
// certificate goes to the console as well, since no results display follows.
void Engine::CertifyShortResult() {
  if (Exact.CertificateDone || !Result.IsOpen()) return;
  Exact.CertificateDone = true;
  TakeExactInput();
  exact::Judgement judgement;
  if (ToInt(Terms.TermCount) == 0) Exact.Entered = exact::EnteredPolynomial{};
  if (Exact.Taken || ToInt(Terms.TermCount) == 0) {
    judgement = exact::JudgeResult(Result.Latest(), Exact.Entered, nullptr, true);
  }
  if (Result.LineOpen()) ResultEnd();
  if (console_.Column() > 1) ConsoleEnd();
  for (const std::string& line :
       exact::CertificateLines(judgement, CertificateCircumstances(), nullptr, Exact.Entered, InputOrder())) {
    ResultText(line);
    ResultEnd();
    console_.WriteWords(line);
  }
}

}  // namespace pfac
