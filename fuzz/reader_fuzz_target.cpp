// The front end's reader of typed text and the filter's handling of the lines
// of a file, fed arbitrary bytes: the bytes as one typed text, and as the file
// that `pfac --factor` reads. Fails when a text that is read does not read
// back to itself once written in the engine's syntax (the same text, the same
// value), or when the filter writes an answer that is empty or does not
// multiply back. A crash, a hang or memory exhausted is a failure of its own
// (the sanitizers and libFuzzer's limits see to that). Built without Qt: the
// reader, the filter and the presentation use none.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "engine/exact/rational_factor.h"
#include "frontend/filter/factor_filter.h"
#include "frontend/input/typed_input.h"

namespace {

using namespace pfac;

[[noreturn]] void Fail(const char* what, std::string_view text) {
  std::fprintf(stderr, "reader fuzz target: %s: %.*s\n", what, static_cast<int>(std::min<size_t>(text.size(), 300)),
               text.data());
  std::abort();
}

// The exact factoriser in this process, for polynomials small enough to be
// factored at once; larger ones are passed over as a time limit would stop
// them.
std::optional<exact::RationalFactorisation> FactorSmall(const format::RationalPolynomial& p, std::string* why) {
  int degree = 0;
  for (const format::RationalTerm& term : p.terms) {
    int d = 0;
    for (int32_t e : term.exponents) d += e;
    degree = std::max(degree, d);
  }
  if (p.terms.size() > 40 || degree > 40) {
    *why = "passed over";
    return std::nullopt;
  }
  return exact::FactorRationalExactly(p, why);
}

void CheckTypedText(std::string_view typed, frontend::Expander* expander) {
  const frontend::ConvertedText converted = frontend::ConvertTypedText(typed, expander);
  if (!converted.Accepted() && !converted.beyondSearch) {
    if (converted.refusal->message.empty()) Fail("a refusal without a message", typed);
    return;
  }
  if (converted.text.empty() || converted.value.terms.empty()) Fail("an accepted text without a value", typed);
  const frontend::ConvertedText again = frontend::ConvertTypedText(converted.text, expander);
  if (again.text != converted.text || again.beyondSearch != converted.beyondSearch ||
      again.value.terms.size() != converted.value.terms.size()) {
    Fail("the written text does not read back to itself", typed);
  }
}

void CheckFilterLines(std::string_view file, frontend::Expander* expander) {
  const frontend::ValueFactoriser factorise = FactorSmall;
  for (size_t start = 0; start <= file.size();) {
    size_t end = file.find('\n', start);
    if (end == std::string_view::npos) end = file.size();
    const std::string typed = frontend::FilterLineText(file.substr(start, end - start));
    start = end + 1;
    if (typed.empty()) continue;
    for (const frontend::FilterFormat format : {frontend::FilterFormat::kPlain, frontend::FilterFormat::kJson}) {
      const frontend::FilterAnswer answer = frontend::FactorTypedLine(typed, format, expander, factorise);
      if (answer.line ? answer.line->empty() : answer.reason.empty()) Fail("an answer without a text", typed);
      if (!answer.line && answer.reason.rfind("内部错误", 0) == 0) Fail(answer.reason.c_str(), typed);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::unique_ptr<frontend::Expander> expander = frontend::ExactExpander();
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  CheckTypedText(bytes, expander.get());
  CheckFilterLines(bytes, expander.get());
  return 0;
}
