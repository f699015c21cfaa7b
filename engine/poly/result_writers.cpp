// The writers of result text: each appends one piece of a result to the
// console, to jg.dat, or to both, in the number forms of the engine (a number
// item has a sign position, the digits and a trailing blank; a number text has
// no trailing blank). No writer ends a line unless it says so.
//
// What goes to jg.dat as a result is handed to the result file as values as
// well (the engine's part Result): the common factor opens a segment, each
// factor written adds itself, with exactly the value that its text stands for.
#include <algorithm>
#include <cmath>
#include <map>

#include "engine/engine.h"

namespace pfac {

namespace {

// A number that NumberText writes with all its digits: an integer within the
// exact range. Any other is written rounded and its text does not hold it.
bool WrittenExactly(float v) { return IsWhole(v) && std::fabs(v) <= kExactLimit; }

// The values of the exponent written after a letter: false when its text
// cannot be read back.
bool AddExponent(exact::Exponents& monomial, const std::string& letter, float exponent) {
  if (!IsPlainLetter(letter) || !WrittenExactly(exponent) || exponent > format::kLargestReadExponent) return false;
  monomial[letter[0] - 'a'] += static_cast<int32_t>(exponent);
  return true;
}

// A factor written to jg.dat, as the values of its terms: equal monomials
// add up, as they do when the line is read.
struct FactorValues {
  std::map<exact::Exponents, int64_t> sums;
  bool unreadable = false;

