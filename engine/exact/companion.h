// The exact factoriser's companion beside the engine's search. It owns what a
// run knows of the exact factorisation of its polynomial and of its own
// result (RunState) and the factoriser that works beside the search, and it
// does the work of the engine's steps around them: it takes the prepared
// polynomial, looks for the factoriser's result, prepares the factor handed
// to the candidate check or the known factors of a pass, waits at the end of
// a search or of the run, judges the result and gives the certificate's lines.
// Its routines return; the steps of the run loop (engine/search/
// exact_steps.cpp) call them and name the step that follows.
//
// It reads the engine's tables only as the steps hand them to it
// (EngineTables), and writes neither them nor jg.dat: what goes to the
// console and to jg.dat it returns as values and lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/exact/certificate.h"
#include "engine/exact/letter_poly.h"
#include "engine/exact/run_state.h"
#include "engine/platform/console.h"
#include "engine/tables.h"

namespace pfac::exact {

class ExactFactoriser;

// What the companion reads of the engine's tables, as they stand when a step
// calls it (Engine::ExactTables); it never writes through them. Term t and
// variable v count from 1.
struct EngineTables {
  // The polynomial in the term and variable tables, as the search receives it.
  int termCount;
  int variableCount;              // in the search's order
  const FloatTable& numerator;    // [t] integral coefficients
  const FloatGrid& exponent;      // [t][v]
  const TextTable& letter;        // [v] in the search's order
  const ShortTable& weight;       // [v] in the substitution code
  float content;                  // the integer content taken out
  float commonDenominator;        // of the coefficients as written
  int loadedVariableCount;        // the variables of the polynomial entered
  const TextTable& inputLetter;   // [v] in the order the user wrote them
  const FloatTable& minExponent;  // [v] of the common monomial factor, inputLetter's order
  // The polynomial of the current pass: index i stands for the code codeOffset + i.
  const FloatTable& passImage;    // [0..passDegree]
  int passDegree;
  int codeOffset;
  bool lateMode;                  // the search looks only at the top degree
};

// What the exact factorisation tells the search, in the interruption poll.
enum class Finding {
  kNothing,            // the search goes on
  kIrreducible,        // the pass's polynomial is one of the exact factors
  kFactorToHandOver,   // a factor for the candidate check (HandOverFactor)
  kKnownFactors,       // the pass's polynomial as a product of exact factors (TakeKnownFactors)
};

// The line that says a factor of the result came from the exact
// factorisation: "is taken" as it happens (on the console), "was taken" among
// the notes that end jg.dat.
std::string FactorNote(const std::string& factor, const char* taken);

class Companion {
 public:
  // factoriser: none (nullptr) for an engine that gives the search's results
  // alone.
  explicit Companion(ExactFactoriser* factoriser) : factoriser_(factoriser) {}

  bool HasFactoriser() const { return factoriser_ != nullptr; }

  // ---- The polynomial ---------------------------------------------------
  // Takes the prepared polynomial from the term tables, and with it the
  // polynomial entered (the rational factor and the monomial taken out).
  // Letters other than a-z and coefficients that are not integral leave it
  // untaken: the run then goes without the factoriser.
  void TakeInput(const EngineTables& tables);
  // The same at the first search of a run, whose image has imageDegree (the
  // pass's tables do not hold it yet); a polynomial of high total degree, or
  // one in several variables with a long image and many terms, has the
  // factoriser started at once.
  void TakeInputAtFirstSearch(const EngineTables& tables, int imageDegree);
  bool Taken() const { return state_.Taken; }
  // Starts the factoriser on the polynomial taken, once a run.
  void Start();
  // The factoriser has its answer.
  bool Ready() const;
  // Gives up the factoriser's work: the run no longer waits for it.
  void Cancel();

  // ---- Beside the search ------------------------------------------------
  // A pass's search begins, at the clock's nowMs.
  void SearchBegins(int64_t nowMs);
  // A handed-over factor split: every later pass takes its own before it
  // searches.
  bool TakesAtOnce() const { return state_.TakeAtOnce; }
  // Part of the interruption poll: starts the factoriser once the run has
  // searched long enough, and with its result says what the search is to do;
  // in a long search of a large image, waits a little for the factoriser
  // while it works (the search gives it the processor).
  Finding LookForResult(const EngineTables& tables, int64_t nowMs);
  // The pass's polynomial is one of the exact factors, already at hand.
  bool ProvesIrreducible(const EngineTables& tables);
  // The pass's polynomial is irreducible by a cheap test or by the exact
  // factorisation already at hand (the factoriser is not started for this);
  // false for a run without the factoriser.
  bool UnsplitKnownIrreducible(const EngineTables& tables);
  // A candidate of degree k divides the image, but an exact factor of lower
  // degree divides it too (prepared as the factor to hand over).
  bool LowerFactorKnown(const EngineTables& tables, int k);
  // A candidate of degree k (2 or more) in a run of high degree, with the
  // factorisation on its way, waits one round for it, once a run: true when
  // it has come and the pass's polynomial has exact factors of lower degree,
  // which the pass takes in the candidate's place (the search's value limit
  // may have passed over them).
  bool CandidateWaitsForFactorisation(const EngineTables& tables, int k);
  // The search ends on a proof of irreducibility.
  void SearchProvedIrreducible();

