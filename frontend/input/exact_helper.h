// The helper program pfac-exact as the front end asks it: brackets multiplied
// out through an expansion request, the program started once per request,
// fed through its standard input and read from its standard output.
#pragma once

#include <QString>
#include <memory>

#include "frontend/input/typed_input.h"

namespace pfac::frontend {

// The helper's program file name, beside the front end's.
inline constexpr char kExactHelperProgram[] = "pfac-exact";

class HelperExpander : public Expander {
 public:
  // The helper is given timeoutMs to answer; then it is stopped.
  explicit HelperExpander(QString program, int timeoutMs = 10000);

  std::optional<exact::RationalPolynomial> Expand(const exact::ExpansionProgram& program, std::string* why) override;

 private:
  QString program_;
  int timeoutMs_;
};

// The helper beside the front end; none in a build without the exact
// factoriser, which then refuses brackets.
std::unique_ptr<Expander> ExpanderBesideFrontEnd();

}  // namespace pfac::frontend
