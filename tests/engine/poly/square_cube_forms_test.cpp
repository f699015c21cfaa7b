// The square and cube forms: term table in; console, jg.dat and pending files
// out; the preparation restarted on the factor left in the term table.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <random>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

// The prepared polynomial (written with its terms in descending order, as the
// search loads them) at the point where the search tries the forms. jg.dat
// holds the echo; the console transcript starts empty.
struct AtForms : HandedOver {
  explicit AtForms(const std::string& polynomial) : HandedOver(polynomial) {
    EXPECT_EQ(status, Engine::kStoppedBefore) << polynomial;
    engine->Go(nullptr);
    console.ClearTranscript();
  }
  // Tries the form that fits the number of terms.
  void Try() {
    if (e().Terms.TermCount == 2) {
      e().FactorSpecialBinomial();
    } else {
      e().FactorSquareTrinomial();
    }
  }
  // Prepares the factor that a form left in the term table, up to the search.
  void Restart() {
    ASSERT_TRUE(e().NextStep() == &Engine::RestartPreparation);
    status = e().RunUntil(&Engine::RestartPreparation, &Engine::AllocateSearchTables);
    ASSERT_EQ(status, Engine::kStoppedBefore);
    e().Go(nullptr);
  }
  std::string FinalResult() {
    e().CloseAllFiles();
    return Result();
  }
  std::string Pending(int n) { return folder.Read("gsys " + std::to_string(n)); }
};

struct Term {
  float coefficient;
  std::vector<float> exponents;
  bool operator==(const Term&) const = default;
};

std::vector<Term> Terms(const Engine& e) {
  std::vector<Term> terms;
  for (int t = 1; t <= ToInt(e.Terms.TermCount); ++t) {
    Term term{e.Terms.Numerator[t], {}};
    for (int v = 1; v <= ToInt(e.Terms.VariableCount); ++v) term.exponents.push_back(e.Terms.Exponent[t][v]);
    terms.push_back(term);
  }
  return terms;
}

TEST(SquareTrinomial, BaseGoesToThePendingFileAndToTheNewSearch) {
  AtForms run("4x^2+12x+9");
  run.Try();
  EXPECT_EQ(run.Transcript(), "=( 2 x^ 1 + 3 )^2 \n=");
  EXPECT_EQ(run.Pending(1), " 1  2  1  3  0 x\r\n");
  EXPECT_EQ(Terms(run.e()), (std::vector<Term>{{2, {1}}, {3, {0}}}));
  run.Restart();
  EXPECT_EQ(Terms(run.e()), (std::vector<Term>{{2, {1}}, {3, {0}}}));
  EXPECT_EQ(run.e().Dense.ImageDegree, 1);
  EXPECT_EQ(run.FinalResult(), " 4 x^ 2+ 12 x+ 9 \r\n=( 2 x^ 1 + 3 )^2\r\n=");

  // The whole run: the form counts as the first split (the result line is
  // open, "ok!" at the end), and the pending base comes back as a factor.
  EngineRun whole;
  whole.Factor("4x^2+12x+9");
  EXPECT_EQ(whole.Result(), " 4 x^ 2+ 12 x+ 9 \r\n=( 4x^ 2 + 12x + 9)\r\n=( 2 x^ 1 + 3 )^2\r\n=( 2x + 3)( 2x + 3)\r\n");
  EXPECT_NE(whole.Transcript().find("\nok!\n"), std::string::npos) << whole.Transcript();
}

TEST(SquareTrinomial, NegativeMiddleTermGivesTheDifference) {
  AtForms run("x^2-2x+1");
  run.Try();
  EXPECT_EQ(run.Transcript(), "=( 1 x^ 1 - 1 )^2 \n=");
  EXPECT_EQ(run.Pending(1), " 1  1  1 -1  0 x\r\n");
  EXPECT_EQ(Terms(run.e()), (std::vector<Term>{{1, {1}}, {-1, {0}}}));
}

