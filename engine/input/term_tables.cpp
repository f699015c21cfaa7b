// The term and variable tables: their allocation, the loading of DXS1.DAT into
// them, and the echo of the loaded polynomial that begins jg.dat.
#include <algorithm>
#include <cstdint>
#include <numeric>

#include "engine/engine.h"

namespace pfac {

namespace {

constexpr float kMaxExponentWritten = 32767;  // exponents are 16-bit in the search

// The magnitude of the integer that the digits of a number text give, capped
// just above the exact range: the text is read digit by digit, not as a float,
// so that 16777217 is not taken for 16777216.
int64_t DigitMagnitude(std::string_view text) {
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') continue;
    value = value * 10 + (c - '0');
    if (value > (int64_t{1} << 40)) return int64_t{1} << 40;
  }
  return value;
}

const char kUnreadableMessage[] = "无法读取工作文件 DXS1.DAT. (The working file DXS1.DAT cannot be read.)";

const char kTooLargeMessage[] =
    "系数或分母超过 16777216, 无法精确计算. "
    "(A coefficient or denominator exceeds 16777216 and cannot be computed exactly.)";

}  // namespace

void Engine::AllocateTables() {
  TermRows = 0;
  Numerator.assign(kMaxTerms + 1, 0.0f);
  TermCode.assign(kMaxTerms + 1, 0.0f);
  Denominator.assign(kMaxTerms + 1, 0.0f);
  Cofactor.assign(kInitialDenseSize + 1, 0.0f);
  Trial.assign(kInitialDenseSize + 1, 0.0f);
  PassImage.assign(kInitialDenseSize + 1, 0.0f);
  Scratch.assign(kInitialDenseSize + 1, 0.0f);
  Exponent.Create(kMaxTerms + 1, kVariableColumns);
  VariableDegree.assign(kVariableColumns, 0);
  FirstFactorDegree.assign(kVariableColumns, 0);
  MaxExponent.assign(kVariableColumns, 0);
  Letter.assign(kVariableColumns, "");
  MinExponent.assign(kVariableColumns, 0.0f);
  InputLetter.assign(kVariableColumns, "");
  Weight.assign(kVariableColumns, 0);
  TargetDegree.assign(kVariableColumns, 0.0f);
  // Fixed tables of the ordering step.
  SelectionItem.assign(kVariableColumns + 2, 0.0f);
  SelectionIndex.assign(kVariableColumns + 2, 0);
  SelectionLimit.assign(kVariableColumns + 2, 0);
  CodeOrder.assign(kVariableColumns, 0.0f);
  BestOrder.assign(kVariableColumns, 0.0f);
  BestWeight.assign(kVariableColumns, 0.0f);

  CommonDenominator = 1;
  SignText.clear();
  SecondPass = 0;
  SplitResult = kNothingTested;
  ReportStarted = 0;
  PendingCount = 0;
  PendingRead = 0;
  SignFactor = 1;
  FactorSign = 1;
  AccumulatedSign = 1;
  ReportPending = 1;
  Go(&Engine::LoadTermTables);
}

// Reads DXS1.DAT: per term a coefficient record, variable/exponent pairs and a
// separator. Upper and lower case name one variable; variables are numbered in
// order of first appearance. Inputs beyond the tables' capacity, and numbers
// beyond the exact range, end the run with a message before jg.dat is touched.
// The normaliser ends the file with a separator: a file without a term, or
// one that ends inside a term (emptied or cut short by another program in the
// folder since), is not read as a polynomial.
void Engine::LoadTermTables() {
  if (!WorkInput.Open(PathOf("DXS1.DAT")) || WorkInput.AtEnd()) {
    StopRun(kUnreadableMessage);
    return;
  }
  int t = 1;
  VariableCount = 0;
  LoadedVariableCount = 0;
  while (!WorkInput.AtEnd()) {
    if (t > kMaxTerms) {
      StopRun("多项式的项数超过 30. (The polynomial has more than 30 terms.)");
      return;
    }
    std::string c = WorkInput.ReadField();
    size_t slash = c.find('/');
    std::string_view numeratorText = std::string_view(c).substr(0, slash);
    if (DigitMagnitude(numeratorText) > kExactLimit ||
        (slash != std::string::npos && DigitMagnitude(std::string_view(c).substr(slash + 1)) > kExactLimit)) {
      StopRun(kTooLargeMessage);
      return;
    }
    Numerator[t] = ReadNumber(c);
    Denominator[t] = 1;
    if (slash != std::string::npos) {
      FractionFlag = kFractionMark;
      Denominator[t] = ReadNumber(std::string_view(c).substr(slash + 1));
      if (Denominator[t] < 0) {
        Numerator[t] = -Numerator[t];
        Denominator[t] = -Denominator[t];
      }
    }
    int variablesInTerm = 0;
    for (;;) {
      std::string a = WorkInput.ReadField();
      std::string e = WorkInput.ReadField();
      for (char& ch : a) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
      }
      if (a == "+") break;
      if (a.empty() && WorkInput.AtEnd()) {
        StopRun(kUnreadableMessage);
        return;
      }
      if (++variablesInTerm > 6) {
        StopRun("一项中的变量多于 6 个. (A term names more than 6 variables.)");
        return;
      }
      float exponent = ReadNumber(e);
      if (exponent > kMaxExponentWritten) {
        StopRun("指数超过 32767. (An exponent exceeds 32767.)");
        return;
      }
      int found = 0;
      for (int v = 1; v <= static_cast<int>(LoadedVariableCount); ++v) {
        if (Letter[v] == a) found = v;
      }
      if (found != 0 && Exponent[t][found] != 0) {
        StopRun("同一项中变量重复. (A variable is written twice in one term.)");
        return;
      }
      if (found == 0) {
        if (LoadedVariableCount >= kMaxVariables) {
          StopRun("多项式的变量多于 8 个. (The polynomial has more than 8 variables.)");
          return;
        }
        LoadedVariableCount += 1;
        found = static_cast<int>(LoadedVariableCount);
        Letter[found] = a;
      }
      Exponent[t][found] = exponent;
    }
    ++t;
    VariableCount = LoadedVariableCount;
  }
  WorkInput.Close();
  TermCount = static_cast<float>(t - 1);
  for (int v = 1; v <= static_cast<int>(VariableCount); ++v) InputLetter[v] = Letter[v];
  Go(&Engine::EchoPolynomial);
}

