#include "engine/exact/certificate.h"

#include <algorithm>
#include <map>
#include <numeric>
#include <optional>

#include "engine/result_format/marks.h"

namespace pfac::exact {

namespace {

// Values are compared at this many fixed points modulo a prime of 61 bits: a
// difference that vanishes at all of them by chance has a probability below
// (degree / 2^61) to that power, below 10^-29 for the engine's degrees.
constexpr int kRounds = 2;

// numerator / denominator x monomial x product, against the polynomial
// entered, at every point: cross-multiplied, so that no inverse is needed.
bool SameValue(const ResultProduct& result, const EnteredPolynomial& entered) {
  for (int round = 0; round < kRounds; ++round) {
    const Point at = EvaluationPoint(round);
    uint64_t left = MulMod(ModPrime(result.numerator), ModPrime(entered.denominator));
    left = MulMod(left, EvaluateMonomial(result.monomial, at));
    for (const LetterPoly& f : result.factors) left = MulMod(left, Evaluate(f, at));
    uint64_t right = MulMod(ModPrime(entered.numerator), ModPrime(result.denominator));
    right = MulMod(right, EvaluateMonomial(entered.monomial, at));
    right = MulMod(right, Evaluate(entered.prepared, at));
    if (left != right) return false;
  }
  return true;
}

// content x product of factor^multiplicity against the prepared polynomial.
bool MultipliesBack(const Factorisation& exact, const EnteredPolynomial& entered) {
  for (int round = 0; round < kRounds; ++round) {
    const Point at = EvaluationPoint(round);
    uint64_t product = ModPrime(exact.content);
    for (const Factor& f : exact.factors) {
      const uint64_t value = Evaluate(FromExact(f.polynomial, entered.letters), at);
      product = MulMod(product, PowMod(value, static_cast<uint64_t>(f.multiplicity)));
    }
    if (product != Evaluate(entered.prepared, at)) return false;
  }
  return true;
}

// The exact factors as sign-normalised polynomials in letters, with their
// multiplicities.
std::map<LetterPoly, int> ExactFactors(const Factorisation& exact, const std::string& letters) {
  std::map<LetterPoly, int> out;
  for (const Factor& f : exact.factors) out[FromExact(f.polynomial, letters).SignNormalised()] += f.multiplicity;
  return out;
}

// Lines of jg.dat hold no parentheses but those of factors: the texts that
// the certificate quotes lose theirs.
std::string WithoutParentheses(std::string text) {
  for (char& c : text) {
    if (c == '(' || c == ')') c = ' ';
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

}  // namespace

Judgement JudgeResult(const std::optional<ResultProduct>& written, const EnteredPolynomial& entered,
                      const Factorisation* exact, bool checkValue) {
  Judgement out;
  auto fail = [&](std::string why) {
    out.verdict = Verdict::kInternalError;
    out.error = std::move(why);
    return out;
  };
  if (exact && !MultipliesBack(*exact, entered)) {
    return fail("the exact factorisation does not multiply back to the polynomial");
  }
  std::optional<ResultProduct> result = written;
  if (!result || result->unreadable) {
    if (checkValue) {
      return fail(result ? "a number of the result line is not written with all its digits"
                         : "no result line holds a factor");
    }
    result = ResultProduct{};
  }
  if (checkValue && !SameValue(*result, entered)) {
    return fail("the result line and the polynomial entered differ in value");
  }
  // Each factor of the result: irreducible by a cheap test, or one of the
  // exact factors; a factor that is neither is reducible once the exact
  // factorisation is known.
  std::map<LetterPoly, int> exactFactors;
  if (exact) exactFactors = ExactFactors(*exact, entered.letters);
  std::map<LetterPoly, int> found;
  bool unknown = false, reducible = false;
  for (const LetterPoly& f : result->factors) {
    if (f.terms.empty() || f.IsConstant()) continue;
    auto primitive = f.PrimitivePart();
    if (!primitive) return fail("a factor of the result has a coefficient beyond 64 bits");
    ++found[*primitive];
    if (exactFactors.count(*primitive)) continue;
    if (exact) {
      reducible = true;
    } else if (!KnownIrreducible(*primitive)) {
      unknown = true;
    }
  }
  if (reducible || !checkValue) {
    out.verdict = Verdict::kIncomplete;
    return out;
  }
  if (unknown) return out;
  // Every factor is irreducible: by unique factorisation they must be the
  // exact factors, each as often.
  if (exact && found != exactFactors) return fail("the factors of the result and the exact factors differ");
  out.verdict = Verdict::kComplete;
  return out;
}

std::string CompleteResultLine(const EnteredPolynomial& entered, const Factorisation& exact,
                               const std::string& inputOrder) {
  // Each factor as the user reads it: its first term, in the order of the
  // user's letters, positive. A factor of odd multiplicity turned round turns
  // the sign of the whole.
  struct Written {
    LetterPoly factor;
    int multiplicity;
    int degree;
  };
  std::vector<Written> factors;
  int64_t content = 1;
  DecimalToInt64(exact.content, &content);
  for (const Factor& f : exact.factors) {
    LetterPoly p = FromExact(f.polynomial, entered.letters);
    if (FirstTermNegative(p, inputOrder)) {
      p = Negated(p);
      if (f.multiplicity % 2 == 1) content = -content;
    }
    int degree = 0;
    for (const auto& [m, c] : p.terms) degree = std::max(degree, std::accumulate(m.begin(), m.end(), 0));
    factors.push_back({std::move(p), f.multiplicity, degree});
  }
  // Factors of lower degree first, as the search finds them.
  std::stable_sort(factors.begin(), factors.end(),
                   [](const Written& a, const Written& b) { return a.degree < b.degree; });
  // The rational factor: the entered one times the content of the prepared
  // polynomial's factorisation (its sign, for a primitive polynomial).
  int64_t numerator = entered.numerator * content;
  int64_t denominator = entered.denominator;
  const int64_t g = std::gcd(numerator, denominator);
  if (g > 1) {
    numerator /= g;
    denominator /= g;
  }
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  format::ResultProduct values;
  values.numerator = numerator;
  values.denominator = denominator;
  values.monomial = entered.monomial;
  for (const Written& w : factors) values.factors.insert(values.factors.end(), w.multiplicity, w.factor);
  return format::ResultSegmentText(values, inputOrder, entered.letters.size() == 1);
}

std::vector<std::string> CertificateLines(const Judgement& judgement, const RunCircumstances& run,
                                          const Factorisation* exact, const EnteredPolynomial& entered,
                                          const std::string& inputOrder) {
  const std::string certificate(marks::kCertificate);
  switch (judgement.verdict) {
    case Verdict::kComplete:
      return {certificate + std::string(marks::kCompleteWords) +
              "每个因式在有理数域上不可约 / verified: the factorisation is complete, "
              "every factor is irreducible over Q"};
    case Verdict::kInternalError:
      return {std::string(marks::kInternalError) + "结果与精确分解不一致 / internal error: " +
              WithoutParentheses(judgement.error)};
    case Verdict::kIncomplete: {
      std::string chinese, english;
      auto reason = [&](const char* zh, const char* en) {
        chinese += chinese.empty() ? zh : std::string("，") + zh;
        english += english.empty() ? en : std::string("; ") + en;
      };
      if (run.pendingLost) reason("待分解的因式文件无法读取", "a pending factor file could not be read");
      if (run.stoppedByKey) reason("搜索被 X 键停止", "the search was stopped with the X key");
      if (run.stoppedByTime) reason("搜索到了时间限制", "the search reached its time limit");
      if (run.lateMode) reason("搜索转为只试最高次", "the search switched to the highest degree only");
      if (run.encodingLimit) {
        reason("代换后的指数在每种变量顺序下都超出 32767",
               "the substitution exponents exceed 32767 under every variable order");
      }
      if (chinese.empty()) reason("搜索的系数界限漏掉了因式", "the search's coefficient bounds left factors out");
      const std::string line =
          certificate + std::string(marks::kNotCompleteWords) + chinese + " / not complete: " + english;
      if (!exact) return {line};
      return {line + "; the complete factorisation follows", CompleteResultLine(entered, *exact, inputOrder)};
    }
    case Verdict::kUnknown:
      break;
  }
  std::string why;
  if (!run.taken) {
    why = "多项式无法交给精确分解 / not verified: the polynomial cannot be handed to the exact factoriser";
  } else if (run.waitSkipped) {
    why = "等候被 X 键跳过 / not verified: the wait for the exact factorisation was skipped with the X key";
  } else if (run.failed) {
    why = "精确分解失败 / not verified: the exact factorisation failed: " + WithoutParentheses(run.failure);
  } else {
    why = "精确分解在 5 秒内没有完成 / not verified: the exact factorisation did not finish within 5 seconds";
  }
  return {certificate + std::string(marks::kUnverifiedWords) + why};
}

}  // namespace pfac::exact
