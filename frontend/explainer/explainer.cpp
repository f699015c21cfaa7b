#include "frontend/explainer/explainer.h"

#include <algorithm>
#include <utility>

#include "engine/exact/rational_poly.h"
#include "frontend/explainer/methods.h"
#include "frontend/explainer/structure.h"

namespace pfac::explain {

namespace {

// The certified factors that a factor no method splits may have, for the
// explainer to try splitting off one of them and going on with the class's
// methods; a factor of more is split into all of them at once, as the
// methods would have to be tried on too many rests.
constexpr size_t kMaxPartsTriedOneByOne = 6;
// More steps than a student follows (x^12 - 1 takes five, no textbook
// exercise more than four): a polynomial of high degree gets its first
// steps, then the rest from the exact factorisation in one step that says
// so, and the steps stay short enough to read.
constexpr size_t kMaxSteps = 12;

// The methods after the common factor, in the order a class tries them.
using Recogniser = std::optional<Move> (*)(const Piece&, const Context&);
constexpr Recogniser kClassOrder[] = {FormulaMove,      CrossMove,      HiddenSubstitutionMove, DoubleCrossMove,
                                      GroupingMove,     RationalRootMove, MainLetterMove,     FactorTheoremMove,
                                      CompletingMove};

// The polynomial as the product of a number or monomial in front and the
// factors found so far.
struct State {
  Poly front;
  std::vector<Piece> pieces;
};

Expression Whole(const State& state) {
  std::vector<Expression> parts;
  if (!state.front.IsOne() || state.pieces.empty()) parts.push_back(Shown(state.front));
  for (const Piece& piece : state.pieces) {
    Expression part = piece.shown ? *piece.shown : Shown(piece.value);
    parts.push_back(piece.power > 1 ? Expression::PowerOf(std::move(part), piece.power) : std::move(part));
  }
  if (parts.size() == 1 && parts[0].kind != Expression::Kind::Polynomial) return parts[0];
  return Expression::ProductOf(std::move(parts));
}

class Explainer {
 public:
  Explainer(const Poly& polynomial, const std::string& letters, std::vector<Poly> certified, std::vector<int> parts,
            const Options& options)
      : polynomial_(polynomial),
        certified_(std::move(certified)),
        budget_(options.budget),
        options_(options),
        context_{polynomial.ring(), letters, certified_, budget_},
        state_{Poly(polynomial.ring(), Rational(1)), {}} {
    Piece whole = PieceOf(polynomial);
    whole.parts = std::move(parts);
    state_.pieces.push_back(std::move(whole));
  }

  Explanation Run() {
    Explanation explanation;
    // A single term has nothing to factor.
    if (polynomial_.Length() < 2) return explanation;
    if (options_.typed) FromTyped(explanation);
    bool signTakenQuietly = false;  // -1 taken out without a step of its own
    for (;;) {
      if (budget_.Spent() || explanation.steps.size() + 1 >= kMaxSteps) {
        FinishExactly(explanation, budget_.Spent() ? kTimeSpent : kTooManySteps);
        break;
      }
      std::optional<Move> move;
      size_t at = 0;
      for (; at < state_.pieces.size() && !move; ++at) move = NextMove(state_.pieces[at]);
      if (!move) break;
      --at;
      if (SignOnly(*move)) {
        if (std::optional<State> next = Apply(state_, *move, at)) {
          state_ = std::move(*next);
          signTakenQuietly = true;
          continue;
        }
      }
      // The answer writes the minus into the factor a - b, as b - a: the
      // formula's letters are named as the student reads them there.
      if (signTakenQuietly && move->turnedReason) move->reason = *move->turnedReason;
      signTakenQuietly = false;
      if (!Take(*move, at, explanation) &&
          !Take(ExactMove(state_.pieces[at], context_, kCheckFailed), at, explanation)) {
        break;
      }
    }
    if (state_.pieces.size() == 1 && state_.pieces[0].power == 1 && state_.pieces[0].parts.size() == 1 &&
        !state_.pieces[0].shown) {
      explanation.irreducible =
          IrreducibleReason(state_.pieces[0].value, context_.letters, &explanation.irreducibleFromExact);
    } else if (!explanation.steps.empty()) {
      // Why each factor left of degree 2 or more does not split further.
      std::vector<Poly> seen;
      for (const Piece& piece : state_.pieces) {
        if (piece.shown || piece.value.TotalDegree() < 2 ||
            std::find(seen.begin(), seen.end(), piece.value) != seen.end()) {
          continue;
        }
        seen.push_back(piece.value);
        bool fromExact = false;
        explanation.finalReasons.push_back(IrreducibleReason(piece.value, context_.letters, &fromExact));
      }
    }
    return explanation;
  }

 private:
  // Taking out -1 alone where the answer does not keep a minus in front.
  bool SignOnly(const Move& move) const {
    return !options_.keepLeadingMinus && move.method == Method::CommonFactor && move.pieces.size() == 1 &&
           move.front == Poly(context_.ring, Rational(-1)) && !move.pieces.front().shown;
  }

