#include "frontend/app/work_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace pfac::frontend {

QString ChooseWorkFolder(const QString& programFolder, const QString& homeFolder, const QString& currentFolder) {
  // A build tree holds CMake's cache one level above its bin folder.
  if (QFileInfo::exists(QDir(programFolder).filePath(QStringLiteral("../CMakeCache.txt")))) return currentFolder;
  return QDir(homeFolder).filePath(QString::fromLatin1(kUserWorkFolder));
}

bool EnterWorkFolder(QString* error) {
  const QString folder =
      ChooseWorkFolder(QCoreApplication::applicationDirPath(), QDir::homePath(), QDir::currentPath());
  if (!QDir().mkpath(folder) || !QDir::setCurrent(folder)) {
    *error = QStringLiteral("无法建立或进入工作文件夹 %1。\n(The working folder %1 cannot be made or entered.)")
                 .arg(folder);
    return false;
  }
  return true;
}

}  // namespace pfac::frontend
