// The result of a run as the main window shows it: the polynomial and its
// factorisation as a student writes them, read from jg.dat with the reading
// rules of the print command, and what the engine said about the run.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pfac::frontend {

// How the run ended, as far as jg.dat tells.
enum class RunEnd {
  Finished,       // the search went through; a certificate may say more
  Certified,      // the certificate says the factorisation is complete
  Incomplete,     // stopped (X key, time limit, a signal), late mode, or not complete
  InternalError,  // the exact factorisation and the search disagree
};

struct RunResult {
  std::string polynomial;     // x³ - 6x² + 4x + 15
  std::string factorisation;  // (x - 3)(x² - 3x - 5); empty when the run gave none
  std::string plainText;      // x^3-6x^2+4x+15 = (x-3)(x^2-3x-5); empty without a factorisation
  std::vector<std::string> notes;  // the certificate and the engine's notes, or what became of the run
  RunEnd end = RunEnd::Finished;
};

// The result that the lines of jg.dat (line ends removed) hold. The polynomial
// is the echo in line 1; the factorisation is the last result line that holds
// factors, with its runs of equal factors collapsed as on paper. A result line
// that follows a certificate line (a complete factorisation given where the
// search's was not) is the factorisation.
RunResult ReadRunResult(const std::vector<std::string>& lines);

// A polynomial or product in the engine's file form (" 2x^ 2 - 3x + 4",
// "(x - 1)^ 2") as a student writes it: "2x² - 3x + 4", "(x - 1)²".
std::string StudentForm(std::string_view engineText);
// The same as plain text without blanks: "2x^2-3x+4", "(x-1)^2".
std::string PlainForm(std::string_view engineText);

// True when the result file was written after the hand-off file (both exist):
// only then is it the result of the polynomial handed off.
bool ResultIsNewer(const std::filesystem::path& resultFile, const std::filesystem::path& handOffFile);

}  // namespace pfac::frontend
