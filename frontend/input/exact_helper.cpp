#include "frontend/input/exact_helper.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

#include "engine/exact/protocol.h"

namespace pfac::frontend {

HelperExpander::HelperExpander(QString program, int timeoutMs) : program_(std::move(program)), timeoutMs_(timeoutMs) {}

std::optional<exact::RationalPolynomial> HelperExpander::Expand(const exact::ExpansionProgram& program,
                                                               std::string* why) {
  QProcess helper;
  helper.setStandardErrorFile(QProcess::nullDevice());
  // The helper ends with the front end: it checks that its parent is this one.
  helper.start(program_, {QString::number(QCoreApplication::applicationPid())});
  if (!helper.waitForStarted(timeoutMs_)) {
    *why = "pfac-exact cannot be started (" + program_.toStdString() + ")";
    return std::nullopt;
  }
  helper.write(QByteArray::fromStdString(exact::ExpansionRequestText(program)));
  helper.closeWriteChannel();
  if (!helper.waitForFinished(timeoutMs_)) {
    helper.kill();
    helper.waitForFinished(1000);
    *why = "pfac-exact gave no answer within " + std::to_string(timeoutMs_ / 1000) + " s";
    return std::nullopt;
  }
  return exact::ReadExpansionAnswer(helper.readAllStandardOutput().toStdString(), why);
}

std::unique_ptr<Expander> ExpanderBesideFrontEnd() {
#ifdef PFAC_EXACT
  return std::make_unique<HelperExpander>(
      QDir(QCoreApplication::applicationDirPath()).filePath(QString::fromLatin1(kExactHelperProgram)));
#else
  return nullptr;
#endif
}

}  // namespace pfac::frontend
