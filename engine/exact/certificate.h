// The judgement of a finished result against the polynomial entered and, when
// it is known, against its exact factorisation: complete (every factor
// irreducible over Q), not complete, not known, or a disagreement. The engine
// writes its verdict as the last line of jg.dat.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/exact/exact_types.h"
#include "engine/exact/letter_poly.h"
#include "engine/result_format/result_line.h"

namespace pfac::exact {

// The values of a result segment, as engine/result_format reads and records them.
using format::ResultProduct;

// The polynomial entered: (numerator / denominator) x monomial x prepared,
// where prepared is the primitive integral polynomial that the search began
// with.
struct EnteredPolynomial {
  LetterPoly prepared;
  int64_t numerator = 1;
  int64_t denominator = 1;
  Exponents monomial{};
  std::string letters;  // the prepared polynomial's variables, in its order
};

enum class Verdict {
  kComplete,       // every factor irreducible over Q
  kIncomplete,     // a factor is still reducible
  kUnknown,        // deciding needs the exact factorisation, which is not at hand
  kInternalError,  // the result or the exact factorisation is not the polynomial
};

struct Judgement {
  Verdict verdict = Verdict::kUnknown;
  std::string error;  // for kInternalError: what disagrees (English)
};

// Judges the result as the engine's writers recorded it (ResultRecord):
// nullopt when no line holds a factor. exact is the factorisation of
// entered.prepared, or nullptr. checkValue is false when the engine knows
// that its result line lacks a factor (then the line is not compared with the
// polynomial and the verdict is kIncomplete).
Judgement JudgeResult(const std::optional<ResultProduct>& result, const EnteredPolynomial& entered,
                      const Factorisation* exact, bool checkValue);

// The complete factorisation as a result line of the engine: "=", the sign,
// the rational factor and the monomial as the common factor, then every
// irreducible factor in parentheses, a factor of multiplicity m written m
// times. inputOrder names the letters in the order the user wrote them.
std::string CompleteResultLine(const EnteredPolynomial& entered, const Factorisation& exact,
                               const std::string& inputOrder);

// What the run knows of itself that its certificate names: why a result may
// be not complete, and why it could not be verified.
struct RunCircumstances {
  bool pendingLost = false;    // a pending-factor file could not be read back
  bool stoppedByKey = false;   // a search was stopped with the X key
  bool stoppedByTime = false;  // a search reached its time limit
  bool lateMode = false;       // the search switched to the highest degree only
  bool encodingLimit = false;  // a polynomial exceeded the search's encoding (exponents beyond 32767)
  bool taken = true;           // the polynomial could be handed to the factoriser
  bool waitSkipped = false;    // the X key ended the wait for the factoriser
  bool failed = false;         // the factoriser failed, for the reason below
  std::string failure;
};

// The lines that a judgement puts at the end of jg.dat: the certificate (or
// the internal error in its place), and after a "not complete" one with the
// exact factorisation at hand (exact, else nullptr) the complete
// factorisation as a result line of the engine.
std::vector<std::string> CertificateLines(const Judgement& judgement, const RunCircumstances& run,
                                          const Factorisation* exact, const EnteredPolynomial& entered,
                                          const std::string& inputOrder);

}  // namespace pfac::exact
