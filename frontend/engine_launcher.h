// Starting the engine in a terminal window of its own.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace pfac::frontend {

// The engine's program file name, beside the front end's.
inline constexpr char kEngineProgram[] = "pfac-engine";

// Which engine to start and the folder it works in (the one that holds
// DXS.DAT and jg.dat).
struct EngineStart {
  QString program;
  QString folder;
};

// Starts the engine without waiting for it. False, with the reason in *error,
// when it cannot be started.
using EngineLauncher = std::function<bool(const EngineStart& start, QString* error)>;

// The engine beside the running front end, working in the current folder.
EngineStart EngineBesideFrontEnd();

// The terminal's arguments: an 80 x 25 window, UTF-8, white on black, a
// monospace font with a Chinese font for double-width characters, kept open
// after the engine ends so that its last lines can be read.
QStringList TerminalArguments(const QString& engineProgram);

// Starts the engine in a new window of the terminal program (xterm, looked up
// in PATH).
bool StartEngineInTerminal(const EngineStart& start, QString* error,
                           const QString& terminal = QStringLiteral("xterm"));

}  // namespace pfac::frontend