TEST(SpecialForms, PolynomialsThatFitNoFormAreLeftAlone) {
  // The middle term of x^2y^2 + 2x + 1 lacks the y of 2AB.
  for (const char* polynomial :
       {"4x^2+9", "x^3-4", "26x^2-1", "x^2+3x+9", "4x^2+12x-9", "x^4+2x+1", "x^2y^2+2x+1"}) {
    AtForms run(polynomial);
    const std::vector<Term> before = Terms(run.e());
    run.Try();
    EXPECT_FALSE(run.e().Diverted()) << polynomial;
    EXPECT_EQ(run.Transcript(), "") << polynomial;
    EXPECT_EQ(Terms(run.e()), before) << polynomial;
    EXPECT_FALSE(run.folder.Exists("gsys 1")) << polynomial;
  }
}

TEST(DifferenceOfSquares, SecondFormOnALaterPassWritesTheCommonFactorOnce) {
  // 2x^5 - 2x = 2x (x^4 - 1): the first form gives (x^2 + 1)(x^2 - 1), the
  // second, on the later pass, (x + 1)(x - 1) on the console only.
  AtForms run("2x^5-2x");
  run.Try();
  EXPECT_EQ(run.Transcript(), "= 2 x( 1 x^ 2 + 1 )( 1 x^ 2 - 1 ) \n= 2 x");
  EXPECT_EQ(run.Pending(1), " 1 \r\n 1  2 \r\n 1  0 x\r\n");
  EXPECT_EQ(Terms(run.e()), (std::vector<Term>{{1, {2}}, {-1, {0}}}));
  run.Restart();
  run.console.ClearTranscript();
  run.Try();
  EXPECT_EQ(run.Transcript(), "( 1 x^ 1 + 1 )( 1 x^ 1 - 1 ) \n= 2 x");
  EXPECT_EQ(run.Pending(2), " 1 \r\n 1  1 \r\n 1  0 x\r\n");
  EXPECT_EQ(Terms(run.e()), (std::vector<Term>{{1, {1}}, {-1, {0}}}));
  EXPECT_EQ(run.FinalResult(), " 2 x^ 5- 2 x\r\n= 2x( 1 x^ 2 + 1 )( 1 x^ 2 - 1 )\r\n= 2x");
}

TEST(DifferenceOfSquares, PolynomialHeldNegatedGivesTheSignBackToTheFactorLeft) {
  // On a later pass 1 - x^2 is held as x^2 - 1 for the forms.
  AtForms run("x^2-1");
  run.e().Pass.SecondPass = 1;
  run.e().Report.SignFactor = -1;
  run.Try();
  EXPECT_EQ(run.Pending(1), " 1 \r\n 1  1 \r\n 1  0 x\r\n");
  EXPECT_EQ(Terms(run.e()), (std::vector<Term>{{-1, {1}}, {1, {0}}}));
}

TEST(Cubes, SumAndDifferenceOfCubes) {
  AtForms sum("8x^3+27");
  sum.Try();
  EXPECT_EQ(sum.Transcript(), "=( 2 x^ 1 + 3 )( 4 x^ 2 + 9 - 6 x^ 1 ) \n=");
  EXPECT_EQ(sum.Pending(1), " 1  2  1  3  0 x\r\n");
  EXPECT_EQ(Terms(sum.e()), (std::vector<Term>{{4, {2}}, {9, {0}}, {-6, {1}}}));
  EXPECT_EQ(sum.FinalResult(), " 8 x^ 3+ 27 \r\n=( 2 x^ 1 + 3 )( 4 x^ 2 + 9 -6 x^ 1 )\r\n=");

  AtForms difference("8x^3-27");
  difference.Try();
  EXPECT_EQ(difference.Transcript(), "=( 2 x^ 1 - 3 )( 4 x^ 2 + 9 + 6 x^ 1 ) \n=");
  EXPECT_EQ(difference.Pending(1), " 1  2  1 -3  0 x\r\n");
  EXPECT_EQ(Terms(difference.e()), (std::vector<Term>{{4, {2}}, {9, {0}}, {6, {1}}}));
  EXPECT_EQ(difference.FinalResult(), " 8 x^ 3- 27 \r\n=( 2 x^ 1 -3 )( 4 x^ 2 + 9 + 6 x^ 1 )\r\n=");
  difference.Restart();
  EXPECT_EQ(difference.e().Terms.TermCount, 3);
  EXPECT_EQ(difference.e().Dense.ImageDegree, 2);
}

