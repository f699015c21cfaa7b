// Brackets and powers of brackets multiplied out exactly. The front end reads
// what the user typed and writes a short program: steps on a stack of
// polynomials with rational coefficients (push a monomial, add or multiply
// the top two, raise the top one to a power), which it runs in its own
// process with the exact arithmetic of rational_poly.h.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/exact/exact_types.h"

namespace pfac::exact {

struct ExpansionStep {
  enum class Kind { Push, Add, Multiply, Power };
  Kind kind = Kind::Push;
  RationalTerm term;     // Push: the monomial pushed
  int32_t exponent = 0;  // Power: the top of the stack to this power, at least 1
};

// Steps that leave exactly one polynomial on the stack.
struct ExpansionProgram {
  int variables = 0;
  std::vector<ExpansionStep> steps;
};

// Why a program is refused when a step would give a polynomial too large to be
// the input of a factorisation (more terms, or longer coefficients, than it
// computes within the time the user waits).
inline constexpr char kExpansionTooLarge[] = "the expansion is too large";

// The program run; its terms in descending lexicographic order of the
// variables as numbered (the first variable the most significant). nullopt,
// with the reason in *why, when the program is malformed or a step would give
// a polynomial too large (kExpansionTooLarge).
std::optional<RationalPolynomial> ExpandExactly(const ExpansionProgram& program, std::string* why);

}  // namespace pfac::exact