  // The first steps from the problem as typed: its structure used where it
  // helps (a common bracket, a bracket as one letter, ...), otherwise its
  // brackets multiplied out in a step of its own.
  void FromTyped(Explanation& explanation) {
    if (std::optional<TypedSteps> typed = StepsFromTyped(*options_.typed, polynomial_, context_)) {
      const size_t before = explanation.steps.size();
      bool checked = typed->move.has_value();
      for (Step step : typed->rewrites) {
        if (options_.alterStep) options_.alterStep(step);
        if (Expand(step.expression, context_.ring) != polynomial_) checked = false;
        explanation.steps.push_back(std::move(step));
      }
      if (checked && Take(*typed->move, 0, explanation)) return;
      explanation.steps.erase(explanation.steps.begin() + static_cast<long>(before), explanation.steps.end());
    }
    if (HasBrackets(*options_.typed)) {
      explanation.steps.push_back({Method::MultiplyOut, Shown(polynomial_), {Words(kMultipliedOut)}});
    }
  }

  // The move for a piece: the step its passing form waits for, its common
  // factor, then the methods in the class's order; a piece that is not one of
  // the certified factors and that no method splits is taken from the exact
  // factorisation.
  std::optional<Move> NextMove(const Piece& piece) {
    if (piece.pending.kind != Pending::Kind::None) return PendingMove(piece, context_);
    if (std::optional<Move> move = CommonFactorMove(piece, context_)) return move;
    if (piece.parts.size() <= 1) return std::nullopt;
    for (Recogniser method : kClassOrder) {
      if (std::optional<Move> move = method(piece, context_)) return move;
    }
    if (budget_.Spent()) return ExactMove(piece, context_, kTimeSpent);
    return LeastFromExact(piece, WhyNoMethod(piece, context_));
  }

  // A method reaches the piece.
  bool Reachable(const Piece& piece) const {
    if (CommonFactorMove(piece, context_)) return true;
    return std::any_of(std::begin(kClassOrder), std::end(kClassOrder),
                       [&](Recogniser method) { return method(piece, context_).has_value(); });
  }

  // As little as possible from the exact factorisation: one certified factor
  // split off, the highest first, where a method reaches what is left of the
  // piece (or what is left is irreducible), so that the class's methods go
  // on with it; otherwise the piece split into all its certified factors.
  Move LeastFromExact(const Piece& piece, const std::string& why) const {
    if (piece.parts.size() > kMaxPartsTriedOneByOne) return ExactMove(piece, context_, why);
    std::vector<int> order = piece.parts;
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
      return certified_[static_cast<size_t>(a)].TotalDegree() > certified_[static_cast<size_t>(b)].TotalDegree();
    });
    for (int part : order) {
      if (budget_.Spent()) break;
      const Poly& factor = certified_[static_cast<size_t>(part)];
      Piece rest = PieceOf(*piece.value.DividedBy(factor));
      rest.parts = piece.parts;
      rest.parts.erase(std::find(rest.parts.begin(), rest.parts.end(), part));
      if (rest.parts.size() > 1 && !Reachable(rest)) continue;
      Move move = ExactMove(piece, context_, why);
      move.front = Poly(context_.ring, Rational(1));
      move.pieces.clear();
      move.pieces.push_back(PieceOf(factor));
      move.pieces.push_back(std::move(rest));
      return move;
    }
    return ExactMove(piece, context_, why);
  }

  bool Open(const Piece& piece) const {
    return piece.pending.kind != Pending::Kind::None || piece.parts.size() > 1 ||
           !CommonFactorOf(piece.value).IsOne();
  }

  // The certified factors whose product the value is (up to a number),
  // taken from those of the piece it comes from.
  std::optional<std::vector<int>> PartsOf(Poly value, const std::vector<int>& candidates) const {
    std::vector<int> parts;
    for (int candidate : candidates) {
      if (std::optional<Poly> rest = value.DividedBy(certified_[static_cast<size_t>(candidate)])) {
        value = std::move(*rest);
        parts.push_back(candidate);
      }
    }
    if (!value.IsConstant()) return std::nullopt;
    return parts;
  }

  // The state after the move on the piece at `at`: its pieces in its place,
  // numbers and single terms in front, equal factors under one power.
  std::optional<State> Apply(const State& from, const Move& move, size_t at) const {
    State next = from;
    const Piece& old = from.pieces[at];
    next.front = next.front * move.front.Power(old.power);
    std::vector<Piece> replacement;
    for (Piece piece : move.pieces) {
      piece.power *= old.power;
      if (piece.value.Length() == 1) {
        next.front = next.front * piece.value.Power(piece.power);
        continue;
      }
      std::optional<std::vector<int>> parts = PartsOf(piece.value, old.parts);
      if (!parts) return std::nullopt;
      piece.parts = std::move(*parts);
      replacement.push_back(std::move(piece));
    }
    next.pieces.erase(next.pieces.begin() + static_cast<long>(at));
    next.pieces.insert(next.pieces.begin() + static_cast<long>(at), replacement.begin(), replacement.end());
    for (size_t i = 0; i < next.pieces.size(); ++i) {
      for (size_t j = i + 1; j < next.pieces.size();) {
        Piece& first = next.pieces[i];
        const Piece& later = next.pieces[j];
        if (!first.shown && !later.shown && first.value == later.value) {
          first.power += later.power;
          next.pieces.erase(next.pieces.begin() + static_cast<long>(j));
        } else {
          ++j;
        }
      }
    }
    return next;
  }

