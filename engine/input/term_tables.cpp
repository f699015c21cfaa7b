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
  Terms.TermRows = 0;
  Terms.Numerator.assign(kMaxTerms + 1, 0.0f);
  Terms.TermCode.assign(kMaxTerms + 1, 0.0f);
  Terms.Denominator.assign(kMaxTerms + 1, 0.0f);
  Dense.Cofactor.assign(kInitialDenseSize + 1, 0.0f);
  Dense.Trial.assign(kInitialDenseSize + 1, 0.0f);
  Dense.PassImage.assign(kInitialDenseSize + 1, 0.0f);
  Dense.Scratch.assign(kInitialDenseSize + 1, 0.0f);
  Terms.Exponent.Create(kMaxTerms + 1, kVariableColumns);
  Split.VariableDegree.assign(kVariableColumns, 0);
  Split.FirstFactorDegree.assign(kVariableColumns, 0);
  Terms.MaxExponent.assign(kVariableColumns, 0);
  Terms.Letter.assign(kVariableColumns, "");
  Terms.MinExponent.assign(kVariableColumns, 0.0f);
  Terms.InputLetter.assign(kVariableColumns, "");
  Terms.Weight.assign(kVariableColumns, 0);
  Terms.TargetDegree.assign(kVariableColumns, 0.0f);
  // Fixed tables of the ordering step.
  Order.SelectionItem.assign(kVariableColumns + 2, 0.0f);
  Order.SelectionIndex.assign(kVariableColumns + 2, 0);
  Order.SelectionLimit.assign(kVariableColumns + 2, 0);
  Order.CodeOrder.assign(kVariableColumns, 0.0f);
  Order.BestOrder.assign(kVariableColumns, 0.0f);
  Order.BestWeight.assign(kVariableColumns, 0.0f);

  Terms.CommonDenominator = 1;
  Report.SignText.clear();
  Pass.SecondPass = 0;
  Split.SplitResult = kNothingTested;
  Report.ReportStarted = 0;
  Report.PendingCount = 0;
  Report.PendingRead = 0;
  Report.SignFactor = 1;
  Report.FactorSign = 1;
  Report.AccumulatedSign = 1;
  Report.ReportPending = 1;
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
  Terms.VariableCount = 0;
  Terms.LoadedVariableCount = 0;
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
    Terms.Numerator[t] = ReadNumber(c);
    Terms.Denominator[t] = 1;
    if (slash != std::string::npos) {
      Terms.FractionFlag = kFractionMark;
      Terms.Denominator[t] = ReadNumber(std::string_view(c).substr(slash + 1));
      if (Terms.Denominator[t] < 0) {
        Terms.Numerator[t] = -Terms.Numerator[t];
        Terms.Denominator[t] = -Terms.Denominator[t];
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
      for (int v = 1; v <= static_cast<int>(Terms.LoadedVariableCount); ++v) {
        if (Terms.Letter[v] == a) found = v;
      }
      if (found != 0 && Terms.Exponent[t][found] != 0) {
        StopRun("同一项中变量重复. (A variable is written twice in one term.)");
        return;
      }
      if (found == 0) {
        if (Terms.LoadedVariableCount >= kMaxVariables) {
          StopRun("多项式的变量多于 8 个. (The polynomial has more than 8 variables.)");
          return;
        }
        Terms.LoadedVariableCount += 1;
        found = static_cast<int>(Terms.LoadedVariableCount);
        Terms.Letter[found] = a;
      }
      Terms.Exponent[t][found] = exponent;
    }
    ++t;
    Terms.VariableCount = Terms.LoadedVariableCount;
  }
  WorkInput.Close();
  Terms.TermCount = static_cast<float>(t - 1);
  for (int v = 1; v <= static_cast<int>(Terms.VariableCount); ++v) Terms.InputLetter[v] = Terms.Letter[v];
  Go(&Engine::EchoPolynomial);
}

