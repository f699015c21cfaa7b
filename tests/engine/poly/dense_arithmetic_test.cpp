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
    Load(e.Dense.Trial, f);
    e.Dense.TrialDegree = static_cast<int16_t>(f.size() - 1);
    e.StoreFactor();
  }
}

TEST(DenseArithmetic, DivideFromLowBuildsTheQuotientFromTheConstantUp) {
  Workbench w;
  Engine& e = w.e;
  SetVector(e.Dense.PassImage, {2, 3, 1});  // t^2 + 3t + 2
  e.Dense.PassDegree = 2;
  SetVector(e.Dense.Trial, {1, 1});  // t + 1
  e.Dense.FirstDegree = 1;
  e.Dense.QuotientTop = 0;
  e.DivideFromLow();
  EXPECT_EQ(Entries(e.Dense.Cofactor, 1), (std::vector<float>{2, 1}));

  // QuotientTop -1: the quotient is the ratio of the leading coefficients.
  SetVector(e.Dense.PassImage, {4, 6});
  e.Dense.PassDegree = 1;
  SetVector(e.Dense.Trial, {2, 3});
  e.Dense.QuotientTop = -1;
  e.DivideFromLow();
  EXPECT_EQ(e.Dense.Cofactor[0], 2);
}

TEST(DenseArithmetic, ExactQuotientGivesTheSameQuotientUpwardAndDownward) {
  Workbench w;
  Engine& e = w.e;
  const Poly quadratic = {3, -1, 2};                   // 2t^2 - t + 3
  const Poly product = Multiply({1, 2, 1}, quadratic);  // (t + 1)^2 (2t^2 - t + 3)
  Load(e.Dense.PassImage, product);
  e.Dense.PassDegree = 4;

  // Divisor of degree 1: ExactTop 2 >= 1, upward.
  Load(e.Dense.Cofactor, {1, 1});
  e.Dense.CofactorDegree = 1;
  e.ExactQuotient();
  EXPECT_EQ(e.Dense.ExactTop, 2);
  EXPECT_EQ(e.Dense.FirstDegree, 1);
  EXPECT_EQ(Entries(e.Dense.Trial, 3), AsFloats(Multiply({1, 1}, quadratic)));

  // Divisor of degree 2: ExactTop 1 < 2, downward; only index 1 is computed.
  Load(e.Dense.Cofactor, {1, 2, 1});
  e.Dense.CofactorDegree = 2;
  e.ExactQuotient();
  EXPECT_EQ(e.Dense.ExactTop, 1);
  EXPECT_EQ(Entries(e.Dense.Trial, 2), AsFloats(quadratic));

  // Equal degrees: one constant, the ratio of the leading coefficients.
  Load(e.Dense.PassImage, {6, 4});
  e.Dense.PassDegree = 1;
  Load(e.Dense.Cofactor, {3, 2});
  e.Dense.CofactorDegree = 1;
  e.ExactQuotient();
  EXPECT_EQ(e.Dense.ExactTop, -1);
  EXPECT_EQ(e.Dense.Trial[0], 2);
}

TEST(DenseArithmetic, StoreKeepsEachFactorsEndAndDegree) {
  Workbench w;
  Engine& e = w.e;
  StoreAll(e, {{1, 2, 3}, {4, 5, 6, 7}});
  EXPECT_EQ(e.Dense.StoredCount, 2);
  EXPECT_EQ(e.Dense.StoreFill, 7);
  EXPECT_EQ(e.Dense.FactorEnd[0], 0);
  EXPECT_EQ(e.Dense.FactorEnd[1], 3);
  EXPECT_EQ(e.Dense.FactorEnd[2], 7);
  EXPECT_EQ(e.Dense.FactorDegree[1], 2);
  EXPECT_EQ(e.Dense.FactorDegree[2], 3);
  EXPECT_EQ(Entries(e.Dense.FactorStore, 6), (std::vector<float>{1, 2, 3, 4, 5, 6, 7}));

  e.RemoveNewestFactor();
  EXPECT_EQ(e.Dense.StoredCount, 1);
  EXPECT_EQ(e.Dense.StoreFill, 3);
  e.EmptyStore();
  EXPECT_EQ(e.Dense.StoredCount, 0);
  EXPECT_EQ(e.Dense.StoreFill, 0);

  // More factors than the image's degree allows still find room.
  Workbench small;
  small.e.Dense.ImageDegree = 1;
  small.e.AllocateStoreTables();
  StoreAll(small.e, {{1, 1}, {2, 1}, {3, 1}, {5, 0, 1}});
  EXPECT_EQ(small.e.Dense.StoredCount, 4);
  EXPECT_EQ(small.e.Dense.FactorEnd[4], 9);
}

