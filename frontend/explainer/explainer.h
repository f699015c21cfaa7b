// The factorisation explained in the methods a class teaches, in the order a
// class tries them: 提公因式 (the common factor), 公式法 (the formulas),
// 十字相乘法 (the cross method), 分组分解法 (grouping), 试根法 (a rational
// root) and 拆项添项/配方 (adding and subtracting a term to make a square),
// each factor in turn until every factor is one of the certified irreducible
// ones. Every step is a whole expression that multiplies out to the
// polynomial entered, checked exactly before it is kept; where no method
// reaches a factor, the step says that it comes from the exact factorisation
// and why. No widgets, and nothing written out: the steps are values (the
// reasons' words among them), which the front end writes out.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/result_format/result_value.h"

namespace pfac::explain {

using format::RationalPolynomial;
using format::RationalTerm;

// An expression as a step writes it.
struct Expression {
  enum class Kind {
    Polynomial,  // its terms: x² - 5x + 6; one term for a number or a monomial
    Product,     // its parts side by side: 3xy(2x - 3y); a number or monomial part first
    Sum,         // its parts added: a(x + y) + b(x + y); a part that is a product with a
                 // negative number or monomial first is subtracted: x² - (y - 1)²
    Power,       // parts[0] to the exponent: (x - 1)²
  };
  Kind kind = Kind::Polynomial;
  RationalPolynomial polynomial;  // Polynomial: the terms, highest first
  std::vector<Expression> parts;  // Product, Sum, Power
  int exponent = 1;               // Power

  static Expression Of(RationalPolynomial polynomial);
  static Expression ProductOf(std::vector<Expression> parts);
  static Expression SumOf(std::vector<Expression> parts);
  static Expression PowerOf(Expression base, int exponent);
};

// A reason in a line: words and expressions one after the other
// ("a² - b², a = ", 2x, ", b = ", 3).
struct ReasonPart {
  std::string words;               // when there is no expression
  std::optional<Expression> math;  // an expression
  bool bracketed = false;          // a negative expression in brackets: × (-3)
};
using Reason = std::vector<ReasonPart>;

enum class Method {
  MultiplyOut,   // 去括号: the brackets typed multiplied out, where their structure does not help
  Substitution,  // 换元法: a bracket or an expression as one letter
  CommonFactor,  // 提公因式
  Formula,       // 公式法
  Cross,         // 十字相乘法
  DoubleCross,   // 双十字相乘法: a quadratic in two letters with six terms
  Grouping,      // 分组分解法
  RationalRoot,  // 试根法
  MainLetter,    // 主元法: arranged by one letter's powers
  FactorTheorem, // 因式定理: a = b makes it 0, so a - b is a factor
  Completing,    // 拆项添项/配方
  Exact,         // 由精确分解得到: no method of the class reaches the factor
};

struct MethodName {
  const char* chinese;
  const char* english;
};

inline MethodName NameOf(Method method) {
  switch (method) {
    case Method::MultiplyOut: return {"去括号", "multiply out"};
    case Method::Substitution: return {"换元法", "substitution"};
    case Method::CommonFactor: return {"提公因式", "common factor"};
    case Method::Formula: return {"公式法", "formulas"};
    case Method::Cross: return {"十字相乘法", "cross method"};
    case Method::DoubleCross: return {"双十字相乘法", "double cross"};
    case Method::MainLetter: return {"主元法", "main letter"};
    case Method::FactorTheorem: return {"因式定理", "factor theorem"};
    case Method::Grouping: return {"分组分解法", "grouping"};
    case Method::RationalRoot: return {"试根法", "rational root"};
    case Method::Completing: return {"拆项添项/配方", "completing the square"};
    case Method::Exact: return {"由精确分解得到", "from the exact factorisation"};
  }
  return {"", ""};
}

struct Step {
  Method method;
  Expression expression;  // the whole polynomial after the step
  Reason reason;          // one line: "公因式 3xy"
  // The detail a student redoes the step with, a line each, shown under
  // the step: the candidates of a rational root and the division, the
  // numbers of a cross, the terms of a square.
  std::vector<Reason> details = {};
};

struct Explanation {
  std::vector<Step> steps;
  // When the polynomial, its common factor taken out, is irreducible: why
  // ("判别式 ... < 0"); empty otherwise.
  Reason irreducible;
  bool irreducibleFromExact = false;  // that reason is only the exact factorisation's word
  // After the steps: why each factor of degree 2 or more that they leave
  // does not split further ("x² - x - 3 在有理数域上不可约: ... 判别式 ... = 13").
  std::vector<Reason> finalReasons;

  // True when a step or the irreducible reason comes from the exact
  // factorisation rather than from a method of the class.
  bool UsesExactFactorisation() const;
};

// Why a factor was taken from the exact factorisation although a method may
// have reached it: the time was spent, the steps were more than a student
// follows, or the method's step did not multiply out to the polynomial.
inline constexpr char kTimeSpent[] = "解释的时间用完了 / the time for the explanation ran out";
inline constexpr char kTooManySteps[] = "步骤太多, 余下的一步写出 / too many steps to follow, the rest in one";
inline constexpr char kCheckFailed[] = "这一步没有通过检验 / a step did not check out";

// The reason of the step that multiplies out what was typed.
inline constexpr char kMultipliedOut[] = "去括号, 合并同类项 / brackets multiplied out, like terms collected";

struct Options {
  // The explanation never takes longer: when the time is spent, every factor
  // not yet reached is taken from the exact factorisation in one step.
  std::chrono::steady_clock::duration budget = std::chrono::seconds(1);
  // The problem as typed, brackets and powers of brackets kept: a sum of
  // terms, each a product of a number or monomial first and brackets (a
  // Polynomial, or a Sum for brackets within brackets), each perhaps a
  // Power. The explainer uses its structure; none: the polynomial as entered.
  std::optional<Expression> typed;
  // Whether the answer keeps a minus in front (the polynomial was typed
  // starting with one); otherwise taking out -1 alone is no step of its own,
  // as the answer puts the sign into a factor.
  bool keepLeadingMinus = true;
  // For tests: changes a step before it is checked, as a fault would.
  std::function<void(Step&)> alterStep;
};

// The steps of a result: the polynomial entered and its certified
// factorisation (the content, the monomial in front, the irreducible factors
// each as often as written). nullopt with the reason in *why when it is no
// problem to explain (no letters, no factorisation, or one that does not
// multiply back to the polynomial).
std::optional<Explanation> Explain(const format::ResultValue& result, const Options& options, std::string* why);

}  // namespace pfac::explain
