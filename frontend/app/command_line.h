// The front end's command line, one mode a row of a table:
//   pfac                                          the windows
//   pfac --worksheet [--steps] [--with-graphs] LIST.txt OUT.pdf [--real]
//                                                 a worksheet without any window
//   pfac --explain POLYNOMIAL [--real]            the steps of its factorisation
//   pfac --factor [OPTIONS] [POLY ...]            the filter for scripts, without Qt
//   pfac --graph POLYNOMIAL OUT.png|OUT.pdf [--real]   the graph of y = f(x) as a picture
//   pfac --help, pfac --version
// A mode shows no window, takes no folder lock and needs no display (Qt's
// offscreen platform is chosen when none is set); an option that is no mode
// gets the usage on standard error and the status 2. Every message is in
// Chinese and English, and Qt's own diagnostics do not reach the user. The
// problems are factored in folders of their own. The worksheet writes a line for each problem to
// standard output and saves OUT.pdf (with the steps, and the graphs of the
// answers in one letter, in its answer key when asked); the explanation prints the steps, one a line, and the
// factorisation last.
#pragma once

#include <QStringList>
#include <cstdio>
#include <optional>
#include <vector>

namespace pfac::frontend {

// A mode of the command line: its option, the arguments it takes and what it
// does, as the usage shows them, and what runs it with the arguments after
// the option. A mode that needs no Qt application (--help) runs before any is
// made.
struct CommandLineMode {
  const char* option;
  const char* arguments;
  const char* meaning;  // Chinese / English
  int (*run)(const QStringList& arguments);
  bool needsApplication;
};

const std::vector<CommandLineMode>& CommandLineModes();

// The usage: a line for the windows and one for each mode.
QString Usage();

// The command line's mode run, when the arguments ask for one (its exit
// status), or the usage told on standard error (status 2) when they are not
// understood; nullopt when there are none and the windows are to open.
std::optional<int> RunCommandLine(int argc, char* argv[]);

// Qt's diagnostics ("QPainter::begin(): Returned false") are left out of what
// the user reads; PFAC_QT_MESSAGES=1 in the environment keeps them.
void KeepQtDiagnosticsQuiet();

// A line to a stream, flushed.
void Say(std::FILE* stream, const QString& text);

inline constexpr char kWorksheetOption[] = "--worksheet";
inline constexpr char kStepsOption[] = "--steps";
inline constexpr char kWithGraphsOption[] = "--with-graphs";
// Over the reals, with square roots: for --worksheet, --explain and --graph
// (the roots labelled with square roots), in any place among their arguments.
inline constexpr char kRealOption[] = "--real";
inline constexpr char kExplainOption[] = "--explain";
inline constexpr char kGraphOption[] = "--graph";
inline constexpr char kHelpOption[] = "--help";
inline constexpr char kVersionOption[] = "--version";

// The exit status: 0 when every line was read, 1 when any line was refused
// (the PDF is made all the same), 2 when the list, the engine or the PDF file
// failed. The arguments are those after --worksheet.
int RunWorksheetCommand(const QStringList& arguments);

// The exit status: 0 when the factorisation is known complete and its steps
// were printed, 1 when the text was refused, 2 when the engine gave no
// complete factorisation (what it gave is printed). The argument is the one
// after --explain.
int RunExplainCommand(const QStringList& arguments);

// The exit status: 0 when the picture was written (and the real roots told
// on standard output, one line), 1 when the text was refused or is no
// polynomial in one letter, 2 when the picture could not be written. The
// arguments are those after --graph.
int RunGraphCommand(const QStringList& arguments);

}  // namespace pfac::frontend