// Creates jg.dat and echoes the polynomial on the console and at the start of
// jg.dat (the line is left open). Fractional coefficients are made integral
// over the least common multiple of the denominators; only a common
// denominator or an integral coefficient beyond 16,777,216 stops the run.
void Engine::EchoPolynomial() {
  const int terms = static_cast<int>(Terms.TermCount);
  std::vector<float> integral;
  int64_t common = 1;
  if (Terms.FractionFlag == kFractionMark) {
    // Everything is computed and checked before jg.dat is created: a number
    // beyond the exact range ends the run with jg.dat as it was. (The product
    // of the denominators would pass the range for denominators as plain as
    // 48, 1260, 1260 and 105, whose least common multiple is 5040.)
    for (int t = 1; t <= terms; ++t) {
      common = std::lcm(common, static_cast<int64_t>(Terms.Denominator[t]));
      if (common > kExactLimit) {
        StopRun(kTooLargeMessage);
        return;
      }
    }
    integral.assign(terms + 1, 0.0f);
    for (int t = 1; t <= terms; ++t) {
      // The common denominator is a multiple of each denominator: multiply the
      // numerator by the exact integer quotient.
      int64_t value = static_cast<int64_t>(Terms.Numerator[t]) * (common / static_cast<int64_t>(Terms.Denominator[t]));
      if (value > kExactLimit || value < -kExactLimit) {
        StopRun(kTooLargeMessage);
        return;
      }
      integral[t] = static_cast<float>(value);
    }
  }
  if (!Result.Create(PathOf("jg.dat"))) {
    StopRun("无法建立结果文件 jg.dat. (The result file jg.dat cannot be created.)");
    return;
  }
  Result.CompleteOnSignal();
  if (Terms.FractionFlag != kFractionMark) {
    PrintTermTable();
    Go(&Engine::MergeLikeTerms);
    return;
  }
  Terms.CommonDenominator = static_cast<float>(common);
  for (int t = 1; t <= terms; ++t) {
    if (t == 1) {
      ConsoleNumber(Terms.Numerator[1]);
      ResultNumberText(Terms.Numerator[1]);
    } else if (Terms.Numerator[t] > 0) {
      BothText("+");
      ConsoleNumber(Terms.Numerator[t]);
      ResultNumberText(Terms.Numerator[t]);
    } else {
      BothText("-");
      ConsoleNumber(std::fabs(Terms.Numerator[t]));
      ResultNumberText(std::fabs(Terms.Numerator[t]));
    }
    if (Terms.Denominator[t] != 1) {
      BothText("/");
      ConsoleNumber(Terms.Denominator[t]);
      ResultNumberText(Terms.Denominator[t]);
    }
    for (int v = 1; v <= static_cast<int>(Terms.VariableCount); ++v) {
      if (Terms.Exponent[t][v] == 1) {
        BothText(Terms.Letter[v]);
      } else if (Terms.Exponent[t][v] > 1) {
        BothText(Terms.Letter[v]);
        BothText("^");
        ConsoleNumber(Terms.Exponent[t][v]);
        ResultNumberText(Terms.Exponent[t][v]);
      }
    }
  }
  ConsoleEnd();
  for (int t = 1; t <= terms; ++t) Terms.Numerator[t] = integral[t];
  Go(&Engine::MergeLikeTerms);
}

void Engine::EnsureTermRows(int rows) {
  if (static_cast<int>(Terms.Numerator.size()) < rows) Terms.Numerator.resize(rows, 0.0f);
  if (static_cast<int>(Terms.Denominator.size()) < rows) Terms.Denominator.resize(rows, 0.0f);
  if (static_cast<int>(Terms.TermCode.size()) < rows) Terms.TermCode.resize(rows, 0.0f);
  if (Terms.Exponent.Rows() >= rows && Terms.Exponent.Columns() == kVariableColumns) return;
  FloatGrid grown;
  grown.Create(std::max(rows, Terms.Exponent.Rows()), kVariableColumns);
  for (int t = 0; t < Terms.Exponent.Rows(); ++t) {
    for (int v = 0; v < std::min(Terms.Exponent.Columns(), kVariableColumns); ++v) grown[t][v] = Terms.Exponent[t][v];
  }
  Terms.Exponent = std::move(grown);
}

}  // namespace pfac
