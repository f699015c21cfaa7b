// The report of a split, the end of a search and the end of the run.
#include <cmath>

#include "engine/engine.h"
#include "engine/platform/run_signals.h"
#include "engine/result_format/marks.h"

namespace pfac {

namespace {

// A cofactor in several variables of a degree above this (in the image) gets a
// new variable order: the order of the whole may spread its codes far wider
// than one of its own.
constexpr int kReorderAboveDegree = 12;

}  // namespace

// A split: Trial[0..SecondDegree] is the factor found, Cofactor[0..FirstDegree]
// the cofactor. The first split of a run writes the lines of the expanded
// product and of the product of the two factors to jg.dat; every split adds
// the factor to the open result line and goes on with the cofactor.
void Engine::ReportFactorisation() {
  const int first = Dense.FirstDegree;
  const int second = ToInt(Dense.SecondDegree);
  Pass.SecondPass = 1;
  if (Report.ReportStarted == 0) {
    Report.ReportPending = 0;
    ResultEnd();
    ResultText("=");
    PrintCommonFactor();
    ConsoleText("~~");
    ConsoleEnd();
    if (first >= second) {
      Report.LongDegree = static_cast<int16_t>(first);
      Report.ShortDegree = static_cast<int16_t>(second);
      WriteExpandedProductCofactorFirst();
    } else {
      Report.LongDegree = static_cast<int16_t>(second);
      Report.ShortDegree = static_cast<int16_t>(first);
      WriteExpandedProductTrialFirst();
    }
    ResultText("=");
    PrintCommonFactor();
    ResultText("[(");
    for (int i = first; i >= 0; --i) {
      if (i != first) {
        if (Dense.Cofactor[i] == 0) continue;
        ResultText("+(");
      }
      for (int j = second; j >= 0; --j) {
        if (Dense.Trial[j] == 0) continue;
        // The product written exactly, as in the expanded product; the float
        // product's sign is right even where its digits are rounded.
        if (j != second && Dense.Cofactor[i] * Dense.Trial[j] > 0) ResultText("+");
        ResultText(ProductText(Dense.Cofactor[i], Dense.Trial[j]) + " ");
        Report.MonomialCode = static_cast<int16_t>(i + j);
        WriteMonomialCode();
      }
      ResultText(")");
    }
    ResultText("]");
    ResultEnd();
  }
  for (int i = 0; i <= first; ++i) Dense.PassImage[i] = Dense.Cofactor[i];
  Dense.PassDegree = static_cast<int16_t>(first);
  Split.DenseTop = static_cast<int16_t>(second);
  const int16_t savedOffset = Split.DenseOffset;  // the factor's offset, for its line below
  Report.FileEcho = 0;
  if (Report.ReportStarted == 0) {
    Report.FactorSign = (Dense.Trial[second] < 0 && Dense.Cofactor[first] < 0) ? -1 : 1;
  } else {
    Report.FactorSign = Dense.Trial[second] < 0 ? -1 : 1;
  }
  Report.AccumulatedSign = static_cast<int16_t>(Report.AccumulatedSign * Report.FactorSign);
  if (Report.ReportStarted == 0) {
    ConsoleText("=");
    ResultText("=");
    PrintCommonFactor();
  }
  for (int i = 0; i <= Split.DenseTop; ++i) Dense.Cofactor[i] = Report.FactorSign * Dense.Trial[i];
  PrintDenseFactor();
  Report.FileEcho = Report.ReportStarted == 0 ? 0 : 1;
  Split.DenseTop = static_cast<int16_t>(first);
  Split.DenseOffset = Split.FirstOffset;
  Split.CodeOffset = Split.FirstOffset;
  for (int i = 0; i <= first; ++i) Dense.Cofactor[i] = Report.FactorSign * Dense.PassImage[i];
  PrintDenseFactor();
  ConsoleEnd();
  if (Pass.LateMode == 1) {
    Go(&Engine::FinishRun);
    return;
  }
  for (int v = 1; v <= ToInt(Terms.VariableCount); ++v) Terms.TargetDegree[v] = Split.VariableDegree[v];
  if (Report.ReportStarted == 0) {
    ConsoleEnd();
    ConsoleText("=");
    ResultEnd();
    ResultText("=");
    PrintCommonFactor();
    Split.DenseTop = static_cast<int16_t>(second);
    Split.DenseOffset = savedOffset;
    for (int i = 0; i <= Split.DenseTop; ++i) Dense.Cofactor[i] = Report.FactorSign * Dense.Trial[i];
    PrintDenseFactor();
    Report.ReportStarted = 1;
    Report.FileEcho = 1;
  }
  Go(&Engine::ContinueAfterSplit);
}

// Goes on with what is left: a new variable order for a large cofactor in
// several variables, otherwise the next pass from the degree just found.
void Engine::ContinueAfterSplit() {
  const int k = Dense.TrialDegree;
  const int n = Dense.ImageDegree;
  if (2 * k > n) {
    Go(&Engine::EndOfSearch);
    return;
  }
  ConsoleEnd();
  Report.FileEcho = 1;
  PrintPassImage(1);
  ConsoleEnd();
  if (Split.SplitResult == kSplitFound && n > kReorderAboveDegree && Terms.VariableCount > 1) {
    // The cofactor, in the term table, is the polynomial still to factor.
    for (int v = 1; v <= ToInt(Terms.VariableCount); ++v) Terms.MaxExponent[v] = Split.FirstFactorDegree[v];
    DropAbsentVariables();
    Go(&Engine::ResumePreparation);
    return;
  }
  ConsoleEnd();
  Search.StartDegree = static_cast<int16_t>(k);
  Go(&Engine::StartPass);
}

void Engine::EndOfSearch() {
  // A search that ended on its own first asks the exact factorisation
  // whether its bounds left a factor out.
  if (Status.AbortMark != kStopMark && Pass.LateMode == 0 && Exact.AsksAtSearchEnd()) {
    Go(&Engine::ExamineSearchEnd);
    return;
  }
  // A search ended by a proof of irreducibility leaves nothing to retry.
  const bool proved = Exact.EndSearch();
  console_.ClearStatusRow();
  ConsoleEnd();
  if (Report.Answer == kRetryAsked) {
    Report.Answer = "";
    Report.ReportStarted = 1;
  }
  if (Report.ReportStarted == 0) {
    ConsoleText("=");
    ResultText("=");
    PrintCommonFactor();
  }
  if (Pass.SecondPass == 1 && Status.AbortMark != kStopMark) {
    Go(&Engine::FinalOutput);
    return;
  }
  Report.FileEcho = 1;
  PrintPassImage(Report.FactorSign);
  if (Status.AbortMark == kStopMark && Search.RetryBound > Search.InitialCoefficientBound) {
    Search.RetryBound = 0;
    ConsoleEnd();
    Go(&Engine::FinalOutput);
    return;
  }
  ConsoleEnd();
  ConsoleText(Report.StartTime);
  console_.NextPrintZone();
  console_.WriteLine(clock_.TimeOfDay());
  if (proved) {
    Go(&Engine::FinalOutput);
    return;
  }
  if (Pass.SecondPass == 1) {
    if (Search.CoefficientBound == 1) {
      Go(&Engine::FinalOutput);
    } else if (Status.AbortMark == kStopMark) {
      // A later pass that was stopped is tried again with half the bound.
      Status.AbortMark = "";
      Status.KeyText = "";
      StartSearchClock();
      Search.StartDegree = Dense.TrialDegree;
      Search.CoefficientBound = Floor((Search.CoefficientBound + 1) / 2);
      Go(&Engine::ApplyRetryBounds);
    } else {
      Go(&Engine::FinalOutput);
    }
    return;
  }
  Go(&Engine::OfferRetry);
}

// Asks whether to search again with other bounds, unless the polynomial that
// the search left unsplit is known irreducible: then the certificate calls
// the result complete, a retry could only find the same, and the run goes on
// as after the answer "n".
void Engine::OfferRetry() {
  if (Exact.UnsplitKnownIrreducible(ExactTables())) {
    Go(&Engine::FinalOutput);
    return;
  }
  console_.WriteLine("重新分解它吗  y/n ?");
  console_.WriteLine("Decompose again y/n ?");
  int key = console_.WaitKey();
  Report.Answer = key == Console::kNoKey ? "" : std::string(1, static_cast<char>(key));
  if (key == 'y' || key == 'Y') {
    Report.Answer = kRetryAsked;
    Search.RetryMark = kRetryAsked;
    StartSearchClock();
    Go(&Engine::RetryStep);
    return;
  }
  Go(&Engine::FinalOutput);
}

// A stopped search is tried again with B - 1 from the degree it reached; a
// search that ran to its end, with B + 1 from the start.
void Engine::RetryStep() {
  float& B = Search.CoefficientBound;
  if (Status.AbortMark == kStopMark) {
    Status.AbortMark = "";
    Status.KeyText = "";
    B = B - 1;
    Search.StartDegree = Dense.TrialDegree;
    if (B == 0) {
      B = Search.InitialCoefficientBound + 1;
      Search.RetryBound = B;
      Search.StartDegree = Pass.ResumeDegree;
    }
  } else {
    B = B < Search.InitialCoefficientBound ? Search.InitialCoefficientBound + 1 : B + 1;
    Search.RetryBound = B;
    Search.StartDegree = Pass.ResumeDegree;
    if (B == Search.CofactorBound) Search.CofactorBound = Search.CofactorBound + 1;
  }
  Go(&Engine::ApplyRetryBounds);
}

// The last factor, which the search did not split further, with the sign of
// all the factor pairs before it.
void Engine::FinalOutput() {
  Status.AbortMark = "";
  Status.KeyText = "";
  Report.FileEcho = 0;
  PrintPassImage(Report.AccumulatedSign);
  Report.AccumulatedSign = 1;
  Go(AfterLastFactor());
}

// The polynomial still to factor could not be encoded for the search: it is
// written unsplit as the last factor of the result line (which it opens when
// nothing was tested yet) and the run ends as after a stopped search, so that
// the certificate says why and gives the complete factorisation. A run's
// first polynomial is handed to the exact factoriser here, since no search
// took it.
void Engine::EndAtEncodingLimit() {
  if (console_.Column() > 1) ConsoleEnd();
  console_.WriteLine(kEncodingLimitMessage);
  if (Pass.SecondPass == 0 && !Exact.Taken()) {
    Exact.TakeInput(ExactTables());
    Exact.Start();
  }
  Status.ResultAbortMark = kStopMark;
  Exact.NoteStoppedByEncoding();
  float sign = 1;
  if (Split.SplitResult == kNothingTested) {
    ResultEnd();
    ResultText("=");
    ConsoleText("=");
    PrintCommonFactor();
  } else {
    sign = Report.AccumulatedSign;
    Report.AccumulatedSign = 1;
  }
  PrintTermFactor(sign);
  ConsoleEnd();
  Go(AfterLastFactor());
}

// Reads the next pending factor (a two-term polynomial left by a square or
// cube form) into the term table and prepares a new search on it.
void Engine::LoadPendingFactor() {
  Report.PendingRead = Report.PendingRead + 1;
  const std::string name = PendingFileName(Report.PendingRead);
  bool good = PendingInput.Open(PathOf(name));
  int variables = 0;
  if (good) {
    variables = ToInt(ReadNumber(PendingInput.ReadNumberField()));
    good = variables >= 1 && variables <= kMaxVariables;
  }
  if (good) {
    Terms.TermCount = 2;
    Terms.VariableCount = static_cast<float>(variables);
    for (int t = 1; t <= 2 && good; ++t) {
      std::string field = PendingInput.ReadNumberField();
      Terms.Numerator[t] = ReadNumber(field);
      good = !field.empty() && Terms.Numerator[t] != 0 && IsWhole(Terms.Numerator[t]);
      for (int v = 1; v <= variables && good; ++v) {
        field = PendingInput.ReadNumberField();
        Terms.Exponent[t][v] = ReadNumber(field);
        good = !field.empty() && Terms.Exponent[t][v] >= 0 && IsWhole(Terms.Exponent[t][v]);
      }
    }
    for (int v = 1; v <= variables && good; ++v) {
      Terms.Letter[v] = PendingInput.ReadRestOfLine();
      good = IsPlainLetter(Terms.Letter[v]);
    }
  }
  PendingInput.Close();
  if (!good) {
    // Without it the result line would lack a factor: say so there as well.
    if (console_.Column() > 1) ConsoleEnd();
    console_.WriteLine("无法读取待分解的因式文件 " + name + ". (The pending factor file \"" + name +
                       "\" cannot be read.)");
    ResultEnd();
    ResultText(std::string(marks::kPendingLost) + ": the pending factor file \"" + name + "\" cannot be read.");
    ResultEnd();
    Exact.NotePendingLost();
    Go(&Engine::CloseResultFile);
    return;
  }
  Go(&Engine::RestartPreparation);
}

void Engine::FinishRun() {
  ResultEnd();
  ConsoleEnd();
  ConsoleEnd();
  if (Status.ResultAbortMark == kStopMark) {
    ResultText(marks::kSearchStopped);
    ResultEnd();
  } else if (Pass.LateMode == 1) {
    ResultText(marks::kLateSearch);
    ResultEnd();
  }
  Go(&Engine::CloseResultFile);
}

void Engine::CloseResultFile() {
  // Every result gets its certificate before jg.dat is closed and shown.
  if (Exact.CertificateDue()) {
    Go(&Engine::CertifyResult);
    return;
  }
  bool written = Result.Close();
  console_.SetColours(kResultColours);
  ShowResults();
  console_.SetColours(kNormalColours);
  if (!written) {
    console_.WriteLine("结果文件 jg.dat 没有写完整. (The result file jg.dat could not be written completely.)");
  }
  Go(&Engine::EndRun);
}

// The end of a run from the step that closes all files: "结束!", the bell,
// "ok!" when a factor was split off, and a wait for one key.
void Engine::EndRun() {
  if (Exact.HasFactoriser()) {
    CertifyShortResult();
    Exact.Cancel();
  }
  CloseAllFiles();
  console_.WriteLine("结束!");
  console_.WriteLine("End");
  console_.WriteLine("\a");
  if (Pass.SecondPass == 1) console_.WriteLine("ok!");
  console_.WriteLine("阅读后按任一键");
  console_.WriteLine("Press any key after reading");
  console_.WaitKey();
  Go(&Engine::ClosingLines);
}

void Engine::ClosingLines() {
  RemoveRunFiles();
  ConsoleEnd();
  console_.WriteLine("用鼠标左键单击右上方 × 处关闭此窗口");
  console_.WriteLine("Use the mouse to close the window");
  finished_ = true;
}

}  // namespace pfac
