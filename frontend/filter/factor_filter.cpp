#include "frontend/filter/factor_filter.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <tuple>
#include <utility>

#include "engine/exact/real_split.h"
#include "frontend/results/result_presentation.h"

namespace pfac::frontend {

#ifdef PFAC_EXACT
namespace {

constexpr char kUsage[] =
    "usage: pfac --factor [--real] [--format text|plain|latex|json] [--time-limit SECONDS] [POLY ...]";

// ---- the factorisation in a child that can be stopped ------------------------

// The factorisation as lines of text: the content, the number of factors,
// then per factor "multiplicity terms" and a line "coefficient e1 ... eV" per
// term.
std::string Serialised(const exact::RationalFactorisation& f) {
  std::string out = f.content + "\n" + std::to_string(f.factors.size()) + "\n";
  for (const exact::RationalFactor& factor : f.factors) {
    out += std::to_string(factor.multiplicity) + " " + std::to_string(factor.polynomial.terms.size()) + "\n";
    for (const format::RationalTerm& term : factor.polynomial.terms) {
      out += term.coefficient;
      for (int32_t e : term.exponents) out += " " + std::to_string(e);
      out += "\n";
    }
  }
  return out;
}

std::optional<exact::RationalFactorisation> Deserialised(const std::string& text, int variables) {
  std::istringstream in(text);
  exact::RationalFactorisation f;
  size_t factors = 0;
  if (!(in >> f.content >> factors) || factors > text.size()) return std::nullopt;
  for (size_t i = 0; i < factors; ++i) {
    exact::RationalFactor factor;
    size_t terms = 0;
    if (!(in >> factor.multiplicity >> terms) || terms > text.size()) return std::nullopt;
    factor.polynomial.variables = variables;
    for (size_t t = 0; t < terms; ++t) {
      format::RationalTerm term;
      term.exponents.assign(static_cast<size_t>(variables), 0);
      if (!(in >> term.coefficient)) return std::nullopt;
      for (int32_t& e : term.exponents) {
        if (!(in >> e)) return std::nullopt;
      }
      factor.polynomial.terms.push_back(std::move(term));
    }
    f.factors.push_back(std::move(factor));
  }
  return f;
}

std::string Seconds(double seconds) {
  std::ostringstream out;
  out << seconds;
  return out.str();
}

// The factorisation in a fork of this process, which writes it to a pipe;
// killed when the time is up.
std::optional<exact::RationalFactorisation> FactorInChild(const format::RationalPolynomial& p, double timeLimit,
                                                         std::string* why) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    *why = "无法建立管道 / a pipe cannot be made";
    return std::nullopt;
  }
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    *why = "无法启动子进程 / no process can be started";
    return std::nullopt;
  }
  if (child == 0) {
    close(pipeEnds[0]);
    std::string reason;
    const std::optional<exact::RationalFactorisation> f = exact::FactorRationalExactly(p, &reason);
    const std::string text = f ? "ok\n" + Serialised(*f) : "error " + reason + "\n";
    for (size_t written = 0; written < text.size();) {
      const ssize_t n = write(pipeEnds[1], text.data() + written, text.size() - written);
      if (n <= 0) _exit(1);
      written += static_cast<size_t>(n);
    }
    _exit(0);
  }
  close(pipeEnds[1]);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(timeLimit);
  std::string text;
  bool timedOut = false;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      timedOut = true;
      break;
    }
    pollfd fd{pipeEnds[0], POLLIN, 0};
    const int ready = poll(&fd, 1, static_cast<int>(std::min<long long>(left.count() + 1, 1 << 30)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready == 0) continue;
    char buffer[65536];
    const ssize_t n = read(pipeEnds[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  close(pipeEnds[0]);
  if (timedOut) kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (timedOut) {
    *why = "超过时间限制 " + Seconds(timeLimit) + " 秒, 已停止 / stopped at the time limit of " + Seconds(timeLimit) + " s";
    return std::nullopt;
  }
  if (text.rfind("ok\n", 0) == 0) {
    if (auto f = Deserialised(text.substr(3), p.variables)) return f;
  } else if (text.rfind("error ", 0) == 0) {
    *why = text.substr(6, text.size() - 7);
    return std::nullopt;
  }
  *why = "精确分解没有给出答案 / the exact factorisation gave no answer";
  return std::nullopt;
}

// ---- writing a factorisation -----------------------------------------------------

// ASCII with "*" and "^", which other algebra programs read back:
// "3/4*x^2*y-x+1".
std::string PlainPolynomial(const format::RationalPolynomial& p, const std::string& letters) {
  return format::InputText(p, letters, "*");
}

int LettersUsed(const format::RationalPolynomial& p) {
  std::vector<bool> used(static_cast<size_t>(p.variables), false);
  for (const format::RationalTerm& term : p.terms) {
    for (size_t v = 0; v < term.exponents.size() && v < used.size(); ++v) used[v] = used[v] || term.exponents[v] > 0;
  }
  return static_cast<int>(std::count(used.begin(), used.end(), true));
}

int TotalDegree(const format::RationalPolynomial& p) {
  int degree = 0;
  for (const format::RationalTerm& term : p.terms) {
    int d = 0;
    for (int32_t e : term.exponents) d += e;
    degree = std::max(degree, d);
  }
  return degree;
}

double CoefficientValue(const std::string& coefficient) {
  const size_t slash = coefficient.find('/');
  const double numerator = std::strtod(coefficient.c_str(), nullptr);
  return slash == std::string::npos ? numerator : numerator / std::strtod(coefficient.c_str() + slash + 1, nullptr);
}

// The factors in the order a student writes them: the monomial ones first,
// then fewer letters, lower degree, the coefficients read from the leading
// term down, the smaller first, and by their text: x(x - 1)(x + 1).
std::vector<exact::RationalFactor> Ordered(std::vector<exact::RationalFactor> factors, const std::string& letters) {
  const auto key = [&letters](const exact::RationalFactor& f) {
    std::vector<double> coefficients;
    for (const format::RationalTerm& term : f.polynomial.terms) coefficients.push_back(CoefficientValue(term.coefficient));
    return std::make_tuple(f.polynomial.terms.size() > 1, LettersUsed(f.polynomial), TotalDegree(f.polynomial),
                           coefficients, PlainPolynomial(f.polynomial, letters));
  };
  std::stable_sort(factors.begin(), factors.end(),
                   [&key](const exact::RationalFactor& a, const exact::RationalFactor& b) { return key(a) < key(b); });
  return factors;
}

// "-1/2*x^2*(x-1)^2*(x+y)"; the content alone for a constant.
std::string PlainFactorisation(const exact::RationalFactorisation& f, const std::string& letters) {
  std::string out;
  for (const exact::RationalFactor& factor : Ordered(f.factors, letters)) {
    if (!out.empty()) out += '*';
    const std::string text = PlainPolynomial(factor.polynomial, letters);
    out += factor.polynomial.terms.size() > 1 ? "(" + text + ")" : text;
    if (factor.multiplicity > 1) out += "^" + std::to_string(factor.multiplicity);
  }
  if (out.empty()) return f.content;
  if (f.content == "1") return out;
  if (f.content == "-1") return "-" + out;
  return f.content + "*" + out;
}

// The factorisation as the result panel presents it.
format::ResultValue AsResultValue(const format::RationalPolynomial& entered, const std::string& letters,
                                  const exact::RationalFactorisation& f) {
  format::ResultValue value;
  value.letters = letters;
  value.entered = entered;
  value.factored = true;
  value.content = f.content;
  value.monomial.assign(letters.size(), 0);
  for (const exact::RationalFactor& factor : f.factors) {
    if (factor.polynomial.terms.size() == 1) {
      const std::vector<int32_t>& e = factor.polynomial.terms.front().exponents;
      for (size_t v = 0; v < e.size() && v < value.monomial.size(); ++v) value.monomial[v] += e[v] * factor.multiplicity;
      continue;
    }
    for (int m = 0; m < factor.multiplicity; ++m) value.factors.push_back(factor.polynomial);
  }
  return value;
}

// ---- over the reals ----

// A number as SurdText writes it ("(2 - √6)/2", "3√2") in the plain form:
// "(2-sqrt(6))/2", "3*sqrt(2)".
std::string PlainSurd(const std::string& text) {
  static const std::string kRoot = "√";
  std::string out;
  for (size_t i = 0; i < text.size();) {
    if (text.compare(i, kRoot.size(), kRoot) == 0) {
      size_t end = i + kRoot.size();
      while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
      if (!out.empty() && out.back() >= '0' && out.back() <= '9') out += '*';
      out += "sqrt(" + text.substr(i + kRoot.size(), end - i - kRoot.size()) + ")";
      i = end;
    } else {
      if (text[i] != ' ') out += text[i];
      ++i;
    }
  }
  return out;
}

// A term over the reals in the plain form: "sqrt(3)*y", "-1-sqrt(2)",
// "(2-sqrt(6))/2*y"; its sign first.
std::string PlainRealTerm(const exact::RealTerm& term, const std::string& letters) {
  std::string monomial;
  for (size_t v = 0; v < letters.size() && v < term.exponents.size(); ++v) {
    if (term.exponents[v] == 0) continue;
    monomial += (monomial.empty() ? "" : "*") + std::string(1, letters[v]);
    if (term.exponents[v] > 1) monomial += "^" + std::to_string(term.exponents[v]);
  }
  const exact::Surd& c = term.coefficient;
  auto times = [&monomial](const std::string& number) {
    if (monomial.empty()) return number;
    if (number == "1") return monomial;
    if (number == "-1") return "-" + monomial;
    return number + "*" + monomial;
  };
  if (c.radical == "0") return times(c.rational);
  const bool negative = c.radical.front() == '-';
  const std::string magnitude = negative ? c.radical.substr(1) : c.radical;
  const size_t slash = magnitude.find('/');
  const std::string top = magnitude.substr(0, slash);
  std::string root = (top == "1" ? std::string() : top + "*") + "sqrt(" + c.radicand + ")";
  if (slash != std::string::npos) root += magnitude.substr(slash);
  if (c.rational == "0") return (negative ? "-" : "") + (monomial.empty() ? root : root + "*" + monomial);
  if (c.rational.find('/') != std::string::npos || slash != std::string::npos) {
    // Over the common denominator, its sign in front, as the text writes it:
    // x-(2-sqrt(6))/2, so that the piece with the minus before its root
    // stands first here too.
    const bool below = c.rational.front() == '-';
    auto turned = [below](const std::string& n) { return !below ? n : n.front() == '-' ? n.substr(1) : "-" + n; };
    const std::string over = PlainSurd(exact::SurdText({turned(c.rational), turned(c.radical), c.radicand}));
    return (below ? "-" : "") + (monomial.empty() ? over : over + "*" + monomial);
  }
  const std::string sum = c.rational + (negative ? "-" : "+") + root;
  return monomial.empty() ? sum : "(" + sum + ")*" + monomial;
}

std::string PlainRealPolynomial(const exact::RealPolynomial& p, const std::string& letters) {
  std::string out;
  for (const exact::RealTerm& term : p.terms) {
    const std::string text = PlainRealTerm(term, letters);
    out += (out.empty() || text.front() == '-') ? text : "+" + text;
  }
  return out;
}

// A factorisation over the reals: each factor over Q, in the order of the
// factorisation over Q, with its pieces.
struct RealAnswer {
  exact::RealFactorisation real;
  std::vector<std::pair<exact::RealPiece, int>> pieces;  // with the multiplicity of their factor
};

RealAnswer OverReals(const exact::RationalFactorisation& f, const std::string& letters) {
  RealAnswer answer;
  exact::RationalFactorisation ordered = f;
  ordered.factors = Ordered(f.factors, letters);
  answer.real = exact::OverReals(ordered);
  for (const exact::RealFactor& factor : answer.real.factors) {
    for (const exact::RealPiece& piece : factor.split.pieces) answer.pieces.emplace_back(piece, factor.multiplicity);
  }
  // The factors with rational coefficients first, as the text writes them.
  std::stable_partition(answer.pieces.begin(), answer.pieces.end(), [](const auto& piece) {
    return std::all_of(piece.first.polynomial.terms.begin(), piece.first.polynomial.terms.end(),
                       [](const exact::RealTerm& t) { return t.coefficient.radical == "0"; });
  });
  return answer;
}

std::string PlainRealFactorisation(const RealAnswer& answer, const std::string& letters) {
  std::string out;
  for (const auto& [piece, multiplicity] : answer.pieces) {
    if (!out.empty()) out += '*';
    const std::string text = PlainRealPolynomial(piece.polynomial, letters);
    out += piece.polynomial.terms.size() > 1 ? "(" + text + ")" : text;
    if (multiplicity > 1) out += "^" + std::to_string(multiplicity);
  }
  const std::string& content = answer.real.content;
  if (out.empty()) return content;
  if (content == "1") return out;
  if (content == "-1") return "-" + out;
  return content + "*" + out;
}

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      static const char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonLine(std::string_view typed, const exact::RationalFactorisation& f, const std::string& letters) {
  std::string out = "{\"input\": " + JsonString(typed) + ", \"content\": " + JsonString(f.content) + ", \"factors\": [";
  bool first = true;
  for (const exact::RationalFactor& factor : Ordered(f.factors, letters)) {
    out += first ? "" : ", ";
    first = false;
    out += "{\"factor\": " + JsonString(PlainPolynomial(factor.polynomial, letters)) +
           ", \"multiplicity\": " + std::to_string(factor.multiplicity) + "}";
  }
  return out + "], \"complete\": true}";
}

// The note on a piece left whole over the reals; empty where none.
std::string RealNote(const exact::RealPiece& piece) {
  if (piece.outcome == exact::RealOutcome::kNoRealRoot) return kRealNoRoot;
  if (piece.outcome == exact::RealOutcome::kLeftWhole) return RealLeftWholeNote(piece.realRoots);
  return {};
}

std::string JsonRealLine(std::string_view typed, const RealAnswer& answer, const std::string& letters) {
  std::string out = "{\"input\": " + JsonString(typed) + ", \"field\": \"real\", \"content\": " +
                    JsonString(answer.real.content) + ", \"factors\": [";
  bool first = true;
  for (const auto& [piece, multiplicity] : answer.pieces) {
    out += first ? "" : ", ";
    first = false;
    out += "{\"factor\": " + JsonString(PlainRealPolynomial(piece.polynomial, letters)) +
           ", \"multiplicity\": " + std::to_string(multiplicity);
    const std::string note = RealNote(piece);
    if (!note.empty()) out += ", \"note\": " + JsonString(note);
    out += "}";
  }
  return out + "], \"complete\": true}";
}

bool ReadSeconds(const std::string& text, double* seconds) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !(value > 0) || value > 1e6) return false;
  *seconds = value;
  return true;
}

}  // namespace

