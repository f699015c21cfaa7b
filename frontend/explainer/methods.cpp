#include "frontend/explainer/methods.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <tuple>
#include <utility>

#include "frontend/explainer/structure.h"

namespace pfac::explain {

namespace {

// Grouping tries every way of putting the terms in two groups: 2^(n-1) - 1
// of them, 511 for ten terms; a factor with more terms is beyond what a class
// groups by hand.
constexpr int kMaxGroupingTerms = 10;
// The cross's diagram: its columns' gap and the crossing between its rows.
constexpr char kDiagramIndent[] = "\u3000";
constexpr char kDiagramGap[] = "\u3000\u3000\u3000";
constexpr char kDiagramCross[] = "\u3000\u3000╳";
// The splits of a factor's certified factors that the cross method tries at
// most.
constexpr long kMaxCrossSplits = 4096;

Poly One(const Ring& ring) { return Poly(ring, Rational(1)); }

// A variable to a power: x, y², ...
Poly Letter(const Ring& ring, int variable, long power = 1) {
  std::vector<long> exponents(static_cast<size_t>(ring.Variables()), 0);
  exponents[static_cast<size_t>(variable)] = power;
  return Poly::Monomial(ring, Rational(1), exponents);
}

// |a| < |b|.
bool Smaller(const Rational& a, const Rational& b) {
  return a.Abs() < b.Abs();
}

bool Negative(const Poly& value) { return !value.IsZero() && value.Coefficient(0).Sign() < 0; }

// A factor written in brackets, as the product of one factor: (x + y).
Expression Bracketed(const Poly& value) { return Expression::ProductOf({Shown(value)}); }

// A square as a step writes it: x², (2x)², (y - 1)²; the number 1 as itself.
Expression SquareOf(const Poly& root) {
  if (root.IsOne()) return Shown(root);
  return Expression::PowerOf(Shown(root), 2);
}

// b² taken away: - (y - 1)², - 1.
Expression MinusSquareOf(const Poly& root) {
  const Poly minusOne(root.ring(), Rational(-1));
  if (root.IsOne()) return Shown(minusOne);
  return Expression::ProductOf({Shown(minusOne), SquareOf(root)});
}

}  // namespace

std::string FormulaWords(std::string words, const Context& context) {
  if (context.letters.find_first_of("ab") == std::string::npos) return words;
  for (char& c : words) {
    if (c == 'a' || c == 'b') c = static_cast<char>(c - 'a' + 'A');
  }
  return words;
}

namespace {

// The root of a square that a group of terms is: a term's root, or a sum's
// of at least two terms.
std::optional<Poly> RootOfSquare(const Poly& group) {
  if (group.Length() == 1) return Negative(group) ? std::nullopt : group.TermRoot(2);
  std::optional<Poly> root = group.SquareRoot();
  if (root && root->Length() < 2) return std::nullopt;
  return root;
}

// The square of a whole expression written out: its three parts, and each
// term of the polynomial that two of them make, split: 3x² = 2x² + x².
std::vector<Reason> SquareDetails(const Poly& a, const Poly& b, const Context& context) {
  const Poly square = a * a, twice = (a * b).Scaled(Rational(2)), last = b * b;
  // b is named by its size where the formula subtracts: a² - 2ab + b².
  const char* twiceName = Negative(b) ? ", -2ab = " : ", 2ab = ";
  std::vector<Reason> lines{{Words(FormulaWords("a² = ", context)), Math(square), Words(FormulaWords(twiceName, context)),
                             Math(twice), Words(FormulaWords(", b² = ", context)), Math(last)}};
  Reason split{Words("拆项 / the terms split: ")};
  bool any = false;
  const Poly* parts[] = {&square, &twice, &last};
  for (int i = 0; i < 3; ++i) {
    for (int t = 0; t < parts[i]->Length(); ++t) {
      const Poly term = parts[i]->Term(t);
      std::vector<Poly> shares{term};
      bool first = true;
      for (int j = 0; j < 3 && first; ++j) {
        for (int u = 0; u < parts[j]->Length(); ++u) {
          const Poly other = parts[j]->Term(u);
          if (j == i && u == t) continue;
          if (other.Exponents(0) != term.Exponents(0)) continue;
          if (j < i || (j == i && u < t)) first = false;
          if (j > i || (j == i && u > t)) shares.push_back(other);
        }
      }
      if (!first || shares.size() < 2) continue;
      Poly total(context.ring);
      for (const Poly& share : shares) total = total + share;
      if (any) split.push_back(Words(", "));
      split.push_back(Math(total));
      split.push_back(Words(" = "));
      for (size_t k = 0; k < shares.size(); ++k) {
        if (k > 0) split.push_back(Words(" + "));
        split.push_back(Math(shares[k], true));
      }
      any = true;
    }
  }
  if (any) lines.push_back(std::move(split));
  return lines;
}

Move FormulaSplit(Reason reason, std::vector<Piece> pieces, const Ring& ring) {
  return Move{Method::Formula, std::move(reason), One(ring), std::move(pieces)};
}

// The formula's name and what its letters stand for: "a² - b², a = 2x, b = 3".
Reason FormulaReason(const char* formula, const Poly& a, const Poly& b, const Context& context) {
  return {Words(FormulaWords(std::string(formula) + ", a = ", context)), Math(a), Words(FormulaWords(", b = ", context)),
          Math(b)};
}

Move DifferenceOfSquares(const Poly& a, const Poly& b, const Context& context) {
  std::vector<Piece> pieces;
  pieces.push_back(PieceOf(a + b));
  pieces.push_back(PieceOf(a - b));
  Move move = FormulaSplit(FormulaReason("a² - b²", a, b, context), std::move(pieces), a.ring());
  move.turnedReason = FormulaReason("a² - b²", b, a, context);
  return move;
}

// The variables that occur in the factor.
std::vector<int> VariablesOf(const Poly& value) {
  std::vector<int> used;
  for (int v = 0; v < value.ring().Variables(); ++v) {
    if (value.Degree(v) > 0) used.push_back(v);
  }
  return used;
}

bool Homogeneous(const Poly& value) {
  const long degree = value.TotalDegree();
  for (int i = 0; i < value.Length(); ++i) {
    long d = 0;
    for (long e : value.Exponents(i)) d += e;
    if (d != degree) return false;
  }
  return true;
}

// The variable of a factor in one variable, or the first of a homogeneous
// one in two (with the second in *other), which a class treats alike:
// x² - 5xy + 6y² as x² - 5x + 6 with y for 1.
std::optional<int> MainVariable(const Poly& value, std::optional<int>* other) {
  const std::vector<int> used = VariablesOf(value);
  *other = std::nullopt;
  if (used.size() == 1) return used[0];
  if (used.size() == 2 && Homogeneous(value)) {
    *other = used[1];
    return used[0];
  }
  return std::nullopt;
}

// The distinct certified factors of a piece with their counts, in the order
// they first stand.
std::vector<std::pair<int, int>> Counted(const std::vector<int>& parts) {
  std::vector<std::pair<int, int>> counted;
  for (int part : parts) {
    auto at = std::find_if(counted.begin(), counted.end(), [&](const auto& c) { return c.first == part; });
    if (at == counted.end()) {
      counted.emplace_back(part, 1);
    } else {
      ++at->second;
    }
  }
  return counted;
}

// A factor a·v^k + c of the cross method: two terms, one with v^k, the other
// without v.
bool CrossShaped(const Poly& factor, int v, long k, Poly* withV, Poly* withoutV) {
  if (factor.Length() != 2) return false;
  int with = -1, without = -1;
  for (int i = 0; i < 2; ++i) {
    const long e = factor.Exponents(i)[static_cast<size_t>(v)];
    if (e == k) with = i;
    if (e == 0) without = i;
  }
  if (with < 0 || without < 0 || with == without) return false;
  *withV = factor.Term(with);
  *withoutV = factor.Term(without);
  return true;
}

// The reason of a cross: for x² - 5x + 6 "十字: (-2) × (-3) = 6, (-2) + (-3) = -5";
// otherwise the whole cross, for 2x² - 7x + 3
// "十字: 2x × x = 2x², (-1) × (-3) = 3, 2x × (-3) + x × (-1) = -7x".
Reason CrossReason(const Poly& a1, const Poly& c1, const Poly& a2, const Poly& c2, bool monic) {
  if (monic) {
    Reason reason{Words("十字: "), Math(c1, true), Words(" × "), Math(c2, true), Words(" = "), Math(c1 * c2),
                  Words(", "), Math(c1, true), Words(" + "), Math(c2, true)};
    // A sum of two letters is its own coefficient: "a × b = ab, a + b".
    if ((c1 + c2).Length() == 1) {
      reason.push_back(Words(" = "));
      reason.push_back(Math(c1 + c2));
    }
    return reason;
  }
  return {Words("十字: "), Math(a1, true), Words(" × "), Math(a2, true), Words(" = "), Math(a1 * a2), Words(", "),
          Math(c1, true), Words(" × "), Math(c2, true), Words(" = "), Math(c1 * c2), Words(", "),
          Math(a1, true), Words(" × "), Math(c2, true), Words(" + "), Math(a2, true), Words(" × "), Math(c1, true),
          Words(" = "), Math(a1 * c2 + a2 * c1)};
}

// A group of terms as grouping sees it: its common factor taken out, and
// what is left, whole and split by a formula where one applies:
// x²(x + 1), -(x + 1), (x + y)², (x + y)(x - y).
struct GroupForm {
  Poly common;
  Poly rest;
  std::vector<Piece> split;  // the rest's factors by a formula; none where no formula applies

