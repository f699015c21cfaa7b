// The exact factoriser beside the search: the factorisation through the
// helper program, the judgement of a result, and whole runs that take its
// help, on the fake clock with a factoriser whose readiness is fixed.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <utility>
#include <vector>

#include "engine/exact/certificate.h"
#include "engine/exact/factoriser.h"
#include "engine/exact/flint_factor.h"
#include "support/engine_harness.h"
#include "support/exact_fake.h"
#include "support/poly_check.h"

namespace pfac::testing {
namespace {

using exact::Verdict;
using Readiness = FakeFactoriser::Readiness;

// A polynomial of the input syntax over the variables named by `letters`.
exact::Polynomial Exact(const std::string& text, const std::string& letters) {
  auto parsed = ParseInput(text);
  EXPECT_TRUE(parsed) << text;
  exact::Polynomial p{static_cast<int>(letters.size()), {}};
  for (const auto& [m, c] : parsed->numerator.terms) {
    exact::Term t{ToString(c), {}};
    for (char letter : letters) t.exponents.push_back(m[letter - 'a']);
    p.terms.push_back(t);
  }
  return p;
}

// The product content x factor^multiplicity, in the tests' own arithmetic.
Poly Product(const exact::Factorisation& f, const std::string& letters) {
  auto toPoly = [&](const exact::Polynomial& p) {
    Poly out;
    for (const exact::Term& t : p.terms) {
      Poly term = Poly::Constant(std::stoll(t.coefficient));
      for (size_t v = 0; v < letters.size(); ++v) term = term * Poly::Variable(letters[v], t.exponents[v]);
      out = out + term;
    }
    return out;
  };
  Poly product = Poly::Constant(std::stoll(f.content));
  for (const exact::Factor& factor : f.factors) {
    for (int m = 0; m < factor.multiplicity; ++m) product = product * toPoly(factor.polynomial);
  }
  return product;
}

TEST(ExactFactoriser, HelperProgramFactorsCompletely) {
  const struct {
    const char* polynomial;
    const char* letters;
    size_t distinctFactors;
  } cases[] = {
      {"x^4+64", "x", 2},
      {"2x^6-2", "x", 4},                   // content 2, four factors
      {"x^4-2x^2+1", "x", 2},               // (x - 1)^2 (x + 1)^2
      {"x^4+64y^4", "xy", 2},
      {"-x^3y+xy^3", "xy", 4},              // a negative content
  };
  for (const auto& c : cases) {
    const exact::Polynomial p = Exact(c.polynomial, c.letters);
    exact::HelperProcessFactoriser helper(PFAC_EXACT_BINARY);
    helper.Start(p);
    ASSERT_EQ(helper.Wait(60000), exact::ExactState::kReady) << c.polynomial << ": " << helper.Failure();
    const exact::Factorisation& f = helper.Result();
    EXPECT_EQ(f.factors.size(), c.distinctFactors) << c.polynomial;
    EXPECT_TRUE(Product(f, c.letters) == ParseInput(c.polynomial)->numerator) << c.polynomial;
    for (const exact::Factor& factor : f.factors) {
      EXPECT_NE(factor.polynomial.terms.front().coefficient[0], '-') << c.polynomial;
    }
  }
  exact::HelperProcessFactoriser missing("/nonexistent/pfac-exact");
  missing.Start(Exact("x^4+1", "x"));
  EXPECT_EQ(missing.Wait(60000), exact::ExactState::kFailed);
  EXPECT_NE(missing.Failure().find("cannot be started"), std::string::npos) << missing.Failure();
}

// A helper whose engine ended before it could ask to end with it finds another
// parent, and ends at once instead of waiting for a request that never comes.
TEST(ExactFactoriser, HelperWhoseEngineIsGoneEndsAtOnce) {
  int request[2];
  ASSERT_EQ(pipe2(request, O_CLOEXEC), 0);
  const pid_t test = getpid();
  const pid_t helper = fork();
  if (helper == 0) {
    EndWithParent(test);
    if (dup2(request[0], 0) < 0) _exit(127);
    execl(PFAC_EXACT_BINARY, PFAC_EXACT_BINARY, "0", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(request[0]);
  int status = 0;
  // The request stays open: a helper that waits for it is ended after ten seconds
  // (a safeguard, not a measurement).
  for (int round = 0; round < 1000 && waitpid(helper, &status, WNOHANG) == 0; ++round) usleep(10000);
  if (waitpid(helper, &status, WNOHANG) == 0) {
    kill(helper, SIGKILL);
    waitpid(helper, &status, 0);
  }
  close(request[1]);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << "status " << status;
}

exact::Polynomial ToExact(const Poly& p, const std::string& letters) {
  exact::Polynomial out{static_cast<int>(letters.size()), {}};
  for (const auto& [m, c] : p.terms) {
    exact::Term t{ToString(c), {}};
    for (char letter : letters) t.exponents.push_back(m[letter - 'a']);
    out.terms.push_back(t);
  }
  return out;
}

// The content and each factor with its multiplicity, whatever their order.
std::pair<std::string, std::map<std::string, int>> Factors(const exact::Factorisation& f) {
  std::map<std::string, int> factors;
  for (const exact::Factor& factor : f.factors) {
    std::vector<std::string> terms;
    for (const exact::Term& t : factor.polynomial.terms) {
      std::string term = t.coefficient;
      for (int32_t e : t.exponents) term += " " + std::to_string(e);
      terms.push_back(term);
    }
    std::sort(terms.begin(), terms.end());
    std::string key;
    for (const std::string& t : terms) key += t + ";";
    factors[key] += factor.multiplicity;
  }
  return {f.content, factors};
}

// The binomials, polynomials in x^k, cyclotomic factors and homogeneous
// polynomials in two variables that are factored through their structure give
// what the general algorithm gives on the same polynomial.
TEST(ExactFactoriser, StructureGivesWhatTheGeneralAlgorithmGives) {
  const Poly x = Poly::Variable('x'), y = Poly::Variable('y'), one = Poly::Constant(1);
  auto power = [](const Poly& p, int n) {
    Poly out = Poly::Constant(1);
    for (int i = 0; i < n; ++i) out = out * p;
    return out;
  };
  auto X = [](int n) { return Poly::Variable('x', n); };
  auto Y = [](int n) { return Poly::Variable('y', n); };
  const Poly minusOne = Poly::Constant(-1);
  const Poly sparse = X(7) + X(2).Scaled(3) + Poly::Constant(-5);  // irreducible, no cyclotomic factor
  const struct {
    Poly polynomial;
    const char* letters;
  } cases[] = {
      {X(1) + minusOne, "x"},
      {X(12) + minusOne, "x"},
      {X(105) + minusOne, "x"},
      {X(210) + one, "x"},
      {X(64) + one, "x"},
      {(X(13) + one).Scaled(-6), "x"},                        // a negative content
      {X(6).Scaled(8) + Poly::Constant(-27), "x"},            // (2x)^3 - 3^3, squared
      {X(4).Scaled(16) + Poly::Constant(81), "x"},            // (2x)^4 + 3^4
      {X(6) + Poly::Constant(-8), "x"},                       // (x^2)^3 - 2^3
      {X(4) + Poly::Constant(4), "x"},                        // x^4 + 4, in x^2 and not a fourth power
      {X(12).Scaled(3) + Poly::Constant(-2), "x"},            // irreducible
      {X(9).Scaled(2) + Poly::Constant(-3), "x"},             // irreducible
      {X(6) + Poly::Constant(27), "x"},                       // x^6 - (-3)^3
      {X(8) + Poly::Constant(4), "x"},                        // x^8 + 4 * 1^4
      {X(4).Scaled(4) + one, "x"},                            // (2x)^4 + 4 in 2x, times 4
      {X(10).Scaled(4) + one, "x"},                           // irreducible
      {X(60) + X(30) + one, "x"},
      {X(70) + X(35) + one, "x"},
      {X(40) + X(20).Scaled(-1) + one, "x"},
      {X(90) + X(1).Scaled(-1) + minusOne, "x"},              // irreducible, no structure
      {power(X(6) + minusOne, 2) * (X(4) + one) * X(3), "x"},
      {(X(12) + minusOne) * sparse, "x"},
      {(X(15) + X(5).Scaled(-1) + one) * power(sparse, 2) * (X(9) + one), "x"},
      {(X(3) + Poly::Constant(-2)) * (X(6) + X(2) + one) * (X(8) + minusOne), "x"},
      {X(24) * Poly::Constant(2) + X(16).Scaled(-3) + X(8).Scaled(5) + minusOne, "x"},  // in x^8
      // What the structure leaves is of degree 200 or more (factored modulo one prime).
      {X(300) + X(150).Scaled(6) + X(2).Scaled(-4) + Poly::Constant(9), "x"},  // (x^150 ± 2x + 3), in x^2
      {X(400) + X(6).Scaled(5) + Poly::Constant(-3), "x"},                    // in x^2
      {X(400) + X(2).Scaled(-4) + Poly::Constant(9), "x"},                    // 3 | 9, y = x^2 simple modulo 3
      {(X(12) + minusOne) * (X(201) + X(7).Scaled(3) + Poly::Constant(-5)) * (X(205) + X(1).Scaled(-2) + Poly::Constant(7)),
       "x"},
      {X(30) + Y(30).Scaled(-1), "xy"},
      {X(21) + Y(21), "xy"},
      {power(x + y.Scaled(-1), 2) * (X(2) + x * y + Y(2)) * (X(3) + Y(3).Scaled(-2)) * Y(2), "xy"},
      {(X(4) + Y(4).Scaled(64)) * x.Scaled(-3), "xy"},
      {X(12) * Y(3) + X(3).Scaled(-1), "xy"},                 // not homogeneous: the general algorithm
      {Y(20) + minusOne, "xy"},                               // x does not occur
  };
  for (const auto& c : cases) {
    const exact::Polynomial p = ToExact(c.polynomial, c.letters);
    std::string why;
    auto structured = exact::FactorExactly(p, &why);
    ASSERT_TRUE(structured) << c.polynomial.Text() << ": " << why;
    auto general = exact::FactorExactly(p, &why, exact::Method::kGeneralOnly);
    ASSERT_TRUE(general) << c.polynomial.Text() << ": " << why;
    EXPECT_EQ(Factors(*structured), Factors(*general)) << c.polynomial.Text();
    EXPECT_TRUE(Product(*structured, c.letters) == c.polynomial) << c.polynomial.Text();
  }

  // Trinomials x^n ± x ± 1 of every sign and every residue of n modulo 3 and 2
  // (x^5 + x + 1, x^8 - x + 1 have a quadratic factor).
  for (int n = 3; n <= 14; ++n) {
    for (int a : {-1, 1}) {
      for (int b : {-1, 1}) {
        const Poly trinomial = X(n) + X(1).Scaled(a) + Poly::Constant(b);
        const exact::Polynomial p = ToExact(trinomial, "x");
        std::string why;
        auto structured = exact::FactorExactly(p, &why);
        auto general = exact::FactorExactly(p, &why, exact::Method::kGeneralOnly);
        ASSERT_TRUE(structured && general) << trinomial.Text() << ": " << why;
        EXPECT_EQ(Factors(*structured), Factors(*general)) << trinomial.Text();
      }
    }
  }

  // Cyclotomic parts with repeated and shared factors times random factors,
  // from a fixed seed.
  std::mt19937 random(18);
  auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  for (int round = 0; round < 40; ++round) {
    Poly p = Poly::Constant(pick(1, 3));
    for (int i = pick(1, 3); i > 0; --i) {
      const int n = pick(1, 30);
      switch (pick(0, 2)) {
        case 0: p = p * (X(n) + minusOne); break;
        case 1: p = p * (X(n) + one); break;
        default: p = p * (X(2 * n) + X(n) + one); break;
      }
    }
    Poly factor = X(pick(1, 8));
    for (int e = pick(0, 3); e >= 0; --e) factor = factor + X(e).Scaled(pick(-9, 9));
    p = p * power(factor, pick(0, 2));
    const exact::Polynomial exactP = ToExact(p, "x");
    std::string why;
    auto structured = exact::FactorExactly(exactP, &why);
    ASSERT_TRUE(structured) << p.Text() << ": " << why;
    auto general = exact::FactorExactly(exactP, &why, exact::Method::kGeneralOnly);
    ASSERT_TRUE(general) << p.Text() << ": " << why;
    EXPECT_EQ(Factors(*structured), Factors(*general)) << p.Text();
  }
}

exact::EnteredPolynomial Entered(const std::string& prepared, const std::string& letters, int64_t numerator = 1,
                                 int64_t denominator = 1, const std::string& monomial = "") {
  exact::EnteredPolynomial e;
  e.prepared = exact::FromExact(Exact(prepared, letters), letters);
  e.letters = letters;
  e.numerator = numerator;
  e.denominator = denominator;
  for (char letter : monomial) ++e.monomial[letter - 'a'];
  return e;
}

// The values that a written result segment stands for, as the engine's
// writers record them.
std::optional<format::ResultProduct> Values(const std::string& segment) { return format::ReadResultSegment(segment); }

TEST(Certificate, JudgesTheResultAgainstThePolynomialAndItsFactors) {
  const struct {
    const char* segment;
    const char* prepared;
    bool withExact;
    Verdict verdict;
  } cases[] = {
      {"=(x - 3)(x^ 2 - 3x - 5)", "x^3-6x^2+4x+15", false, Verdict::kComplete},  // cheap tests suffice
      {"=(x^ 4 + 1)", "x^4+1", false, Verdict::kUnknown},
      {"=(x^ 4 + 1)", "x^4+1", true, Verdict::kComplete},
      {"=(x^ 4 + 64)", "x^4+64", true, Verdict::kIncomplete},
      {"=(x - 1)(x - 1)(x + 1)", "x^3-x^2-x+1", true, Verdict::kComplete},
      {"=(x - 3)(x^ 2 - 3x + 5)", "x^3-6x^2+4x+15", false, Verdict::kInternalError},  // wrong value
      {"=(x - 3)(x^ 2 - 3x - ", "x^3-6x^2+4x+15", false, Verdict::kInternalError},   // no result
      {"=-(x- y)(x+ y)", "-x^2+y^2", true, Verdict::kComplete},
  };
  for (const auto& c : cases) {
    const std::string letters = std::string(c.prepared).find('y') != std::string::npos ? "xy" : "x";
    const exact::EnteredPolynomial entered = Entered(c.prepared, letters);
    std::string why;
    auto f = exact::FactorExactly(Exact(c.prepared, letters), &why);
    ASSERT_TRUE(f) << why;
    const exact::Judgement j = exact::JudgeResult(Values(c.segment), entered, c.withExact ? &*f : nullptr, true);
    EXPECT_EQ(j.verdict, c.verdict) << c.segment << " " << j.error;
  }
  // The rational factor and the monomial taken out are part of the value.
  EXPECT_EQ(exact::JudgeResult(Values("= 3/ 2x(x - 1)(x + 1)"), Entered("x^2-1", "x", 3, 2, "x"), nullptr, true).verdict,
            Verdict::kComplete);
  EXPECT_EQ(exact::JudgeResult(Values("= 3x(x - 1)(x + 1)"), Entered("x^2-1", "x", 3, 2, "x"), nullptr, true).verdict,
            Verdict::kInternalError);
  // A value written rounded is not known: an internal error, unless the
  // result is known to lack a factor anyway.
  auto rounded = Values("=(x - 3)(x^ 2 - 3x - 5)");
  rounded->unreadable = true;
  EXPECT_EQ(exact::JudgeResult(rounded, Entered("x^3-6x^2+4x+15", "x"), nullptr, true).verdict,
            Verdict::kInternalError);
  EXPECT_EQ(exact::JudgeResult(rounded, Entered("x^3-6x^2+4x+15", "x"), nullptr, false).verdict,
            Verdict::kIncomplete);
  // A factorisation that does not multiply back is an internal error, whatever the result.
  exact::Factorisation wrong{"1", {{Exact("x^2+1", "x"), 1}, {Exact("x^2+64", "x"), 1}}};
  EXPECT_EQ(exact::JudgeResult(Values("=(x^ 4 + 64)"), Entered("x^4+64", "x"), &wrong, true).verdict,
            Verdict::kInternalError);
}

TEST(Certificate, CompleteLineIsAResultLineOfTheEngine) {
  std::string why;
  auto f = exact::FactorExactly(Exact("x^4+64", "x"), &why);
  ASSERT_TRUE(f) << why;
  EXPECT_EQ(exact::CompleteResultLine(Entered("x^4+64", "x"), *f, "x"), "=(x^ 2 + 4x + 8)(x^ 2 - 4x + 8)");

  // -3/2 x y^2 (x^2 - y^2)^2, written by the user with y first.
  f = exact::FactorExactly(Exact("-x^4+2x^2y^2-y^4", "xy"), &why);
  ASSERT_TRUE(f) << why;
  const std::string line = exact::CompleteResultLine(Entered("-x^4+2x^2y^2-y^4", "xy", 3, 2, "xyy"), *f, "yx");
  EXPECT_EQ(line, "=- 3/ 2y^ 2x(y+ x)(y+ x)(y- x)(y- x)");
  auto value = ParseResultLine(line);
  ASSERT_TRUE(value) << line;
  auto entered = ParseInput("-3/2x^5y^2+3x^3y^4-3/2xy^6");
  EXPECT_TRUE(SameValue(*value, *entered)) << line;

  // y^2 - x^2: the factor x - y, once, is written y - x, and the sign of the
  // whole turns with it.
  f = exact::FactorExactly(Exact("-x^2+y^2", "xy"), &why);
  ASSERT_TRUE(f) << why;
  EXPECT_EQ(exact::CompleteResultLine(Entered("-x^2+y^2", "xy"), *f, "yx"), "=(y+ x)(y- x)");
}

TEST(Certificate, IrreducibleWithoutTheFactoriser) {
  const std::pair<const char*, bool> cases[] = {
      {"x^2+x+1", true},   {"x^2-1", false},      {"x^3-2", true},     {"2x^3+3x^2-1", false},  // root 1/2
      {"x^2+y^2", true},   {"x^2-y^2", false},    {"x+y^2", true},     {"xy+1", true},
      {"xy+y", false},     {"x^4+1", false},      {"x^3+y^3", false},  {"x^2+xy+y^2", true},
      {"x^3+2y^3", true},
  };
  for (const auto& [text, irreducible] : cases) {
    const std::string letters = std::string(text).find('y') != std::string::npos ? "xy" : "x";
    EXPECT_EQ(exact::KnownIrreducible(exact::FromExact(Exact(text, letters), letters)), irreducible) << text;
  }
}

// A run with a fake factoriser; the clock moves on by stepMs at every reading.
struct HelpedRun {
  FakeFactoriser factoriser;
  EngineRun run;
  HelpedRun(Readiness readiness, long stepMs) : factoriser(readiness), run(&factoriser) {
    run.clock.SetStepPerReadingMs(stepMs);
  }
  std::string Jg() const { return run.Result(); }
  std::string Console() const { return run.Transcript(); }
  FinalLine Last() const {
    auto last = LastResultLine(run.Result());
    EXPECT_TRUE(last) << run.Result();
    return last ? *last : FinalLine{};
  }
};

::testing::AssertionResult EqualsInput(const std::string& line, const std::string& polynomial) {
  std::string why;
  if (LineEquals(line, *ParseInput(polynomial), &why)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << polynomial << ": " << why;
}

constexpr char kIrreducible16[] =
    "x^16-136x^14+6476x^12-141912x^10+1513334x^8-7453176x^6+13950764x^4-5596840x^2+46225";

TEST(ExactRun, ProofOfIrreducibilityEndsTheSearch) {
  HelpedRun r(Readiness::kAtStart, 50);
  r.run.Factor(kIrreducible16);
  EXPECT_NE(r.Console().find("已证明在有理数域上不可约 / proved irreducible over Q"), std::string::npos);
  EXPECT_EQ(r.Console().find("重新分解它吗"), std::string::npos) << "no retry question";
  const FinalLine last = r.Last();
  EXPECT_FALSE(last.stopped);
  EXPECT_TRUE(EqualsInput(last.line, kIrreducible16));
  EXPECT_EQ(last.certificate, kCompleteCertificate);

  // Without the factoriser the same search runs into its limit.
  EngineRun alone;
  alone.clock.SetStepPerReadingMs(50);
  alone.Factor(kIrreducible16);
  EXPECT_TRUE(LastResultLine(alone.Result())->stopped);
}

TEST(ExactRun, ExactFactorIsHandedToTheCandidateCheck) {
  // A product whose factors the search's bounds leave out: without help the
  // search runs into its time limit; with the exact factorisation at hand the
  // factor comes at the search's first look at it (degree 16: without a tenth
  // of a second of search first), reported as a found one.
  const std::string product =
      "2x^16+2x^15-9x^14+19x^13-22x^12+35x^11-22x^10-21x^9-21x^8+11x^7+40x^6+12x^5-17x^4-30x^3+2x^2+5x+15";
  HelpedRun helped(Readiness::kAtStart, 50);
  helped.run.Factor(product);
  FinalLine last = helped.Last();
  EXPECT_TRUE(EqualsInput(last.line, product));
  EXPECT_FALSE(last.stopped);
  EXPECT_EQ(last.certificate, kCompleteCertificate);
  EXPECT_NE(helped.Jg().find("\r\n=[ 2*x^ 16"), std::string::npos) << "the report of a split";
  EXPECT_NE(helped.Jg().find("\r\n精确分解给出因式 "), std::string::npos);
  EXPECT_NE(helped.Console().find("精确分解给出因式 "), std::string::npos);

  HelpedRun slow(Readiness::kNever, 50);
  slow.run.Factor(product);
  last = slow.Last();
  EXPECT_TRUE(last.stopped);
  EXPECT_EQ(last.certificate.rfind("验证: 未验证, 精确分解在 5 秒内没有完成", 0), 0u) << last.certificate;

  // Stopped with X before the factor came, the retry declined: the certificate
  // says why the result is not complete, and gives the whole.
  HelpedRun stopped(Readiness::kAtFirstWait, 50);
  stopped.run.console.PressKey('x', 0);
  stopped.run.console.PressKey('n', 1L << 40);
  stopped.run.Factor(product);
  last = stopped.Last();
  EXPECT_TRUE(last.stopped);
  EXPECT_EQ(last.certificate,
            "验证: 结果不完整, 搜索被 X 键停止 / not complete: the search was stopped with the X key; the complete "
            "factorisation follows");
  EXPECT_TRUE(EqualsInput(last.completeLine, product));

  // The textbook identity that the bounds miss: handed over when the search ends.
  HelpedRun textbook(Readiness::kAtFirstWait, 50);
  textbook.run.Factor("x^4+64");
  EXPECT_EQ(textbook.Jg(),
            "x^ 4+ 64 \r\n"
            "=(x^ 4 + 64)\r\n"
            "=[ 1*x^ 4+( 4 -4 )*x^ 3+( 8 -16  8 )*x^ 2+(-32  32 )*x+ 64]\r\n"
            "=[( 1 *x^ 4+ 4 *x^ 3+ 8 *x^ 2)+(-4 *x^ 3-16 *x^ 2-32 *x)+( 8 *x^ 2+ 32 *x+ 64 )]\r\n"
            "=(x^ 2 + 4x + 8)(x^ 2 - 4x + 8)\r\n"
            "=(x^ 2 + 4x + 8)(x^ 2 - 4x + 8)\r\n"
            "精确分解给出因式 x^2+4x+8 / the factor x^2+4x+8 was taken from the exact factorisation\r\n" +
                std::string(kCompleteCertificate) + "\r\n");
}

TEST(ExactRun, LaterPassTakesItsKnownFactorWithoutSearching) {
  // (x^4 + 64)(x^8 + 1), of degree 12: the first pass searches until its
  // first look at the factorisation (no tenth of a second), then takes
  // x^2 + 4x + 8; the next pass takes x^2 - 4x + 8 before any degree is
  // searched, with the lines of a found factor.
  HelpedRun r(Readiness::kAtStart, 50);
  r.run.Factor("x^12+64x^8+x^4+64");
  EXPECT_EQ(r.Jg(),
            "x^ 12+ 64 x^ 8+x^ 4+ 64 \r\n"
            "=(x^ 12 + 64x^ 8 + x^ 4 + 64)\r\n"
            "=[ 1*x^ 12+( 4 -4 )*x^ 11+( 8 -16  8 )*x^ 10+(-32  32 )*x^ 9+( 64 )*x^ 8+( 1 )*x^ 4+( 4 -4 )*x^ 3+"
            "( 8 -16  8 )*x^ 2+(-32  32 )*x+ 64]\r\n"
            "=[( 1 *x^ 12+ 4 *x^ 11+ 8 *x^ 10)+(-4 *x^ 11-16 *x^ 10-32 *x^ 9)+( 8 *x^ 10+ 32 *x^ 9+ 64 *x^ 8)+"
            "( 1 *x^ 4+ 4 *x^ 3+ 8 *x^ 2)+(-4 *x^ 3-16 *x^ 2-32 *x)+( 8 *x^ 2+ 32 *x+ 64 )]\r\n"
            "=(x^ 2 + 4x + 8)(x^ 10 - 4x^ 9 + 8x^ 8 + x^ 2 - 4x + 8)\r\n"
            "=(x^ 2 + 4x + 8)(x^ 2 - 4x + 8)(x^ 8 + 1)\r\n"
            "精确分解给出因式 x^2+4x+8 / the factor x^2+4x+8 was taken from the exact factorisation\r\n"
            "精确分解给出因式 x^2-4x+8 / the factor x^2-4x+8 was taken from the exact factorisation\r\n" +
                std::string(kCompleteCertificate) + "\r\n");
  const std::string console = r.Console();
  const size_t first = console.find("精确分解给出因式 x^2+4x+8");
  const size_t second = console.find("精确分解给出因式 x^2-4x+8");
  ASSERT_NE(second, std::string::npos) << console;
  EXPECT_NE(console.rfind(" *   ", first), std::string::npos) << "the first pass searched";
  EXPECT_EQ(console.substr(first, second - first).find(" *   "), std::string::npos) << "the second did not";
}

// A product in several variables of low total degree whose search walks a
// long image with many terms has the factoriser started at once, and its pass
// takes the exact factor as soon as the factorisation is there, on a clock
// that stands still (no tenth of a second ever passes); the several-variable
// polynomials of a course, and a binomial of a long image, never start it.
TEST(ExactRun, LongSearchInSeveralVariablesTakesItsFactorAtOnce) {
  const struct {
    const char* polynomial;
    bool longSearch;
  } cases[] = {
      {"-12x^2y^3z^2+8x^2y^4+16x^2y^2z+6x^2yz^2+16xy^3z+15xyz^3-4x^2y^2-10xy^2z-8x^2z-8xyz-20xz^2-20yz^2", true},
      {"32x^3y^2z^3w^2+8x^3y^2z^4+16x^3z^2w^2-8x^2y^2zw^2+8xy^2z^4+4x^3z^3-2x^2y^2z^2-4x^2w^2+4xz^3-2y^2z^2-x^2z-z",
       true},
      {"x^2y+xy^2+x^2z+xz^2+y^2z+yz^2+2xyz", false},
      {"x^2-2xy+y^2-z^2", false},
      {"x^6-y^6", false},
  };
  for (const auto& c : cases) {
    HelpedRun r(Readiness::kAtStart, 0);
    r.run.Factor(c.polynomial);
    EXPECT_EQ(r.Last().certificate, kCompleteCertificate) << c.polynomial;
    EXPECT_TRUE(EqualsInput(r.Last().line, c.polynomial));
    EXPECT_EQ(r.factoriser.Starts(), c.longSearch ? 1 : 0) << c.polynomial;
    EXPECT_EQ(r.Jg().find("\r\n精确分解给出因式 ") != std::string::npos, c.longSearch) << r.Jg();
  }
}

// A polynomial that no variable order encodes for the search (x^240 y^240
// would need the code 240 * 241) ends as a stopped search: the polynomial
// unsplit, "=....", the reason and the complete factorisation. An input that
// the start-up checks refuse stays refused.
TEST(ExactRun, EncodingLimitEndsWithTheCompleteFactorisation) {
  for (const char* polynomial : {"x^240-y^240", "-2x^240y+2y^241"}) {
    HelpedRun r(Readiness::kAtFirstWait, 50);
    r.run.Factor(polynomial);
    const FinalLine last = r.Last();
    EXPECT_TRUE(last.stopped) << r.Jg();
    EXPECT_TRUE(EqualsInput(last.line, polynomial));
    EXPECT_EQ(last.certificate,
              "验证: 结果不完整, 代换后的指数在每种变量顺序下都超出 32767 / not complete: the substitution exponents "
              "exceed 32767 under every variable order; the complete factorisation follows");
    EXPECT_TRUE(EqualsInput(last.completeLine, polynomial));
    EXPECT_NE(r.Console().find("exceeds 32767"), std::string::npos) << r.Console();
  }
  HelpedRun refused(Readiness::kAtFirstWait, 50);
  refused.run.Factor("x^32768+1");
  EXPECT_NE(refused.Console().find("exceeds 32767"), std::string::npos) << refused.Console();
  EXPECT_EQ(refused.Jg().find("验证"), std::string::npos) << refused.Jg();
  EXPECT_EQ(refused.factoriser.Starts(), 0);
}

// Powers of products, whose factors the search cannot take alone: in
// (x^500 - 1)^4, once the quotients grow past the search's value limit, the
// search's candidate x^2 - 1 would divide what x - 1 no longer does, and is
// given up for the exact factor of lower degree; in (x^100 + 1)^20 no single
// factor leaves a cofactor within the floats' range, and the exact factors
// end the result line together. Every factor of the result is irreducible.
TEST(ExactRun, PowersOfProductsEndComplete) {
  const struct {
    const char* polynomial;
    long stepMs;
  } cases[] = {
      {"x^2000-4x^1500+6x^1000-4x^500+1", 1},
      {"x^2000+20x^1900+190x^1800+1140x^1700+4845x^1600+15504x^1500+38760x^1400+77520x^1300+125970x^1200+"
       "167960x^1100+184756x^1000+167960x^900+125970x^800+77520x^700+38760x^600+15504x^500+4845x^400+1140x^300+"
       "190x^200+20x^100+1",
       50},
  };
  for (const auto& c : cases) {
    HelpedRun r(Readiness::kAtStart, c.stepMs);
    r.run.Factor(c.polynomial);
    EXPECT_EQ(r.Last().certificate, kCompleteCertificate) << c.polynomial;
    EXPECT_TRUE(EqualsInput(r.Last().line, c.polynomial));
  }
  // The factorisation still on its way when the search, past its value limit
  // on x - 1, comes to the candidate x^2 - 1: the candidate waits for it, and
  // gives way to x - 1. (x^100 - 1)^4: below the degree at which the search
  // waits for the factoriser at every look.
  HelpedRun late(Readiness::kAtFirstWait, 1);
  late.run.Factor("x^400-4x^300+6x^200-4x^100+1");
  EXPECT_EQ(late.Last().certificate, kCompleteCertificate) << late.Jg();
  EXPECT_EQ(late.Jg().find("(x^ 2 - 1)"), std::string::npos);
}

// The console as one text, its line ends read as blanks (the results display
// breaks a long certificate at a blank).
std::string Joined(std::string console) {
  for (char& c : console) {
    if (c == '\n') c = ' ';
  }
  return console;
}

constexpr char kRetryQuestion[] = "重新分解它吗  y/n ?\nDecompose again y/n ?\n";

TEST(ExactRun, CertificateSaysWhatIsNotKnown) {
  // x^4 + x^3 + x^2 + x + 1 is irreducible, but no cheap test shows it. The
  // retry question comes only when the exact factorisation is not at hand
  // after the search.
  const std::string quartic = "x^4+x^3+x^2+x+1";
  const struct {
    Readiness readiness;
    bool pressX;
    const char* certificate;
  } cases[] = {
      {Readiness::kAtFirstWait, false, kCompleteCertificate},
      {Readiness::kNever, false, "验证: 未验证, 精确分解在 5 秒内没有完成"},
      {Readiness::kNever, true, "验证: 未验证, 等候被 X 键跳过"},
      {Readiness::kFails, false, "验证: 未验证, 精确分解失败 / not verified: the exact factorisation failed: "},
  };
  for (const auto& c : cases) {
    HelpedRun r(c.readiness, 0);
    if (c.pressX) {
      // The key comes after the reads that the search makes.
      HelpedRun probe(Readiness::kAtFirstWait, 0);
      probe.run.Factor(quartic);
      r.run.console.PressKey('x', probe.run.console.KeyReads());
    }
    r.run.Factor(quartic);
    const FinalLine last = r.Last();
    EXPECT_TRUE(EqualsInput(last.line, quartic));
    EXPECT_EQ(last.certificate.rfind(c.certificate, 0), 0u) << last.certificate;
    const bool waited = c.readiness == Readiness::kNever;
    EXPECT_EQ(r.Console().find("正在精确分解, 最多等候 5 秒") != std::string::npos, waited) << r.Console();
    EXPECT_NE(Joined(r.Console()).find(last.certificate), std::string::npos) << "the results display shows it";
    const bool complete = c.readiness == Readiness::kAtFirstWait;
    EXPECT_EQ(r.Console().find(kRetryQuestion) == std::string::npos, complete) << r.Console();
  }
}

// A result that the certificate calls complete without the factoriser asks
// nothing and never starts it (course polynomials in several variables, whose
// images have higher degrees, included).
TEST(ExactRun, RetryQuestionOnlyWhileTheResultMayBeIncomplete) {
  for (const char* polynomial : {"x^2+1", "2x^2+4x+6", "1/2x^2-3/4x+1", "x^2+y^2", "x^3+x+1", "x^2-2xy+y^2-z^2",
                                 "x^2y+xy^2+x^2z+xz^2+y^2z+yz^2+2xyz"}) {
    HelpedRun r(Readiness::kAtStart, 0);  // the clock stands: no search starts the factoriser
    r.run.Factor(polynomial);
    EXPECT_EQ(r.Console().find(kRetryQuestion), std::string::npos) << polynomial << "\n" << r.Console();
    EXPECT_EQ(r.Last().certificate, kCompleteCertificate) << polynomial;
    EXPECT_EQ(r.factoriser.Starts(), 0) << polynomial;
  }
  // A search stopped with X while the exact factorisation at hand knows a
  // factor: the question stays, and the certificate says "not complete".
  const std::string product =
      "2x^16+2x^15-9x^14+19x^13-22x^12+35x^11-22x^10-21x^9-21x^8+11x^7+40x^6+12x^5-17x^4-30x^3+2x^2+5x+15";
  HelpedRun stopped(Readiness::kAtStart, 50);
  stopped.run.console.PressKey('x', 0);  // the factoriser started at once (degree 16), no search yet
  stopped.run.Factor(product);
  EXPECT_EQ(stopped.factoriser.Starts(), 1);
  EXPECT_NE(stopped.Console().find(kRetryQuestion), std::string::npos) << stopped.Console();
  EXPECT_EQ(stopped.Last().certificate.rfind("验证: 结果不完整, 搜索被 X 键停止", 0), 0u) << stopped.Last().certificate;
}

// A pending-factor file that cannot be read back leaves its factor out of the
// result line: the certificate names the cause and gives the whole.
TEST(ExactRun, LostPendingFileIsNamedInTheCertificate) {
  HelpedRun r(Readiness::kAtFirstWait, 0);
  r.run.FactorUntil("x^4-1", &Engine::LoadPendingFactor);
  std::filesystem::remove(r.run.folder.path() / "gsys 1");
  r.run.status = r.run.engine->RunFrom(&Engine::LoadPendingFactor);
  EXPECT_EQ(r.Jg(),
            "x^ 4- 1 \r\n=(x^ 4 - 1)\r\n=( 1 x^ 2 + 1 )( 1 x^ 2 - 1 )\r\n=(x - 1)\r\n"
            "Incomplete: the pending factor file \"gsys 1\" cannot be read.\r\n"
            "验证: 结果不完整, 待分解的因式文件无法读取 / not complete: a pending factor file could not be read; the "
            "complete factorisation follows\r\n"
            "=(x + 1)(x - 1)(x^ 2 + 1)\r\n");
}

TEST(ExactRun, DisagreementIsAnInternalError) {
  HelpedRun r(Readiness::kAtFirstWait, 0);
  // Its product is x^4 + 65x^2 + 64, not x^4 + 64.
  r.factoriser.Inject({"1", {{Exact("x^2+1", "x"), 1}, {Exact("x^2+64", "x"), 1}}});
  r.run.Factor("x^4+64");
  const FinalLine last = r.Last();
  EXPECT_EQ(last.certificate,
            "内部错误: 结果与精确分解不一致 / internal error: the exact factorisation does not multiply back to the "
            "polynomial");
  EXPECT_EQ(r.Jg().find("验证"), std::string::npos);
  EXPECT_NE(r.Console().find("内部错误"), std::string::npos);
}

TEST(EngineBinary, FactorsWithItsHelperAndSaysWhenTheHelperIsMissing) {
  TempFolder folder;
  folder.Write("DXS.DAT", QuotedLine("x^4+64"));
  ProcessResult run = RunEngineBinary(folder.path());
  EXPECT_EQ(run.status, 0);
  auto last = LastResultLine(folder.Read("jg.dat"));
  ASSERT_TRUE(last);
  EXPECT_TRUE(EqualsInput(last->line, "x^4+64"));
  EXPECT_EQ(last->line, "=(x^ 2 + 4x + 8)(x^ 2 - 4x + 8)");
  EXPECT_EQ(last->certificate, kCompleteCertificate);

  // The engine alone in a folder: a result that needs the helper is not verified.
  TempFolder lone;
  std::filesystem::copy_file(PFAC_ENGINE_BINARY, lone.path() / "pfac-engine");
  lone.Write("DXS.DAT", QuotedLine("x^4+x^3+x^2+x+1"));
  ASSERT_EQ(RunEngineBinary(lone.path(), lone.path() / "pfac-engine").status, 0);
  last = LastResultLine(lone.Read("jg.dat"));
  ASSERT_TRUE(last);
  EXPECT_NE(last->certificate.find("精确分解失败 / not verified: the exact factorisation failed: the helper program"),
            std::string::npos)
      << last->certificate;
}

}  // namespace
}  // namespace pfac::testing
