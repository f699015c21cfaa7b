// The exact factorisation over the integers, by the FLINT library. Only the
// helper program pfac-exact and the tests link this.
#pragma once

#include <optional>
#include <string>

#include "engine/exact/exact_types.h"

namespace pfac::exact {

enum class Method {
  kStructureFirst,  // binomials, x^k, cyclotomic factors and homogeneity first
  kGeneralOnly,     // the library's general algorithm on the whole polynomial
};

// The content and the irreducible factors of p, each with its multiplicity and
// a positive leading coefficient. The product is multiplied back and compared
// with p before the answer is given; nullopt with the reason in *why when the
// polynomial is not one to factor (zero, malformed) or the check fails. Both
// methods give the same content and factors; the order of the factors may
// differ.
std::optional<Factorisation> FactorExactly(const Polynomial& p, std::string* why,
                                           Method method = Method::kStructureFirst);

}  // namespace pfac::exact