  // The writers go from the highest term down: a monomial below every one
  // so far goes in front without a search.
  void Add(float coefficient, const exact::Exponents& monomial) {
    if (!WrittenExactly(coefficient)) {
      unreadable = true;
      return;
    }
    const int64_t value = static_cast<int64_t>(coefficient);
    if (sums.empty() || monomial < sums.begin()->first) {
      sums.emplace_hint(sums.begin(), monomial, value);
    } else {
      sums[monomial] += value;
    }
  }
  exact::LetterPoly Poly() const {
    exact::LetterPoly p;
    for (const auto& [m, c] : sums) {
      if (c != 0) p.terms.emplace_hint(p.terms.begin(), m, std::to_string(c));
    }
    return p;
  }
};

// The coefficient c of a factor's term: its sign (none before the first term
// when positive) and its magnitude unless that is 1; to jg.dat as well when
// toFile is set.
void WriteTermCoefficient(Engine& e, bool toFile, float c, bool first) {
  auto file = [&](std::string_view text) {
    if (toFile) e.ResultText(text);
  };
  if (first) {
    if (c == -1) {
      e.ConsoleText("-");
      file("-");
    } else if (c != 1) {
      e.ConsoleNumber(c);
      file(NumberText(c));
    }
    return;
  }
  e.ConsoleText(c <= 0 ? "-" : "+");
  file(c <= 0 ? "-" : "+");
  const float m = std::fabs(c);
  if (m == 1) {
    file(" ");
  } else {
    e.ConsoleNumber(m);
    file(NumberText(m));
  }
}

// The variables of term row t of the term table with their exponents, in the
// order in which the user wrote them, added to monomial; false when the term
// has none.
bool WriteTermLetters(Engine& e, bool toFile, int t, exact::Exponents& monomial, bool& unreadable) {
  bool written = false;
  for (int w = 1; w <= ToInt(e.Terms.LoadedVariableCount); ++w) {
    for (int v = 1; v <= ToInt(e.Terms.VariableCount); ++v) {
      if (e.Terms.Letter[v] != e.Terms.InputLetter[w]) continue;
      const float x = e.Terms.Exponent[t][v];
      if (x >= 1) {
        written = true;
        e.ConsoleText(e.Terms.Letter[v]);
        if (toFile) e.ResultText(e.Terms.Letter[v]);
      }
      if (x > 1) {
        e.ConsoleText("^");
        if (toFile) e.ResultText("^");
        e.ConsoleNumber(x);
        if (toFile) e.ResultText(NumberText(x));
      }
      if (x >= 1 && !AddExponent(monomial, e.Terms.Letter[v], x)) unreadable = true;
    }
  }
  return written;
}

// The sign, the rational content and the common monomial factor taken out of
// the polynomial; the file gets its pieces only when toFile is set, and then
// they open a segment of the result as values.
void WriteCommonFactor(Engine& e, bool toFile) {
  auto file = [&](std::string_view text) {
    if (toFile) e.ResultText(text);
  };
  format::ResultProduct common;
  bool unreadable = false;
  auto number = [&](float v) {
    if (!WrittenExactly(v)) unreadable = true;
    return WrittenExactly(v) ? static_cast<int64_t>(v) : 0;
  };
  if (e.Terms.TermCount == 1 && e.Terms.Numerator[1] < 0) {
    e.ConsoleText(" -");
    file(" -");
    common.numerator = -common.numerator;
  }
  e.ConsoleText(e.Report.SignText);
  file(e.Report.SignText);
  for (char c : e.Report.SignText) {
    if (c == '-') {
      common.numerator = -common.numerator;
    } else if (c != ' ') {
      unreadable = true;
    }
  }
  const int loaded = ToInt(e.Terms.LoadedVariableCount);
  if (e.Terms.CommonDenominator == e.Terms.Content) {
    if (e.Terms.TermCount <= 1) {
      e.ConsoleNumber(1);
      // The constant 1 (or -1) alone is the whole result: without it the
      // result line of jg.dat would end in "=" and nothing after it.
      bool monomial = false;
      for (int v = 1; v <= loaded; ++v) monomial = monomial || e.Terms.MinExponent[v] > 0;
      if (!monomial) file(NumberText(1));
    }
  } else if (e.Terms.CommonDenominator != 1) {
    e.ConsoleNumber(e.Terms.Content);
    e.ConsoleText("/");
    e.ConsoleNumber(e.Terms.CommonDenominator);
    file(NumberText(e.Terms.Content));
    file("/");
    file(NumberText(e.Terms.CommonDenominator));
    common.numerator *= number(e.Terms.Content);
    common.denominator = number(e.Terms.CommonDenominator);
    if (common.denominator <= 0) unreadable = true;
  } else {
    e.ConsoleNumber(e.Terms.Content);
    file(NumberText(e.Terms.Content));
    common.numerator *= number(e.Terms.Content);
  }
  for (int v = 1; v <= loaded; ++v) {
    if (e.Terms.MinExponent[v] == 1) {
      e.ConsoleText(e.Terms.InputLetter[v]);
      file(e.Terms.InputLetter[v]);
    } else if (e.Terms.MinExponent[v] > 1) {
      e.ConsoleText(e.Terms.InputLetter[v]);
      e.ConsoleText("^");
      e.ConsoleNumber(e.Terms.MinExponent[v]);
      file(e.Terms.InputLetter[v]);
      file("^");
      file(NumberText(e.Terms.MinExponent[v]));
    }
    if (e.Terms.MinExponent[v] >= 1 && !AddExponent(common.monomial, e.Terms.InputLetter[v], e.Terms.MinExponent[v])) {
      unreadable = true;
    }
  }
  if (!toFile) return;
  common.unreadable = unreadable;
  e.Result.OpenSegment(std::move(common));
}

// One line of jg.dat with the product of L (degree LongDegree) and S (degree
// ShortDegree) before like terms are collected: the partial products of each
// power in a group "+(...)" followed by the power's monomial. A group whose
// products are all zero stays open and takes the next nonzero ones. Partial
// products are written exactly (ProductText): those of one power may pass
// 16,777,216 while their sum, a coefficient of the polynomial, does not.
void WriteExpandedProduct(Engine& e, const FloatTable& L, const FloatTable& S) {
  const int a = e.Report.LongDegree;
  const int b = e.Report.ShortDegree;
  bool groupFlag = true;
  auto openGroup = [&] {
    if (!groupFlag) return;
    e.ResultText("+(");
    groupFlag = false;
  };
  auto partialProduct = [&](float x, float y) {
    if (x == 0 || y == 0) return;
    groupFlag = true;
    e.ResultText(ProductText(x, y));
    e.ResultText(" ");
  };
  auto closeGroup = [&](int code) {
    if (!groupFlag) return;
    e.ResultText(")");
    e.Report.MonomialCode = static_cast<int16_t>(code);
    e.WriteMonomialCode();
  };
  e.ResultText("[");
  e.ResultText(ProductText(L[a], S[b]));
  e.Report.MonomialCode = e.Dense.PassDegree;
  e.WriteMonomialCode();
  float r = e.Dense.PassDegree;
  for (int p = 0; p <= b - 1; ++p) {
    r = r - 1;
    const int rr = ToInt(r);
    openGroup();
    for (int j = a; j >= rr - b; --j) partialProduct(L[j], S[rr - j]);
    closeGroup(rr);
  }
  for (int p = a - 1; p >= 1; --p) {
    openGroup();
    for (int j = 0; j <= std::min(p, b); ++j) partialProduct(S[j], L[p - j]);
    closeGroup(p);
  }
  if (L[0] * S[0] > 0) e.ResultText("+");
  e.ResultText(ProductText(L[0], S[0]));
  if (!groupFlag) e.ResultText(")");
  e.Report.MonomialCode = 0;
  e.WriteMonomialCode();
  e.ResultText("]");
  e.ResultEnd();
}

}  // namespace

// The polynomial of the term table, as loaded: console and jg.dat.
void Engine::PrintTermTable() {
  const int terms = static_cast<int>(Terms.TermCount);
  const int variables = static_cast<int>(Terms.VariableCount);
  for (int t = 1; t <= terms; ++t) {
    float d = 0;
    for (int v = 1; v <= variables; ++v) d = RoundHalfEven(d + Terms.Exponent[t][v]);
    if (Terms.Numerator[t] < 0) BothText("-");
    if (t != 1 && Terms.Numerator[t] > 0) BothText("+");
    float magnitude = std::fabs(Terms.Numerator[t]);
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
      if (Terms.Exponent[t][v] > 1) {
        BothText(Terms.Letter[v]);
        BothText("^");
        ConsoleNumber(Terms.Exponent[t][v]);
        ResultNumberText(Terms.Exponent[t][v]);
      } else if (Terms.Exponent[t][v] == 1) {
        BothText(Terms.Letter[v]);
      }
    }
  }
}