// Creates jg.dat and echoes the polynomial on the console and at the start of
// jg.dat (the line is left open). Fractional coefficients are made integral
// over the least common multiple of the denominators; only a common
// denominator or an integral coefficient beyond 16,777,216 stops the run.
void Engine::EchoPolynomial() {
  const int terms = static_cast<int>(TermCount);
  std::vector<float> integral;
  int64_t common = 1;
  if (FractionFlag == kFractionMark) {
    // Everything is computed and checked before jg.dat is created: a number
    // beyond the exact range ends the run with jg.dat as it was. (The product
    // of the denominators would pass the range for denominators as plain as
    // 48, 1260, 1260 and 105, whose least common multiple is 5040.)
    for (int t = 1; t <= terms; ++t) {
      common = std::lcm(common, static_cast<int64_t>(Denominator[t]));
      if (common > kExactLimit) {
        StopRun(kTooLargeMessage);
        return;
      }
    }
    integral.assign(terms + 1, 0.0f);
    for (int t = 1; t <= terms; ++t) {
      // The common denominator is a multiple of each denominator: multiply the
      // numerator by the exact integer quotient.
      int64_t value = static_cast<int64_t>(Numerator[t]) * (common / static_cast<int64_t>(Denominator[t]));
      if (value > kExactLimit || value < -kExactLimit) {
        StopRun(kTooLargeMessage);
        return;
      }
      integral[t] = static_cast<float>(value);
    }
  }
  if (!ResultFile.Create(PathOf("jg.dat"))) {
    StopRun("无法建立结果文件 jg.dat. (The result file jg.dat cannot be created.)");
    return;
  }
  ResultFile.CompleteOnSignal();
  if (FractionFlag != kFractionMark) {
    PrintTermTable();
    Go(&Engine::MergeLikeTerms);
    return;
  }
  CommonDenominator = static_cast<float>(common);
  for (int t = 1; t <= terms; ++t) {
    if (t == 1) {
      ConsoleNumber(Numerator[1]);
      ResultNumberText(Numerator[1]);
    } else if (Numerator[t] > 0) {
      BothText("+");
      ConsoleNumber(Numerator[t]);
      ResultNumberText(Numerator[t]);
    } else {
      BothText("-");
      ConsoleNumber(std::fabs(Numerator[t]));
      ResultNumberText(std::fabs(Numerator[t]));
    }
    if (Denominator[t] != 1) {
      BothText("/");
      ConsoleNumber(Denominator[t]);
      ResultNumberText(Denominator[t]);
    }
    for (int v = 1; v <= static_cast<int>(VariableCount); ++v) {
      if (Exponent[t][v] == 1) {
        BothText(Letter[v]);
      } else if (Exponent[t][v] > 1) {
        BothText(Letter[v]);
        BothText("^");
        ConsoleNumber(Exponent[t][v]);
        ResultNumberText(Exponent[t][v]);
      }
    }
  }
  ConsoleEnd();
  for (int t = 1; t <= terms; ++t) Numerator[t] = integral[t];
  Go(&Engine::MergeLikeTerms);
}

void Engine::EnsureTermRows(int rows) {
  if (static_cast<int>(Numerator.size()) < rows) Numerator.resize(rows, 0.0f);
  if (static_cast<int>(Denominator.size()) < rows) Denominator.resize(rows, 0.0f);
  if (static_cast<int>(TermCode.size()) < rows) TermCode.resize(rows, 0.0f);
  if (Exponent.Rows() >= rows && Exponent.Columns() == kVariableColumns) return;
  FloatGrid grown;
  grown.Create(std::max(rows, Exponent.Rows()), kVariableColumns);
  for (int t = 0; t < Exponent.Rows(); ++t) {
    for (int v = 0; v < std::min(Exponent.Columns(), kVariableColumns); ++v) grown[t][v] = Exponent[t][v];
  }
  Exponent = std::move(grown);
}

}  // namespace pfac