// The cube root of the constant is exact for every cube up to 255^3, whatever
// the rounding of the logarithm and the exponential.
TEST(Cubes, EveryCubeUpTo255CubedIsRecognised) {
  for (int c = 1; c <= 255; ++c) {
    EngineRun run;
    run.Factor("x^3+" + std::to_string(c * c * c));
    const std::string jg = run.Result();
    const std::string form = "\r\n=( 1 x^ 1 + " + std::to_string(c) + " )( 1 x^ 2 + " + std::to_string(c * c) +
                             " -" + std::to_string(c) + " x^ 1 )\r\n";
    ASSERT_NE(jg.find(form), std::string::npos) << "x^3+" << c * c * c << "\n" << jg;
  }
}

// The variables are in the search's order (y first: of equal spreads the first
// order wins) and every term carries the exponent of each.
TEST(SpecialForms, FormsInSeveralVariables) {
  AtForms squares("x^2-y^2");
  ASSERT_EQ(squares.e().Terms.Letter[1], "y");
  squares.Try();
  EXPECT_EQ(squares.Transcript(), "=( 1 x^ 1 + 1 y^ 1 )( 1 x^ 1 - 1 y^ 1 ) \n=");
  EXPECT_EQ(squares.Pending(1), " 2 \r\n 1  0  1 \r\n 1  1 \r\n 0 y\r\nx\r\n");
  EXPECT_EQ(Terms(squares.e()), (std::vector<Term>{{1, {0, 1}}, {-1, {1, 0}}}));
  squares.Restart();
  EXPECT_EQ(squares.e().Terms.VariableCount, 2);
  EXPECT_EQ(squares.e().Dense.ImageDegree, 1);

  AtForms square("x^2+2xy+y^2");
  square.Try();
  EXPECT_EQ(square.Transcript(), "=( 1 x^ 1 + 1 y^ 1 )^2 \n=");
  EXPECT_EQ(square.Pending(1), " 2  1  0  1  1  1  0 y\r\nx\r\n");

  AtForms cubes("x^3+y^3");
  cubes.Try();
  EXPECT_EQ(cubes.Transcript(), "=( 1 x^ 1 + 1 y^ 1 )( 1 x^ 2 + 1 y^ 2 - 1 x^ 1 y^ 1 ) \n=");
  EXPECT_EQ(Terms(cubes.e()), (std::vector<Term>{{1, {0, 2}}, {1, {2, 0}}, {-1, {1, 1}}}));
}

// A reader that takes numbers as blank- or line-separated fields and each
// letter as the rest of a line reads every layout of the pending files.
TEST(SpecialForms, PendingFilesOfEveryLayoutReadBack) {
  AtForms squares("x^2-y^2");
  squares.Try();
  AtForms square("4x^2y^2+12xy+9");
  square.Try();
  AtForms cubes("x^3-8y^6");
  cubes.Try();
  struct Expected {
    AtForms* run;
    std::vector<float> numbers;
    std::vector<std::string> letters;
  };
  for (const Expected& expected : {Expected{&squares, {2, 1, 0, 1, 1, 1, 0}, {"y", "x"}},
                                   Expected{&square, {2, 2, 1, 1, 3, 0, 0}, {"y", "x"}},
                                   Expected{&cubes, {2, 1, 0, 1, -2, 2, 0}, {"y", "x"}}}) {
    InputFile file;
    ASSERT_TRUE(file.Open(expected.run->folder.path() / "gsys 1"));
    std::vector<float> numbers;
    const int variables = ToInt(ReadNumber(file.ReadNumberField()));
    numbers.push_back(static_cast<float>(variables));
    for (int i = 0; i < 2 * (variables + 1); ++i) numbers.push_back(ReadNumber(file.ReadNumberField()));
    std::vector<std::string> letters;
    for (int v = 0; v < variables; ++v) letters.push_back(file.ReadRestOfLine());
    EXPECT_EQ(numbers, expected.numbers) << expected.run->Pending(1);
    EXPECT_EQ(letters, expected.letters) << expected.run->Pending(1);
    EXPECT_TRUE(file.AtEnd());
  }
}

