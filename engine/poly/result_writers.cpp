// The writers of result text: each appends one piece of a result to the
// console, to jg.dat, or to both, in the number forms of the engine (a number
// item has a sign position, the digits and a trailing blank; a number text has
// no trailing blank). No writer ends a line unless it says so.
#include <cmath>

#include "engine/engine.h"

namespace pfac {

// The polynomial of the term table, as loaded: console and jg.dat.
void Engine::PrintTermTable() {
  const int terms = static_cast<int>(TermCount);
  const int variables = static_cast<int>(VariableCount);
  for (int t = 1; t <= terms; ++t) {
    float d = 0;
    for (int v = 1; v <= variables; ++v) d = RoundHalfEven(d + Exponent[t][v]);
    if (Numerator[t] < 0) BothText("-");
    if (t != 1 && Numerator[t] > 0) BothText("+");
    float magnitude = std::fabs(Numerator[t]);
    if (d == 0) {
      ConsoleNumber(magnitude);
      ResultNumberItem(magnitude);
      continue;
    }
    if (magnitude > 1) {
      ConsoleNumber(magnitude);
      ResultNumberItem(magnitude);
    }
    for (int v = 1; v <= variables; ++v) {
      if (Exponent[t][v] > 1) {
        BothText(Letter[v]);
        BothText("^");
        ConsoleNumber(Exponent[t][v]);
        ResultNumberText(Exponent[t][v]);
      } else if (Exponent[t][v] == 1) {
        BothText(Letter[v]);
      }
    }
  }
}

}  // namespace pfac
