// The worksheet from the command line, for scripts:
//   pfac --worksheet LIST.txt OUT.pdf
// No window is shown and no display is needed; the problems are factored in
// folders of their own, a line for each is written to standard output, and
// the worksheet is saved as OUT.pdf.
#pragma once

#include <QStringList>

namespace pfac::frontend {

inline constexpr char kWorksheetOption[] = "--worksheet";

// The exit status: 0 when every line was read, 1 when any line was refused
// (the PDF is made all the same), 2 when the list, the engine or the PDF file
// failed. The arguments are those after --worksheet.
int RunWorksheetCommand(const QStringList& arguments);

}  // namespace pfac::frontend
