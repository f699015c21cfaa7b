// The exact companion's work. The factoriser gets the prepared polynomial once
// a search has gone on for a tenth of a second, at once for a search that
// will be long (a high total degree, or a long image in several variables),
// or when the certificate at the end cannot be decided without it, and works
// beside the search; the search looks at its handle in the interruption poll:
// - a polynomial being searched that the exact factorisation proves
//   irreducible ends its search as a search of every degree would;
// - one that has been searched for a tenth of a second without a split (in a
//   long search: as soon as the factorisation is there) takes the exact
//   factor of lowest degree in the image, through the same candidate check as
//   a found factor: with the lowest degree, every factor of the cofactor has
//   a degree at least as high, which is what the search assumes when it goes
//   on from the degree just found; every later pass of the run then takes
//   its factor so before it searches at all;
// - at the end of every run that reaches a result, the result is judged and
//   the verdict written as the last line of jg.dat.
#include "engine/exact/companion.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "engine/exact/factoriser.h"
#include "engine/numbers.h"
#include "engine/result_format/marks.h"

namespace pfac::exact {

namespace {

using Wide = __int128;

// A search that has gone on this long has the factoriser started: textbook
// polynomials end well before, so most runs never load it.
constexpr int64_t kExactStartMs = 100;
// A polynomial of at least this total degree has the factoriser started as
// soon as it is prepared: no search of such a degree ends within
// a tenth of a second unless it finds factors of low degree only, and the
// polynomials of a course (degree 6 at most) stay far below.
constexpr int kExactAtOnceDegree = 12;
// In several variables the search walks the image of the polynomial under the
// weights' substitution: an image of at least this degree with at least this
// many terms makes a search as long, and has the factoriser started at once
// too. The polynomials of a course in several variables give images of
// degree 16 at most, with 7 terms at most; a binomial such as x^6 - y^6
// (image degree 36) splits at the search's first levels.
constexpr int kExactAtOnceImageDegree = 32;
constexpr int kExactAtOnceTerms = 8;
// A polynomial searched this long without a split takes its factor from the
// exact factorisation, when that knows one (the time the factoriser's start
// already waits: whatever the search finds by itself within it stays its own).
// One of a long search, whose factoriser started at once, takes its
// factor as soon as the factorisation is there: its search would rarely
// find in a tenth of a second what the factoriser gives in milliseconds.
constexpr int64_t kExactHandOverMs = kExactStartMs;
// A long search whose pass has an image of at least this degree gives the
// processor to the factoriser while it works: each look at it waits up to
// kYieldMs for its answer, instead of searching on. At such degrees the
// factoriser's general algorithm can take seconds, the search's bounds there
// let it find little beyond factors of the lowest degrees (which the
// factorisation brings too), and the run's certificate waits for the
// factorisation in any case; on a machine of two cores shared with other
// work, the search would take from the factoriser the time that the run
// waits for.
constexpr int kYieldDegree = 1000;
constexpr int kYieldMs = 10;
// The end of a run waits for the factoriser at most this many rounds of
// kExactWaitRoundMs (the X key ends the wait).
constexpr int kExactWaitRounds = 50;
constexpr int kExactWaitRoundMs = 100;

int64_t Abs(int64_t v) { return v < 0 ? -v : v; }

// Coefficients below this magnitude have a decimal text that fits 64 bits.
constexpr float kWithin64Bits = 1e18f;

// The letters in the order the user wrote them.
std::string InputOrder(const EngineTables& tables) {
  std::string order;
  for (int v = 1; v <= tables.loadedVariableCount; ++v) order += tables.inputLetter[v];
  return order;
}

// The exponents of the monomial of a code under the current variable order
// and weights, by the letters of the variables: read back from the highest
// variable down, as UnpackDenseToTerms does.
Exponents ExponentsOfCode(const EngineTables& tables, int code) {
  Exponents m{};
  for (int v = tables.variableCount; v >= 2; --v) {
    m[tables.letter[v][0] - 'a'] += code / tables.weight[v];
    code = code % tables.weight[v];
  }
  m[tables.letter[1][0] - 'a'] += code;
  return m;
}

// The polynomial of the current pass in its letters: each index of the image
// stands for the code codeOffset + i, read back through the weights.
LetterPoly CurrentPolynomial(const EngineTables& tables) {
  LetterPoly p;
  for (int i = 0; i <= tables.passDegree; ++i) {
    if (tables.passImage[i] != 0) {
      p.terms[ExponentsOfCode(tables, tables.codeOffset + i)] =
          std::to_string(static_cast<int64_t>(tables.passImage[i]));
    }
  }
  return p;
}

// The nonzero coefficients of a factor laid out as the image, (index, value)
// by increasing index: the divisions below go over these alone, since the
// factors of a high degree are mostly sparse (x^200 - x^150 + x^100 - x^50 + 1).
std::vector<std::pair<int, int64_t>> NonzeroTerms(const std::vector<int64_t>& values) {
  std::vector<std::pair<int, int64_t>> terms;
  for (size_t j = 0; j < values.size(); ++j) {
    if (values[j] != 0) terms.push_back({static_cast<int>(j), values[j]});
  }
  return terms;
}

// Factors of lower degree first, the factorisation's order among equals.
void SortByDegree(std::vector<ImageFactor>& factors) {
  std::stable_sort(factors.begin(), factors.end(),
                   [](const ImageFactor& a, const ImageFactor& b) { return a.degree < b.degree; });
}

}  // namespace

std::string FactorNote(const std::string& factor, const char* taken) {
  return std::string(marks::kExactNote) + factor + " / the factor " + factor + " " + taken +
         " from the exact factorisation";
}

// ---- The polynomial -------------------------------------------------------

void Companion::TakeInput(const EngineTables& tables) {
  const int terms = tables.termCount;
  const int variables = tables.variableCount;
  state_.Taken = false;
  state_.Input = Polynomial{variables, {}};
  state_.Entered = EnteredPolynomial{};
  std::string letters;
  for (int v = 1; v <= variables; ++v) {
    if (!IsPlainLetter(tables.letter[v])) return;
    letters += tables.letter[v];
  }
  for (int t = 1; t <= terms; ++t) {
    if (!IsWhole(tables.numerator[t]) || tables.numerator[t] == 0) return;
    Term term{std::to_string(static_cast<int64_t>(tables.numerator[t])),
              std::vector<int32_t>(static_cast<size_t>(variables))};
    for (int v = 1; v <= variables; ++v) {
      if (!IsWhole(tables.exponent[t][v]) || tables.exponent[t][v] < 0) return;
      term.exponents[v - 1] = static_cast<int32_t>(tables.exponent[t][v]);
    }
    state_.Input.terms.push_back(std::move(term));
  }
  if (!IsWhole(tables.content) || !IsWhole(tables.commonDenominator) || tables.commonDenominator == 0) return;
  state_.Entered.numerator = static_cast<int64_t>(tables.content);
  state_.Entered.denominator = static_cast<int64_t>(tables.commonDenominator);
  for (int v = 1; v <= tables.loadedVariableCount; ++v) {
    if (tables.minExponent[v] == 0) continue;
    if (!IsPlainLetter(tables.inputLetter[v]) || !IsWhole(tables.minExponent[v])) return;
    state_.Entered.monomial[tables.inputLetter[v][0] - 'a'] += static_cast<int32_t>(tables.minExponent[v]);
  }
  state_.Entered.prepared = FromExact(state_.Input, letters);
  state_.Entered.letters = letters;
  state_.Taken = true;
}

// The total degree decides in one variable (the image's degree would count
// the weights of several variables as well); in several, the image's degree
// and the number of terms may tell of a long search below it.
void Companion::TakeInputAtFirstSearch(const EngineTables& tables, int imageDegree) {
  TakeInput(tables);
  int degree = 0;
  for (const Term& t : state_.Input.terms) {
    int total = 0;
    for (int32_t e : t.exponents) total += e;
    degree = std::max(degree, total);
  }
  const bool longImage = tables.variableCount > 1 && imageDegree >= kExactAtOnceImageDegree &&
                         tables.termCount >= kExactAtOnceTerms;
  state_.LongSearch = degree >= kExactAtOnceDegree || longImage;
  if (state_.LongSearch) Start();
}

void Companion::Start() {
  if (factoriser_->Poll() != ExactState::kIdle || !state_.Taken || state_.Input.variables < 1 ||
      state_.Input.terms.empty()) {
    return;
  }
  factoriser_->Start(state_.Input);
}

bool Companion::Ready() const { return factoriser_ && factoriser_->Poll() == ExactState::kReady; }

void Companion::Cancel() {
  if (factoriser_) factoriser_->Cancel();
}

// ---- Beside the search ----------------------------------------------------

void Companion::SearchBegins(int64_t nowMs) {
  state_.PassSearchMs = nowMs;
  if (state_.FirstSearchMs < 0) state_.FirstSearchMs = state_.PassSearchMs;
  state_.PassState = PassLook::kNotLookedAt;
}

Finding Companion::LookForResult(const EngineTables& tables, int64_t nowMs) {
  if (factoriser_->Poll() == ExactState::kIdle) {
    if (state_.FirstSearchMs >= 0 && nowMs - state_.FirstSearchMs >= kExactStartMs) Start();
    return Finding::kNothing;
  }
  if (state_.LongSearch && tables.passDegree >= kYieldDegree && factoriser_->Poll() == ExactState::kWorking) {
    factoriser_->Wait(kYieldMs);
  }
  if (state_.PassState == PassLook::kNothingToDo || !Ready()) return Finding::kNothing;
  if (state_.PassState == PassLook::kNotLookedAt) {
    const Known known = ClassifyCurrentPolynomial(tables);
    if (known == Known::kIrreducible) return Finding::kIrreducible;
    state_.PassState = known == Known::kReducible ? PassLook::kFactorToHandOver : PassLook::kNothingToDo;
  }
  if (state_.PassState == PassLook::kFactorToHandOver && !tables.lateMode &&
      (state_.TakeAtOnce || state_.LongSearch || nowMs - state_.PassSearchMs >= kExactHandOverMs)) {
    if (PrepareHandOver(tables)) return Finding::kFactorToHandOver;
    if (PrepareKnownFactors(tables)) return Finding::kKnownFactors;
    state_.PassState = PassLook::kNothingToDo;
  }
  return Finding::kNothing;
}

Known Companion::ClassifyCurrentPolynomial(const EngineTables& tables) {
  for (int v = 1; v <= tables.variableCount; ++v) {
    if (!IsPlainLetter(tables.letter[v])) return Known::kNothing;
  }
  // A polynomial of two terms or more (so not a constant) can equal only a
  // factor with as many terms: when no factor has, it splits, and the
  // polynomial in letters (thousands of terms at high degree, at every pass)
  // need not be made.
  int termCount = 0;
  bool within64Bits = true;
  for (int i = 0; i <= tables.passDegree; ++i) {
    if (tables.passImage[i] == 0) continue;
    ++termCount;
    if (std::fabs(tables.passImage[i]) >= kWithin64Bits) within64Bits = false;
  }
  if (termCount >= 2 && within64Bits &&
      std::none_of(factoriser_->Result().factors.begin(), factoriser_->Result().factors.end(),
                   [&](const Factor& f) { return static_cast<int>(f.polynomial.terms.size()) == termCount; })) {
    return Known::kReducible;
  }
  auto current = CurrentPolynomial(tables).PrimitivePart();
  if (!current || current->terms.empty() || current->IsConstant()) return Known::kNothing;
  for (const Factor& f : factoriser_->Result().factors) {
    if (FromExact(f.polynomial, state_.Entered.letters).SignNormalised() == *current) {
      return Known::kIrreducible;
    }
  }
  return Known::kReducible;
}

bool Companion::ProvesIrreducible(const EngineTables& tables) {
  return Ready() && ClassifyCurrentPolynomial(tables) == Known::kIrreducible;
}

bool Companion::UnsplitKnownIrreducible(const EngineTables& tables) {
  if (!factoriser_ || !state_.Taken) return false;
  auto current = CurrentPolynomial(tables).PrimitivePart();
  if (!current || current->IsConstant()) return false;
  if (KnownIrreducible(*current)) return true;
  return Ready() && ClassifyCurrentPolynomial(tables) == Known::kIrreducible;
}

// The exact factors laid out as the image lays out the pass's polynomial:
// each term at its code under the current variable order and weights, the
// lowest code's coefficient positive, by increasing degree in the image (the
// first of the factorisation among equals). Factors in a letter that the
// pass's polynomial lacks, with a coefficient beyond the floats' exact range,
// or of more than half the pass's degree are left out.
std::vector<ImageFactor> Companion::ExactFactorsInImage(const EngineTables& tables) {
  std::vector<ImageFactor> factors;
  const int n = tables.passDegree;
  const int variables = tables.variableCount;
  std::array<int, 26> variableOf{};
  for (int v = 1; v <= variables; ++v) {
    if (!IsPlainLetter(tables.letter[v])) return factors;
    variableOf[tables.letter[v][0] - 'a'] = v;
  }
  auto weightOf = [&](int v) { return variables <= 1 ? 1 : static_cast<int>(tables.weight[v]); };
  const std::string inputOrder = InputOrder(tables);
  for (const Factor& f : factoriser_->Result().factors) {
    const LetterPoly q = FromExact(f.polynomial, state_.Entered.letters);
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
      if (!usable || !DecimalToInt64(c, &value) || Abs(value) >= kExactLimit) {
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
    ImageFactor factor{static_cast<int>(degree), static_cast<int>(low),
                       std::vector<int64_t>(static_cast<size_t>(degree) + 1, 0), InputText(q, inputOrder)};
    for (const auto& t : terms) factor.values[t.first - low] = t.second;
    if (factor.values[0] < 0) {
      for (int64_t& v : factor.values) v = -v;
    }
    factors.push_back(std::move(factor));
  }
  SortByDegree(factors);
  return factors;
}

// Of the exact factors whose image divides the pass's image, the one of
// lowest degree in the image, with its quotient. The division is exact in
// 128-bit integers, and only a factor and quotient whose products stay in the
// exact range of the floats are taken, so that the candidate check sees them
// as the search would. In several variables the degrees of factor and
// quotient in each variable must add up to the polynomial's, so that the
// quotient read back through the weights is the true one.
bool Companion::PrepareHandOver(const EngineTables& tables) {
  if (state_.HandOverRefused) return false;
  const int n = tables.passDegree;
  const int variables = tables.variableCount;
  const int offset = tables.codeOffset;
  // The degree in each letter of the terms at codes low + i with nonzero values.
  auto degrees = [&](const std::vector<int64_t>& values, int low) {
    Exponents top{};
    for (size_t i = 0; i < values.size(); ++i) {
      if (values[i] == 0) continue;
      const Exponents m = ExponentsOfCode(tables, low + static_cast<int>(i));
      for (int letter = 0; letter < 26; ++letter) top[letter] = std::max(top[letter], m[letter]);
    }
    return top;
  };
  std::vector<int64_t> image(static_cast<size_t>(n) + 1);
  int64_t largestImage = 0;
  for (int i = 0; i <= n; ++i) {
    image[i] = static_cast<int64_t>(tables.passImage[i]);
    largestImage = std::max(largestImage, Abs(image[i]));
  }

  for (const ImageFactor& c : ExactFactorsInImage(tables)) {
    const int k = c.degree;
    const std::vector<int64_t>& t = c.values;
    std::vector<int64_t> q(static_cast<size_t>(n - k) + 1, 0);
    int64_t largestFactor = 0, largestQuotient = 0;
    for (int64_t v : t) largestFactor = std::max(largestFactor, Abs(v));
    const std::vector<std::pair<int, int64_t>> nonzero = NonzeroTerms(t);
    bool divides = true;
    for (int i = 0; i <= n - k && divides; ++i) {
      Wide value = image[i];
      for (size_t u = 1; u < nonzero.size() && nonzero[u].first <= i; ++u) {
        value -= static_cast<Wide>(nonzero[u].second) * q[i - nonzero[u].first];
      }
      if (t[0] != 1 && value % t[0] != 0) divides = false;
      Wide quotient = t[0] == 1 ? value : value / t[0];
      if (quotient >= kExactLimit || quotient <= -kExactLimit) divides = false;
      q[i] = static_cast<int64_t>(quotient);
      largestQuotient = std::max(largestQuotient, Abs(q[i]));
    }
    for (int power = n - k + 1; power <= n && divides; ++power) {
      Wide sum = 0;
      for (const auto& [j, tj] : nonzero) {
        if (j >= power - (n - k)) sum += static_cast<Wide>(tj) * q[power - j];
      }
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
      const Exponents factorTop = degrees(t, c.low);
      const Exponents quotientTop = degrees(q, quotientLow);
      const Exponents imageTop = degrees(image, offset);
      bool fits = true;
      for (int letter = 0; letter < 26; ++letter) fits = fits && factorTop[letter] + quotientTop[letter] == imageTop[letter];
      if (!fits) continue;
    }
    HandOver& handOver = state_.HandOverFactor;
    handOver.degree = static_cast<int16_t>(k);
    handOver.trial.assign(t.begin(), t.end());
    handOver.quotient.assign(q.begin(), q.end());
    handOver.text = c.text;
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
bool Companion::PrepareKnownFactors(const EngineTables& tables) {
  std::vector<ImageFactor>& known = state_.KnownFactors;
  known.clear();
  if (tables.variableCount != 1 || tables.codeOffset != 0) return false;
  const std::vector<ImageFactor> factors = ExactFactorsInImage(tables);
  for (const ImageFactor& f : factors) {
    if (f.low != 0) return false;
  }
  // Quotients stay below 2^90, so that a sum of up to 4000 products with the
  // factor's coefficients (below 2^24) stays inside 128 bits.
  const Wide largest = static_cast<Wide>(1) << 90;
  std::vector<Wide> rest(tables.passImage.begin(), tables.passImage.begin() + tables.passDegree + 1);
  // rest / f when f divides it with every quotient below the bound.
  auto divide = [&](const ImageFactor& f, std::vector<Wide>& q) {
    const int n = static_cast<int>(rest.size()) - 1;
    const int k = f.degree;
    if (n < k) return false;
    const std::vector<std::pair<int, int64_t>> nonzero = NonzeroTerms(f.values);
    const int64_t constant = f.values[0];
    q.assign(static_cast<size_t>(n - k) + 1, 0);
    for (int i = 0; i <= n - k; ++i) {
      Wide value = rest[i];
      for (size_t u = 1; u < nonzero.size() && nonzero[u].first <= i; ++u) {
        value -= nonzero[u].second * q[i - nonzero[u].first];
      }
      if (constant != 1 && value % constant != 0) return false;
      q[i] = constant == 1 ? value : value / constant;
      if (q[i] >= largest || q[i] <= -largest) return false;
    }
    for (int power = n - k + 1; power <= n; ++power) {
      Wide sum = 0;
      for (const auto& [j, fj] : nonzero) {
        if (j >= power - (n - k) && j <= power) sum += fj * q[power - j];
      }
      if (sum != rest[power]) return false;
    }
    return true;
  };
  // Each factor once a round: the powers of a product are divided a whole
  // product at a time, which keeps the quotients near the polynomial's size.
  std::vector<Wide> q;
  for (bool divided = true; divided && rest.size() > 1;) {
    divided = false;
    for (const ImageFactor& f : factors) {
      if (!divide(f, q)) continue;
      rest.swap(q);
      known.push_back(f);
      divided = true;
    }
  }
  if (rest.size() != 1 || (rest[0] != 1 && rest[0] != -1) || known.empty()) return false;
  SortByDegree(known);
  state_.KnownFactorSign = static_cast<int16_t>(rest[0]);
  return true;
}

// The search's bounds left the factor of lower degree out (its trial division
// passed the value limit), and the candidate may be a product of such
// factors: that factor is handed over in the candidate's place.
bool Companion::LowerFactorKnown(const EngineTables& tables, int k) {
  if (!factoriser_ || !state_.Taken || tables.lateMode || !Ready()) return false;
  return PrepareHandOver(tables) && state_.HandOverFactor.degree < k;
}

// The search is fast enough at high degree to come to such a candidate
// before the factoriser answers (its trial divisions by x - 1 pass their
// value limit on (x^500 - 1)^4, and x^2 - 1 divides): one round of the wait,
// once a run, costs less than the passes of a product that splits no
// further in the search. Where the factorisation says the candidate is a
// product of factors of lower degree, the pass takes those instead.
bool Companion::CandidateWaitsForFactorisation(const EngineTables& tables, int k) {
  if (!factoriser_ || !state_.Taken || tables.lateMode || k < 2 || !state_.LongSearch || state_.CandidateWaited ||
      factoriser_->Poll() != ExactState::kWorking) {
    return false;
  }
  state_.CandidateWaited = true;
  if (factoriser_->Wait(kExactWaitRoundMs) != ExactState::kReady) return false;
  if (!PrepareKnownFactors(tables)) return false;
  return std::any_of(state_.KnownFactors.begin(), state_.KnownFactors.end(),
                     [k](const ImageFactor& f) { return f.degree < k; });
}

void Companion::SearchProvedIrreducible() {
  state_.ProvedIrreducible = true;
  state_.PassState = PassLook::kNothingToDo;
}

// ---- The factor handed over and the known factors -------------------------

const HandOver& Companion::TakeHandOver() {
  state_.PassState = PassLook::kNothingToDo;
  state_.Notes.push_back(FactorNote(state_.HandOverFactor.text, "was taken"));
  return state_.HandOverFactor;
}

// A factor that maps back to no split is not handed over again in this run
// (the same one would come back at every end of a search).
void Companion::HandOverChecked(bool split) {
  if (!split) state_.HandOverRefused = true;
  if (split) state_.TakeAtOnce = true;
}

const std::vector<ImageFactor>& Companion::TakeKnownFactors() {
  state_.PassState = PassLook::kNothingToDo;
  for (const ImageFactor& f : state_.KnownFactors) state_.Notes.push_back(FactorNote(f.text, "was taken"));
  return state_.KnownFactors;
}

// ---- The end of a search --------------------------------------------------

bool Companion::AsksAtSearchEnd() const {
  return factoriser_ && !state_.SearchEndExamined && !state_.ProvedIrreducible;
}

// A search that ended on its own (not stopped, not in the late mode) leaves a
// polynomial that it found no factor of. Unless a cheap test shows it
// irreducible, the exact factorisation is asked: a factor that it knows is
// handed over as after a tenth of a second of search, since the search's
// bounds left it out.
bool Companion::AskAtSearchEnd(const EngineTables& tables) {
  state_.SearchEndExamined = true;
  auto current = CurrentPolynomial(tables).PrimitivePart();
  if (!state_.Taken || !current || current->IsConstant() || KnownIrreducible(*current)) return false;
  Start();
  return true;
}

bool Companion::FactorLeftBySearch(const EngineTables& tables) {
  if (Ready() && ClassifyCurrentPolynomial(tables) == Known::kReducible && PrepareHandOver(tables)) {
    state_.SearchEndExamined = false;
    return true;
  }
  return false;
}

bool Companion::EndSearch() {
  state_.SearchEndExamined = false;
  const bool proved = state_.ProvedIrreducible;
  state_.ProvedIrreducible = false;
  return proved;
}

// Once given up, no later wait of the run begins. The message comes only
// when the first round has not brought the result.
bool Companion::WaitOver(Console& console) {
  if (state_.WaitGivenUp || factoriser_->Poll() == ExactState::kIdle) return true;
  if (factoriser_->Wait(kExactWaitRoundMs) != ExactState::kWorking) return true;
  if (state_.WaitRounds == 0) {
    if (console.Column() > 1) console.EndLine();
    console.SetColours(kWaitingColours);
    console.WriteLine("正在精确分解, 最多等候 5 秒, 按 X 键可跳过. (Waiting for the exact factorisation; press x to skip.)");
    console.SetColours(kNormalColours);
  }
  const int key = console.ReadKey();
  if (key == 'x' || key == 'X') {
    state_.WaitGivenUp = true;
    state_.WaitSkipped = true;
    return true;
  }
  if (++state_.WaitRounds >= kExactWaitRounds) {
    state_.WaitGivenUp = true;
    return true;
  }
  return false;
}

// ---- The certificate ------------------------------------------------------

// A result whose factors are all known irreducible without the factoriser, or
// that disagrees with the polynomial, is judged at once.
bool Companion::Judge(const std::optional<ResultProduct>& result) {
  state_.Judged = Judgement{};
  state_.JudgedWithExact = false;
  if (!state_.Taken) return true;
  const bool ready = Ready();
  state_.Judged = JudgeResult(result, state_.Entered, ready ? &factoriser_->Result() : nullptr, !state_.PendingLost);
  state_.JudgedWithExact = ready;
  if (!ready && state_.Judged.verdict != Verdict::kComplete && state_.Judged.verdict != Verdict::kInternalError) {
    Start();
    return false;
  }
  return true;
}

std::vector<std::string> Companion::FinishCertificate(const std::optional<ResultProduct>& result,
                                                      const EngineTables& tables) {
  const bool ready = Ready();
  if (state_.Taken && ready && !state_.JudgedWithExact) {
    state_.Judged = JudgeResult(result, state_.Entered, &factoriser_->Result(), !state_.PendingLost);
  }
  std::vector<std::string> lines = state_.Notes;
  for (std::string& line : CertificateLines(state_.Judged, Circumstances(tables), ready ? &factoriser_->Result() : nullptr,
                                            state_.Entered, InputOrder(tables))) {
    lines.push_back(std::move(line));
  }
  state_.CertificateDone = true;
  return lines;
}

// The circumstances that the certificate names, as the run knows them.
RunCircumstances Companion::Circumstances(const EngineTables& tables) const {
  RunCircumstances run;
  run.pendingLost = state_.PendingLost;
  run.stoppedByKey = state_.StoppedByKey;
  run.stoppedByTime = state_.StoppedByTime;
  run.lateMode = tables.lateMode;
  run.encodingLimit = state_.StoppedByEncoding;
  run.taken = state_.Taken;
  run.waitSkipped = state_.WaitSkipped;
  run.failed = factoriser_->Poll() == ExactState::kFailed;
  if (run.failed) run.failure = factoriser_->Failure();
  return run;
}

// A result that the preparation wrote itself has no factor to judge: its
// value is checked against the term tables (none left for "=0").
std::vector<std::string> Companion::CertifyShortResult(const std::optional<ResultProduct>& latest,
                                                       const EngineTables& tables) {
  state_.CertificateDone = true;
  TakeInput(tables);
  Judgement judgement;
  if (tables.termCount == 0) state_.Entered = EnteredPolynomial{};
  if (state_.Taken || tables.termCount == 0) judgement = JudgeResult(latest, state_.Entered, nullptr, true);
  return CertificateLines(judgement, Circumstances(tables), nullptr, state_.Entered, InputOrder(tables));
}

}  // namespace pfac::exact
