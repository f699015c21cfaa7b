// The methods of the class, each a recogniser: given a factor not yet split,
// the move a student makes with that method, or nothing when the method does
// not apply. The explainer (explainer.cpp) tries them in the class's order,
// applies the first move found and checks the step.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "engine/exact/rational_poly.h"
#include "frontend/explainer/explainer.h"

namespace pfac::explain {

// The exact arithmetic the methods compute with.
using exact::Poly;
using exact::Rational;
using exact::Ring;

// The time an explanation may take.
class Budget {
 public:
  explicit Budget(std::chrono::steady_clock::duration budget)
      : deadline_(std::chrono::steady_clock::now() + budget) {}
  bool Spent() const { return std::chrono::steady_clock::now() >= deadline_; }

 private:
  std::chrono::steady_clock::time_point deadline_;
};

// What a factor in a passing form waits for: grouping leaves
// a(x + y) + b(x + y), whose common factor comes out next; grouping and
// completing the square leave a² - b², which the formula splits next.
struct Pending {
  enum class Kind { None, CommonFactor, DifferenceOfSquares };
  Kind kind = Kind::None;
  std::vector<Poly> terms;  // CommonFactor: the factor; DifferenceOfSquares: a and b
};

// A factor of the expression: its value, the power it stands to, and which
// of the certified irreducible factors it is the product of.
struct Piece {
  Poly value;
  int power = 1;
  std::vector<int> parts;             // indices into the certified factors, repeated by multiplicity
  std::optional<Expression> shown;    // a passing form, written instead of the value
  Pending pending;
};

// What the methods know besides the factor.
struct Context {
  const Ring& ring;
  const std::string& letters;          // the variables, alphabetical
  const std::vector<Poly>& certified;  // the irreducible factors, primitive, leading coefficient positive
  const Budget& budget;
};

// A step's change to one factor: the factor replaced by pieces (their powers
// relative to its own), and a number or monomial taken out to the front.
struct Move {
  Method method;
  Reason reason;
  Poly front;
  std::vector<Piece> pieces;
  std::vector<Reason> details = {};  // the step's detail, a line each
  // The reason read the other way round, where a minus taken out without a
  // step of its own goes into the factor a - b (b² - a² = (b + a)(b - a)).
  std::optional<Reason> turnedReason = std::nullopt;
};

// A piece of a value; its parts are found afterwards.
Piece PieceOf(Poly value, int power = 1);

// The methods, in the class's order. The factor's value is primitive with a
// positive leading coefficient from the formulas on (the common factor comes
// first).
std::optional<Move> CommonFactorMove(const Piece& piece, const Context& context);
std::optional<Move> FormulaMove(const Piece& piece, const Context& context);
std::optional<Move> CrossMove(const Piece& piece, const Context& context);
std::optional<Move> GroupingMove(const Piece& piece, const Context& context);
std::optional<Move> RationalRootMove(const Piece& piece, const Context& context);
std::optional<Move> DoubleCrossMove(const Piece& piece, const Context& context);
std::optional<Move> MainLetterMove(const Piece& piece, const Context& context);
std::optional<Move> FactorTheoremMove(const Piece& piece, const Context& context);
std::optional<Move> HiddenSubstitutionMove(const Piece& piece, const Context& context);
std::optional<Move> CompletingMove(const Piece& piece, const Context& context);
// The step that a passing form waits for.
std::optional<Move> PendingMove(const Piece& piece, const Context& context);

// The factor split into its certified factors, saying why no method did.
Move ExactMove(const Piece& piece, const Context& context, const std::string& why);
// Why no method of the class splits the factor, in words.
std::string WhyNoMethod(const Piece& piece, const Context& context);

// Why an irreducible factor (the whole polynomial, its common factor taken
// out) cannot be split, in the class's terms where they reach; *fromExact
// set when only the exact factorisation says so.
Reason IrreducibleReason(const Poly& factor, const std::string& letters, bool* fromExact);

// Reason parts.
ReasonPart Words(std::string words);
ReasonPart Math(const Poly& value, bool bracketed = false);
ReasonPart Math(Expression expression);

// The expression of a value: its terms, by degree.
Expression Shown(const Poly& value);

// The expression multiplied out.
Poly Expand(const Expression& expression, const Ring& ring);

// The formula's own letters, a and b, or A and B where a or b is a variable
// of the polynomial: "A³ + B³, A = 3a, B = b".
std::string FormulaWords(std::string words, const Context& context);

}  // namespace pfac::explain
