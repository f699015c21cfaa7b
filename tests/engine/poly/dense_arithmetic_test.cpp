// Dense arithmetic on the shared vectors and the factor store.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>

#include "support/engine_harness.h"

namespace pfac::testing {
namespace {

using Poly = std::vector<int64_t>;

Poly Multiply(const Poly& a, const Poly& b) {
  Poly r(a.size() + b.size() - 1, 0);
  for (size_t i = 0; i < a.size(); ++i) {
    for (size_t j = 0; j < b.size(); ++j) r[i + j] += a[i] * b[j];
  }
  return r;
}

std::vector<float> AsFloats(const Poly& p) { return std::vector<float>(p.begin(), p.end()); }

std::string Show(const Poly& p) {
  std::ostringstream out;
  for (int64_t c : p) out << c << ' ';
  return out.str();
}

void Load(FloatTable& table, const Poly& p) {
  for (size_t i = 0; i < p.size(); ++i) table[i] = static_cast<float>(p[i]);
}

// Stores the factors in order, as the candidate check does.
void StoreAll(Engine& e, const std::vector<Poly>& factors) {
  for (const Poly& f : factors) {
    Load(e.Trial, f);
    e.TrialDegree = static_cast<int16_t>(f.size() - 1);
    e.StoreFactor();
  }
}

TEST(DenseArithmetic, DivideFromLowBuildsTheQuotientFromTheConstantUp) {
  Workbench w;
  Engine& e = w.e;
  SetVector(e.PassImage, {2, 3, 1});  // t^2 + 3t + 2
  e.PassDegree = 2;
  SetVector(e.Trial, {1, 1});  // t + 1
  e.FirstDegree = 1;
  e.QuotientTop = 0;
  e.DivideFromLow();
  EXPECT_EQ(Entries(e.Cofactor, 1), (std::vector<float>{2, 1}));

  // QuotientTop -1: the quotient is the ratio of the leading coefficients.
  SetVector(e.PassImage, {4, 6});
  e.PassDegree = 1;
  SetVector(e.Trial, {2, 3});
  e.QuotientTop = -1;
  e.DivideFromLow();
  EXPECT_EQ(e.Cofactor[0], 2);
}

TEST(DenseArithmetic, ExactQuotientGivesTheSameQuotientUpwardAndDownward) {
  Workbench w;
  Engine& e = w.e;
  const Poly quadratic = {3, -1, 2};                   // 2t^2 - t + 3
  const Poly product = Multiply({1, 2, 1}, quadratic);  // (t + 1)^2 (2t^2 - t + 3)
  Load(e.PassImage, product);
  e.PassDegree = 4;

  // Divisor of degree 1: ExactTop 2 >= 1, upward.
  Load(e.Cofactor, {1, 1});
  e.CofactorDegree = 1;
  e.ExactQuotient();
  EXPECT_EQ(e.ExactTop, 2);
  EXPECT_EQ(e.FirstDegree, 1);
  EXPECT_EQ(Entries(e.Trial, 3), AsFloats(Multiply({1, 1}, quadratic)));

  // Divisor of degree 2: ExactTop 1 < 2, downward; only index 1 is computed.
  Load(e.Cofactor, {1, 2, 1});
  e.CofactorDegree = 2;
  e.ExactQuotient();
  EXPECT_EQ(e.ExactTop, 1);
  EXPECT_EQ(Entries(e.Trial, 2), AsFloats(quadratic));

  // Equal degrees: one constant, the ratio of the leading coefficients.
  Load(e.PassImage, {6, 4});
  e.PassDegree = 1;
  Load(e.Cofactor, {3, 2});
  e.CofactorDegree = 1;
  e.ExactQuotient();
  EXPECT_EQ(e.ExactTop, -1);
  EXPECT_EQ(e.Trial[0], 2);
}

TEST(DenseArithmetic, StoreKeepsEachFactorsEndAndDegree) {
  Workbench w;
  Engine& e = w.e;
  StoreAll(e, {{1, 2, 3}, {4, 5, 6, 7}});
  EXPECT_EQ(e.StoredCount, 2);
  EXPECT_EQ(e.StoreFill, 7);
  EXPECT_EQ(e.FactorEnd[0], 0);
  EXPECT_EQ(e.FactorEnd[1], 3);
  EXPECT_EQ(e.FactorEnd[2], 7);
  EXPECT_EQ(e.FactorDegree[1], 2);
  EXPECT_EQ(e.FactorDegree[2], 3);
  EXPECT_EQ(Entries(e.FactorStore, 6), (std::vector<float>{1, 2, 3, 4, 5, 6, 7}));

  e.RemoveNewestFactor();
  EXPECT_EQ(e.StoredCount, 1);
  EXPECT_EQ(e.StoreFill, 3);
  e.EmptyStore();
  EXPECT_EQ(e.StoredCount, 0);
  EXPECT_EQ(e.StoreFill, 0);

  // More factors than the image's degree allows still find room.
  Workbench small;
  small.e.ImageDegree = 1;
  small.e.AllocateStoreTables();
  StoreAll(small.e, {{1, 1}, {2, 1}, {3, 1}, {5, 0, 1}});
  EXPECT_EQ(small.e.StoredCount, 4);
  EXPECT_EQ(small.e.FactorEnd[4], 9);
}

TEST(DenseArithmetic, MultiplyByStoredFactorWritesTheWholeProduct) {
  Workbench w;
  Engine& e = w.e;
  StoreAll(e, {{3}, {1, 0, 2, 1}});
  for (int j = 1; j <= 2; ++j) e.SelectionItem[j] = static_cast<float>(j);

  // A factor of degree 0 scales the cofactor.
  Load(e.Cofactor, {1, -2, 5});
  e.CofactorDegree = 2;
  e.SelectionIndex[1] = 1;
  e.SelectionPosition = 1;
  e.MultiplyByStoredFactor();
  EXPECT_EQ(e.CofactorDegree, 2);
  EXPECT_EQ(Entries(e.Cofactor, 2), (std::vector<float>{3, -6, 15}));

  // A factor of higher degree than the cofactor: every index is written.
  Load(e.Cofactor, {2, 1});
  e.CofactorDegree = 1;
  e.SelectionIndex[1] = 2;
  e.MultiplyByStoredFactor();
  EXPECT_EQ(e.CofactorDegree, 4);
  EXPECT_EQ(Entries(e.Cofactor, 4), AsFloats(Multiply({2, 1}, {1, 0, 2, 1})));
  EXPECT_EQ(Entries(e.Trial, 3), (std::vector<float>{1, 0, 2, 1}));
}

// Random products of small polynomials: the product and both quotients come
// back exactly.
TEST(DenseArithmetic, ProductsAndQuotientsAreExact) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> degree(0, 5);
  std::uniform_int_distribution<int> coefficient(-9, 9);
  auto draw = [&] {
    Poly p(degree(random) + 1);
    for (int64_t& c : p) c = coefficient(random);
    while (p.front() == 0) p.front() = coefficient(random);
    while (p.back() == 0) p.back() = coefficient(random);
    return p;
  };
  Workbench w;
  Engine& e = w.e;
  for (int round = 0; round < 500; ++round) {
    const Poly f = draw();
    const Poly g = draw();
    const Poly product = Multiply(f, g);
    const std::string what = "f = " + Show(f) + " g = " + Show(g);
    e.EmptyStore();
    StoreAll(e, {f});
    e.SelectionItem[1] = 1;
    e.SelectionIndex[1] = 1;
    e.SelectionPosition = 1;
    Load(e.Cofactor, g);
    e.CofactorDegree = static_cast<int16_t>(g.size() - 1);
    e.MultiplyByStoredFactor();
    ASSERT_EQ(Entries(e.Cofactor, e.CofactorDegree), AsFloats(product)) << what;

    Load(e.PassImage, product);
    e.PassDegree = static_cast<int16_t>(product.size() - 1);
    Load(e.Cofactor, g);
    e.CofactorDegree = static_cast<int16_t>(g.size() - 1);
    e.ExactQuotient();
    ASSERT_EQ(Entries(e.Trial, static_cast<int>(f.size()) - 1), AsFloats(f)) << what;

    Load(e.Trial, f);
    e.FirstDegree = static_cast<int16_t>(f.size() - 1);
    e.QuotientTop = static_cast<float>(g.size()) - 2;
    e.DivideFromLow();
    ASSERT_EQ(Entries(e.Cofactor, static_cast<int>(g.size()) - 1), AsFloats(g)) << what;
  }
}

TEST(DenseArithmetic, AValueBeyondTheExactRangeStopsTheRun) {
  Workbench w;
  Engine& e = w.e;
  StoreAll(e, {{1, 4096}});
  e.SelectionItem[1] = 1;
  e.SelectionIndex[1] = 1;
  e.SelectionPosition = 1;
  Load(e.Cofactor, {1, 4096});
  e.CofactorDegree = 1;
  EXPECT_THROW(e.MultiplyByStoredFactor(), RangeStop);  // 4096 * 4096 = 2^24

  Load(e.PassImage, {1, 3});
  e.PassDegree = 1;
  Load(e.Cofactor, {0, 1});  // a zero constant term would divide by zero
  e.CofactorDegree = 0;
  EXPECT_THROW(e.ExactQuotient(), RangeStop);
}

}  // namespace
}  // namespace pfac::testing
