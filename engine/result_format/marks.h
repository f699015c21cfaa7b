// What the lines of jg.dat begin with beside the echo and the result lines:
// the marks of a search cut short, the lines that follow the result, and the
// lines of a run that ended before its result. The engine writes them; its
// results display, the front end and the tests read them, all through these
// names.
#pragma once

#include <string_view>

namespace pfac::marks {

// A line of its own after the result: a search of the run was stopped by the
// X key or its time limit, so the last factor may split further.
inline constexpr std::string_view kSearchStopped = "=....";
// A line of its own after the result: the search switched to the highest
// degree only (the late mode).
inline constexpr std::string_view kLateSearch = "=...";

// The lines that follow the result: a factor taken from the exact
// factorisation, the certificate, and an internal error in its place.
inline constexpr std::string_view kExactNote = "精确分解给出因式 ";
inline constexpr std::string_view kCertificate = "验证: ";
inline constexpr std::string_view kInternalError = "内部错误: ";

// A run that ended before its result: stopped (a value out of range, a file
// that could not be made, a signal), or without a pending factor it could not
// read back.
inline constexpr std::string_view kRunStopped = "Stopped";
inline constexpr std::string_view kPendingLost = "Incomplete";

// The kinds of certificate, by the words that follow kCertificate.
enum class CertificateKind {
  kNone,         // not a certificate line
  kComplete,     // every factor irreducible over Q
  kNotComplete,  // a factor still splits; the complete factorisation follows
  kUnverified,   // the exact factorisation was not at hand
};
inline constexpr std::string_view kCompleteWords = "结果完整, ";
inline constexpr std::string_view kNotCompleteWords = "结果不完整, ";
inline constexpr std::string_view kUnverifiedWords = "未验证, ";

inline bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// The kind of the certificate that line (without leading blanks) holds.
inline CertificateKind KindOfCertificate(std::string_view line) {
  if (!StartsWith(line, kCertificate)) return CertificateKind::kNone;
  const std::string_view words = line.substr(kCertificate.size());
  if (StartsWith(words, kCompleteWords)) return CertificateKind::kComplete;
  if (StartsWith(words, kNotCompleteWords)) return CertificateKind::kNotComplete;
  if (StartsWith(words, kUnverifiedWords)) return CertificateKind::kUnverified;
  return CertificateKind::kNone;
}

}  // namespace pfac::marks
