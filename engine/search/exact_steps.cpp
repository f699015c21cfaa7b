// The engine's steps around the exact factoriser. Each asks the exact
// companion (Exact, engine/exact/companion.h), which does the work on the
// tables it is handed, puts what it answers into the search's registers, the
// console or jg.dat, and names the step that follows.
#include "engine/engine.h"

namespace pfac {

exact::EngineTables Engine::ExactTables() const {
  return {ToInt(Terms.TermCount),
          ToInt(Terms.VariableCount),
          Terms.Numerator,
          Terms.Exponent,
          Terms.Letter,
          Terms.Weight,
          Terms.Content,
          Terms.CommonDenominator,
          ToInt(Terms.LoadedVariableCount),
          Terms.InputLetter,
          Terms.MinExponent,
          Dense.PassImage,
          Dense.PassDegree,
          ToInt(Split.CodeOffset),
          Pass.LateMode == 1};
}

void Engine::LookForExactResult() {
  switch (Exact.LookForResult(ExactTables(), clock_.Milliseconds())) {
    case exact::Finding::kIrreducible:
      Go(&Engine::EndSearchProvedIrreducible);
      break;
    case exact::Finding::kFactorToHandOver:
      Go(&Engine::HandOverExactFactor);
      break;
    case exact::Finding::kKnownFactors:
      Go(&Engine::WriteKnownFactors);
      break;
    case exact::Finding::kNothing:
      break;
  }
}

// Writes the known factors of the pass's polynomial as its last factors, the
// first with the sign of the factor pairs before it and the polynomial's own;
// then the run goes on as after FinalOutput.
void Engine::WriteKnownFactors() {
  if (console_.Column() > 1) ConsoleEnd();
  Status.AbortMark = "";
  Status.KeyText = "";
  const std::vector<exact::ImageFactor>& factors = Exact.TakeKnownFactors();
  if (Report.ReportStarted == 0) {
    ConsoleText("=");
    ResultText("=");
    PrintCommonFactor();
  }
  Report.FileEcho = 0;
  int sign = Report.AccumulatedSign * Exact.KnownFactorSign();
  Report.AccumulatedSign = 1;
  for (const exact::ImageFactor& f : factors) {
    Split.DenseOffset = static_cast<int16_t>(f.low);
    Split.DenseTop = static_cast<int16_t>(f.degree);
    for (int i = 0; i <= f.degree; ++i) Dense.Cofactor[i] = static_cast<float>(sign * f.values[i]);
    sign = 1;
    PrintDenseFactor();
  }
  ConsoleEnd();
  Go(AfterLastFactor());
}

void Engine::EndSearchProvedIrreducible() {
  if (console_.Column() > 1) ConsoleEnd();
  console_.WriteLine("已证明在有理数域上不可约 / proved irreducible over Q");
  Status.AbortMark = "";
  Exact.SearchProvedIrreducible();
  Go(&Engine::EndOfSearch);
}

// The exact factor goes where a candidate of the search would: Trial holds
// it, Cofactor its quotient, and the candidate check splits the polynomial.
// Factors that the search stored without a split are let go first, so that
// the check starts from the pass's whole image.
void Engine::HandOverExactFactor() {
  const exact::HandOver& factor = Exact.TakeHandOver();
  const int n = Dense.PassDegree;
  const int k = factor.degree;
  if (Dense.StoredCount > 0 || Dense.ImageDegree != n) {
    for (int i = 0; i <= n; ++i) Dense.Image[i] = Dense.PassImage[i];
    Dense.ImageDegree = static_cast<int16_t>(n);
    EmptyStore();
  }
  for (int i = 0; i <= k; ++i) Dense.Trial[i] = factor.trial[i];
  for (int i = 0; i <= n - k; ++i) Dense.Cofactor[i] = factor.quotient[i];
  Dense.TrialDegree = static_cast<int16_t>(k);
  Search.SavedTrialDegree = static_cast<int16_t>(k);
  Search.MirrorUsed = 0;
  if (console_.Column() > 1) ConsoleEnd();
  console_.WriteLine(exact::FactorNote(factor.text, "is taken"));
  CheckAndSplitFactor();
  Exact.HandOverChecked(Split.SplitResult == kSplitFound);
  // One that the check refuses cannot come from a factorisation that divides
  // exactly; the search's state is gone with it, so the search ends there.
  if (Split.SplitResult == kNotAFactor) {
    Exact.SearchEndsUnexamined();
    Go(&Engine::EndOfSearch);
    return;
  }
  Go(&Engine::HandleOutcome);
}

void Engine::ExamineSearchEnd() {
  Go(Exact.AskAtSearchEnd(ExactTables()) ? &Engine::WaitAtSearchEnd : &Engine::EndOfSearch);
}

void Engine::WaitAtSearchEnd() {
  if (!Exact.WaitOver(console_)) {
    Go(&Engine::WaitAtSearchEnd);
    return;
  }
  Go(Exact.FactorLeftBySearch(ExactTables()) ? &Engine::HandOverExactFactor : &Engine::EndOfSearch);
}

// Waits for the factoriser only when the verdict needs it.
void Engine::CertifyResult() {
  Go(Exact.Judge(Result.Judged()) ? &Engine::WriteCertificate : &Engine::WaitForExactResult);
}

void Engine::WaitForExactResult() {
  Go(Exact.WaitOver(console_) ? &Engine::WriteCertificate : &Engine::WaitForExactResult);
}

// jg.dat only: the results display shows what follows the result.
void Engine::WriteCertificate() {
  const std::vector<std::string> lines = Exact.FinishCertificate(Result.Judged(), ExactTables());
  if (Result.LineOpen()) ResultEnd();
  for (const std::string& line : lines) {
    ResultText(line);
    ResultEnd();
  }
  Go(&Engine::CloseResultFile);
}

// A result that the preparation wrote itself ("=0", a single term): the
// certificate goes to the console as well, since no results display follows.
void Engine::CertifyShortResult() {
  if (!Exact.CertificateDue() || !Result.IsOpen()) return;
  const std::vector<std::string> lines = Exact.CertifyShortResult(Result.Latest(), ExactTables());
  if (Result.LineOpen()) ResultEnd();
  if (console_.Column() > 1) ConsoleEnd();
  for (const std::string& line : lines) {
    ResultText(line);
    ResultEnd();
    console_.WriteWords(line);
  }
}

}  // namespace pfac