  // The power of a factor that the group shows: the rest itself, or a factor
  // of its split; 0 for none.
  int Shows(const Poly& factor) const {
    if (factor == rest) return 1;
    for (const Piece& piece : split) {
      if (piece.value == factor) return piece.power;
    }
    return 0;
  }

  // Written with the shared factor in sight: whole when it is the shared
  // one, otherwise split.
  Expression Written(const Poly& shared) const {
    std::vector<Expression> parts;
    const bool whole = shared == rest || split.empty();
    if (!common.IsOne() || (whole && rest.IsOne())) parts.push_back(Shown(common));
    if (whole && !rest.IsOne()) parts.push_back(Shown(rest));
    for (const Piece& piece : whole ? std::vector<Piece>() : split) {
      parts.push_back(piece.power == 1 ? Shown(piece.value) : Expression::PowerOf(Shown(piece.value), piece.power));
    }
    return Expression::ProductOf(std::move(parts));
  }
};

GroupForm FormOfGroup(const Poly& group, const Context& context) {
  const Poly common = CommonFactorOf(group);
  GroupForm form{common, *group.DividedBy(common), {}};
  if (form.rest.Length() >= 2) {
    if (std::optional<Move> formula = FormulaMove(PieceOf(form.rest), context)) form.split = formula->pieces;
  }
  return form;
}

// A group as the reason of a grouping writes it: x², (x² + 2xy + y²), -(y² - 2y + 1).
Expression GroupShown(const Poly& group) {
  if (group.Length() == 1) return Shown(group);
  if (Negative(group)) return Expression::ProductOf({Shown(Poly(group.ring(), Rational(-1))), Shown(-group)});
  return Bracketed(group);
}

// The masks of the terms in the second group (term 0 always in the first):
// groups of neighbouring terms first, as a class groups them
// ((ax + ay) + (bx + by) before (ax + bx) + (ay + by)), then groups of equal
// size.
std::vector<unsigned> GroupingOrder(int terms) {
  std::vector<unsigned> masks;
  for (unsigned mask = 1; mask < (1u << (terms - 1)); ++mask) masks.push_back(mask << 1);
  auto key = [terms](unsigned mask) {
    int runs = 1;
    for (int i = 1; i < terms; ++i) runs += ((mask >> i) & 1u) != ((mask >> (i - 1)) & 1u);
    return std::make_pair(runs, std::abs(terms - 2 * __builtin_popcount(mask)));
  };
  std::stable_sort(masks.begin(), masks.end(), [&](unsigned a, unsigned b) { return key(a) < key(b); });
  return masks;
}

// The order in which a class tries rational roots: integers before fractions,
// small before large, positive before negative.
auto RootOrder(const Rational& root) {
  return std::make_tuple(root.Denominator(), root.Abs().Numerator(), root.Sign() < 0);
}

}  // namespace

Poly Expand(const Expression& expression, const Ring& ring) {
  switch (expression.kind) {
    case Expression::Kind::Polynomial: return Poly::FromValue(ring, expression.polynomial).value_or(Poly(ring));
    case Expression::Kind::Product: {
      Poly product(ring, Rational(1));
      for (const Expression& part : expression.parts) product = product * Expand(part, ring);
      return product;
    }
    case Expression::Kind::Sum: {
      Poly sum(ring);
      for (const Expression& part : expression.parts) sum = sum + Expand(part, ring);
      return sum;
    }
    case Expression::Kind::Power:
      if (expression.parts.size() != 1 || expression.exponent < 1) return Poly(ring);
      return Expand(expression.parts[0], ring).Power(expression.exponent);
  }
  return Poly(ring);
}

Expression Shown(const Poly& value) {
  RationalPolynomial terms = value.Value();
  // As a textbook writes it: by total degree, the highest first, terms of one
  // degree alphabetically (x² + 2xy + y² - 4x - 4y + 4).
  auto degree = [](const RationalTerm& term) {
    long d = 0;
    for (int32_t e : term.exponents) d += e;
    return d;
  };
  std::stable_sort(terms.terms.begin(), terms.terms.end(), [&](const RationalTerm& a, const RationalTerm& b) {
    if (degree(a) != degree(b)) return degree(a) > degree(b);
    return a.exponents > b.exponents;
  });
  return Expression::Of(std::move(terms));
}

ReasonPart Words(std::string words) { return ReasonPart{std::move(words), std::nullopt, false}; }
ReasonPart Math(const Poly& value, bool bracketed) { return ReasonPart{{}, Shown(value), bracketed}; }
ReasonPart Math(Expression expression) { return ReasonPart{{}, std::move(expression), false}; }

Piece PieceOf(Poly value, int power) { return Piece{std::move(value), power, {}, std::nullopt, {}}; }

// 提公因式: the sign, the content and the common monomial:
// 6x²y - 9xy² = 3xy(2x - 3y).
std::optional<Move> CommonFactorMove(const Piece& piece, const Context&) {
  if (piece.shown || piece.value.Length() < 2) return std::nullopt;
  const Poly common = CommonFactorOf(piece.value);
  if (common.IsOne()) return std::nullopt;
  std::vector<Piece> pieces;
  pieces.push_back(PieceOf(*piece.value.DividedBy(common)));
  return Move{Method::CommonFactor, {Words("公因式 "), Math(common)}, common, std::move(pieces)};
}

// 公式法: a² - b², a³ ± b³, a² ± 2ab + b² and a³ ± 3a²b + 3ab² ± b³.
std::optional<Move> FormulaMove(const Piece& piece, const Context& context) {
  const Poly& p = piece.value;
  const Ring& ring = p.ring();
  const int terms = p.Length();
  if (terms == 2) {
    const Poly first = p.Term(0), second = p.Term(1);
    if (Negative(second)) {
      std::optional<Poly> a = first.TermRoot(2), b = (-second).TermRoot(2);
      if (a && b) return DifferenceOfSquares(*a, *b, context);
    }
    std::optional<Poly> a = first.TermRoot(3), b = second.TermRoot(3);
    if (!a || !b) return std::nullopt;
    std::vector<Piece> pieces;
    pieces.push_back(PieceOf(*a + *b));
    pieces.push_back(PieceOf(*a * *a - *a * *b + *b * *b));
    const bool sum = !Negative(second);
    return FormulaSplit(FormulaReason(sum ? "a³ + b³" : "a³ - b³", *a, sum ? *b : -*b, context), std::move(pieces),
                        ring);
  }
  if (std::optional<Poly> root = p.SquareRoot(); root && root->Length() >= 2) {
    // a: the root's terms of the highest degree, b the rest, as a student
    // sees them: x² + 2xy + y² - 4x - 4y + 4 as (x + y)² - 4(x + y) + 4.
    Poly a(ring);
    for (int i = 0; i < root->Length(); ++i) {
      if (root->Term(i).TotalDegree() == root->TotalDegree()) a = a + root->Term(i);
    }
    if (a == *root) a = root->Term(0);
    const Poly b = *root - a;
    const bool sum = !Negative(b);
    std::vector<Piece> pieces;
    pieces.push_back(PieceOf(*root, 2));
    Move move = FormulaSplit(FormulaReason(sum ? "a² + 2ab + b²" : "a² - 2ab + b²", a, sum ? b : -b, context),
                             std::move(pieces), ring);
    if (root->Length() > 2) move.details = SquareDetails(a, b, context);
    return move;
  }
  if (terms == 4) {
    // a³ + b³ + c³ - 3abc = (a + b + c)(a² + b² + c² - ab - bc - ca), a, b, c
    // single terms: three cubes and the fourth term -3abc.
    for (int skip = 0; skip < 4; ++skip) {
      std::vector<Poly> roots;
      for (int i = 0; i < 4; ++i) {
        if (i == skip) continue;
        if (std::optional<Poly> root = p.Term(i).TermRoot(3)) roots.push_back(*root);
      }
      if (roots.size() != 3) continue;
      const Poly &a = roots[0], &b = roots[1], &c = roots[2];
      if (p.Term(skip) != (a * b * c).Scaled(Rational(-3))) continue;
      std::vector<Piece> pieces;
      pieces.push_back(PieceOf(a + b + c));
      pieces.push_back(PieceOf(a * a + b * b + c * c - a * b - b * c - c * a));
      const bool own = context.letters.find_first_of("abc") != std::string::npos;
      const std::string formula = own ? "A³ + B³ + C³ - 3ABC = (A + B + C)(A² + B² + C² - AB - BC - CA), A = "
                                      : "a³ + b³ + c³ - 3abc = (a + b + c)(a² + b² + c² - ab - bc - ca), a = ";
      return FormulaSplit({Words(formula), Math(a), Words(own ? ", B = " : ", b = "), Math(b),
                           Words(own ? ", C = " : ", c = "), Math(c)},
                          std::move(pieces), ring);
    }
    std::optional<Poly> a = p.Term(0).TermRoot(3), b = p.Term(3).TermRoot(3);
    if (a && b && (*a + *b).Power(3) == p) {
      const bool sum = !Negative(*b);
      std::vector<Piece> pieces;
      pieces.push_back(PieceOf(*a + *b, 3));
      return FormulaSplit(
          FormulaReason(sum ? "a³ + 3a²b + 3ab² + b³" : "a³ - 3a²b + 3ab² - b³", *a, sum ? *b : -*b, context),
          std::move(pieces), ring);
    }
  }
  return std::nullopt;
}

// 十字相乘法: A·v^2k + B·v^k + C as (a1·v^k + c1)(a2·v^k + c2) with a1, c1, a2,
// c2 single terms, a1·a2 = A, c1·c2 = C and a1·c2 + a2·c1 = B. The two
// factors are products of the piece's certified factors, which are tried in
// turn.
std::optional<Move> CrossMove(const Piece& piece, const Context& context) {
  const Poly& p = piece.value;
  const std::vector<std::pair<int, int>> counted = Counted(piece.parts);
  for (int v = 0; v < context.ring.Variables(); ++v) {
    const long degree = p.Degree(v);
    if (degree < 2 || degree % 2 != 0) continue;
    const long k = degree / 2;
    // A quadratic in v^k whose middle term is a single term: a "cross"
    // whose middle is a sum (x² + ax + bx + ab) is no cross, grouping takes it.
    bool quadratic = true;
    int middle = 0;
    for (int i = 0; i < p.Length() && quadratic; ++i) {
      const long e = p.Exponents(i)[static_cast<size_t>(v)];
      quadratic = e == 0 || e == k || e == degree;
      middle += e == k;
    }
    if (!quadratic || middle > 1) continue;
    // Every choice of how many of each certified factor go into the first.
    std::vector<int> chosen(counted.size(), 0);
    long tried = 0;
    while (true) {
      size_t at = 0;
      while (at < chosen.size() && chosen[at] == counted[at].second) chosen[at++] = 0;
      if (at == chosen.size() || ++tried > kMaxCrossSplits || context.budget.Spent()) break;
      ++chosen[at];
      long firstDegree = 0;
      for (size_t j = 0; j < chosen.size(); ++j) {
        firstDegree += chosen[j] * context.certified[static_cast<size_t>(counted[j].first)].Degree(v);
      }
      if (firstDegree != k) continue;
      Poly first = One(context.ring);
      for (size_t j = 0; j < chosen.size(); ++j) {
        first = first * context.certified[static_cast<size_t>(counted[j].first)].Power(chosen[j]);
      }
      Poly a1 = first, c1 = first, a2 = first, c2 = first;
      if (!CrossShaped(first, v, k, &a1, &c1)) continue;
      std::optional<Poly> second = p.DividedBy(first);
      if (!second || !CrossShaped(*second, v, k, &a2, &c2)) continue;
      const Poly unit = Letter(context.ring, v, k);
      // The factor with the larger leading coefficient first, then the one
      // with the smaller number: (2x - 1)(x - 3), (x - 2)(x - 3).
      const Rational lead1 = a1.Coefficient(0), lead2 = a2.Coefficient(0);
      const Rational low1 = c1.Coefficient(0), low2 = c2.Coefficient(0);
      if (lead1 < lead2 ||
          (lead1 == lead2 && Smaller(low2, low1))) {
        std::swap(first, *second);
        std::swap(a1, a2);
        std::swap(c1, c2);
      }
      std::vector<Piece> pieces;
      pieces.push_back(PieceOf(first));
      pieces.push_back(PieceOf(*second));
      // The cross as a class draws it: the two factors' terms in two
      // columns, the products along the diagonals.
      std::vector<Reason> diagram{{Words("十字图 / the cross:")},
                                  {Words(kDiagramIndent), Math(a1), Words(kDiagramGap), Math(c1)},
                                  {Words(kDiagramIndent), Words(kDiagramCross)},
                                  {Words(kDiagramIndent), Math(a2), Words(kDiagramGap), Math(c2)},
                                  {Words("交叉相乘再相加 / crosswise products added: "), Math(a1, true), Words(" × "),
                                   Math(c2, true), Words(" + "), Math(a2, true), Words(" × "), Math(c1, true),
                                   Words(" = "), Math(a1 * c2 + a2 * c1)}};
      return Move{Method::Cross, CrossReason(a1, c1, a2, c2, a1 == unit && a2 == unit), One(context.ring),
                  std::move(pieces), std::move(diagram)};
    }
  }
  return std::nullopt;
}

// 分组分解法: the terms in two groups whose written forms share a factor
// (ax + ay + bx + by = a(x + y) + b(x + y)), or that are a square and a square
// taken away (x² - y² + 2y - 1 = x² - (y - 1)²).
std::optional<Move> GroupingMove(const Piece& piece, const Context& context) {
  const Poly& p = piece.value;
  const int terms = p.Length();
  if (terms < 3 || terms > kMaxGroupingTerms) return std::nullopt;
  for (unsigned mask : GroupingOrder(terms)) {
    if (context.budget.Spent()) return std::nullopt;
    Poly first(context.ring), second(context.ring);
    for (int i = 0; i < terms; ++i) {
      Poly& group = (mask >> i) & 1u ? second : first;
      group = group + p.Term(i);
    }
    const Reason reason{Words("分组: "),
                        Math(Expression::SumOf({GroupShown(first), GroupShown(second)}))};
    // A factor that both groups show, the rest of the first one's before
    // its split: x²(x + 3) - 4(x + 3); (x² + y²)(x² - y²) + (x² - y²).
    const GroupForm firstForm = FormOfGroup(first, context), secondForm = FormOfGroup(second, context);
    std::vector<Poly> candidates{firstForm.rest};
    for (const Piece& piece : firstForm.split) candidates.push_back(piece.value);
    for (const Poly& factor : candidates) {
      const int power = std::min(firstForm.Shows(factor), secondForm.Shows(factor));
      if (power == 0 || factor.IsConstant()) continue;
      const std::optional<Poly> rest = p.DividedBy(factor.Power(power));
      if (!rest || rest->IsConstant()) continue;
      Piece grouped = PieceOf(p);
      grouped.shown = Expression::SumOf({firstForm.Written(factor), secondForm.Written(factor)});
      grouped.pending = {Pending::Kind::CommonFactor, std::vector<Poly>(static_cast<size_t>(power), factor)};
      std::vector<Piece> pieces;
      pieces.push_back(std::move(grouped));
      return Move{Method::Grouping, reason, One(context.ring), std::move(pieces)};
    }
    const std::optional<Poly> a = RootOfSquare(first), b = RootOfSquare(-second);
    if (a && b) {
      Piece grouped = PieceOf(p);
      grouped.shown = Expression::SumOf({SquareOf(*a), MinusSquareOf(*b)});
      grouped.pending = {Pending::Kind::DifferenceOfSquares, {*a, *b}};
      std::vector<Piece> pieces;
      pieces.push_back(std::move(grouped));
      return Move{Method::Grouping, reason, One(context.ring), std::move(pieces)};
    }
  }
  return std::nullopt;
}

// 试根法: a root p/q of a polynomial in one variable (or of a homogeneous one
// in two, x = p/q·y) of degree 3 or more, with p dividing the constant term
// and q the leading coefficient, gives the factor qx - p; the roots are
// those of the piece's certified factors of degree 1, taken in the order a
// class tries them.
std::optional<Move> RationalRootMove(const Piece& piece, const Context& context) {
  const Poly& p = piece.value;
  std::optional<int> other;
  const std::optional<int> v = MainVariable(p, &other);
  if (!v || p.Degree(*v) < 3) return std::nullopt;
  const Poly letter = Letter(context.ring, *v);
  const Poly otherLetter = other ? Letter(context.ring, *other) : One(context.ring);
  std::optional<int> best;
  Rational bestRoot;
  for (const auto& [part, count] : Counted(piece.parts)) {
    // A factor ax + b (or ax + by), a and b numbers.
    const Poly& factor = context.certified[static_cast<size_t>(part)];
    if (factor.Length() != 2) continue;
    const Rational a = factor.Coefficient(0), b = factor.Coefficient(1);
    if (factor.Term(0) != letter.Scaled(a) || factor.Term(1) != otherLetter.Scaled(b)) continue;
    const Rational root = -(b / a);
    if (!best || RootOrder(root) < RootOrder(bestRoot)) {
      best = part;
      bestRoot = root;
    }
  }
  if (!best) return std::nullopt;
  const Poly& factor = context.certified[static_cast<size_t>(*best)];
  std::vector<Piece> pieces;
  pieces.push_back(PieceOf(factor));
  pieces.push_back(PieceOf(*p.DividedBy(factor)));
  // The coefficients in the letter, the other one taken as 1.
  std::vector<Rational> coefficients(static_cast<size_t>(p.Degree(*v)) + 1);
  for (int i = 0; i < p.Length(); ++i) {
    const size_t e = static_cast<size_t>(p.Exponents(i)[static_cast<size_t>(*v)]);
    coefficients[e] = coefficients[e] + p.Coefficient(i);
  }
  const std::string name(1, context.letters[static_cast<size_t>(*v)]);
  const std::string unit = other ? std::string(1, context.letters[static_cast<size_t>(*other)]) : std::string();
  return Move{Method::RationalRoot,
              {Math(letter), Words(" = "), Math(otherLetter.Scaled(bestRoot)), Words(" 使多项式为 0 / makes it 0")},
              One(context.ring), std::move(pieces), RootTestDetails(coefficients, bestRoot, name, unit)};
}

// 双十字相乘法: ax² + bxy + cy² + dx + ey + f as (a₁x + c₁y + f₁)(a₂x + c₂y + f₂),
// each factor with its three terms: the three crosses (x², xy, y²), (y², y,
// the number) and (x², x, the number) written out and checked.
std::optional<Move> DoubleCrossMove(const Piece& piece, const Context& context) {
  const Poly& p = piece.value;
  const std::vector<int> used = VariablesOf(p);
  if (used.size() != 2 || p.TotalDegree() != 2 || p.Length() < 5 || piece.parts.size() != 2) return std::nullopt;
  const int x = used[0], y = used[1];
  const Poly& first = context.certified[static_cast<size_t>(piece.parts[0])];
  std::optional<Poly> second = p.DividedBy(first);
  if (!second || first.Length() != 3 || second->Length() != 3) return std::nullopt;
  // The coefficients of x, y and the number in a linear factor.
  auto split = [&](const Poly& f, Rational* a, Rational* c, Rational* n) {
    for (int i = 0; i < f.Length(); ++i) {
      const std::vector<long> e = f.Exponents(i);
      (e[static_cast<size_t>(x)] == 1 ? *a : e[static_cast<size_t>(y)] == 1 ? *c : *n) = f.Coefficient(i);
    }
  };
  Rational a1, c1, f1, a2, c2, f2;
  split(first, &a1, &c1, &f1);
  split(*second, &a2, &c2, &f2);
  if (a1.Sign() == 0 || c1.Sign() == 0 || f1.Sign() == 0 || a2.Sign() == 0 || c2.Sign() == 0 || f2.Sign() == 0) {
    return std::nullopt;
  }
  const Poly X = Letter(context.ring, x), Y = Letter(context.ring, y), one = One(context.ring);
  const Poly ax1 = X.Scaled(a1), cy1 = Y.Scaled(c1), n1 = one.Scaled(f1);
  const Poly ax2 = X.Scaled(a2), cy2 = Y.Scaled(c2), n2 = one.Scaled(f2);
  std::vector<Piece> pieces;
  pieces.push_back(PieceOf(first));
  pieces.push_back(PieceOf(*second));
  auto cross = [](const Poly& u1, const Poly& v1, const Poly& u2, const Poly& v2) {
    return Reason{Math(u1, true), Words(" × "), Math(v2, true), Words(" + "), Math(u2, true), Words(" × "),
                  Math(v1, true), Words(" = "), Math(u1 * v2 + u2 * v1)};
  };
  std::vector<Reason> details{
      {Words("双十字图 / the double cross:")},
      {Words(kDiagramIndent), Math(ax1), Words(kDiagramGap), Math(cy1), Words(kDiagramGap), Math(n1)},
      {Words(kDiagramIndent), Words(kDiagramCross), Words(kDiagramGap), Words(kDiagramCross)},
      {Words(kDiagramIndent), Math(ax2), Words(kDiagramGap), Math(cy2), Words(kDiagramGap), Math(n2)}};
  const std::string xName(1, context.letters[static_cast<size_t>(x)]), yName(1, context.letters[static_cast<size_t>(y)]);
  Reason check{Words(xName + yName + " 项 / the " + xName + yName + " term: ")};
  for (const ReasonPart& part : cross(ax1, cy1, ax2, cy2)) check.push_back(part);
  details.push_back(check);
  Reason yTerm{Words(yName + " 项 / the " + yName + " term: ")};
  for (const ReasonPart& part : cross(cy1, n1, cy2, n2)) yTerm.push_back(part);
  details.push_back(yTerm);
  Reason xTerm{Words(xName + " 项 / the " + xName + " term: ")};
  for (const ReasonPart& part : cross(ax1, n1, ax2, n2)) xTerm.push_back(part);
  details.push_back(xTerm);
  return Move{Method::DoubleCross,
              {Words("双十字: "), Math(ax1 * ax2), Words(" = "), Math(ax1, true), Words(" × "), Math(ax2, true),
               Words(", "), Math(cy1 * cy2), Words(" = "), Math(cy1, true), Words(" × "), Math(cy2, true), Words(", "),
               Math(n1 * n2), Words(" = "), Math(n1, true), Words(" × "), Math(n2, true)},
              One(context.ring), std::move(pieces), std::move(details)};
}

// 主元法: the polynomial arranged by the powers of one letter, whose
// coefficients share a factor in the other letters, which comes out next:
// a²(b - c) - a(b² - c²) + bc(b - c).
std::optional<Move> MainLetterMove(const Piece& piece, const Context& context) {
  const Poly& p = piece.value;
  const std::vector<int> used = VariablesOf(p);
  if (used.size() < 2 || piece.parts.size() < 2) return std::nullopt;
  for (int v : used) {
    if (p.Degree(v) < 2) continue;
    // The certified factors without v: what every coefficient shares.
    std::vector<Poly> shared;
    for (const auto& [part, count] : Counted(piece.parts)) {
      const Poly& factor = context.certified[static_cast<size_t>(part)];
      if (factor.Degree(v) == 0) {
        for (int k = 0; k < count; ++k) shared.push_back(factor);
      }
    }
    if (shared.empty()) continue;
    std::vector<Expression> parts;
    for (long k = p.Degree(v); k >= 0; --k) {
      Poly coefficient(context.ring);
      for (int i = 0; i < p.Length(); ++i) {
        std::vector<long> e = p.Exponents(i);
        if (e[static_cast<size_t>(v)] != k) continue;
        e[static_cast<size_t>(v)] = 0;
        coefficient = coefficient + Poly::Monomial(context.ring, p.Coefficient(i), e);
      }
      if (coefficient.IsZero()) continue;
      const Poly power = Letter(context.ring, v, k);
      if (coefficient.Length() == 1) {
        parts.push_back(Shown(coefficient * power));
        continue;
      }
      // Written from its first term as a textbook writes it: - a(b² - c²).
      const bool negative = Shown(coefficient).polynomial.terms.front().coefficient.front() == '-';
      const Poly sign = negative ? -One(context.ring) : One(context.ring);
      parts.push_back(Expression::ProductOf({Shown(power * sign), Shown(coefficient * sign)}));
    }
    Piece arranged = PieceOf(p);
    arranged.shown = Expression::SumOf(std::move(parts));
    arranged.pending = {Pending::Kind::CommonFactor, shared};
    Poly common = One(context.ring);
    for (const Poly& factor : shared) common = common * factor;
    std::vector<Piece> pieces;
    pieces.push_back(std::move(arranged));
    const std::string name(1, context.letters[static_cast<size_t>(v)]);
    return Move{Method::MainLetter,
                {Words("以 " + name + " 为主元, 按 " + name + " 的降幂排列, 各项系数都有因式 "), Math(common),
                 Words(" / " + name + " as the main letter: by the powers of " + name +
                       ", every coefficient has this factor")},
                One(context.ring), std::move(pieces)};
  }
  return std::nullopt;
}

// 换元法 without brackets: a quadratic in an expression t found in the
// polynomial, t the square root of its highest part without its number:
// x² + 2xy + y² - 4x - 4y + 3 as t² - 4t + 3 with t = x + y, x⁴ + 2x³ - 7x²
// - 8x + 12 as t² - 8t + 12 with t = x² + x.
std::optional<Move> HiddenSubstitutionMove(const Piece& piece, const Context& context) {
  const Poly& p = piece.value;
  const std::vector<int> used = VariablesOf(p);
  std::optional<Poly> t;
  if (used.size() == 2 && p.TotalDegree() == 2) {
    Poly top(context.ring);
    for (int i = 0; i < p.Length(); ++i) {
      if (p.Term(i).TotalDegree() == 2) top = top + p.Term(i);
    }
    t = top.SquareRoot();
  } else if (used.size() == 1 && p.TotalDegree() == 4) {
    const int v = used[0];
    std::vector<Rational> c(5);
    for (int i = 0; i < p.Length(); ++i) c[static_cast<size_t>(p.Exponents(i)[static_cast<size_t>(v)])] = p.Coefficient(i);
    const std::optional<Poly> lead = Poly(context.ring, c[4]).TermRoot(2);
    if (!lead || lead->IsZero() || c[3].Sign() == 0) return std::nullopt;
    const Rational alpha = lead->Coefficient(0), beta = c[3] / (Rational(2) * alpha);
    if (beta.Denominator() != 1) return std::nullopt;
    t = Letter(context.ring, v, 2).Scaled(alpha) + Letter(context.ring, v).Scaled(beta);
  }
  if (!t || t->Length() < 2) return std::nullopt;
  // p = c2·t² + c1·t + c0.
  const Poly square = *t * *t;
  const Rational c2 = p.Coefficient(0) / square.Coefficient(0);
  const Poly rest = p - square.Scaled(c2);
  if (rest.IsZero()) return std::nullopt;
  Rational c1(0), c0(0);
  if (!rest.IsConstant()) {
    c1 = rest.Coefficient(0) / t->Coefficient(0);
    const Poly last = rest - t->Scaled(c1);
    if (!last.IsConstant()) return std::nullopt;
    if (!last.IsZero()) c0 = last.Coefficient(0);
  } else {
    c0 = rest.Coefficient(0);
  }
  if (c1.Sign() == 0) return std::nullopt;
  std::optional<TypedSteps> steps = SubstitutionOf(*t, {c0, c1, c2}, p, context);
  if (!steps || !steps->move) return std::nullopt;
  return steps->move;
}

// 因式定理 in several letters: a = b (or a = -b) makes the polynomial 0, so
// a - b (a + b) is a factor; the quotient by it goes on.
std::optional<Move> FactorTheoremMove(const Piece& piece, const Context& context) {
  const Poly& p = piece.value;
  if (VariablesOf(p).size() < 2) return std::nullopt;
  for (const auto& [part, count] : Counted(piece.parts)) {
    const Poly& factor = context.certified[static_cast<size_t>(part)];
    if (factor.Length() != 2 || factor.TotalDegree() != 1 || VariablesOf(factor).size() != 2) continue;
    if (!(factor.Coefficient(0).Abs() == Rational(1)) || !(factor.Coefficient(1).Abs() == Rational(1))) continue;
    const Poly u = factor.Term(0), w = -factor.Term(1);
    std::vector<Piece> pieces;
    pieces.push_back(PieceOf(factor));
    pieces.push_back(PieceOf(*p.DividedBy(factor)));
    return Move{Method::FactorTheorem,
                {Words("令 "), Math(u), Words(" = "), Math(w), Words(", 多项式为 0, 所以 "), Math(factor),
                 Words(" 是因式 / with "), Math(u), Words(" = "), Math(w), Words(" it is 0, so it is a factor")},
                One(context.ring), std::move(pieces)};
  }
  return std::nullopt;
}

// 拆项添项/配方: a² + m + b² with a term D added and taken away so that
// (a ± b)² appears and D is a square: x⁴ + 4 = (x² + 2)² - (2x)².
std::optional<Move> CompletingMove(const Piece& piece, const Context& context) {
  const Poly& p = piece.value;
  const int terms = p.Length();
  if (terms != 2 && terms != 3) return std::nullopt;
  const Poly last = p.Term(terms - 1);
  if (Negative(last)) return std::nullopt;
  const std::optional<Poly> a = p.Term(0).TermRoot(2), b = last.TermRoot(2);
  if (!a || !b) return std::nullopt;
  for (const Poly& base : {*a + *b, *a - *b}) {
    const Poly added = base * base - p;
    if (added.Length() != 1 || Negative(added)) continue;
    const std::optional<Poly> root = added.TermRoot(2);
    if (!root) continue;
    Piece completed = PieceOf(p);
    completed.shown = Expression::SumOf({SquareOf(base), MinusSquareOf(*root)});
    completed.pending = {Pending::Kind::DifferenceOfSquares, {base, *root}};
    std::vector<Piece> pieces;
    pieces.push_back(std::move(completed));
    return Move{Method::Completing,
                {Words("加上 "), Math(added), Words(" 再减去 "), Math(added), Words(" / added and taken away")},
                One(context.ring), std::move(pieces)};
  }
  return std::nullopt;
}

std::optional<Move> PendingMove(const Piece& piece, const Context& context) {
  switch (piece.pending.kind) {
    case Pending::Kind::None: return std::nullopt;
    case Pending::Kind::CommonFactor: {
      // The shared factors, one a piece, and what is left of the sum.
      Poly common = One(context.ring);
      std::vector<Piece> pieces;
      std::vector<Expression> shown;
      for (const Poly& factor : piece.pending.terms) {
        common = common * factor;
        pieces.push_back(PieceOf(factor));
        shown.push_back(Shown(factor));
      }
      pieces.push_back(PieceOf(*piece.value.DividedBy(common)));
      return Move{Method::CommonFactor, {Words("公因式 "), Math(Expression::ProductOf(std::move(shown)))},
                  One(context.ring), std::move(pieces)};
    }
    case Pending::Kind::DifferenceOfSquares:
      return DifferenceOfSquares(piece.pending.terms[0], piece.pending.terms[1], context);
  }
  return std::nullopt;
}

Move ExactMove(const Piece& piece, const Context& context, const std::string& why) {
  Poly product = One(context.ring);
  std::vector<Piece> pieces;
  for (const auto& [part, count] : Counted(piece.parts)) {
    const Poly& factor = context.certified[static_cast<size_t>(part)];
    product = product * factor.Power(count);
    if (factor.Length() > 1) pieces.push_back(PieceOf(factor, count));
  }
  // A certified factor of one term (a letter) goes to the front.
  Poly front = *piece.value.DividedBy(product);
  for (const auto& [part, count] : Counted(piece.parts)) {
    const Poly& factor = context.certified[static_cast<size_t>(part)];
    if (factor.Length() == 1) front = front * factor.Power(count);
  }
  return Move{Method::Exact, {Math(piece.value), Words(": " + why)}, front, std::move(pieces)};
}

std::string WhyNoMethod(const Piece& piece, const Context&) {
  const Poly& p = piece.value;
  if (VariablesOf(p).size() == 1) {
    const std::string degree = std::to_string(p.TotalDegree());
    return "次数 " + degree + ", 没有有理根 / degree " + degree + ", no rational root";
  }
  if (p.Length() > kMaxGroupingTerms) {
    const std::string terms = std::to_string(p.Length());
    return terms + " 项, 分组的方法太多 / " + terms + " terms, too many ways to group them";
  }
  return "课上的方法都分不开它 / none of the class methods splits it";
}

namespace {

// The coefficients of a polynomial in one letter v (the others taken as 1
// where it is homogeneous in two), from the constant up; none where another
// letter stays.
std::optional<std::vector<Rational>> OneLetterCoefficients(const Poly& factor, int v) {
  std::vector<Rational> coefficients(static_cast<size_t>(factor.Degree(v)) + 1);
  for (int i = 0; i < factor.Length(); ++i) {
    const size_t e = static_cast<size_t>(factor.Exponents(i)[static_cast<size_t>(v)]);
    coefficients[e] = coefficients[e] + factor.Coefficient(i);
  }
  return coefficients;
}

// Whether a whole number is a square.
bool IsSquare(long n) {
  if (n < 0) return false;
  long r = static_cast<long>(std::sqrt(static_cast<double>(n)));
  while (r * r > n) --r;
  while ((r + 1) * (r + 1) <= n) ++r;
  return r * r == n;
}

// A quartic z⁴ + pz³ + qz² + rz + s (whole numbers) with no rational root
// split into (z² + az + b)(z² + cz + d): the pairs bd = s tried, none giving
// whole a and c. True when none does.
bool NoQuadraticFactors(const std::vector<long>& c, std::string* tried) {
  const long p = c[3], q = c[2], r = c[1], s = c[0];
  if (s == 0 || std::abs(s) > 10000) return false;
  for (long b = -std::abs(s); b <= std::abs(s); ++b) {
    if (b == 0 || s % b != 0) continue;
    const long d = s / b;
    if (b > d) continue;
    *tried += (tried->empty() ? "" : ", ") + std::string("(") + std::to_string(b) + ", " + std::to_string(d) + ")";
    if (d != b) {
      if ((r - b * p) % (d - b) != 0) continue;
      const long a = (r - b * p) / (d - b), cc = p - a;
      if (a * cc + b + d == q) return false;
    } else {
      if (r != b * p) continue;
      // a + c = p, ac = q - 2b: a and c whole when p² - 4(q - 2b) is a square.
      const long discriminant = p * p - 4 * (q - 2 * b);
      if (IsSquare(discriminant)) {
        const long root = static_cast<long>(std::llround(std::sqrt(static_cast<double>(discriminant))));
        if ((p + root) % 2 == 0) return false;
      }
    }
  }
  return true;
}

// The positive divisors of a whole number, ascending.
std::vector<long> PositiveDivisors(long n) {
  std::vector<long> small, large;
  for (long d = 1; d * d <= n; ++d) {
    if (n % d != 0) continue;
    small.push_back(d);
    if (d * d != n) large.insert(large.begin(), n / d);
  }
  small.insert(small.end(), large.begin(), large.end());
  return small;
}

// The candidates of the rational-root test, each size once, integers first:
// "±1, ±3, ±1/2".
std::string CandidateList(const std::vector<Rational>& coefficients) {
  long scale = 1;
  for (const Rational& c : coefficients) scale = std::lcm(scale, c.Denominator());
  const long constant = std::abs((coefficients.front() * Rational(scale)).Numerator());
  const long lead = std::abs((coefficients.back() * Rational(scale)).Numerator());
  if (constant == 0 || constant > 1000000000 || lead > 1000000000) return "±p/q";
  std::vector<Rational> sizes;
  for (long q : PositiveDivisors(lead)) {
    for (long p : PositiveDivisors(constant)) {
      if (std::gcd(p, q) == 1) sizes.push_back(Rational(p, q));
    }
  }
  std::string text;
  for (size_t i = 0; i < sizes.size() && i < 12; ++i) text += (text.empty() ? "±" : ", ±") + sizes[i].Text();
  if (sizes.size() > 12) text += ", …";
  return text;
}

}  // namespace

Reason IrreducibleReason(const Poly& factor, const std::string& letters, bool* fromExact) {
  *fromExact = false;
  if (factor.TotalDegree() == 1) {
    return {Math(factor), Words(" 是一次式, 在有理数域上不可约 / of degree 1, irreducible over Q")};
  }
  const std::vector<int> used = VariablesOf(factor);
  // Linear in a letter: its coefficient and the rest have no common factor,
  // or it would split off.
  for (int v : used) {
    if (factor.Degree(v) != 1 || used.size() < 2) continue;
    const std::string name(1, letters[static_cast<size_t>(v)]);
    return {Math(factor), Words(" 在有理数域上不可约: 关于 " + name + " 是一次的, " + name +
                                " 的系数与其余部分没有公因式 / irreducible over Q: linear in " + name +
                                ", and the coefficient of " + name + " and the rest have no common factor")};
  }
  std::optional<int> other;
  const std::optional<int> v = MainVariable(factor, &other);
  // A quadratic in a letter: its discriminant, the other letters in it, is
  // no square.
  for (int letter : used) {
    if (factor.Degree(letter) != 2) continue;
    Poly a(factor.ring()), b(factor.ring()), c(factor.ring());
    for (int i = 0; i < factor.Length(); ++i) {
      std::vector<long> exponents = factor.Exponents(i);
      const long e = exponents[static_cast<size_t>(letter)];
      exponents[static_cast<size_t>(letter)] = 0;
      const Poly rest = Poly::Monomial(factor.ring(), factor.Coefficient(i), exponents);
      (e == 2 ? a : e == 1 ? b : c) = (e == 2 ? a : e == 1 ? b : c) + rest;
    }
    const Poly discriminant = b * b - (a * c).Scaled(Rational(4));
    const std::string name(1, letters[static_cast<size_t>(letter)]);
    const bool negativeNumber = discriminant.IsConstant() && !discriminant.IsZero() &&
                                discriminant.Coefficient(0).Sign() < 0;
    const bool negativeSquareTimes = !discriminant.IsConstant() && discriminant.Length() == 1 &&
                                     discriminant.Coefficient(0).Sign() < 0 && (-discriminant).TermRoot(2);
    if (!negativeNumber && discriminant.SquareRoot()) continue;
    const std::string why = negativeNumber ? " < 0 / below 0"
                            : negativeSquareTimes ? " ≤ 0, 不是完全平方 / never above 0, not a square"
                                                  : ", 不是完全平方 / not a square";
    return {Math(factor), Words(" 在有理数域上不可约: 关于 " + name + " 的二次式, 判别式 Δ = "), Math(discriminant),
            Words(why + " (irreducible over Q: quadratic in " + name + ")")};
  }
  // In one letter (or homogeneous in two): no rational root, and for a
  // quartic no two quadratic factors.
  if (v) {
    const std::optional<std::vector<Rational>> coefficients = OneLetterCoefficients(factor, *v);
    const long degree = factor.Degree(*v);
    const std::string candidates = coefficients ? CandidateList(*coefficients) : std::string();
    const std::string noRoot = "没有有理根 (候选根 " + candidates + " 都不是根) / no rational root (none of " +
                               candidates + " is one)";
    if (degree == 3) {
      return {Math(factor), Words(" 在有理数域上不可约: 三次式, " + noRoot +
                                  ", 所以没有一次因式 / a cubic: so no factor of degree 1")};
    }
    if (degree == 4 && coefficients && coefficients->back() == Rational(1)) {
      std::vector<long> whole;
      bool integral = true;
      for (const Rational& c : *coefficients) {
        integral = integral && c.Denominator() == 1;
        whole.push_back(c.Numerator());
      }
      std::string tried;
      if (integral && NoQuadraticFactors(whole, &tried)) {
        return {Math(factor),
                Words(" 在有理数域上不可约: " + noRoot + "; 设它等于 (z² + az + b)(z² + cz + d), bd 的整数分解 (b, d) = " +
                      tried + " 都得不到整数 a, c / as (z² + az + b)(z² + cz + d), no pair (b, d) with bd its constant "
                      "term gives whole a and c")};
      }
    }
    *fromExact = true;
    return {Math(factor), Words(" 在有理数域上不可约: " + noRoot + ", 其余由精确分解得到 / the rest from the exact "
                                "factorisation")};
  }
  *fromExact = true;
  return {Math(factor), Words(" 在有理数域上不可约: 对每个字母都不是一次或二次的, 由精确分解得到 / of degree 1 or 2 in no "
                              "letter; from the exact factorisation")};
}

}  // namespace pfac::explain