std::optional<FilterOptions> ReadFilterOptions(const std::vector<std::string>& arguments, std::string* why) {
  FilterOptions options;
  bool optionsEnd = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string argument = arguments[i];
    if (optionsEnd || argument.rfind("--", 0) != 0) {
      options.polynomials.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnd = true;
      continue;
    }
    if (argument == "--real") {
      options.real = true;
      continue;
    }
    std::string value;
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    if (name != "--format" && name != "--time-limit") {
      *why = "未知选项 / unknown option " + argument + "\n" + kUsage;
      return std::nullopt;
    }
    if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      *why = name + " 后面缺少值 / " + name + " needs a value\n" + kUsage;
      return std::nullopt;
    }
    if (name == "--format") {
      const std::pair<const char*, FilterFormat> formats[] = {{"text", FilterFormat::kText},
                                                              {"plain", FilterFormat::kPlain},
                                                              {"latex", FilterFormat::kLatex},
                                                              {"json", FilterFormat::kJson}};
      const auto found = std::find_if(std::begin(formats), std::end(formats),
                                      [&value](const auto& f) { return value == f.first; });
      if (found == std::end(formats)) {
        *why = "未知格式 / unknown format " + value + "\n" + kUsage;
        return std::nullopt;
      }
      options.format = found->second;
    } else if (!ReadSeconds(value, &options.timeLimit)) {
      *why = "时间限制必须是正数 (秒) / the time limit must be a positive number of seconds: " + value + "\n" + kUsage;
      return std::nullopt;
    }
  }
  return options;
}