// Console and jg.dat: the sign, Content / CommonDenominator and the common
// monomial factor of InputLetter and MinExponent.
void Engine::PrintCommonFactor() { WriteCommonFactor(*this, true); }

void Engine::PrintCommonFactorOnConsole() { WriteCommonFactor(*this, false); }

// Cofactor[0..DenseTop] in parentheses, index i standing for the code
// DenseOffset + i; to jg.dat as well when FileEcho is 0. The printed terms are
// loaded into the term table with their coefficients from PassImage and the
// exponent of every variable unpacked from the code. A factor in one variable
// is written as powers of Letter[1]; in several variables each term shows its
// variables in the order in which the user wrote them (InputLetter).
void Engine::PrintDenseFactor() {
  const bool toFile = Report.FileEcho == 0;
  auto file = [&](std::string_view text) {
    if (toFile) ResultText(text);
  };
  auto both = [&](std::string_view text) {
    ConsoleText(text);
    file(text);
  };
  const int variables = ToInt(Terms.VariableCount);
  EnsureTermRows(Split.DenseTop + 2);
  both("(");
  Terms.TermRows = 0;
  FactorValues values;
  bool firstWritten = false;
  bool variableWritten = false;
  for (int i = Split.DenseTop; i >= 0; --i) {
    variableWritten = false;
    const float c = Dense.Cofactor[i];
    if (c == 0) continue;
    exact::Exponents monomial{};  // of the term as written
    ++Terms.TermRows;
    Terms.Numerator[Terms.TermRows] = Dense.PassImage[i];
    WriteTermCoefficient(*this, toFile, c, !firstWritten);
    firstWritten = true;
    const int code = Split.DenseOffset + i;
    if (variables <= 1) {
      if (code > 1) {
        variableWritten = true;
        both(Terms.Letter[1]);
        both("^");
        ConsoleNumber(code);
        file(NumberItem(code));
      } else if (code == 1) {
        variableWritten = true;
        ConsoleText(Terms.Letter[1]);
        file(Terms.Letter[1] + " ");
      }
      if (code >= 1 && !AddExponent(monomial, Terms.Letter[1], static_cast<float>(code))) values.unreadable = true;
      if (toFile) values.Add(c, monomial);
      Terms.Exponent[Terms.TermRows][1] = static_cast<float>(code);
      continue;
    }
    int rest = code;
    for (int v = variables; v >= 2; --v) {
      Terms.Exponent[Terms.TermRows][v] = static_cast<float>(rest / Terms.Weight[v]);
      rest = rest % Terms.Weight[v];
    }
    Terms.Exponent[Terms.TermRows][1] = static_cast<float>(rest);
    variableWritten = WriteTermLetters(*this, toFile, Terms.TermRows, monomial, values.unreadable);
    if (toFile) values.Add(c, monomial);
  }
  // A unit constant term written without a letter stands as "1".
  if (!variableWritten && std::fabs(Dense.Cofactor[0]) == 1) {
    ConsoleNumber(1);
    file("1");
  }
  both(")");
  if (toFile) {
    Result.AddFactor(values.Poly(), values.unreadable);
  }
  ComputeVariableDegrees();
}

