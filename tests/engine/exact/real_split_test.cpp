// Factoring over the reals after the factorisation over Q: the textbook's
// exercises split with square roots and multiplied out exactly, what is left
// whole and why, a wrong answer caught by the check, and the roots that the
// linear factors give.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/exact/real_split.h"
#include "support/poly_check.h"

namespace pfac::testing {
namespace {

// A polynomial of the input syntax over the variables named by `letters`.
exact::RationalPolynomial Value(const std::string& text, const std::string& letters) {
  const auto parsed = ParseInput(text);
  EXPECT_TRUE(parsed) << text;
  exact::RationalPolynomial p{static_cast<int>(letters.size()), {}};
  for (const auto& [m, c] : parsed->numerator.terms) {
    exact::RationalTerm t{ToString(c), {}};
    for (char letter : letters) t.exponents.push_back(m[letter - 'a']);
    p.terms.push_back(t);
  }
  return p;
}

exact::RealFactorisation OverReals(const exact::RationalPolynomial& p) {
  std::string why;
  const auto f = exact::FactorRationalExactly(p, &why);
  EXPECT_TRUE(f) << why;
  return exact::OverReals(*f);
}

// What became of every factor, in order: "s" split, "l" linear, "n" no real
// root, "wN" left whole with N real roots, "m" several letters; a split
// factor's pieces follow in brackets the same way.
std::string Outcomes(const exact::RealFactorisation& f) {
  auto one = [](exact::RealOutcome outcome, int roots) {
    switch (outcome) {
      case exact::RealOutcome::kSplit: return std::string("s");
      case exact::RealOutcome::kLinear: return std::string("l");
      case exact::RealOutcome::kNoRealRoot: return std::string("n");
      case exact::RealOutcome::kLeftWhole: return "w" + std::to_string(roots);
      case exact::RealOutcome::kSeveralLetters: return std::string("m");
    }
    return std::string("?");
  };
  std::string out;
  for (const exact::RealFactor& factor : f.factors) {
    out += one(factor.split.outcome, factor.split.realRoots);
    if (factor.split.outcome != exact::RealOutcome::kSplit) continue;
    out += "[";
    for (const exact::RealPiece& piece : factor.split.pieces) out += one(piece.outcome, piece.realRoots);
    out += "]";
  }
  return out;
}

TEST(RealSplit, ExercisesMultiplyOutExactly) {
  const struct {
    const char* polynomial;
    const char* letters;
    const char* content;   // with every leading coefficient taken in front
    const char* outcomes;  // as Outcomes writes them, factors in the order over Q
    const char* firstPiece;  // the first piece's coefficients from the highest: the minus before the root first
  } cases[] = {
      {"x^2-2", "x", "1", "s[ll]", "1, -√2"},
      {"x^4-4", "x", "1", "ns[ll]", "1, -√2"},
      {"x^2-2x-1", "x", "1", "s[ll]", "1, -1 - √2"},
      {"2x^2-4x-1", "x", "2", "s[ll]", "1, (-2 + √6)/2"},
      {"x^2-3y^2", "xy", "1", "s[ll]", "1, -√3"},
      {"3x^3-6x", "x", "3", "ls[ll]", "1, -√2"},           // a content and a monomial before the split
      {"2x^2-3", "x", "2", "s[ll]", "1, -√6/2"},           // no root left in a denominator
      {"x^2-8", "x", "1", "s[ll]", "1, -2√2"},           // √8 = 2√2
      {"x^4+1", "x", "1", "s[nn]", "1, -√2, 1"},
      {"x^4-2x^2-1", "x", "1", "s[w2n]", "1, -1 - √2"},
      {"3x^4-3x^2-1", "x", "3", "s[nw2]", "1, (-3 + √21)/6"},  // √(7/3) = √21/3
      {"x^2-2xy-y^2", "xy", "1", "s[ll]", "1, -1 - √2"},     // homogeneous in two letters
      {"x^2+x+1", "x", "1", "n", ""},
      {"x^3-2", "x", "1", "w1", ""},
      {"x^3-3x+1", "x", "1", "w3", ""},
      {"x^4+3", "x", "1", "w0", ""},                       // its split needs a root within a root
      {"x^2+y^3+1", "xy", "1", "m", ""},
      // A discriminant too long to look for its square part in (about 250 bits):
      // left whole.
      {"x^2-12345678901234567890123456789012345678x-1", "x", "1", "w2", ""},
      {"x^5-x^4-4x^3+4x^2+4x-4", "x", "1", "ls[ll]", ""},  // (x - 1)(x² - 2)²
      {"4x^4-16x^3+12x^2+8x+1", "x", "4", "s[ll]", ""},     // (2x² - 4x - 1)²: its 2 in front twice
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.polynomial);
    const exact::RationalPolynomial p = Value(c.polynomial, c.letters);
    const exact::RealFactorisation f = OverReals(p);
    EXPECT_EQ(f.content, c.content);
    EXPECT_EQ(Outcomes(f), c.outcomes);
    EXPECT_TRUE(exact::MultipliesOutOverReals(p, f));
    // A factor left whole says of its one piece what it says of itself.
    for (const exact::RealFactor& factor : f.factors) {
      if (factor.split.outcome == exact::RealOutcome::kSplit) continue;
      ASSERT_EQ(factor.split.pieces.size(), 1u);
      EXPECT_EQ(factor.split.pieces.front().outcome, factor.split.outcome);
      if (factor.split.outcome == exact::RealOutcome::kLeftWhole) {
        EXPECT_EQ(factor.split.pieces.front().realRoots, factor.split.realRoots);
      }
    }
    if (*c.firstPiece == '\0') continue;
    const auto found = std::find_if(f.factors.begin(), f.factors.end(), [](const auto& factor) {
      return factor.split.outcome == exact::RealOutcome::kSplit;
    });
    ASSERT_NE(found, f.factors.end());
    const exact::RealFactor& split = *found;
    std::string first;
    for (const exact::RealTerm& term : split.split.pieces.front().polynomial.terms) {
      first += (first.empty() ? "" : ", ") + exact::SurdText(term.coefficient);
    }
    EXPECT_EQ(first, c.firstPiece);

    // The check is no formality: a root's sign turned, or a radicand changed,
    // no longer multiplies out.
    exact::RealFactorisation wrong = f;
    for (exact::RealFactor& factor : wrong.factors) {
      if (factor.split.outcome != exact::RealOutcome::kSplit) continue;
      exact::Surd& surd = factor.split.pieces.front().polynomial.terms.back().coefficient;
      if (surd.radical != "0") {
        surd.radicand = surd.radicand == "2" ? "3" : "2";
      } else {
        surd.rational = "-" + surd.rational;
      }
      break;
    }
    EXPECT_FALSE(exact::MultipliesOutOverReals(p, wrong));
  }
}

TEST(RealSplit, RootsOfTheLinearFactors) {
  const struct {
    const char* polynomial;
    std::vector<std::string> texts;
    std::vector<int> multiplicities;
  } cases[] = {
      {"x^3-x", {"-1", "0", "1"}, {1, 1, 1}},
      {"2x^2-4x-1", {"(2 - √6)/2", "(2 + √6)/2"}, {1, 1}},
      {"x^3-3x+2", {"-2", "1"}, {1, 2}},
      {"x^4-4", {"-√2", "√2"}, {1, 1}},
      {"2x^7-13x^6+24x^5-x^4-22x^3-3x^2+4x+1", {"1 - √2", "1/2", "1 + √2"}, {3, 1, 3}},  // (x² - 2x - 1)³(2x - 1)
      {"x^2+1", {}, {}},
      {"x^3-2", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.polynomial);
    const exact::RationalPolynomial p = Value(c.polynomial, "x");
    std::string why;
    const auto roots = exact::RealRootsOf(p, &why);
    ASSERT_TRUE(roots) << why;
    std::vector<std::string> texts;
    std::vector<int> multiplicities;
    for (const exact::RealRoot& root : *roots) {
      texts.push_back(root.text);
      multiplicities.push_back(root.multiplicity);
      // The value is the root: p vanishes there, up to rounding.
      double value = 0, scale = 0;
      for (const exact::RationalTerm& term : p.terms) {
        const double t = std::stod(term.coefficient) * std::pow(root.value, term.exponents[0]);
        value += t;
        scale += std::fabs(t);
      }
      EXPECT_LE(std::fabs(value), 1e-9 * std::max(1.0, scale)) << root.text;
    }
    EXPECT_EQ(texts, c.texts);
    EXPECT_EQ(multiplicities, c.multiplicities);
  }
  std::string why;
  EXPECT_FALSE(exact::RealRootsOf(Value("x^2-y", "xy"), &why));
}

}  // namespace
}  // namespace pfac::testing
