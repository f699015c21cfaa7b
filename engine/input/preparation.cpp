// The preparation of the loaded polynomial for the factor search: like terms
// merged and zero terms removed, "=0" and single-term results written, the
// common monomial factor and the integer content taken out, the variables
// ordered and the degree checked. RestartPreparation and ResumePreparation are
// also the re-entries of later passes.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <numeric>

#include "engine/engine.h"

namespace pfac {

// Adds every later term with the same exponents into the first such term and
// sets it to 0; a sum of 0 stays in place as a zero term. A sum may reach
// 16,777,216, the largest coefficient the input takes; one beyond it stops
// the run.
void Engine::MergeLikeTerms() {
  const int terms = ToInt(Terms.TermCount);
  const int variables = ToInt(Terms.VariableCount);
  for (int t = 1; t <= terms - 1; ++t) {
    if (Terms.Numerator[t] == 0) continue;
    for (int u = t + 1; u <= terms; ++u) {
      if (Terms.Numerator[u] == 0) continue;
      bool same = true;
      for (int v = 1; v <= variables && same; ++v) same = Terms.Exponent[t][v] == Terms.Exponent[u][v];
      if (!same) continue;
      const double sum = static_cast<double>(Terms.Numerator[t]) + static_cast<double>(Terms.Numerator[u]);
      if (std::fabs(sum) > kExactLimit) {
        StopRun("合并同类项后系数超过 16777216, 无法精确计算. "
                "(Like terms add up to a coefficient beyond 16777216, which cannot be computed exactly.)",
                "Stopped: like terms add up beyond the exact range.");
        return;
      }
      Terms.Numerator[t] = Terms.Numerator[t] + Terms.Numerator[u];
      Terms.Numerator[u] = 0;
    }
  }
  Go(&Engine::CompactTerms);
}

// Moves the nonzero terms to the front, in their order, and counts them.
void Engine::CompactTerms() {
  const int terms = ToInt(Terms.TermCount);
  const int variables = ToInt(Terms.VariableCount);
  for (int t = 1; t <= terms - 1; ++t) {
    if (Terms.Numerator[t] != 0) continue;
    int u = t + 1;
    while (u <= terms && Terms.Numerator[u] == 0) ++u;
    if (u > terms) break;
    Terms.Numerator[t] = Terms.Numerator[u];
    for (int v = 1; v <= variables; ++v) Terms.Exponent[t][v] = Terms.Exponent[u][v];
    Terms.Numerator[u] = 0;
  }
  for (int t = 1; t <= terms; ++t) {
    if (Terms.Numerator[t] == 0) {
      Terms.TermCount = static_cast<float>(t - 1);
      break;
    }
  }
  Go(&Engine::CheckZero);
}

// All terms cancelled: the result is "=0" and the run ends.
void Engine::CheckZero() {
  if (Terms.TermCount == 0) {
    console_.WriteLine("=0");
    ResultText("=0");
    format::ResultProduct zero;
    zero.numerator = 0;
    Result.OpenSegment(zero);
    ResultEnd();
    Go(&Engine::EndRun);
    return;
  }
  Go(&Engine::RemoveMonomialFactor);
}

// MinExponent[v] = the smallest exponent of v over the terms, taken out of
// every term.
void Engine::RemoveMonomialFactor() {
  const int terms = ToInt(Terms.TermCount);
  const int variables = ToInt(Terms.VariableCount);
  for (int v = 1; v <= variables; ++v) {
    Terms.MinExponent[v] = Terms.Exponent[1][v];
    for (int t = 2; t <= terms; ++t) {
      if (Terms.Exponent[t][v] < Terms.MinExponent[v]) Terms.MinExponent[v] = Terms.Exponent[t][v];
    }
    for (int t = 1; t <= terms; ++t) Terms.Exponent[t][v] = Terms.Exponent[t][v] - Terms.MinExponent[v];
  }
  Go(&Engine::ComputeContent);
}

// Content = the largest integer not above |Numerator[1]| that divides every
// coefficient, that is their greatest common divisor (found by Euclid's
// algorithm rather than by trying each integer down from |Numerator[1]|); the
// coefficients become the quotients and keep their signs. With fractions,
// Content / CommonDenominator is then reduced to lowest terms.
void Engine::ComputeContent() {
  const int terms = ToInt(Terms.TermCount);
  bool integral = true;
  int64_t g = 0;
  for (int t = 1; t <= terms && integral; ++t) {
    integral = IsWhole(Terms.Numerator[t]);
    if (integral) g = std::gcd(g, static_cast<int64_t>(Terms.Numerator[t]));
  }
  // A coefficient that is not an integer is divided by no integer: then no
  // trial succeeds, Content keeps its value and the coefficients stay.
  if (integral && g >= 1) {
    const float divisor = static_cast<float>(g);
    for (int t = 1; t <= terms; ++t) Terms.Numerator[t] = Terms.Numerator[t] / divisor;
    Terms.Content = divisor;
  }
  if (Terms.FractionFlag == kFractionMark) {
    // Both are integers within the exact range: their gcd is exact as a float.
    const float b = static_cast<float>(
        std::gcd(static_cast<int64_t>(Terms.Content), static_cast<int64_t>(Terms.CommonDenominator)));
    Terms.Content = Floor(Terms.Content / b);
    Terms.CommonDenominator = Floor(Terms.CommonDenominator / b);
  }
  Go(&Engine::CheckSingleTerm);
}

// A single term is its own factorisation: "=" and the common factor, and the
// run ends.
void Engine::CheckSingleTerm() {
  if (Terms.TermCount == 1) {
    BothText("=");
    PrintCommonFactor();
    ConsoleEnd();
    Go(&Engine::EndRun);
    return;
  }
  Go(&Engine::PrepareSearch);
}

void Engine::PrepareSearch() {
  Report.StartTime = clock_.TimeOfDay();
  Search.SumFactorsTried = 0;
  Go(&Engine::RestartPreparation);
}

// Entry for a polynomial newly loaded into the term table: the highest
// exponent of each variable, and the variables that no longer occur dropped.
void Engine::RestartPreparation() {
  Status.KeyText.clear();
  const int terms = ToInt(Terms.TermCount);
  const int variables = ToInt(Terms.VariableCount);
  for (int v = 1; v <= variables; ++v) {
    Terms.MaxExponent[v] = ToInt16(Terms.Exponent[1][v]);
    for (int t = 2; t <= terms; ++t) {
      if (Terms.Exponent[t][v] > Terms.MaxExponent[v]) Terms.MaxExponent[v] = ToInt16(Terms.Exponent[t][v]);
    }
  }
  Terms.TermRows = ToInt16(Terms.TermCount);
  DropAbsentVariables();
  Go(&Engine::ResumePreparation);
}

// Entry for a cofactor after a split: the search's start values, the variable
// order with its weights, and the term codes under that order.
void Engine::ResumePreparation() {
  Search.CoefficientBound = 0;
  Search.CofactorBound = 0;
  Pass.ResumeDegree = 1;
  Order.SelectionTop = ToInt16(Terms.VariableCount + 1);
  Order.SelectionStart = ToInt16(Terms.VariableCount);
  ChooseVariableOrder();
  if (Diverted()) return;
  const int variables = ToInt(Terms.VariableCount);
  for (int v = 1; v <= variables; ++v) {
    Order.CodeOrder[v] = Order.BestOrder[v];
    Terms.Weight[v] = ToInt16(Order.BestWeight[v]);
  }
  ConsoleEnd();
  ComputeTermCodes();
  Go(&Engine::ApplyVariableOrder);
}

// Renumbers the exponent columns and the letters in the chosen order:
// position v takes the variable BestOrder[v]. MaxExponent, TargetDegree,
// MinExponent and InputLetter keep their numbering.
void Engine::ApplyVariableOrder() {
  const int terms = ToInt(Terms.TermCount);
  const int variables = ToInt(Terms.VariableCount);
  float exponents[kVariableColumns];
  for (int t = 1; t <= terms; ++t) {
    for (int v = 1; v <= variables; ++v) exponents[v] = Terms.Exponent[t][ToInt(Order.BestOrder[v])];
    for (int v = 1; v <= variables; ++v) Terms.Exponent[t][v] = exponents[v];
  }
  std::string letters[kVariableColumns];
  for (int v = 1; v <= variables; ++v) letters[v] = Terms.Letter[ToInt(Order.BestOrder[v])];
  for (int v = 1; v <= variables; ++v) Terms.Letter[v] = letters[v];
  Go(&Engine::CheckDegree);
}

// The degree of the image under the chosen order; above 4000 a warning, and
// the search begins all the same.
void Engine::CheckDegree() {
  Dense.ImageDegree = ToInt16(Order.BestSpread);
  if (Dense.ImageDegree > kDegreeLimit) console_.WriteLine("次数太高了!");
  Go(&Engine::AllocateSearchTables);
}

}  // namespace pfac
