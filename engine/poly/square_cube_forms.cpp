// The textbook forms tried before the search on two- and three-term
// polynomials: A^2 +- 2AB + B^2 = (A +- B)^2, A^2 - B^2 = (A + B)(A - B) and
// A^3 +- B^3 = (A +- B)(A^2 -+ AB + B^2), with A and B monomials with integer
// coefficients. A form that fits is shown, one factor is put aside in a
// pending-factor file ("gsys 1", "gsys 2", ...) and the preparation restarts on
// the other factor, left in the term table.
//
// On entry the term table holds the polynomial with the true exponent of every
// variable, its terms in descending order, the leading coefficient positive,
// the content and the common monomial factor taken out: so A and B never share
// a variable.
#include <cmath>

#include "engine/engine.h"
#include "engine/platform/run_signals.h"

namespace pfac {

namespace {

// Roots are found by rounding and confirmed by exact multiplication, so the
// rounding of the square root, logarithm and exponential never matters.
bool IsSquare(float c, float* root) {
  const float m = std::fabs(c);
  *root = Floor(std::sqrt(m) + 0.5f);
  return *root * *root == m;
}

bool IsCube(float c, float* root) {
  const float m = std::fabs(c);
  *root = Floor(std::exp(std::log(m) / 3.0f) + 0.5f);
  return *root * *root * *root == m;
}

bool IsMultipleOf(float exponent, float divisor) { return IsWhole(exponent / divisor); }

// Whether every exponent of the terms first and second is a multiple of
// divisor.
bool ExponentsAreMultiples(const Engine& e, int first, int second, float divisor) {
  const int variables = ToInt(e.Terms.VariableCount);
  for (int v = 1; v <= variables; ++v) {
    if (!IsMultipleOf(e.Terms.Exponent[first][v], divisor) || !IsMultipleOf(e.Terms.Exponent[second][v], divisor)) {
      return false;
    }
  }
  return true;
}

// Creates the next pending-factor file; a file that cannot be created stops
// the run before anything of the form is written.
bool CreatePendingFile(Engine& e) {
  e.Report.PendingCount = e.Report.PendingCount + 1;
  const std::string name = Engine::PendingFileName(e.Report.PendingCount);
  if (e.PendingOutput.Create(e.PathOf(name))) {
    RemoveAtEndOfRun(e.PathOf(name));
    return true;
  }
  e.StopRun("无法建立待分解因式文件 \"" + name + "\". (The pending-factor file \"" + name +
                "\" cannot be created.)",
            "Stopped: a pending-factor file could not be created.");
  return false;
}

void PendingNumber(Engine& e, float v) { e.PendingOutput.Write(NumberItem(v)); }

// Pieces that go to the console and, on the first pass only, to jg.dat.
struct FormLine {
  Engine& e;
  bool toResult;  // SecondPass was 0 when the form was found

