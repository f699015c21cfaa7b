// pfac-exact: the engine's helper for exact factorisation. It reads one
// polynomial from standard input, factors it over the integers and writes the
// factors (or one line saying why there are none) to standard output. The
// engine starts it only when a run needs it, so that the engine itself starts
// without loading the factoring library; it ends with the engine. The front
// end starts it the same way to multiply out the brackets of a typed
// polynomial (an expansion request).
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <iterator>
#include <string>

#include "engine/exact/expansion.h"
#include "engine/exact/flint_factor.h"
#include "engine/exact/protocol.h"

namespace {

int Expand(const std::string& request) {
  auto program = pfac::exact::ReadExpansionRequest(request);
  if (!program) {
    std::cout << pfac::exact::ErrorAnswerText("the request cannot be read");
    return 2;
  }
  std::string why;
  auto expanded = pfac::exact::ExpandExactly(*program, &why);
  std::cout << (expanded ? pfac::exact::ExpansionAnswerText(*expanded) : pfac::exact::ErrorAnswerText(why));
  std::cout.flush();
  return std::cout ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // The helper has no use once the program that started it is gone, whatever
  // it is doing. That program names itself as the first argument: one that
  // ended before the death signal was asked for has left the helper to another
  // parent already.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (argc > 1 && std::to_string(getppid()) != argv[1]) return 3;
  std::string request((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
  if (pfac::exact::IsExpansionRequest(request)) return Expand(request);
  auto polynomial = pfac::exact::ReadRequest(request);
  if (!polynomial) {
    std::cout << pfac::exact::ErrorAnswerText("the request cannot be read");
    return 2;
  }
  std::string why;
  auto factorisation = pfac::exact::FactorExactly(*polynomial, &why);
  std::cout << (factorisation ? pfac::exact::AnswerText(*factorisation) : pfac::exact::ErrorAnswerText(why));
  std::cout.flush();
  return std::cout ? 0 : 1;
}
