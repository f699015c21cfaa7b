// jg.dat as the tests hand it to the front end: files of earlier runs of the
// engine kept under data/ (runs that take minutes or keys), the real engine
// run on a polynomial, and a file's content as its lines.
#pragma once

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <string>
#include <vector>

#include "tests/frontend/support/fakes.h"

namespace pfac::frontend::testing {

// The certificate line that ends a complete result.
inline const QByteArray kCompleteCertificate =
    "验证: 结果完整, 每个因式在有理数域上不可约 / verified: the factorisation is complete, every factor is "
    "irreducible over Q\r\n";

inline QByteArray DataFile(const char* name) {
  QFile file(QStringLiteral(PFAC_FRONTEND_TEST_DATA "/") + name);
  if (!file.open(QIODevice::ReadOnly)) qFatal("no test file %s", name);
  return file.readAll();
}

// The real engine on what DXS.DAT holds in the folder, standard input at its end.
// It is killed when the test process ends, however that ends.
inline void RunEngineIn(const QString& folder) {
  QProcess engine;
  engine.setWorkingDirectory(folder);
  engine.setStandardInputFile(QProcess::nullDevice());
  const pid_t test = getpid();
  engine.setChildProcessModifier([test] {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != test) _exit(127);
  });
  engine.start(QStringLiteral(PFAC_ENGINE_BINARY), {});
  if (!engine.waitForFinished(60000)) qWarning("the engine did not end");
}

// The lines of a result file, line ends removed; empty lines are left out.
inline std::vector<std::string> ResultLines(const QByteArray& content) {
  std::vector<std::string> lines;
  for (QByteArray line : content.split('\n')) {
    if (line.endsWith('\r')) line.chop(1);
    if (!line.isEmpty()) lines.push_back(line.toStdString());
  }
  return lines;
}

}  // namespace pfac::frontend::testing