  // The move made and its step kept, when the step multiplies out to the
  // polynomial entered; otherwise nothing changes.
  bool Take(const Move& move, size_t at, Explanation& explanation) {
    std::optional<State> next = Apply(state_, move, at);
    if (!next) return false;
    Step step{move.method, Whole(*next), move.reason, move.details};
    if (options_.alterStep) options_.alterStep(step);
    if (Expand(step.expression, context_.ring) != polynomial_) return false;
    explanation.steps.push_back(std::move(step));
    state_ = std::move(*next);
    return true;
  }

  // The time or the steps are spent: every piece still open from the exact
  // factorisation, in one step.
  void FinishExactly(Explanation& explanation, const char* why) {
    State next = state_;
    bool changed = false;
    for (size_t at = next.pieces.size(); at-- > 0;) {
      if (!Open(next.pieces[at])) continue;
      std::optional<State> split = Apply(next, ExactMove(next.pieces[at], context_, why), at);
      if (!split) return;
      next = std::move(*split);
      changed = true;
    }
    if (!changed) return;
    Step step{Method::Exact, Whole(next), {Words(why)}};
    if (options_.alterStep) options_.alterStep(step);
    if (Expand(step.expression, context_.ring) != polynomial_) return;
    explanation.steps.push_back(std::move(step));
    state_ = std::move(next);
  }

  const Poly& polynomial_;
  std::vector<Poly> certified_;
  Budget budget_;
  const Options& options_;
  Context context_;
  State state_;
};

}  // namespace

Expression Expression::Of(RationalPolynomial polynomial) {
  Expression e;
  e.polynomial = std::move(polynomial);
  return e;
}

Expression Expression::ProductOf(std::vector<Expression> parts) {
  Expression e;
  e.kind = Kind::Product;
  e.parts = std::move(parts);
  return e;
}

Expression Expression::SumOf(std::vector<Expression> parts) {
  Expression e;
  e.kind = Kind::Sum;
  e.parts = std::move(parts);
  return e;
}

Expression Expression::PowerOf(Expression base, int exponent) {
  Expression e;
  e.kind = Kind::Power;
  e.parts.push_back(std::move(base));
  e.exponent = exponent;
  return e;
}

bool Explanation::UsesExactFactorisation() const {
  return irreducibleFromExact ||
         std::any_of(steps.begin(), steps.end(), [](const Step& step) { return step.method == Method::Exact; });
}

std::optional<Explanation> Explain(const format::ResultValue& result, const Options& options, std::string* why) {
  const int variables = static_cast<int>(result.letters.size());
  if (variables == 0 || result.entered.variables != variables || !result.factored) {
    *why = "the polynomial has no letters";
    return std::nullopt;
  }
  // The factors: each letter of the monomial in front, then those in
  // parentheses.
  std::vector<std::pair<RationalPolynomial, int>> factors;
  for (int v = 0; v < variables; ++v) {
    if (result.monomial[static_cast<size_t>(v)] == 0) continue;
    RationalTerm letter{"1", std::vector<int32_t>(static_cast<size_t>(variables), 0)};
    letter.exponents[static_cast<size_t>(v)] = 1;
    factors.emplace_back(RationalPolynomial{variables, {letter}}, result.monomial[static_cast<size_t>(v)]);
  }
  for (const RationalPolynomial& factor : result.factors) factors.emplace_back(factor, 1);

  const Ring ring(variables);
  const std::optional<Poly> polynomial = Poly::FromValue(ring, result.entered);
  const std::optional<Rational> content = Rational::FromText(result.content);
  if (!polynomial || polynomial->IsZero() || !content) {
    *why = "the polynomial or its content cannot be read";
    return std::nullopt;
  }
  // The factors primitive with positive leading coefficients, the numbers
  // this takes out gathered in the content.
  std::vector<Poly> certified;
  std::vector<int> parts;
  Poly product(ring, *content);
  for (const auto& [value, multiplicity] : factors) {
    std::optional<Poly> factor = Poly::FromValue(ring, value);
    if (!factor || factor->IsConstant() || multiplicity < 1 || value.variables != variables) {
      *why = "a factor cannot be read";
      return std::nullopt;
    }
    product = product * factor->Power(multiplicity);
    certified.push_back(factor->Scaled(Rational(1) / UnitOf(*factor)));
    parts.insert(parts.end(), static_cast<size_t>(multiplicity), static_cast<int>(certified.size()) - 1);
  }
  if (product != *polynomial) {
    *why = "the factorisation does not multiply back to the polynomial";
    return std::nullopt;
  }
  Explainer explainer(*polynomial, result.letters, std::move(certified), std::move(parts), options);
  return explainer.Run();
}

}  // namespace pfac::explain
