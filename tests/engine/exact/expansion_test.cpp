// Brackets multiplied out exactly: what the answer holds, and the refusal of
// malformed programs and of steps too large to compute.
#include <gtest/gtest.h>

#include <string>

#include "engine/exact/expansion.h"

namespace pfac::testing {
namespace {

using exact::ExpansionProgram;
using exact::ExpansionStep;
using Kind = exact::ExpansionStep::Kind;

ExpansionStep Push(const std::string& coefficient, std::vector<int32_t> exponents) {
  return {Kind::Push, {coefficient, std::move(exponents)}, 0};
}
ExpansionStep Op(Kind kind, int32_t exponent = 0) { return {kind, {}, exponent}; }

// The answer's terms as "c:e1,e2 ..." for easy comparison.
std::string Terms(const exact::RationalPolynomial& p) {
  std::string out;
  for (const exact::RationalTerm& t : p.terms) {
    if (!out.empty()) out += ' ';
    out += t.coefficient + ':';
    for (size_t v = 0; v < t.exponents.size(); ++v) out += (v ? "," : "") + std::to_string(t.exponents[v]);
  }
  return out;
}

TEST(Expansion, BracketsAndPowersMultipliedOutExactly) {
  // (x + 1)(x + y + z)^2 over x, y, z.
  ExpansionProgram product{3,
                           {Push("1", {1, 0, 0}), Push("1", {0, 0, 0}), Op(Kind::Add), Push("1", {1, 0, 0}),
                            Push("1", {0, 1, 0}), Op(Kind::Add), Push("1", {0, 0, 1}), Op(Kind::Add),
                            Op(Kind::Power, 2), Op(Kind::Multiply)}};
  // (1/2x - 2/3)^3
  ExpansionProgram fractions{1, {Push("1/2", {1}), Push("-2/3", {0}), Op(Kind::Add), Op(Kind::Power, 3)}};
  // (x - 1)(x + 1) - x^2 + 1 is zero.
  ExpansionProgram zero{1,
                        {Push("1", {1}), Push("-1", {0}), Op(Kind::Add), Push("1", {1}), Push("1", {0}),
                         Op(Kind::Add), Op(Kind::Multiply), Push("-1", {2}), Op(Kind::Add), Push("1", {0}),
                         Op(Kind::Add)}};
  const struct {
    const ExpansionProgram* program;
    const char* terms;
  } cases[] = {
      {&product, "1:3,0,0 2:2,1,0 2:2,0,1 1:2,0,0 1:1,2,0 2:1,1,1 2:1,1,0 1:1,0,2 2:1,0,1 1:0,2,0 2:0,1,1 1:0,0,2"},
      {&fractions, "1/8:3 -1/2:2 2/3:1 -8/27:0"},
      {&zero, ""},
  };
  for (const auto& c : cases) {
    std::string why;
    auto answer = exact::ExpandExactly(*c.program, &why);
    ASSERT_TRUE(answer) << why;
    EXPECT_EQ(Terms(*answer), c.terms) << c.terms;
  }
}

TEST(Expansion, RefusesMalformedProgramsAndResultsTooLarge) {
  std::string why;
  // Nothing to add to.
  EXPECT_FALSE(exact::ExpandExactly({1, {Push("1", {1}), Op(Kind::Add)}}, &why));
  // Two polynomials left on the stack.
  EXPECT_FALSE(exact::ExpandExactly({1, {Push("1", {1}), Push("1", {0})}}, &why));
  EXPECT_EQ(why, "the request is malformed");
  // (x + y + z + w)^1000 has about 1.7e8 terms; (2x + 3)^30000 has 30001
  // coefficients of some 50,000 bits: both are refused before they are computed.
  ExpansionProgram wide{4,
                        {Push("1", {1, 0, 0, 0}), Push("1", {0, 1, 0, 0}), Op(Kind::Add), Push("1", {0, 0, 1, 0}),
                         Op(Kind::Add), Push("1", {0, 0, 0, 1}), Op(Kind::Add), Op(Kind::Power, 1000)}};
  ExpansionProgram long_{1, {Push("2", {1}), Push("3", {0}), Op(Kind::Add), Op(Kind::Power, 30000)}};
  for (const ExpansionProgram* program : {&wide, &long_}) {
    why.clear();
    EXPECT_FALSE(exact::ExpandExactly(*program, &why));
    EXPECT_EQ(why, exact::kExpansionTooLarge);
  }
  // (x + 1)^30 is small, and exact.
  auto power = exact::ExpandExactly({1, {Push("1", {1}), Push("1", {0}), Op(Kind::Add), Op(Kind::Power, 30)}}, &why);
  ASSERT_TRUE(power);
  EXPECT_EQ(power->terms.size(), 31u);
  EXPECT_EQ(power->terms[15].coefficient, "155117520");  // C(30, 15)
}

}  // namespace
}  // namespace pfac::testing
