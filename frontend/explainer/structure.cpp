#include "frontend/explainer/structure.h"

#include <algorithm>
#include <numeric>
#include <tuple>
#include <utility>

namespace pfac::explain {

namespace {

using Kind = Expression::Kind;

// Candidates p/q of the rational-root test are not tried beyond this size of
// the constant term and the leading coefficient: no exercise has them.
constexpr long kMaxRootTestNumber = 100000;

Poly One(const Ring& ring) { return Poly(ring, Rational(1)); }

// A bracket as typed: how it is written, its value and its power.
struct TypedBracket {
  Expression base;
  Poly value;
  int exponent = 1;
};

// A term as typed: the number or monomial in front and its brackets.
struct TypedTermParts {
  Poly front;
  std::vector<TypedBracket> brackets;
};

std::optional<std::vector<TypedTermParts>> TermsOf(const Expression& typed, const Ring& ring) {
  std::vector<TypedTermParts> terms;
  const std::vector<Expression> single{typed};
  const std::vector<Expression>& parts = typed.kind == Kind::Sum ? typed.parts : single;
  for (const Expression& part : parts) {
    if (part.kind == Kind::Polynomial) {
      const std::optional<Poly> value = Poly::FromValue(ring, part.polynomial);
      if (!value) return std::nullopt;
      for (int i = 0; i < value->Length(); ++i) terms.push_back({value->Term(i), {}});
      continue;
    }
    TypedTermParts term{One(ring), {}};
    const std::vector<Expression> alone{part};
    const std::vector<Expression>& factors = part.kind == Kind::Product ? part.parts : alone;
    for (const Expression& factor : factors) {
      if (factor.kind == Kind::Polynomial && factor.polynomial.terms.size() == 1) {
        term.front = term.front * Expand(factor, ring);
        continue;
      }
      const bool power = factor.kind == Kind::Power && factor.parts.size() == 1;
      const Expression& base = power ? factor.parts.front() : factor;
      term.brackets.push_back({base, Expand(base, ring), power ? factor.exponent : 1});
    }
    terms.push_back(std::move(term));
  }
  return terms;
}

// A bracket written as a part of a product: (x - y), (x - y)².
Expression BracketShown(const Expression& base, int exponent) {
  Expression bracket = base.kind == Kind::Polynomial ? Expression::ProductOf({base}) : base;
  return exponent == 1 ? bracket : Expression::PowerOf(base, exponent);
}

// A bracket's inside: y - x of (y - x).
Expression Unbracketed(const Expression& base) {
  if (base.kind == Kind::Product && base.parts.size() == 1) return base.parts.front();
  return base;
}

Expression TermShown(const Poly& front, const std::vector<TypedBracket>& brackets) {
  std::vector<Expression> parts{Shown(front)};
  for (const TypedBracket& bracket : brackets) parts.push_back(BracketShown(bracket.base, bracket.exponent));
  return Expression::ProductOf(std::move(parts));
}

std::string Superscript(long exponent) {
  static const char* const kDigits[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
  if (exponent <= 1) return {};
  std::string out;
  for (char digit : std::to_string(exponent)) out += kDigits[digit - '0'];
  return out;
}

// The value of a polynomial in one letter (coefficients from the constant up) at r.
Rational ValueAt(const std::vector<Rational>& coefficients, const Rational& r) {
  Rational value(0);
  for (size_t i = coefficients.size(); i-- > 0;) value = value * r + coefficients[i];
  return value;
}

// The quotient by (t - r), the coefficients from the constant up.
std::vector<Rational> DividedByRoot(const std::vector<Rational>& coefficients, const Rational& r) {
  std::vector<Rational> quotient(coefficients.size() - 1);
  Rational carry(0);
  for (size_t i = coefficients.size(); i-- > 1;) {
    carry = carry * r + coefficients[i];
    quotient[i - 1] = carry;
  }
  return quotient;
}

std::vector<long> Divisors(long n) {
  std::vector<long> divisors;
  n = std::abs(n);
  for (long d = 1; d <= n; ++d) {
    if (n % d == 0) divisors.push_back(d);
  }
  return divisors;
}

// A polynomial in a letter t put back as the expression t stands for.
Poly Substituted(const std::vector<Rational>& coefficients, const Poly& t) {
  Poly value(t.ring());
  for (size_t i = coefficients.size(); i-- > 0;) value = value * t + Poly(t.ring(), coefficients[i]);
  return value;
}

// The letter that stands for an expression: t, or another one the
// polynomial does not use.
std::string FreeLetter(const std::string& letters) {
  for (char c : std::string("tumnpqs")) {
    if (letters.find(c) == std::string::npos) return std::string(1, c);
  }
  return "T";
}

// A bracket that every term has (up to a number): taken out, with the sign
// changed first where a term writes it the other way round.
std::optional<TypedSteps> CommonBracket(const std::vector<TypedTermParts>& terms, const Poly& polynomial,
                                        const Context& context) {
  if (terms.size() < 2) return std::nullopt;
  for (const TypedBracket& candidate : terms.front().brackets) {
    if (candidate.value.IsConstant()) continue;
    const Poly common = candidate.value.Scaled(Rational(1) / UnitOf(candidate.value));
    int least = -1;
    bool rewritten = false;
    Reason turned;
    std::vector<Expression> written;
    for (const TypedTermParts& term : terms) {
      int power = 0;
      Poly front = term.front;
      std::vector<TypedBracket> brackets;
      for (const TypedBracket& bracket : term.brackets) {
        std::optional<Poly> ratio = bracket.value.DividedBy(common);
        if (!ratio || !ratio->IsConstant()) {
          brackets.push_back(bracket);
          continue;
        }
        power += bracket.exponent;
        if (!ratio->IsOne()) {
          rewritten = true;
          front = front * ratio->Power(bracket.exponent);
          if (turned.empty()) {
            turned = {Math(Unbracketed(bracket.base)), Words(" = "),
                      Math(Expression::ProductOf({Shown(*ratio), Shown(common)}))};
          }
        }
        brackets.push_back({Shown(common), common, bracket.exponent});
      }
      if (power == 0) {
        least = 0;
        break;
      }
      least = least < 0 ? power : std::min(least, power);
      written.push_back(TermShown(front, brackets));
    }
    if (least <= 0) continue;
    TypedSteps steps;
    if (rewritten) {
      turned.push_back(Words(", 变号 / the sign changed"));
      steps.rewrites.push_back({Method::CommonFactor, Expression::SumOf(std::move(written)), std::move(turned)});
    }
    const Poly taken = common.Power(least);
    std::vector<Piece> pieces;
    pieces.push_back(PieceOf(common, least));
    pieces.push_back(PieceOf(*polynomial.DividedBy(taken)));
    steps.move = Move{Method::CommonFactor,
                      {Words("公因式 "), Math(least == 1 ? Expression::ProductOf({Shown(common)})
                                                         : Expression::PowerOf(Shown(common), least))},
                      One(context.ring), std::move(pieces)};
    return steps;
  }
  return std::nullopt;
}

// The root of a square term as typed: 4(x + y)² gives 2(x + y).
std::optional<std::pair<Poly, Expression>> SquareRootOf(const TypedTermParts& term) {
  std::optional<Poly> front = term.front.TermRoot(2);
  if (!front) return std::nullopt;
  Poly value = *front;
  std::vector<TypedBracket> halves;
  for (const TypedBracket& bracket : term.brackets) {
    if (bracket.exponent % 2 != 0) return std::nullopt;
    value = value * bracket.value.Power(bracket.exponent / 2);
    halves.push_back({bracket.base, bracket.value, bracket.exponent / 2});
  }
  if (halves.empty()) return std::make_pair(value, Shown(value));
  if (front->IsOne() && halves.size() == 1 && halves.front().exponent == 1) {
    return std::make_pair(value, Unbracketed(halves.front().base));
  }
  return std::make_pair(value, TermShown(*front, halves));
}

// P² - Q² with brackets in P or Q: (P + Q)(P - Q).
std::optional<TypedSteps> SquaresOfBrackets(const std::vector<TypedTermParts>& terms, const Context& context) {
  if (terms.size() != 2 || (terms[0].brackets.empty() && terms[1].brackets.empty())) return std::nullopt;
  const bool firstNegative = terms[0].front.Coefficient(0).Sign() < 0;
  const TypedTermParts& plus = firstNegative ? terms[1] : terms[0];
  TypedTermParts minus = firstNegative ? terms[0] : terms[1];
  if (minus.front.Coefficient(0).Sign() >= 0 || plus.front.Coefficient(0).Sign() <= 0) return std::nullopt;
  minus.front = -minus.front;
  const auto a = SquareRootOf(plus), b = SquareRootOf(minus);
  if (!a || !b) return std::nullopt;
  std::vector<Piece> pieces;
  pieces.push_back(PieceOf(a->first + b->first));
  pieces.push_back(PieceOf(a->first - b->first));
  TypedSteps steps;
  steps.move = Move{Method::Formula,
                    {Words(FormulaWords("a² - b², a = ", context)), Math(a->second),
                     Words(FormulaWords(", b = ", context)), Math(b->second)},
                    One(context.ring), std::move(pieces)};
  return steps;
}

// Terms that are numbers times powers of one bracket, and numbers: a
// polynomial in that bracket, which a letter stands for.
std::optional<TypedSteps> RepeatedBracket(const std::vector<TypedTermParts>& terms, const Poly& polynomial,
                                          const Context& context) {
  if (terms.size() < 2) return std::nullopt;
  std::optional<Poly> t;
  std::vector<Rational> coefficients;
  for (const TypedTermParts& term : terms) {
    if (!term.front.IsConstant()) return std::nullopt;
    int power = 0;
    for (const TypedBracket& bracket : term.brackets) {
      if (!t) t = bracket.value;
      if (bracket.value != *t) return std::nullopt;
      power += bracket.exponent;
    }
    if (coefficients.size() <= static_cast<size_t>(power)) coefficients.resize(static_cast<size_t>(power) + 1);
    coefficients[static_cast<size_t>(power)] = coefficients[static_cast<size_t>(power)] + term.front.Coefficient(0);
  }
  if (!t || t->Length() < 2 || coefficients.size() < 3) return std::nullopt;
  return SubstitutionOf(*t, coefficients, polynomial, context);
}

// c(x + a)(x + b)(x + c)(x + d) + k with two pairs whose products differ by a
// number: the pairs multiplied, then their common part as one letter.
std::optional<TypedSteps> FourBrackets(const std::vector<TypedTermParts>& terms, const Poly& polynomial,
                                       const Context& context) {
  const TypedTermParts* product = nullptr;
  Rational constant(0);
  for (const TypedTermParts& term : terms) {
    if (term.brackets.size() == 4 && !product) {
      product = &term;
    } else if (term.brackets.empty() && term.front.IsConstant()) {
      constant = constant + term.front.Coefficient(0);
    } else {
      return std::nullopt;
    }
  }
  if (!product || !product->front.IsConstant()) return std::nullopt;
  for (const TypedBracket& bracket : product->brackets) {
    if (bracket.exponent != 1 || bracket.value.TotalDegree() != 1) return std::nullopt;
  }
  const std::vector<TypedBracket>& b = product->brackets;
  const int pairings[3][4] = {{0, 3, 1, 2}, {0, 1, 2, 3}, {0, 2, 1, 3}};
  for (const auto& pairing : pairings) {
    const Poly first = b[pairing[0]].value * b[pairing[1]].value, second = b[pairing[2]].value * b[pairing[3]].value;
    const Poly difference = first - second;
    if (!difference.IsConstant() || first.IsConstant()) continue;
    // t: the first product without its number.
    Poly t = first;
    Rational k1(0);
    for (int i = 0; i < first.Length(); ++i) {
      if (first.Term(i).IsConstant()) {
        k1 = first.Coefficient(i);
        t = first - first.Term(i);
      }
    }
    const Rational k2 = k1 - (difference.IsZero() ? Rational(0) : difference.Coefficient(0));
    const Rational c = product->front.Coefficient(0);
    const std::vector<Rational> coefficients{c * k1 * k2 + constant, c * (k1 + k2), c};
    std::optional<TypedSteps> steps = SubstitutionOf(t, coefficients, polynomial, context);
    if (!steps) continue;
    std::vector<Expression> parts{Shown(product->front), Expression::ProductOf({Shown(first)}),
                                  Expression::ProductOf({Shown(second)})};
    std::vector<Expression> sum{Expression::ProductOf(std::move(parts))};
    if (constant.Sign() != 0) sum.push_back(Shown(Poly(context.ring, constant)));
    auto pair = [&](int i, int j) {
      return Expression::ProductOf({Shown(One(context.ring)), BracketShown(b[i].base, 1), BracketShown(b[j].base, 1)});
    };
    steps->rewrites.push_back({Method::Grouping, Expression::SumOf(std::move(sum)),
                               {Words("两两相乘 / multiplied in pairs: "), Math(pair(pairing[0], pairing[1])),
                                Words(" = "), Math(first), Words(", "), Math(pair(pairing[2], pairing[3])),
                                Words(" = "), Math(second)}});
    return steps;
  }
  return std::nullopt;
}

// The candidates ±p/q of the rational-root test for the coefficients made
// whole (p divides the constant, q the leading coefficient), in the order a
// class tries them: integers first, small first, positive first; none when
// the numbers are beyond any exercise.
std::optional<std::vector<Rational>> Candidates(const std::vector<Rational>& coefficients) {
  long scale = 1;
  for (const Rational& c : coefficients) scale = std::lcm(scale, c.Denominator());
  const long constant = (coefficients.front() * Rational(scale)).Numerator();
  const long lead = (coefficients.back() * Rational(scale)).Numerator();
  if (constant == 0 || std::abs(constant) > kMaxRootTestNumber || std::abs(lead) > kMaxRootTestNumber) {
    return std::nullopt;
  }
  std::vector<Rational> candidates;
  for (long q : Divisors(lead)) {
    for (long p : Divisors(constant)) {
      if (std::gcd(p, q) != 1) continue;
      candidates.push_back(Rational(p, q));
      candidates.push_back(Rational(-p, q));
    }
  }
  std::stable_sort(candidates.begin(), candidates.end(), [](const Rational& a, const Rational& b) {
    return std::make_tuple(a.Denominator(), a.Abs().Numerator(), a.Sign() < 0) <
           std::make_tuple(b.Denominator(), b.Abs().Numerator(), b.Sign() < 0);
  });
  return candidates;
}

// A number padded on the left to a width, in figure spaces (the width of a
// digit), so that the columns of a table stand under one another.
std::string Padded(const std::string& text, size_t width) {
  std::string out;
  for (size_t i = text.size(); i < width; ++i) out += "\u2007";
  return out + text;
}

}  // namespace

// The substitution of t for an expression: a polynomial in t (the
// coefficients from the constant up) split by its rational roots, t put back.
std::optional<TypedSteps> SubstitutionOf(const Poly& t, const std::vector<Rational>& coefficients,
                                         const Poly& polynomial, const Context& context) {
  const RootSplit split = SplitByRoots(coefficients);
  if (split.roots.empty() || (split.roots.size() == 1 && split.rest.size() <= 1)) return std::nullopt;
  const Ring& ring = polynomial.ring();
  std::vector<Piece> pieces;
  Poly product = One(ring);
  std::string factored;
  // The factors in t: (qt - p) for the root p/q, equal ones under one power.
  for (size_t i = 0; i < split.roots.size();) {
    size_t j = i;
    while (j < split.roots.size() && split.roots[j] == split.roots[i]) ++j;
    const Rational& r = split.roots[i];
    const Rational q(r.Denominator()), p(r.Numerator());
    const std::vector<Rational> linear{-p, q};
    const Poly value = Substituted(linear, t);
    pieces.push_back(PieceOf(value, static_cast<int>(j - i)));
    product = product * value.Power(static_cast<int>(j - i));
    const std::string letter = FreeLetter(context.letters);
    factored += (r.Sign() == 0 ? letter : "(" + OneLetterText(linear, letter) + ")") +
                (j - i > 1 ? Superscript(static_cast<long>(j - i)) : "");
    i = j;
  }
  const std::string letter = FreeLetter(context.letters);
  if (split.rest.size() > 1) {
    const Poly value = Substituted(split.rest, t);
    pieces.push_back(PieceOf(value));
    product = product * value;
    factored += "(" + OneLetterText(split.rest, letter) + ")";
  }
  const std::optional<Poly> front = polynomial.DividedBy(product);
  if (!front || !front->IsConstant()) return std::nullopt;
  const Rational number = front->IsZero() ? Rational(0) : front->Coefficient(0);
  if (!(number == Rational(1))) factored = (number == Rational(-1) ? "-" : number.Text()) + factored;
  TypedSteps steps;
  steps.move = Move{Method::Substitution,
                    {Words("设 " + letter + " = "), Math(Shown(t)),
                     Words(", " + OneLetterText(coefficients, letter) + " = " + factored + ", 再把 " + letter +
                           " 换回 / " + letter + " put back")},
                    *front, std::move(pieces)};
  return steps;
}

std::vector<Reason> RootTestDetails(const std::vector<Rational>& coefficients, const Rational& root,
                                    const std::string& letter, const std::string& unit) {
  std::vector<Reason> lines;
  const std::optional<std::vector<Rational>> candidates = Candidates(coefficients);
  if (!candidates) return lines;
  // A homogeneous polynomial in two letters is tested with the second as 1.
  if (!unit.empty()) lines.push_back({Words("齐次式, 令 " + unit + " = 1 / homogeneous: " + unit + " taken as 1")});
  auto valueText = [](const Rational& r) { return r.Text(); };
  // ±1, ±2, ±1/2: each size once with both signs.
  std::string listed;
  int shown = 0;
  for (const Rational& r : *candidates) {
    if (r.Sign() < 0) continue;
    if (++shown > 16) {
      listed += ", …";
      break;
    }
    listed += (listed.empty() ? "±" : ", ±") + valueText(r);
  }
  lines.push_back({Words("候选根 ±p/q (p 整除常数项, q 整除首项系数) / candidates ±p/q (p divides the constant, q the "
                         "leading coefficient): " + listed)});
  std::string tried;
  int failed = 0;
  for (const Rational& r : *candidates) {
    if (r == root) break;
    if (++failed > 8) {
      tried += ", …";
      break;
    }
    tried += (tried.empty() ? "" : ", ") + std::string("f(") + valueText(r) + ") = " + ValueAt(coefficients, r).Text() +
             " ≠ 0";
  }
  if (!tried.empty()) lines.push_back({Words("试过 / tried: " + tried)});
  const std::string factor = letter + (root.Sign() < 0 ? " + " + (-root).Text() : " - " + root.Text());
  lines.push_back({Words("f(" + valueText(root) + ") = 0, 所以 " + factor + " 是因式 / so it is a factor")});
  // Synthetic division: the coefficients, what is carried, the quotient and the remainder.
  const std::vector<Rational> quotient = DividedByRoot(coefficients, root);
  std::vector<std::string> top, middle, bottom;
  Rational carry(0);
  for (size_t i = coefficients.size(); i-- > 0;) {
    top.push_back(coefficients[i].Text());
    middle.push_back(i + 1 == coefficients.size() ? "" : (carry * root).Text());
    carry = carry * root + coefficients[i];
    bottom.push_back(carry.Text());
  }
  size_t width = root.Text().size();
  for (const auto* row : {&top, &middle, &bottom}) {
    for (const std::string& cell : *row) width = std::max(width, cell.size());
  }
  auto row = [&](const std::string& head, const std::vector<std::string>& cells, bool last) {
    std::string text = Padded(head, width) + " |";
    for (size_t i = 0; i < cells.size(); ++i) {
      text += (last && i + 1 == cells.size() ? " | " : "   ") + Padded(cells[i], width);
    }
    return text;
  };
  lines.push_back({Words("综合除法 / synthetic division:")});
  lines.push_back({Words(row(root.Text(), top, false))});
  lines.push_back({Words(row("", middle, false))});
  lines.push_back({Words(row("", bottom, true))});
  lines.push_back({Words("商 / quotient: " + OneLetterText(quotient, letter) + ", 余数 / remainder 0")});
  return lines;
}

RootSplit SplitByRoots(std::vector<Rational> coefficients) {
  RootSplit split;
  while (coefficients.size() > 1 && coefficients.back().Sign() == 0) coefficients.pop_back();
  split.lead = coefficients.back();
  for (Rational& c : coefficients) c = c / split.lead;
  while (coefficients.size() > 1 && coefficients.front().Sign() == 0) {
    split.roots.push_back(Rational(0));
    coefficients.erase(coefficients.begin());
  }
  if (coefficients.size() < 2) {
    split.rest = coefficients;
    return split;
  }
  const std::optional<std::vector<Rational>> candidates = Candidates(coefficients);
  if (!candidates) {
    split.rest = coefficients;
    return split;
  }
  for (const Rational& r : *candidates) {
    while (coefficients.size() > 1 && ValueAt(coefficients, r).Sign() == 0) {
      split.roots.push_back(r);
      coefficients = DividedByRoot(coefficients, r);
    }
  }
  split.rest = coefficients;
  return split;
}

std::string OneLetterText(const std::vector<Rational>& coefficients, const std::string& letter) {
  std::string text;
  for (size_t i = coefficients.size(); i-- > 0;) {
    const Rational& c = coefficients[i];
    if (c.Sign() == 0) continue;
    if (text.empty()) {
      text += c.Sign() < 0 ? "-" : "";
    } else {
      text += c.Sign() < 0 ? " - " : " + ";
    }
    const Rational size = c.Abs();
    if (!(size == Rational(1)) || i == 0) text += size.Text();
    if (i > 0) text += letter + Superscript(static_cast<long>(i));
  }
  return text.empty() ? "0" : text;
}

bool HasBrackets(const Expression& typed) {
  switch (typed.kind) {
    case Kind::Polynomial: return false;
    case Kind::Power: return true;
    case Kind::Sum:
      return std::any_of(typed.parts.begin(), typed.parts.end(), [](const Expression& part) { return HasBrackets(part); });
    case Kind::Product:
      return std::any_of(typed.parts.begin(), typed.parts.end(), [](const Expression& part) {
        return part.kind == Kind::Polynomial ? part.polynomial.terms.size() > 1 : part.kind != Kind::Product || HasBrackets(part);
      });
  }
  return false;
}

std::optional<TypedSteps> StepsFromTyped(const Expression& typed, const Poly& polynomial, const Context& context) {
  const std::optional<std::vector<TypedTermParts>> terms = TermsOf(typed, context.ring);
  if (!terms || !HasBrackets(typed)) return std::nullopt;
  if (auto steps = CommonBracket(*terms, polynomial, context)) return steps;
  if (auto steps = SquaresOfBrackets(*terms, context)) return steps;
  if (auto steps = RepeatedBracket(*terms, polynomial, context)) return steps;
  if (auto steps = FourBrackets(*terms, polynomial, context)) return steps;
  return std::nullopt;
}

}  // namespace pfac::explain
