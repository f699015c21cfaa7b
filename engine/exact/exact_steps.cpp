// The engine's steps around the exact factoriser. The factoriser gets the
// prepared polynomial once a search has gone on for a tenth of a second (or
// when the certificate at the end cannot be decided without it) and works
// beside the search; the search looks at its handle in the interruption poll:
// - a polynomial being searched that the exact factorisation proves
//   irreducible ends its search as a search of every degree would;
// - one that has been searched for a second without a split takes the exact
//   factor of lowest degree in the image, through the same candidate check as
//   a found factor: with the lowest degree, every factor of the cofactor has a
//   degree at least as high, which is what the search assumes when it goes on
//   from the degree just found;
// - at the end of every run that reaches a result, the result is judged and
//   the verdict written as the last line of jg.dat.
#include <algorithm>
#include <array>
#include <cmath>

#include "engine/engine.h"
#include "engine/exact/factoriser.h"
#include "engine/result_marks.h"

namespace pfac {

namespace {

using exact::ExactState;
using Wide = __int128;

int64_t Abs(int64_t v) { return v < 0 ? -v : v; }

bool IsLetter(const std::string& letter) { return letter.size() == 1 && letter[0] >= 'a' && letter[0] <= 'z'; }

// Lines of jg.dat hold no parentheses but those of factors: the texts that
// the certificate quotes lose theirs.
std::string WithoutParentheses(std::string text) {
  for (char& c : text) {
    if (c == '(' || c == ')') c = ' ';
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

// The last "=" segment of the last line of jg.dat: the preparation writes
// "=0" and the result of a single term on the line of the echo.
std::string LastLineSegment(const std::string& jg) {
  std::string text = jg;
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n')) text.pop_back();
  const size_t lineStart = text.rfind('\n');
  const std::string line = text.substr(lineStart == std::string::npos ? 0 : lineStart + 1);
  const size_t equals = line.rfind('=');
  return equals == std::string::npos ? "" : line.substr(equals);
}

}  // namespace

// The prepared polynomial as the search first receives it, and with it the
// polynomial entered (the rational factor and the monomial taken out). Letters
// other than a-z and coefficients that are not integral leave ExactTaken 0:
// the run then goes without the factoriser.
void Engine::TakeExactInput() {
  const int terms = ToInt(TermCount);
  const int variables = ToInt(VariableCount);
  ExactTaken = 0;
  ExactInput = exact::Polynomial{variables, {}};
  Entered = exact::EnteredPolynomial{};
  std::string letters;
  for (int v = 1; v <= variables; ++v) {
    if (!IsLetter(Letter[v])) return;
    letters += Letter[v];
  }
  for (int t = 1; t <= terms; ++t) {
    if (!IsWhole(Numerator[t]) || Numerator[t] == 0) return;
    exact::Term term{std::to_string(static_cast<int64_t>(Numerator[t])),
                     std::vector<int32_t>(static_cast<size_t>(variables))};
    for (int v = 1; v <= variables; ++v) {
      if (!IsWhole(Exponent[t][v]) || Exponent[t][v] < 0) return;
      term.exponents[v - 1] = static_cast<int32_t>(Exponent[t][v]);
    }
    ExactInput.terms.push_back(std::move(term));
  }
  if (!IsWhole(Content) || !IsWhole(CommonDenominator) || CommonDenominator == 0) return;
  Entered.numerator = static_cast<int64_t>(Content);
  Entered.denominator = static_cast<int64_t>(CommonDenominator);
  for (int v = 1; v <= ToInt(LoadedVariableCount); ++v) {
    if (MinExponent[v] == 0) continue;
    if (!IsLetter(InputLetter[v]) || !IsWhole(MinExponent[v])) return;
    Entered.monomial[InputLetter[v][0] - 'a'] += static_cast<int32_t>(MinExponent[v]);
  }
  Entered.prepared = exact::FromExact(ExactInput, letters);
  Entered.letters = letters;
  ExactTaken = 1;
}

void Engine::StartExactFactoriser() {
  if (exact_->Poll() != ExactState::kIdle || ExactTaken == 0 || ExactInput.variables < 1 ||
      ExactInput.terms.empty()) {
    return;
  }
  exact_->Start(ExactInput);
}

bool Engine::ExactReady() { return exact_ && exact_->Poll() == ExactState::kReady; }

void Engine::LookForExactResult() {
  const int64_t now = clock_.Milliseconds();
  if (exact_->Poll() == ExactState::kIdle) {
    if (FirstSearchMs >= 0 && now - FirstSearchMs >= kExactStartMs) StartExactFactoriser();
    return;
  }
  if (PassExactState == 2 || !ExactReady()) return;
  if (PassExactState == 0) {
    const int kind = ClassifyCurrentPolynomial();
    if (kind == 1) {
      Go(&Engine::EndSearchProvedIrreducible);
      return;
    }
    PassExactState = kind == 2 ? 1 : 2;
  }
  if (PassExactState == 1 && LateMode == 0 && now - PassSearchMs >= kExactHandOverMs) {
    if (PrepareHandOver()) {
      Go(&Engine::HandOverExactFactor);
    } else {
      PassExactState = 2;
    }
  }
}

// The polynomial of the current pass (PassImage) in its letters: each index
// stands for the code CodeOffset + i, read back through the weights.
exact::LetterPoly Engine::CurrentPolynomial() const {
  exact::LetterPoly p;
  const int offset = ToInt(CodeOffset);
  for (int i = 0; i <= PassDegree; ++i) {
    if (PassImage[i] != 0) p.terms[ExponentsOfCode(offset + i)] = std::to_string(static_cast<int64_t>(PassImage[i]));
  }
  return p;
}

// Read back from the highest variable down, as UnpackDenseToTerms does.
exact::Exponents Engine::ExponentsOfCode(int code) const {
  exact::Exponents m{};
  for (int v = ToInt(VariableCount); v >= 2; --v) {
    m[Letter[v][0] - 'a'] += code / Weight[v];
    code = code % Weight[v];
  }
  m[Letter[1][0] - 'a'] += code;
  return m;
}

int Engine::ClassifyCurrentPolynomial() {
  for (int v = 1; v <= ToInt(VariableCount); ++v) {
    if (!IsLetter(Letter[v])) return 0;
  }
  auto current = CurrentPolynomial().PrimitivePart();
  if (!current || current->terms.empty() || current->IsConstant()) return 0;
  for (const exact::Factor& f : exact_->Result().factors) {
    if (exact::FromExact(f.polynomial, Entered.letters).SignNormalised() == *current) return 1;
  }
  return 2;
}

bool Engine::UnsplitKnownIrreducible() {
  if (!exact_ || ExactTaken == 0) return false;
  auto current = CurrentPolynomial().PrimitivePart();
  if (!current || current->IsConstant()) return false;
  if (exact::KnownIrreducible(*current)) return true;
  return ExactReady() && ClassifyCurrentPolynomial() == 1;
}

// Of the exact factors whose image divides the pass's image, the one of
// lowest degree in the image (the first of the factorisation among equals),
// with its quotient. The division is exact in 128-bit integers, and only a
// factor and quotient whose products stay in the exact range of the floats
// are taken, so that the candidate check sees them as the search would. In
// several variables the degrees of factor and quotient in each variable must
// add up to the polynomial's, so that the quotient read back through the
// weights is the true one.
bool Engine::PrepareHandOver() {
  if (HandOverRefused == 1) return false;
  const int n = PassDegree;
  const int variables = ToInt(VariableCount);
  const int offset = ToInt(CodeOffset);
  std::array<int, 26> variableOf{};
  for (int v = 1; v <= variables; ++v) {
    if (!IsLetter(Letter[v])) return false;
    variableOf[Letter[v][0] - 'a'] = v;
  }
  auto weightOf = [&](int v) { return variables <= 1 ? 1 : static_cast<int>(Weight[v]); };
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
    image[i] = static_cast<int64_t>(PassImage[i]);
    largestImage = std::max(largestImage, Abs(image[i]));
  }

  struct Candidate {
    int degree;
    int low;
    std::vector<int64_t> values;
    std::string text;
  };
  std::string inputOrder;
  for (int v = 1; v <= ToInt(LoadedVariableCount); ++v) inputOrder += InputLetter[v];
  std::vector<Candidate> candidates;
  for (const exact::Factor& f : exact_->Result().factors) {
    const exact::LetterPoly q = exact::FromExact(f.polynomial, Entered.letters);
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
    Candidate candidate{static_cast<int>(degree), static_cast<int>(low),
                        std::vector<int64_t>(static_cast<size_t>(degree) + 1, 0),
                        exact::InputText(q, inputOrder)};
    for (const auto& t : terms) candidate.values[t.first - low] = t.second;
    if (candidate.values[0] < 0) {
      for (int64_t& v : candidate.values) v = -v;
    }
    candidates.push_back(std::move(candidate));
  }
  std::stable_sort(candidates.begin(), candidates.end(),
                   [](const Candidate& a, const Candidate& b) { return a.degree < b.degree; });

  for (const Candidate& c : candidates) {
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
    HandOverDegree = static_cast<int16_t>(k);
    HandOverTrial.assign(t.begin(), t.end());
    HandOverQuotient.assign(q.begin(), q.end());
    HandOverText = c.text;
    return true;
  }
  return false;
}

void Engine::EndSearchProvedIrreducible() {
  if (console_.Column() > 1) ConsoleEnd();
  console_.WriteLine("已证明在有理数域上不可约 / proved irreducible over Q");
  AbortMark = "";
  ProvedIrreducible = 1;
  PassExactState = 2;
  Go(&Engine::EndOfSearch);
}

// The exact factor goes where a candidate of the search would: Trial holds
// it, Cofactor its quotient, and the candidate check splits the polynomial.
// Factors that the search stored without a split are let go first, so that
// the check starts from the pass's whole image.
void Engine::HandOverExactFactor() {
  const int n = PassDegree;
  const int k = HandOverDegree;
  if (StoredCount > 0 || ImageDegree != n) {
    for (int i = 0; i <= n; ++i) Image[i] = PassImage[i];
    ImageDegree = static_cast<int16_t>(n);
    EmptyStore();
  }
  for (int i = 0; i <= k; ++i) Trial[i] = HandOverTrial[i];
  for (int i = 0; i <= n - k; ++i) Cofactor[i] = HandOverQuotient[i];
  TrialDegree = static_cast<int16_t>(k);
  SavedTrialDegree = static_cast<int16_t>(k);
  MirrorUsed = 0;
  PassExactState = 2;
  if (console_.Column() > 1) ConsoleEnd();
  console_.WriteLine(std::string(marks::kExactNote) + HandOverText + " / the factor " + HandOverText +
                     " is taken from the exact factorisation");
  ExactNotes.push_back(std::string(marks::kExactNote) + HandOverText + " / the factor " + HandOverText +
                       " was taken from the exact factorisation");
  CheckAndSplitFactor();
  // A factor that maps back to no split is not handed over again in this
  // run (the same one would come back at every end of a search). One that the
  // check refuses cannot come from a factorisation that divides exactly; the
  // search's state is gone with it, so the search ends there.
  if (SplitResult != kSplitFound) HandOverRefused = 1;
  if (SplitResult == kNotAFactor) {
    SearchEndExamined = 1;
    Go(&Engine::EndOfSearch);
    return;
  }
  Go(&Engine::HandleOutcome);
}

std::string Engine::ResultSoFar(bool* lineOpen) {
  ResultFile.Flush();
  std::string text;
  ReadFilePrefix(PathOf("jg.dat"), size_t{1} << 26, &text);
  *lineOpen = !text.empty() && text.back() != '\n';
  return text;
}

// One round of a wait for the factoriser after a search: true when the wait
// is over (a result, a failure, the X key, or the time allowed for the run
// used up; once given up, no later wait of the run begins). The message comes
// only when the first round has not brought the result.
bool Engine::ExactWaitOver() {
  if (WaitGivenUp == 1 || exact_->Poll() == ExactState::kIdle) return true;
  if (exact_->Wait(kExactWaitRoundMs) != ExactState::kWorking) return true;
  if (WaitRounds == 0) {
    if (console_.Column() > 1) ConsoleEnd();
    console_.SetColours(kWaitingColours);
    console_.WriteLine("正在精确分解, 最多等候 5 秒, 按 X 键可跳过. (Waiting for the exact factorisation; press x to skip.)");
    console_.SetColours(kNormalColours);
  }
  const int key = console_.ReadKey();
  if (key == 'x' || key == 'X') {
    WaitGivenUp = 1;
    WaitSkipped = 1;
    return true;
  }
  if (++WaitRounds >= kExactWaitRounds) {
    WaitGivenUp = 1;
    return true;
  }
  return false;
}

// A search that ended on its own (not stopped, not in the late mode) leaves a
// polynomial that it found no factor of. Unless a cheap test shows it
// irreducible, the exact factorisation is asked: a factor that it knows is
// handed over as after a second of search, since the search's bounds left it
// out.
void Engine::ExamineSearchEnd() {
  SearchEndExamined = 1;
  auto current = CurrentPolynomial().PrimitivePart();
  if (ExactTaken == 0 || !current || current->IsConstant() || exact::KnownIrreducible(*current)) {
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
  if (ExactReady() && ClassifyCurrentPolynomial() == 2 && PrepareHandOver()) {
    SearchEndExamined = 0;
    Go(&Engine::HandOverExactFactor);
    return;
  }
  Go(&Engine::EndOfSearch);
}

// Judges the result with what is at hand, and waits for the factoriser only
// when the verdict needs it: a result whose factors are all known irreducible
// without it, or that disagrees with the polynomial, is judged at once.
void Engine::CertifyResult() {
  bool lineOpen = false;
  ResultSegment = exact::LastResultSegment(ResultSoFar(&lineOpen));
  ResultLineOpen = lineOpen ? 1 : 0;
  Judged = exact::Judgement{};
  JudgedWithExact = 0;
  if (ExactTaken == 1) {
    const bool ready = ExactReady();
    Judged = exact::JudgeResult(ResultSegment, Entered, ready ? &exact_->Result() : nullptr, PendingLost == 0);
    JudgedWithExact = ready ? 1 : 0;
    if (!ready && Judged.verdict != exact::Verdict::kComplete &&
        Judged.verdict != exact::Verdict::kInternalError) {
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
  if (ExactTaken == 1 && ready && JudgedWithExact == 0) {
    Judged = exact::JudgeResult(ResultSegment, Entered, &exact_->Result(), PendingLost == 0);
  }
  if (ResultLineOpen == 1) ResultEnd();
  for (const std::string& note : ExactNotes) {
    ResultText(note);
    ResultEnd();
  }
  for (const std::string& line : VerdictLines(Judged, ready)) {
    ResultText(line);
    ResultEnd();
  }
  CertificateDone = 1;
  Go(&Engine::CloseResultFile);
}

std::vector<std::string> Engine::VerdictLines(const exact::Judgement& judgement, bool exactKnown) {
  switch (judgement.verdict) {
    case exact::Verdict::kComplete:
      return {std::string(marks::kCertificate) + std::string(marks::kCompleteWords) +
              "每个因式在有理数域上不可约 / verified: the factorisation is complete, "
              "every factor is irreducible over Q"};
    case exact::Verdict::kInternalError:
      return {std::string(marks::kInternalError) + "结果与精确分解不一致 / internal error: " +
              WithoutParentheses(judgement.error)};
    case exact::Verdict::kIncomplete: {
      std::string chinese, english;
      auto reason = [&](const char* zh, const char* en) {
        chinese += chinese.empty() ? zh : std::string("，") + zh;
        english += english.empty() ? en : std::string("; ") + en;
      };
      if (PendingLost == 1) reason("待分解的因式文件无法读取", "a pending factor file could not be read");
      if (StoppedByKey == 1) reason("搜索被 X 键停止", "the search was stopped with the X key");
      if (StoppedByTime == 1) reason("搜索到了时间限制", "the search reached its time limit");
      if (LateMode == 1) reason("搜索转为只试最高次", "the search switched to the highest degree only");
      if (chinese.empty()) reason("搜索的系数界限漏掉了因式", "the search's coefficient bounds left factors out");
      const std::string line = std::string(marks::kCertificate) + std::string(marks::kNotCompleteWords) + chinese +
                             " / not complete: " + english;
      if (!exactKnown) return {line};
      std::string inputOrder;
      for (int v = 1; v <= ToInt(LoadedVariableCount); ++v) inputOrder += InputLetter[v];
      return {line + "; the complete factorisation follows",
              exact::CompleteResultLine(Entered, exact_->Result(), inputOrder)};
    }
    case exact::Verdict::kUnknown:
      break;
  }
  std::string why;
  if (ExactTaken == 0) {
    why = "多项式无法交给精确分解 / not verified: the polynomial cannot be handed to the exact factoriser";
  } else if (WaitSkipped == 1) {
    why = "等候被 X 键跳过 / not verified: the wait for the exact factorisation was skipped with the X key";
  } else if (exact_->Poll() == ExactState::kFailed) {
    why = "精确分解失败 / not verified: the exact factorisation failed: " + WithoutParentheses(exact_->Failure());
  } else {
    why = "精确分解在 5 秒内没有完成 / not verified: the exact factorisation did not finish within 5 seconds";
  }
  return {std::string(marks::kCertificate) + std::string(marks::kUnverifiedWords) + why};
}

// A result that the preparation wrote itself ("=0", a single term) has no
// factor to judge: its value is checked against the term table, and the
// certificate goes to the console as well, since no results display follows.
void Engine::CertifyShortResult() {
  if (CertificateDone == 1 || !ResultFile.IsOpen()) return;
  CertificateDone = 1;
  TakeExactInput();
  bool lineOpen = false;
  const std::string segment = LastLineSegment(ResultSoFar(&lineOpen));
  exact::Judgement judgement;
  if (ToInt(TermCount) == 0) Entered = exact::EnteredPolynomial{};
  if (ExactTaken == 1 || ToInt(TermCount) == 0) judgement = exact::JudgeResult(segment, Entered, nullptr, true);
  if (lineOpen) ResultEnd();
  if (console_.Column() > 1) ConsoleEnd();
  for (const std::string& line : VerdictLines(judgement, false)) {
    ResultText(line);
    ResultEnd();
    console_.WriteWords(line);
  }
}

}  // namespace pfac
