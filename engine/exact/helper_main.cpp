// pfac-exact: the engine's helper for exact factorisation. It reads one
// polynomial from standard input, factors it over the integers and writes the
// factors (or one line saying why there are none) to standard output. The
// engine starts it only when a run needs it, so that the engine itself starts
// without loading the factoring library; it ends with the engine.
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <iostream>
#include <iterator>
#include <string>

#include "engine/exact/flint_factor.h"
#include "engine/exact/protocol.h"

int main(int argc, char** argv) {
  // The helper has no use once the program that started it is gone, whatever
  // it is doing. That program names itself as the first argument: one that
  // ended before the death signal was asked for has left the helper to another
  // parent already.
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (argc > 1 && std::to_string(getppid()) != argv[1]) return 3;
  std::string request((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
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
