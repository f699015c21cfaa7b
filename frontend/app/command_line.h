// The worksheet and the steps of one factorisation from the command line,
// for scripts:
//   pfac --worksheet [--steps] LIST.txt OUT.pdf
//   pfac --explain POLYNOMIAL
// No window is shown and no display is needed; the problems are factored in
// folders of their own. The worksheet writes a line for each problem to
// standard output and saves OUT.pdf (with the steps in its answer key when
// asked); the explanation prints the steps, one a line, and the
// factorisation last.
#pragma once

#include <QStringList>

namespace pfac::frontend {

inline constexpr char kWorksheetOption[] = "--worksheet";
inline constexpr char kStepsOption[] = "--steps";
inline constexpr char kExplainOption[] = "--explain";

// The exit status: 0 when every line was read, 1 when any line was refused
// (the PDF is made all the same), 2 when the list, the engine or the PDF file
// failed. The arguments are those after --worksheet.
int RunWorksheetCommand(const QStringList& arguments);

// The exit status: 0 when the factorisation is known complete and its steps
// were printed, 1 when the text was refused, 2 when the engine gave no
// complete factorisation (what it gave is printed). The argument is the one
// after --explain.
int RunExplainCommand(const QStringList& arguments);

}  // namespace pfac::frontend