  // ---- The factor handed over and the known factors ---------------------
  // The factor prepared for the candidate check; from now on the pass has
  // nothing more to take, and the factor is among the notes of the run.
  const HandOver& TakeHandOver();
  // What the candidate check made of it: a factor that split makes later
  // passes take theirs at once; one that did not is not handed over again
  // in this run.
  void HandOverChecked(bool split);
  // The pass's polynomial as exact factors, repeated by multiplicity, and its
  // sign over their product (1 or -1); they are among the notes of the run,
  // and the pass has nothing more to take.
  const std::vector<ImageFactor>& TakeKnownFactors();
  int KnownFactorSign() const { return state_.KnownFactorSign; }

  // ---- The end of a search ----------------------------------------------
  // A search that ended on its own asks the exact factorisation whether its
  // bounds left a factor out, unless it has already done so or ended on a
  // proof of irreducibility.
  bool AsksAtSearchEnd() const;
  // Asks it: false when a cheap test shows the pass's polynomial irreducible
  // (or there is nothing to ask); true when the factoriser is started and
  // the run waits for it.
  bool AskAtSearchEnd(const EngineTables& tables);
  // After the wait: an exact factor that the search left out, prepared for
  // the hand-over.
  bool FactorLeftBySearch(const EngineTables& tables);
  // The search ends without being examined (a factor handed over that the
  // check refused leaves nothing of the search to examine).
  void SearchEndsUnexamined() { state_.SearchEndExamined = true; }
  // The end of the search is taken: true when it ended on a proof of
  // irreducibility, which leaves nothing to retry.
  bool EndSearch();
  // One round of a wait for the factoriser: true when the wait is over (a
  // result, a failure, the X key, or the time allowed for the run used up).
  // The console shows why the run waits after the first round, and gives
  // the key.
  bool WaitOver(Console& console);

  // ---- Why a result may be incomplete -----------------------------------
  void NoteStoppedByTime() { state_.StoppedByTime = true; }
  void NoteStoppedByKey() { state_.StoppedByKey = true; }
  void NotePendingLost() { state_.PendingLost = true; }
  void NoteStoppedByEncoding() { state_.StoppedByEncoding = true; }

  // ---- The certificate --------------------------------------------------
  // The run with the factoriser has not written its certificate yet.
  bool CertificateDue() const { return factoriser_ && !state_.CertificateDone; }
  // Judges the result (the values recorded in jg.dat) with what is at hand:
  // true when the verdict stands; false when it needs the exact
  // factorisation, which is started and then waited for.
  bool Judge(const std::optional<ResultProduct>& result);
  // The lines that end jg.dat: the notes of the factors taken, then the
  // certificate (judged again when the factorisation came during the wait),
  // or the internal error in its place, and after "not complete" the
  // complete factorisation. The certificate counts as written from then on.
  std::vector<std::string> FinishCertificate(const std::optional<ResultProduct>& result,
                                             const EngineTables& tables);
  // The certificate of a result that the preparation wrote itself ("=0", a
  // single term: latest, which has no factor): its value against the term
  // tables. The certificate counts as written from then on.
  std::vector<std::string> CertifyShortResult(const std::optional<ResultProduct>& latest,
                                              const EngineTables& tables);

 private:
  // The pass's polynomial against the exact factorisation (which must be
  // ready).
  Known ClassifyCurrentPolynomial(const EngineTables& tables);
  bool PrepareHandOver(const EngineTables& tables);
  bool PrepareKnownFactors(const EngineTables& tables);
  std::vector<ImageFactor> ExactFactorsInImage(const EngineTables& tables);
  RunCircumstances Circumstances(const EngineTables& tables) const;

  ExactFactoriser* factoriser_;  // none: the search's results alone
  RunState state_;
};

}  // namespace pfac::exact