ValueFactoriser FilterFactoriser(double timeLimit) {
  if (timeLimit > 0) {
    return [timeLimit](const format::RationalPolynomial& p, std::string* why) { return FactorInChild(p, timeLimit, why); };
  }
  return [](const format::RationalPolynomial& p, std::string* why) { return exact::FactorRationalExactly(p, why); };
}

FilterAnswer FactorTypedLine(std::string_view typed, FilterFormat format, Expander* expander,
                             const ValueFactoriser& factorise, bool real) {
  FilterAnswer answer;
  ConvertedText converted = ConvertTypedText(typed, expander);
  if (!converted.Accepted() && !converted.beyondSearch) {
    answer.reason = converted.refusal->message;
    return answer;
  }
  // A constant is a polynomial in a letter it does not use.
  std::string letters = converted.letters;
  format::RationalPolynomial value = converted.value;
  if (letters.empty()) {
    letters = "x";
    value.variables = 1;
    for (format::RationalTerm& term : value.terms) term.exponents.assign(1, 0);
  }
  std::string why;
  const std::optional<exact::RationalFactorisation> f = factorise(value, &why);
  if (!f) {
    answer.reason = why == "the polynomial is 0" ? "多项式为 0 / the polynomial is 0" : why;
    return answer;
  }
  if (!exact::MultipliesBack(value, *f)) {
    answer.reason = "内部错误: 分解乘回去不等于多项式 / internal error: the factorisation does not multiply back";
    return answer;
  }
  const Field field = real ? Field::kReal : Field::kRational;
  if (real) {
    const RealAnswer over = OverReals(*f, letters);
    if (!exact::MultipliesOutOverReals(value, over.real)) {
      answer.reason = "内部错误: 实数范围内的分解乘回去不等于多项式 / internal error: the factorisation over the reals "
                      "does not multiply back";
      return answer;
    }
    if (format == FilterFormat::kPlain) {
      answer.line = PlainPolynomial(value, letters) + " = " + PlainRealFactorisation(over, letters);
      return answer;
    }
    if (format == FilterFormat::kJson) {
      answer.line = JsonRealLine(typed, over, letters);
      return answer;
    }
  }
  switch (format) {
    case FilterFormat::kText:
      answer.line = Present(AsResultValue(value, letters, *f), "", "", true, {}, field).shown.Text();
      break;
    case FilterFormat::kLatex:
      answer.line = Present(AsResultValue(value, letters, *f), "", "", true, {}, field).latex;
      break;
    case FilterFormat::kPlain:
      answer.line = PlainPolynomial(value, letters) + " = " + PlainFactorisation(*f, letters);
      break;
    case FilterFormat::kJson: answer.line = JsonLine(typed, *f, letters); break;
  }
  return answer;
}

