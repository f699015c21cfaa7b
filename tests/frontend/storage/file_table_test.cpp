// Files by number: written as quoted lines, read line by line whatever the
// line ends, and refused when they cannot be read or made.
#include <QDir>
#include <QTest>

#include "frontend/storage/file_table.h"
#include "tests/frontend/support/fakes.h"

namespace pfac::frontend {
namespace {

using testing::WorkFolder;

class FileTableTest : public QObject {
  Q_OBJECT

 private slots:
  void fileTableWritesQuotedLinesAndReadsLines();
  void fileTableRefusesWhatItCannotRead();
};

void FileTableTest::fileTableWritesQuotedLinesAndReadsLines() {
  WorkFolder folder;
  FileTable files;
  QVERIFY(files.OpenForOutput(1, "out.dat"));
  QVERIFY(files.WriteQuotedLine(1, "x + 1"));
  QVERIFY(files.Close(1));
  QCOMPARE(folder.Read("out.dat"), QByteArray("\"x + 1\"\r\n"));

  // Opening again empties the file.
  QVERIFY(files.OpenForOutput(1, "out.dat"));
  files.CloseAll();
  QCOMPARE(folder.Read("out.dat"), QByteArray());

  folder.Write("in.dat", "first\r\nsecond\nthird\r\r\nlast");
  QVERIFY(files.OpenForInput(3, "in.dat"));
  QStringList lines;
  while (!files.AtEnd(3)) lines << QString::fromStdString(files.ReadLine(3));
  QCOMPARE(lines, QStringList({"first", "second", "third", "", "last"}));
  QVERIFY(files.IsOpen(3));
  QVERIFY(files.Close(3));
  QVERIFY(!files.IsOpen(3));
  QVERIFY(files.Close(3));  // closing a closed number does nothing
}

void FileTableTest::fileTableRefusesWhatItCannotRead() {
  WorkFolder folder;
  FileTable files;
  QVERIFY(!files.OpenForInput(3, "missing.dat"));
  QVERIFY(QDir(folder.Path()).mkdir("folder.dat"));
  QVERIFY(!files.OpenForInput(3, "folder.dat"));
  QVERIFY(!files.IsOpen(3));
  QVERIFY(files.AtEnd(3));
  QVERIFY(!files.OpenForOutput(1, "no-such-folder/out.dat"));
  QVERIFY(!files.WriteQuotedLine(1, "x"));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_APPLESS_MAIN(pfac::frontend::FileTableTest)
#include "file_table_test.moc"
