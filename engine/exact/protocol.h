// The text that the engine and its helper program pfac-exact exchange through
// two pipes: the engine writes the polynomial to be factored, the helper
// answers with its factorisation or with one line saying why it has none.
//
//   request:  "pfac-exact 1", then "V T" (variables, terms), then T lines
//             "coefficient e1 ... eV"
//   answer:   "ok", "content C", "factors F V", then per factor "m T" and T term
//             lines as above; or "error TEXT"
#pragma once

#include <optional>
#include <string>

#include "engine/exact/exact_types.h"

namespace pfac::exact {

std::string RequestText(const Polynomial& polynomial);
std::optional<Polynomial> ReadRequest(const std::string& text);

std::string AnswerText(const Factorisation& factorisation);
std::string ErrorAnswerText(const std::string& why);
// The factorisation, or nullopt with the reason in *why (the helper's error
// line, or what is wrong with the answer).
std::optional<Factorisation> ReadAnswer(const std::string& text, std::string* why);

}  // namespace pfac::exact
