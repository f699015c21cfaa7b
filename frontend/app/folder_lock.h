// One front end per working folder: the main window, its engine and its
// history share DXS.DAT, jg.dat and the history file of the folder, so a
// second front end started there says that another is open and ends. The
// lock is a file of the folder, taken over when the front end that made it
// no longer runs.
#pragma once

#include <QLockFile>
#include <QString>
#include <string>

namespace pfac::frontend {

inline constexpr char kFolderLockFile[] = "pfac.lock";

class FolderLock {
 public:
  explicit FolderLock(const QString& folder);
  // Released when the front end ends.
  ~FolderLock() = default;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // True when this front end now holds the folder; false, with what to tell
  // the user in *why, when another front end holds it or the lock cannot be
  // made.
  bool Take(std::string* why);

 private:
  QString folder_;
  QLockFile lock_;
};

}  // namespace pfac::frontend
