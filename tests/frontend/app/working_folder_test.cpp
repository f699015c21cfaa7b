// The folder the front end works in: chosen by how the program was started,
// and held by one front end at a time.
#include <QDir>
#include <QLockFile>
#include <QProcess>
#include <QTest>

#include "frontend/app/folder_lock.h"
#include "frontend/app/work_folder.h"
#include "tests/frontend/support/fakes.h"

namespace pfac::frontend {
namespace {

using testing::WorkFolder;

class WorkingFolderTest : public QObject {
  Q_OBJECT

 private slots:
  void workFolderFollowsHowTheProgramWasStarted();
  void secondFrontEndInTheFolder();
};

// From a build tree (./run.sh) the current folder; installed, the folder pfac
// under the home folder, wherever the program was started from.
void WorkingFolderTest::workFolderFollowsHowTheProgramWasStarted() {
  WorkFolder folder;
  QDir root(folder.Path());
  QVERIFY(root.mkpath("build/bin") && root.mkpath("usr/bin"));
  folder.Write("build/CMakeCache.txt", "");
  QCOMPARE(ChooseWorkFolder(root.filePath("build/bin"), "/home/student", "/src/pfac/work"), QString("/src/pfac/work"));
  QCOMPARE(ChooseWorkFolder(root.filePath("usr/bin"), "/home/student", "/"), QString("/home/student/pfac"));
}

// One front end per folder: a second is refused while the first runs, and a
// lock left by a front end that no longer runs is taken over.
void WorkingFolderTest::secondFrontEndInTheFolder() {
  WorkFolder folder;
  std::string why;
  {
    FolderLock first(folder.Path());
    QVERIFY(first.Take(&why));
    FolderLock second(folder.Path());
    QVERIFY(!second.Take(&why));
    QVERIFY2(QString::fromStdString(why).contains("Another pfac is already open"), why.c_str());

    // The program itself, started in the folder: it says so and does not open.
    QProcess pfac;
    pfac.setWorkingDirectory(folder.Path());
    pfac.start(QStringLiteral(PFAC_FRONTEND_BINARY), {});
    QVERIFY(pfac.waitForStarted());
    QString said;
    QTRY_VERIFY_WITH_TIMEOUT((said += QString::fromUtf8(pfac.readAllStandardError())).contains("Another pfac"), 20000);
    QVERIFY(said.contains(QString::number(QCoreApplication::applicationPid())));
    pfac.kill();  // its message box waits for a click
    pfac.waitForFinished();
  }

  // A lock left by a front end that no longer runs: the lock file as this
  // process writes it, with the number of a process that has ended.
  QByteArray content;
  {
    QLockFile own(QDir(folder.Path()).filePath(kFolderLockFile));
    QVERIFY(own.tryLock(0));
    content = folder.Read(kFolderLockFile);
  }
  QProcess ended;
  ended.start("true", {});
  QVERIFY(ended.waitForStarted());
  const qint64 gone = ended.processId();
  QVERIFY(ended.waitForFinished());
  folder.Write(kFolderLockFile, QByteArray::number(gone) + content.mid(content.indexOf('\n')));
  FolderLock third(folder.Path());
  QVERIFY2(third.Take(&why), why.c_str());
  QVERIFY(folder.Read(kFolderLockFile).startsWith(QByteArray::number(QCoreApplication::applicationPid()) + '\n'));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::WorkingFolderTest)
#include "working_folder_test.moc"
