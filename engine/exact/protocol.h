// The text that the engine and its helper program pfac-exact exchange through
// two pipes: the engine writes the polynomial to be factored, the helper
// answers with its factorisation or with one line saying why it has none.
//
//   request:  "pfac-exact 1", then "V T" (variables, terms), then T lines
//             "coefficient e1 ... eV"
//   answer:   "ok", "content C", "factors F V", then per factor "m T" and T term
//             lines as above; or "error TEXT"
//
// The front end asks the same helper to multiply out brackets:
//
//   request:  "pfac-exact expand 1", then "V S" (variables, steps), then S
//             steps "push C e1 ... eV", "add", "mul" or "pow K", C a rational
//             "p" or "p/q"
//   answer:   "ok", "terms T V", then T lines "C e1 ... eV"; or "error TEXT"
#pragma once

#include <optional>
#include <string>

#include "engine/exact/exact_types.h"
#include "engine/exact/expansion.h"

namespace pfac::exact {

std::string RequestText(const Polynomial& polynomial);
std::optional<Polynomial> ReadRequest(const std::string& text);

std::string AnswerText(const Factorisation& factorisation);
std::string ErrorAnswerText(const std::string& why);
// The factorisation, or nullopt with the reason in *why (the helper's error
// line, or what is wrong with the answer).
std::optional<Factorisation> ReadAnswer(const std::string& text, std::string* why);

// True when the text asks for an expansion rather than a factorisation.
bool IsExpansionRequest(const std::string& text);
std::string ExpansionRequestText(const ExpansionProgram& program);
std::optional<ExpansionProgram> ReadExpansionRequest(const std::string& text);
std::string ExpansionAnswerText(const RationalPolynomial& expanded);
// The expanded polynomial, or nullopt with the reason in *why (the helper's
// error line, or what is wrong with the answer).
std::optional<RationalPolynomial> ReadExpansionAnswer(const std::string& text, std::string* why);

}  // namespace pfac::exact