std::string FilterLineText(std::string_view line) {
  if (line.size() >= 3 && line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);  // a byte order mark
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; };
  while (!line.empty() && blank(line.front())) line.remove_prefix(1);
  while (!line.empty() && blank(line.back())) line.remove_suffix(1);
  if (!line.empty() && line.front() == '#') return {};
  return std::string(line);
}

int RunFilter(const FilterOptions& options, std::FILE* in, std::FILE* out, std::FILE* err) {
  const std::unique_ptr<Expander> expander = ExactExpander();
  const ValueFactoriser factorise = FilterFactoriser(options.timeLimit);
  int failed = 0;
  auto one = [&](const std::string& typed, long number) {
    const FilterAnswer answer = FactorTypedLine(typed, options.format, expander.get(), factorise, options.real);
    if (answer.line) {
      std::fprintf(out, "%s\n", answer.line->c_str());
      std::fflush(out);
      return;
    }
    ++failed;
    std::fprintf(err, "pfac: 第 %ld 行 / line %ld: %s\n", number, number, answer.reason.c_str());
    std::fflush(err);
  };
  if (!options.polynomials.empty()) {
    long number = 0;
    for (const std::string& argument : options.polynomials) {
      ++number;
      const std::string typed = FilterLineText(argument);
      if (!typed.empty()) one(typed, number);
    }
    return failed == 0 ? 0 : 1;
  }
  char* buffer = nullptr;
  size_t capacity = 0;
  long number = 0;
  for (ssize_t length; (length = getline(&buffer, &capacity, in)) >= 0;) {
    ++number;
    const std::string typed = FilterLineText(std::string_view(buffer, static_cast<size_t>(length)));
    if (!typed.empty()) one(typed, number);
  }
  std::free(buffer);
  return failed == 0 ? 0 : 1;
}

int RunFactorCommand(const std::vector<std::string>& arguments) {
  std::string why;
  const std::optional<FilterOptions> options = ReadFilterOptions(arguments, &why);
  if (!options) {
    std::fprintf(stderr, "pfac: %s\n", why.c_str());
    return 2;
  }
  return RunFilter(*options, stdin, stdout, stderr);
}
#else
int RunFactorCommand(const std::vector<std::string>&) {
  std::fprintf(stderr, "pfac: 这个版本没有精确分解程序, 不能分解 / this build has no exact factoriser: --factor cannot run\n");
  return 2;
}
#endif

}  // namespace pfac::frontend