TEST(SpecialForms, PendingFileThatCannotBeCreatedStopsTheRun) {
  AtForms run("x^2-1");
  std::filesystem::create_directory(run.folder.path() / "gsys 1");
  run.Try();
  ASSERT_TRUE(run.e().Diverted());
  EXPECT_EQ(run.Transcript(), "");  // nothing of the form was written
  run.status = run.e().RunFrom(run.e().NextStep());
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.Transcript().find("\"gsys 1\" cannot be created"), std::string::npos);
  EXPECT_EQ(run.Result(), "x^ 2- 1 \r\nStopped: a pending-factor file could not be created.\r\n");
}

}  // namespace
}  // namespace pfac::testing

namespace pfac::testing {
namespace {

// A polynomial as a map from the exponents of the letters a, b, c to the
// coefficient, computed exactly.
using Exact = std::map<std::vector<int>, int64_t>;

Exact Times(const Exact& p, const Exact& q) {
  Exact r;
  for (const auto& [pe, pc] : p) {
    for (const auto& [qe, qc] : q) {
      std::vector<int> e(3);
      for (int v = 0; v < 3; ++v) e[v] = pe[v] + qe[v];
      if ((r[e] += pc * qc) == 0) r.erase(e);
    }
  }
  return r;
}

Exact Plus(Exact p, const Exact& q, int64_t sign) {
  for (const auto& [e, c] : q) {
    if ((p[e] += sign * c) == 0) p.erase(e);
  }
  return p;
}

std::string Text(const Exact& p) {
  std::string text;
  for (auto it = p.rbegin(); it != p.rend(); ++it) {
    if (it->second > 0 && !text.empty()) text += "+";
    text += std::to_string(it->second);
    for (int v = 0; v < 3; ++v) {
      if (it->first[v] > 0) text += std::string(1, "abc"[v]) + "^" + std::to_string(it->first[v]);
    }
  }
  return text;
}

// Reads a term table (or a pending file's terms) into the exact form, by the
// letters the engine keeps with it.
Exact FromTerms(const std::vector<float>& coefficients, const std::vector<std::vector<float>>& exponents,
                const std::vector<std::string>& letters) {
  Exact p;
  for (size_t t = 0; t < coefficients.size(); ++t) {
    std::vector<int> e(3, 0);
    for (size_t v = 0; v < letters.size(); ++v) e[letters[v][0] - 'a'] = static_cast<int>(exponents[t][v]);
    p[e] += static_cast<int64_t>(coefficients[t]);
  }
  return p;
}

Exact FromTermTable(const Engine& e) {
  std::vector<float> coefficients;
  std::vector<std::vector<float>> exponents;
  std::vector<std::string> letters(e.Terms.Letter.begin() + 1, e.Terms.Letter.begin() + 1 + ToInt(e.Terms.VariableCount));
  for (int t = 1; t <= ToInt(e.Terms.TermCount); ++t) {
    coefficients.push_back(e.Terms.Numerator[t]);
    exponents.emplace_back(e.Terms.Exponent[t] + 1, e.Terms.Exponent[t] + 1 + letters.size());
  }
  return FromTerms(coefficients, exponents, letters);
}

Exact FromPendingFile(const std::filesystem::path& path) {
  InputFile file;
  EXPECT_TRUE(file.Open(path));
  const int variables = ToInt(ReadNumber(file.ReadNumberField()));
  std::vector<float> coefficients;
  std::vector<std::vector<float>> exponents(2);
  for (int t = 0; t < 2; ++t) {
    coefficients.push_back(ReadNumber(file.ReadNumberField()));
    for (int v = 0; v < variables; ++v) exponents[t].push_back(ReadNumber(file.ReadNumberField()));
  }
  std::vector<std::string> letters;
  for (int v = 0; v < variables; ++v) letters.push_back(file.ReadRestOfLine());
  return FromTerms(coefficients, exponents, letters);
}

// Lays the prepared polynomial out by its codes and prints it, as the search
// does before it tries the forms: the printed terms reload the term table in
// descending order with every exponent, the leading coefficient made positive.
// Returns the sign that was taken out.
int64_t LayOutAsTheSearchDoes(Engine& e) {
  const int terms = ToInt(e.Terms.TermCount);
  float lo = e.Terms.TermCode[1];
  float hi = e.Terms.TermCode[1];
  for (int t = 1; t <= terms; ++t) {
    lo = std::min(lo, e.Terms.TermCode[t]);
    hi = std::max(hi, e.Terms.TermCode[t]);
  }
  e.Dense.ImageDegree = e.Dense.PassDegree = e.Split.DenseTop = ToInt16(hi - lo);
  const int n = e.Dense.ImageDegree;
  e.Dense.Cofactor.assign(n + 1, 0.0f);
  for (int t = 1; t <= terms; ++t) e.Dense.Cofactor[ToInt(e.Terms.TermCode[t] - lo)] = e.Terms.Numerator[t];
  const int64_t sign = e.Dense.Cofactor[n] < 0 ? -1 : 1;
  for (float& c : e.Dense.Cofactor) c = c * static_cast<float>(sign);
  e.Dense.PassImage = e.Dense.Image = e.Dense.Cofactor;
  e.Split.CodeOffset = lo;
  e.Split.DenseOffset = ToInt16(lo);
  e.Report.FileEcho = 1;
  e.PrintDenseFactor();
  e.Terms.TermCount = e.Terms.TermRows;
  return sign;
}

// Random forms in up to three variables: the factor put aside in the pending
// file times the factor left for the new search is the polynomial, exactly.
TEST(SpecialForms, PendingFactorTimesTheFactorLeftIsThePolynomial) {
  std::mt19937 random(31337);
  std::uniform_int_distribution<int> coefficient(1, 6);
  std::uniform_int_distribution<int> exponent(0, 3);
  std::uniform_int_distribution<int> kind(0, 3);
  std::uniform_int_distribution<int> sign(0, 1);
  int formsFound = 0;
  for (int round = 0; round < 300; ++round) {
    // A and B with coprime coefficients and no variable in common.
    int64_t a = coefficient(random);
    int64_t b = coefficient(random);
    if (std::gcd(a, b) != 1) continue;
    std::vector<int> ea(3, 0);
    std::vector<int> eb(3, 0);
    for (int v = 0; v < 3; ++v) (sign(random) ? ea : eb)[v] = exponent(random);
    if (ea == eb) continue;
    const Exact A{{ea, a}};
    const Exact B{{eb, sign(random) ? b : -b}};
    Exact p;
    switch (kind(random)) {
      case 0: p = Times(Plus(A, B, 1), Plus(A, B, 1)); break;                      // square
      case 1: p = Times(Plus(A, B, 1), Plus(A, B, -1)); break;                     // difference of squares
      case 2: p = Plus(Times(A, Times(A, A)), Times(B, Times(B, B)), 1); break;    // sum of cubes
      default: p = Plus(Times(A, Times(A, A)), Times(B, Times(B, B)), -1); break;  // difference of cubes
    }
    const std::string polynomial = Text(p);
    AtForms run(polynomial);
    if (run.status != Engine::kStoppedBefore || run.e().Terms.TermCount < 2 || run.e().Terms.TermCount > 3) continue;
    const Exact prepared = FromTermTable(run.e());
    const int64_t taken = LayOutAsTheSearchDoes(run.e());
    run.Try();
    if (!run.e().Diverted()) continue;
    ++formsFound;
    const Exact pending = FromPendingFile(run.folder.path() / "gsys 1");
    const Exact left = FromTermTable(run.e());
    ASSERT_EQ(Times(Times(pending, left), Exact{{{0, 0, 0}, taken}}), prepared)
        << polynomial << " -> " << Text(pending) << " times " << Text(left);
  }
  EXPECT_GT(formsFound, 100);
}

}  // namespace
}  // namespace pfac::testing
