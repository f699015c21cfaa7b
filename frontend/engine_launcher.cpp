#include "frontend/engine_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace pfac::frontend {

EngineStart EngineBesideFrontEnd() {
  return {QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kEngineProgram)),
          QDir::currentPath()};
}

QStringList TerminalArguments(const QString& engineProgram) {
  return {QStringLiteral("-u8"),
          QStringLiteral("-fa"), QStringLiteral("DejaVu Sans Mono"),
          QStringLiteral("-fd"), QStringLiteral("WenQuanYi Micro Hei"),
          QStringLiteral("-fs"), QStringLiteral("12"),
          QStringLiteral("-geometry"), QStringLiteral("80x25"),
          QStringLiteral("-bg"), QStringLiteral("black"),
          QStringLiteral("-fg"), QStringLiteral("grey"),
          QStringLiteral("-T"), QStringLiteral("因式分解 (pfac-engine)"),
          QStringLiteral("-hold"),
          // -e takes the rest of the line as the command.
          QStringLiteral("-e"), engineProgram};
}

bool StartEngineInTerminal(const EngineStart& start, QString* error, const QString& terminal) {
  const QFileInfo engine(start.program);
  if (!engine.isFile() || !engine.isExecutable()) {
    *error = QStringLiteral("找不到分解程序 %1。\n(The engine %1 was not found.)").arg(start.program);
    return false;
  }
  const QString terminalPath = QStandardPaths::findExecutable(terminal);
  if (terminalPath.isEmpty()) {
    *error = QStringLiteral("找不到终端程序 %1，无法启动分解程序。\n"
                            "(The terminal program %1 was not found; the engine cannot be started.)")
                 .arg(terminal);
    return false;
  }
  if (!QProcess::startDetached(terminalPath, TerminalArguments(start.program), start.folder)) {
    *error = QStringLiteral("无法启动终端程序 %1。\n(The terminal program %1 could not be started.)")
                 .arg(terminalPath);
    return false;
  }
  return true;
}

}  // namespace pfac::frontend
