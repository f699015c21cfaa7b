// The grammar of a result line of jg.dat, in one place for the engine, the
// front end and the tests' checks on the engine:
// - the values a segment stands for (ResultProduct) and the reader and the
//   writer between them and the text: "=- 3/ 2x(x - 1)(x^ 2 + 1)";
// - the record of the values as the engine's writers write the text
//   (ResultRecord), which the certificate judges;
// - the two rules of which line counts: the line the certificate judges (the
//   search's last result segment) and the line a reader presents (after a
//   "not complete" certificate, the complete line that follows it).
// No factoring library: the engine, the front end and the tests link it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/result_format/polynomials.h"

namespace pfac::format {

// The largest exponent a result line is read with.
inline constexpr int32_t kLargestReadExponent = 100000;

// One "=" segment of a result line: sign, content and common denominator,
// common monomial and the factors in parentheses, each as often as written.
struct ResultProduct {
  int64_t numerator = 1;    // with the sign of the segment
  int64_t denominator = 1;  // positive
  Exponents monomial{};
  std::vector<LetterPoly> factors;
  // The line does not hold this value in a form that can be read back: a
  // number written rounded (beyond the exact range, or not an integer), or a
  // letter outside a-z.
  bool unreadable = false;
  bool operator==(const ResultProduct& other) const = default;
};

// ---- text in, values out -------------------------------------------------
// One segment, "=" included; nullopt when it is not a segment as the engine
// writes one (a number written rounded, a "(" without its ")", text after
// the last factor). A factor's coefficients may be of any length; the
// content's fit 64 bits.
std::optional<ResultProduct> ReadResultSegment(std::string_view segment);

// ---- values in, text out -------------------------------------------------
// One factor as the engine writes it, parentheses included: the form of one
// variable ("(x^ 2 - 3x - 5)") when oneVariable is set, the form of several
// otherwise ("(x^ 2- xy+ y^ 2)"); terms ordered by the letters of `order`
// (the order in which the user wrote them).
std::string ResultFactorText(const LetterPoly& p, const std::string& order, bool oneVariable);
// A whole segment: "=", the sign, the content ("- 3/ 2"), the monomial in the
// letters of `order` ("y^ 2x"), then each factor as ResultFactorText writes it.
std::string ResultSegmentText(const ResultProduct& values, const std::string& order, bool oneVariable);

// ---- which line counts ---------------------------------------------------
// What the rule of the judged line looks at in a line of jg.dat.
struct LineShape {
  bool echo = false;            // line 1: the polynomial as entered
  bool startsSegment = false;   // it begins with "="
  bool holdsFactor = false;     // a factor in parentheses stands in a segment of it
  bool expandedProduct = false; // the expanded products of a split ("[...]")
};
// The line can hold the result that the certificate judges: not the echo's,
// beginning with "=", holding a factor, not an expanded product.
bool HoldsResult(const LineShape& line);
// The shape of a line of jg.dat's text.
LineShape ShapeOf(std::string_view line, bool echo);

// The lines of a text, line ends ("\n" or "\r\n") removed.
std::vector<std::string> LinesOf(std::string_view text);
// The last "=" segment of a line (the whole line when it has no "=").
std::string_view LastSegment(std::string_view line);

// The segment the certificate judges: the last segment of the last line that
// holds a result (HoldsResult), up to the lines that follow the result; empty
// when there is none. The marks of a stopped search ("=....", "=...") hold no
// factor and are passed over.
std::string JudgedSegment(const std::vector<std::string>& lines);

// The segment a reader presents, and what it follows.
struct Presented {
  std::string segment;          // without its "=", blanks at the ends removed; empty when none
  bool afterCertificate = false;  // the complete line that followed a certificate
};
// A line beginning with "=" right after a certificate (the complete
// factorisation where the search's was not) is presented; otherwise the
// judged segment, with the lines' leading blanks disregarded; otherwise the
// one-term result on the echo's line ("=0", "4x^ 3").
Presented PresentedSegment(const std::vector<std::string>& lines);

// ---- the values recorded while the text is written -----------------------
// The result lines of jg.dat as values, recorded by the engine's writers as
// they write each piece: the certificate judges these, never the text read
// back. Which segment it judges follows the rule of HoldsResult, as the text
// would: the last segment of the last line that begins with "=" and holds a
// factor, the echo's line excepted.
class ResultRecord {
 public:
  // "=" and the common factor: a segment of the line being written begins.
  void OpenSegment(ResultProduct common);
  // A factor written into the segment open on this line.
  void AddFactor(LetterPoly factor);
  // A piece of the open segment written in a form that cannot be read back.
  void MarkUnreadable();
  // The line being written ends.
  void EndLine();
  // The segment the certificate judges; nullopt when no line holds a factor.
  std::optional<ResultProduct> Judged() const;
  // The last segment written, on whatever line: "=0" and a single term stand
  // on the echo's line, without a factor.
  const std::optional<ResultProduct>& Latest() const { return segment_; }

 private:
  // What the line being written began with: "=" (a segment), or a factor
  // written before any segment.
  enum class LineStart { kNothingYet, kSegment, kFactor };

  std::optional<ResultProduct> segment_;   // the last segment opened
  bool segmentOnLine_ = false;             // it was opened on the line being written
  LineStart lineStart_ = LineStart::kNothingYet;  // what the line being written began with
  bool lineHasFactor_ = false;             // a factor was written into a segment of this line
  bool firstLine_ = true;                  // the line being written is the echo's
  std::optional<ResultProduct> lastLine_;  // the last segment of the last finished line that held a factor

  // The shape of the line being written.
  LineShape Shape() const;
};

}  // namespace pfac::format
