// What one run knows of the exact factorisation of its polynomial and of its
// own result: the state of the exact companion (engine/exact/companion.h),
// which alone reads and writes it, at the calls of the engine's steps:
// - TakeInput fills Input and Entered at the first search of the run;
// - LookForResult (in the interruption poll), SearchBegins, the end of a
//   search (AskAtSearchEnd, FactorLeftBySearch, EndSearch) and the hand-over
//   (TakeHandOver, HandOverChecked, TakeKnownFactors) keep the times,
//   PassState and the hand-over registers;
// - the Note... calls of the search, the pending-factor reader and the
//   encoding limit say why a result may be incomplete (StoppedByTime,
//   StoppedByKey, PendingLost, StoppedByEncoding);
// - Judge, WaitOver and FinishCertificate judge the result and give the
//   certificate's lines; CertifyShortResult does so for "=0" and a single
//   term.
// It lives for the whole run; a fresh engine starts with these values.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/exact/certificate.h"
#include "engine/exact/exact_types.h"

namespace pfac::exact {

// Where the current pass stands with the exact factorisation (it must be
// ready to be looked at).
enum class PassLook {
  kNotLookedAt,       // the pass's polynomial is not yet compared with it
  kFactorToHandOver,  // reducible: a factor waits for a tenth of a second of search (none in a long search)
  kNothingToDo,       // irreducible, handed over, or nothing usable
};

// What the exact factorisation says of the polynomial of the current pass.
enum class Known {
  kNothing,      // not comparable (letters, a constant, a coefficient beyond 64 bits)
  kIrreducible,  // one of its factors
  kReducible,    // none of them: it splits
};

// An exact factor laid out as the image of the current pass lays out its
// polynomial: values[i] is the coefficient at code low + i.
struct ImageFactor {
  int degree = 0;
  int low = 0;
  std::vector<int64_t> values;  // [0..degree], values[0] > 0
  std::string text;             // the factor in the input syntax
};

// The exact factor that a pass hands to the candidate check in place of a
// candidate of the search.
struct HandOver {
  int16_t degree = 0;            // its degree in the image
  std::vector<float> trial;      // [0..degree] it, laid out as the image
  std::vector<float> quotient;   // [0..PassDegree - degree] the image divided by it
  std::string text;              // it in the input syntax
};

struct RunState {
  // The polynomial.
  Polynomial Input;          // the prepared polynomial, as the first search gets it
  bool Taken = false;        // Input and Entered hold the polynomial entered
  EnteredPolynomial Entered;  // the polynomial entered, through the prepared one

  // The search beside the factoriser.
  int64_t FirstSearchMs = -1;  // clock milliseconds when the run's first search began
  int64_t PassSearchMs = 0;    // ... when the current pass's search began
  PassLook PassState = PassLook::kNotLookedAt;  // the current pass against the factorisation
  HandOver HandOverFactor;              // the factor to hand over
  bool HandOverRefused = false;         // a handed-over factor gave no split: none again in this run
  std::vector<ImageFactor> KnownFactors;  // the pass's polynomial as exact factors, repeated by multiplicity
  int16_t KnownFactorSign = 1;            // the pass's polynomial over their product: 1 or -1
  bool TakeAtOnce = false;              // a handed-over factor split: later passes take theirs without searching
  bool CandidateWaited = false;         // a candidate of the search has waited for the factorisation
  bool LongSearch = false;              // a search too long to wait for (high total degree, or a long image in several variables): the factoriser starts at once and its factors are taken as they come
  bool ProvedIrreducible = false;       // a search ends on a proof of irreducibility
  bool SearchEndExamined = false;       // the end of the search was examined: EndOfSearch goes on
  std::vector<std::string> Notes;       // jg.dat's lines of the factors handed over, written at the end

  // Why a result may be incomplete.
  bool StoppedByTime = false;  // a search of the run reached its time limit
  bool StoppedByKey = false;   // a search of the run was stopped with X
  bool PendingLost = false;    // a pending-factor file could not be read back
  bool StoppedByEncoding = false;  // a polynomial exceeded the search's encoding under every variable order

  // The certificate.
  Judgement Judged;               // the verdict on the result so far
  bool JudgedWithExact = false;   // that verdict had the exact factorisation
  bool CertificateDone = false;   // the certificate line is written
  int16_t WaitRounds = 0;         // rounds waited for the factoriser in this run
  bool WaitSkipped = false;       // the X key ended a wait
  bool WaitGivenUp = false;       // a wait ended without a result: no more waits in this run
};

}  // namespace pfac::exact
