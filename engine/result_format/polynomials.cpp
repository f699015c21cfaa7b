#include "engine/result_format/polynomials.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace pfac::format {

namespace {

int TotalDegree(const Exponents& m) { return std::accumulate(m.begin(), m.end(), 0); }

bool Negative(const std::string& decimal) { return !decimal.empty() && decimal[0] == '-'; }
std::string Magnitude(const std::string& decimal) { return Negative(decimal) ? decimal.substr(1) : decimal; }

}  // namespace

// ---- LetterPoly --------------------------------------------------------

bool LetterPoly::IsConstant() const {
  return terms.size() == 1 && TotalDegree(terms.begin()->first) == 0;
}

std::string LetterPoly::Letters() const {
  std::string out;
  for (int v = 0; v < 26; ++v) {
    for (const auto& [m, c] : terms) {
      if (m[v] != 0) {
        out += static_cast<char>('a' + v);
        break;
      }
    }
  }
  return out;
}

LetterPoly LetterPoly::SignNormalised() const {
  if (terms.empty() || !Negative(terms.begin()->second)) return *this;
  return Negated(*this);
}

std::optional<LetterPoly> LetterPoly::PrimitivePart() const {
  int64_t g = 0;
  for (const auto& [m, c] : terms) {
    int64_t v = 0;
    if (!DecimalToInt64(c, &v)) return std::nullopt;
    g = std::gcd(g, v);
  }
  if (g == 0) return *this;
  LetterPoly out;
  for (const auto& [m, c] : terms) {
    int64_t v = 0;
    DecimalToInt64(c, &v);
    out.terms[m] = std::to_string(v / g);
  }
  return out.SignNormalised();
}

// ---- decimal integers --------------------------------------------------

std::string SignedDigits(const std::string& decimal) {
  return (Negative(decimal) ? "-" : " ") + Magnitude(decimal);
}

bool DecimalToInt64(const std::string& decimal, int64_t* value) {
  const bool negative = Negative(decimal);
  const size_t start = negative ? 1 : 0;
  if (decimal.size() == start || decimal.size() - start > 18) return false;
  int64_t v = 0;
  for (size_t i = start; i < decimal.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(decimal[i]))) return false;
    v = v * 10 + (decimal[i] - '0');
  }
  *value = negative ? -v : v;
  return true;
}

std::string NegatedDecimal(const std::string& decimal) {
  if (decimal == "0") return decimal;
  return Negative(decimal) ? decimal.substr(1) : "-" + decimal;
}

// ---- text --------------------------------------------------------------

std::string FullOrder(const std::string& order) {
  std::string full;
  for (char c : order) {
    if (c >= 'a' && c <= 'z' && full.find(c) == std::string::npos) full += c;
  }
  for (char c = 'a'; c <= 'z'; ++c) {
    if (full.find(c) == std::string::npos) full += c;
  }
  return full;
}

std::vector<std::pair<Exponents, std::string>> OrderedTerms(const LetterPoly& p, const std::string& order) {
  const std::string full = FullOrder(order);
  std::vector<std::pair<Exponents, std::string>> terms(p.terms.begin(), p.terms.end());
  auto key = [&](const Exponents& m) {
    std::array<int32_t, 26> k{};
    for (size_t i = 0; i < full.size(); ++i) k[i] = m[full[i] - 'a'];
    return k;
  };
  std::stable_sort(terms.begin(), terms.end(),
                   [&](const auto& a, const auto& b) { return key(a.first) > key(b.first); });
  return terms;
}

bool FirstTermNegative(const LetterPoly& p, const std::string& order) {
  const auto terms = OrderedTerms(p, order);
  return !terms.empty() && Negative(terms.front().second);
}

LetterPoly Negated(const LetterPoly& p) {
  LetterPoly out;
  for (const auto& [m, c] : p.terms) out.terms[m] = NegatedDecimal(c);
  return out;
}

std::string InputText(const LetterPoly& p, const std::string& order) {
  const std::string full = FullOrder(order);
  std::string out;
  for (const auto& [m, c] : OrderedTerms(p, order)) {
    const bool constant = TotalDegree(m) == 0;
    const std::string magnitude = Magnitude(c);
    out += Negative(c) ? "-" : (out.empty() ? "" : "+");
    if (magnitude != "1" || constant) out += magnitude;
    for (char letter : full) {
      const int e = m[letter - 'a'];
      if (e == 0) continue;
      out += letter;
      if (e > 1) out += "^" + std::to_string(e);
    }
  }
  return out.empty() ? "0" : out;
}

std::string InputText(const RationalPolynomial& p, const std::string& letters, const std::string& times) {
  std::string out;
  for (const RationalTerm& term : p.terms) {
    std::string monomial;
    for (size_t v = 0; v < term.exponents.size() && v < letters.size(); ++v) {
      if (term.exponents[v] == 0) continue;
      if (!monomial.empty()) monomial += times;
      monomial += letters[v];
      if (term.exponents[v] > 1) monomial += "^" + std::to_string(term.exponents[v]);
    }
    const std::string magnitude = Magnitude(term.coefficient);
    out += Negative(term.coefficient) ? "-" : (out.empty() ? "" : "+");
    if (monomial.empty()) {
      out += magnitude;
    } else {
      out += (magnitude == "1" ? "" : magnitude + times) + monomial;
    }
  }
  return out.empty() ? "0" : out;
}

}  // namespace pfac::format