void Engine::PrintPassImage(float sign) {
  Split.DenseOffset = ToInt16(Split.CodeOffset);
  Split.DenseTop = Dense.PassDegree;
  for (int i = 0; i <= Dense.PassDegree; ++i) Dense.Cofactor[i] = sign * Dense.PassImage[i];
  PrintDenseFactor();
}

// The polynomial of the term table, each coefficient times sign, as a factor
// in parentheses on the console and in jg.dat, its terms in the table's order:
// a polynomial that no image could hold is written as it stands.
void Engine::PrintTermFactor(float sign) {
  BothText("(");
  FactorValues values;
  for (int t = 1; t <= ToInt(Terms.TermCount); ++t) {
    const float c = sign * Terms.Numerator[t];
    if (c == 0) continue;
    exact::Exponents monomial{};
    WriteTermCoefficient(*this, true, c, t == 1);
    if (!WriteTermLetters(*this, true, t, monomial, values.unreadable) && std::fabs(c) == 1) {
      ConsoleNumber(1);
      ResultText("1");
    }
    values.Add(c, monomial);
  }
  BothText(")");
  Result.AddFactor(values.Poly(), values.unreadable);
}

// jg.dat only: the monomial of code MonomialCode + CodeOffset as "*" and a
// variable with its exponent for each variable that occurs, highest first.
void Engine::WriteMonomialCode() {
  int c = ToInt(Report.MonomialCode + Split.CodeOffset);
  const int variables = ToInt(Terms.VariableCount);
  for (int v = variables; v >= 2; --v) {
    const int e = c / Terms.Weight[v];
    c = c % Terms.Weight[v];
    if (e > 1) {
      ResultText("*" + Terms.Letter[v] + "^");
      ResultNumberItem(e);
    } else if (e == 1) {
      ResultText("*" + Terms.Letter[v]);
    }
  }
  if (c > 1) {
    ResultText("*" + Terms.Letter[1] + "^");
    ResultNumberText(c);
  } else if (c == 1) {
    ResultText("*" + Terms.Letter[1]);
  }
}

void Engine::WriteExpandedProductCofactorFirst() { WriteExpandedProduct(*this, Dense.Cofactor, Dense.Trial); }

void Engine::WriteExpandedProductTrialFirst() { WriteExpandedProduct(*this, Dense.Trial, Dense.Cofactor); }

// Opens the line of a square or cube factorisation: on the first pass "=" and
// the common factor on a new line of jg.dat and "(" after them; the console
// gets "(" in every case.
void Engine::BeginSpecialLine() {
  if (Pass.SecondPass != 1) {
    ConsoleText("=");
    ResultEnd();
    ResultText("=");
    PrintCommonFactor();
    ResultText("(");
  }
  ConsoleText("(");
}

}  // namespace pfac