  void Text(std::string_view text) {
    e.ConsoleText(text);
    if (toResult) e.ResultText(text);
  }
  void Number(float v) {
    e.ConsoleNumber(v);
    if (toResult) e.ResultNumberItem(v);
  }
  // Letter[v], "^" and the exponent (written with "^" even when it is 1).
  void Variable(int v, float exponent) {
    Text(e.Terms.Letter[v]);
    Text("^");
    Number(exponent);
  }
  // Ends the line of the form (closing, followed on the console by
  // consoleTail) and opens the result line with "=" and the common factor. On a later pass jg.dat's open result line already holds
  // the common factor, so it goes to the console only.
  void EndWithCommonFactor(std::string_view closing, std::string_view consoleTail) {
    e.ConsoleText(closing);
    e.ConsoleText(consoleTail);
    e.ConsoleEnd();
    if (toResult) {
      e.ResultText(closing);
      e.ResultEnd();
    }
    Text("=");
    if (toResult) {
      e.PrintCommonFactor();
    } else {
      e.PrintCommonFactorOnConsole();
    }
  }
};

// The exponents of one term of a base: source[v] / divisor into target[v]
// (source and target may be one row). The pending file gets every exponent,
// 0 for an absent variable, with a line end after the others when lineEnds is
// set; the console and jg.dat get the variables that occur.
void WriteBaseExponents(Engine& e, FormLine& line, const float* source, float* target, float divisor,
                        bool lineEnds) {
  const int variables = ToInt(e.Terms.VariableCount);
  for (int v = 1; v <= variables; ++v) {
    if (source[v] == 0) {
      target[v] = 0;
      PendingNumber(e, 0);
      continue;
    }
    target[v] = source[v] / divisor;
    PendingNumber(e, target[v]);
    if (lineEnds) e.PendingOutput.EndLine();
    line.Variable(v, target[v]);
  }
}

// The common tail of every form: the letters close the pending file, and the
// preparation restarts on the factor left in the term table. A polynomial held
// negated for the forms (SignFactor -1, on a later pass) was factored as its
// negative: the factor left takes the sign back, so that the two factors
// multiply to the polynomial itself.
void FinishForm(Engine& e, float termCount) {
  const int variables = ToInt(e.Terms.VariableCount);
  for (int v = 1; v <= variables; ++v) {
    e.PendingOutput.Write(e.Terms.Letter[v]);
    e.PendingOutput.EndLine();
  }
  if (e.Report.SignFactor == -1) {
    for (int t = 1; t <= ToInt(termCount); ++t) e.Terms.Numerator[t] = -e.Terms.Numerator[t];
    e.Report.SignFactor = 1;
  }
  e.Report.ReportStarted = 1;
  e.Pass.SecondPass = 1;
  e.Split.SplitResult = Engine::kSplitFound;
  e.Terms.TermCount = termCount;
  e.PendingOutput.Close();
  e.Go(&Engine::RestartPreparation);
}

}  // namespace

// A^2 +- 2AB + B^2 as terms 1, 2, 3 becomes (A +- B)^2: the pending file and the
// new search both get the base A +- B.
void Engine::FactorSquareTrinomial() {
  const int variables = ToInt(Terms.VariableCount);
  float a = 0;
  float b = 0;
  if ((Terms.Numerator[1] > 0) != (Terms.Numerator[3] > 0)) return;
  if (!IsSquare(Terms.Numerator[1], &a) || !IsSquare(Terms.Numerator[3], &b)) return;
  if (!ExponentsAreMultiples(*this, 1, 3, 2)) return;
  if (std::fabs(Terms.Numerator[2]) != 2 * a * b) return;
  for (int v = 1; v <= variables; ++v) {
    const float twice = 2 * Terms.Exponent[2][v];
    if (Terms.Exponent[2][v] == 0 || (twice != Terms.Exponent[1][v] && twice != Terms.Exponent[3][v])) return;
  }
  if (!CreatePendingFile(*this)) return;
  FormLine line{*this, Pass.SecondPass == 0};
  BeginSpecialLine();
  PendingNumber(*this, Terms.VariableCount);

  line.Number(a);
  PendingNumber(*this, a);
  Terms.Numerator[1] = a;
  WriteBaseExponents(*this, line, Terms.Exponent[1], Terms.Exponent[1], 2, false);

  const float sigma = Terms.Numerator[2] > 0 ? 1.0f : -1.0f;
  line.Text(sigma > 0 ? "+" : "-");
  line.Number(b);
  PendingNumber(*this, sigma * b);
  Terms.Numerator[2] = sigma * b;
  WriteBaseExponents(*this, line, Terms.Exponent[3], Terms.Exponent[2], 2, false);
  line.EndWithCommonFactor(")^2", " ");
  FinishForm(*this, 2);
}

// A^2 - B^2 becomes (A + B)(A - B): the pending file gets A + B, the new search
// A - B. Otherwise A^3 +- B^3 becomes (A +- B)(A^2 -+ AB + B^2): the pending file
// gets A +- B, the new search the three-term factor.
void Engine::FactorSpecialBinomial() {
  const int variables = ToInt(Terms.VariableCount);
  float a = 0;
  float b = 0;
  const bool differenceOfSquares = (Terms.Numerator[1] > 0) != (Terms.Numerator[2] > 0) &&
                                   IsSquare(Terms.Numerator[1], &a) && IsSquare(Terms.Numerator[2], &b) &&
                                   ExponentsAreMultiples(*this, 1, 2, 2);
  float root[3];  // [t] the coefficient of the base's term t
  if (differenceOfSquares) {
    if (!CreatePendingFile(*this)) return;
    FormLine line{*this, Pass.SecondPass == 0};
    BeginSpecialLine();
    PendingNumber(*this, Terms.VariableCount);
    PendingOutput.EndLine();
    for (int t = 1; t <= 2; ++t) {
      if (t == 2) line.Text("+");
      root[t] = t == 1 ? a : b;
      line.Number(root[t]);
      PendingNumber(*this, root[t]);
      WriteBaseExponents(*this, line, Terms.Exponent[t], Terms.Exponent[t], 2, true);
    }
    line.Text(")(");
    for (int t = 1; t <= 2; ++t) {
      Terms.Numerator[t] = root[t];
      if (t == 2) {
        line.Text("-");
        Terms.Numerator[2] = -root[2];
      }
      line.Number(root[t]);
      for (int v = 1; v <= variables; ++v) {
        if (Terms.Exponent[t][v] != 0) line.Variable(v, Terms.Exponent[t][v]);
      }
    }
    line.EndWithCommonFactor(")", " ");
    FinishForm(*this, 2);
    return;
  }

  if (!IsCube(Terms.Numerator[1], &a) || !IsCube(Terms.Numerator[2], &b)) return;
  if (!ExponentsAreMultiples(*this, 1, 2, 3)) return;
  if (!CreatePendingFile(*this)) return;
  EnsureTermRows(4);
  FormLine line{*this, Pass.SecondPass == 0};
  BeginSpecialLine();
  PendingNumber(*this, Terms.VariableCount);
  float baseExponents[3][kVariableColumns];  // [t][v] the exponents of the first factor's term t
  // s: the sign of B in the first factor.
  const float s = Terms.Numerator[2] < 0 ? -1.0f : 1.0f;
  root[1] = a;
  root[2] = s * b;
  for (int t = 1; t <= 2; ++t) {
    if (t == 1) {
      line.Number(root[1]);
    } else {
      // The console shows the sign and |B|'s coefficient, jg.dat the signed
      // coefficient.
      ConsoleText(s < 0 ? "-" : "+");
      ConsoleNumber(b);
      if (line.toResult) {
        if (root[2] > 0) ResultText("+");
        ResultNumberItem(root[2]);
      }
    }
    PendingNumber(*this, root[t]);
    WriteBaseExponents(*this, line, Terms.Exponent[t], baseExponents[t], 3, false);
  }
  line.Text(")(");
  // The second factor in the term table: A^2, B^2, then -+AB.
  for (int t = 1; t <= 2; ++t) {
    if (t == 2) line.Text("+");
    Terms.Numerator[t] = t == 1 ? a * a : b * b;
    line.Number(Terms.Numerator[t]);
    for (int v = 1; v <= variables; ++v) {
      if (Terms.Exponent[t][v] == 0) continue;
      Terms.Exponent[t][v] = Terms.Exponent[t][v] * 2 / 3;
      line.Variable(v, Terms.Exponent[t][v]);
    }
  }
  Terms.Numerator[3] = -s * a * b;
  ConsoleText((root[1] > 0) == (root[2] > 0) ? "-" : "+");
  ConsoleNumber(a * b);
  if (line.toResult) {
    if (Terms.Numerator[3] > 0) ResultText("+");
    ResultNumberItem(Terms.Numerator[3]);
  }
  for (int v = 1; v <= variables; ++v) Terms.Exponent[3][v] = 0;
  for (int t = 1; t <= 2; ++t) {
    for (int v = 1; v <= variables; ++v) {
      if (Terms.Exponent[t][v] == 0) continue;
      Terms.Exponent[3][v] = Terms.Exponent[t][v] / 2;
      line.Variable(v, Terms.Exponent[3][v]);
    }
  }
  line.EndWithCommonFactor(")", " ");
  FinishForm(*this, 3);
}

}  // namespace pfac
