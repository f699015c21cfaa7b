#include "frontend/app/folder_lock.h"

#include <QDir>

namespace pfac::frontend {

FolderLock::FolderLock(const QString& folder)
    : folder_(folder), lock_(QDir(folder).filePath(QString::fromLatin1(kFolderLockFile))) {
  // A lock is stale only when its front end no longer runs, however long it
  // has been held.
  lock_.setStaleLockTime(0);
}

bool FolderLock::Take(std::string* why) {
  if (lock_.tryLock(0)) return true;
  if (lock_.error() == QLockFile::LockFailedError) {
    qint64 pid = 0;
    QString host, program;
    lock_.getLockInfo(&pid, &host, &program);
    const QString message =
        QStringLiteral("在文件夹 %1 中已经打开了一个因式分解程序 (进程 %2)。请使用那个窗口。\n"
                       "(Another pfac is already open in the folder %1, process %2; please use that window.)")
            .arg(QDir::toNativeSeparators(folder_))
            .arg(pid);
    *why = message.toStdString();
    return false;
  }
  *why = QStringLiteral("无法在文件夹 %1 中建立锁文件 %2。\n(The lock file %2 cannot be made in the folder %1.)")
             .arg(QDir::toNativeSeparators(folder_), QString::fromLatin1(kFolderLockFile))
             .toStdString();
  return false;
}

}  // namespace pfac::frontend