TEST(DenseArithmetic, MultiplyByStoredFactorWritesTheWholeProduct) {
  Workbench w;
  Engine& e = w.e;
  StoreAll(e, {{3}, {1, 0, 2, 1}});
  for (int j = 1; j <= 2; ++j) e.Order.SelectionItem[j] = static_cast<float>(j);

  // A factor of degree 0 scales the cofactor.
  Load(e.Dense.Cofactor, {1, -2, 5});
  e.Dense.CofactorDegree = 2;
  e.Order.SelectionIndex[1] = 1;
  e.Order.SelectionPosition = 1;
  e.MultiplyByStoredFactor();
  EXPECT_EQ(e.Dense.CofactorDegree, 2);
  EXPECT_EQ(Entries(e.Dense.Cofactor, 2), (std::vector<float>{3, -6, 15}));

  // A factor of higher degree than the cofactor: every index is written.
  Load(e.Dense.Cofactor, {2, 1});
  e.Dense.CofactorDegree = 1;
  e.Order.SelectionIndex[1] = 2;
  e.MultiplyByStoredFactor();
  EXPECT_EQ(e.Dense.CofactorDegree, 4);
  EXPECT_EQ(Entries(e.Dense.Cofactor, 4), AsFloats(Multiply({2, 1}, {1, 0, 2, 1})));
  EXPECT_EQ(Entries(e.Dense.Trial, 3), (std::vector<float>{1, 0, 2, 1}));
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
    e.Order.SelectionItem[1] = 1;
    e.Order.SelectionIndex[1] = 1;
    e.Order.SelectionPosition = 1;
    Load(e.Dense.Cofactor, g);
    e.Dense.CofactorDegree = static_cast<int16_t>(g.size() - 1);
    e.MultiplyByStoredFactor();
    ASSERT_EQ(Entries(e.Dense.Cofactor, e.Dense.CofactorDegree), AsFloats(product)) << what;

    Load(e.Dense.PassImage, product);
    e.Dense.PassDegree = static_cast<int16_t>(product.size() - 1);
    Load(e.Dense.Cofactor, g);
    e.Dense.CofactorDegree = static_cast<int16_t>(g.size() - 1);
    e.ExactQuotient();
    ASSERT_EQ(Entries(e.Dense.Trial, static_cast<int>(f.size()) - 1), AsFloats(f)) << what;

    Load(e.Dense.Trial, f);
    e.Dense.FirstDegree = static_cast<int16_t>(f.size() - 1);
    e.Dense.QuotientTop = static_cast<float>(g.size()) - 2;
    e.DivideFromLow();
    ASSERT_EQ(Entries(e.Dense.Cofactor, static_cast<int>(g.size()) - 1), AsFloats(g)) << what;
  }
}

TEST(DenseArithmetic, AValueBeyondTheExactRangeStopsTheRun) {
  Workbench w;
  Engine& e = w.e;
  StoreAll(e, {{1, 4096}});
  e.Order.SelectionItem[1] = 1;
  e.Order.SelectionIndex[1] = 1;
  e.Order.SelectionPosition = 1;
  Load(e.Dense.Cofactor, {1, 4096});
  e.Dense.CofactorDegree = 1;
  EXPECT_THROW(e.MultiplyByStoredFactor(), RangeStop);  // 4096 * 4096 = 2^24

  Load(e.Dense.PassImage, {1, 3});
  e.Dense.PassDegree = 1;
  Load(e.Dense.Cofactor, {0, 1});  // a zero constant term would divide by zero
  e.Dense.CofactorDegree = 0;
  EXPECT_THROW(e.ExactQuotient(), RangeStop);
}

}  // namespace
}  // namespace pfac::testing
