// The main window clicked as a user clicks it: the states of its controls,
// DXS.DAT, and the engine box with the engine launcher replaced.
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "frontend/PFAC1.h"
#include "frontend/engine_launcher.h"
#include "tests/frontend/support/main_window_parts.h"

namespace pfac::frontend {
namespace {

using testing::WorkFolder;

const QString kError = QStringLiteral("输入错误！");

// The main window, shown, in a folder of its own.
struct Fixture : testing::MainWindowParts {
  std::unique_ptr<PFAC1> window = MakeMainWindow();

  Fixture() { testing::ShowAndWait(window.get()); }

  template <typename T>
  T* Find(const char* name) const {
    T* widget = window->findChild<T*>(QString::fromLatin1(name));
    if (widget == nullptr) qFatal("no control %s", name);
    return widget;
  }
  QLineEdit* Text2() const { return Find<QLineEdit>("Text2"); }
  EngineBox* OLE1() const { return Find<EngineBox>("OLE1"); }
  QStringList Picture1() const { return window->Picture1()->Lines(); }

  void Click(const char* button) { testing::ClickButton(window.get(), button); }
  void Submit(const QString& text) {
    Text2()->setText(text);
    Click("CmdWANCHANG");
  }
  void DoubleClickEngineBox() { QTest::mouseDClick(OLE1(), Qt::LeftButton); }
};

// The enabled flags of 输入多项式, 输入完毕, 重新输入, 打印 and whether the
// engine box is active, as a string such as "01100" for easy comparison.
QString Flags(const Fixture& f) {
  QString flags;
  for (const char* name : {"Cmdshuru", "CmdWANCHANG", "CmdCHONGSHU", "cmddayin"}) {
    flags += f.Find<QPushButton>(name)->isEnabled() ? '1' : '0';
  }
  flags += f.OLE1()->IsActive() ? '1' : '0';
  return flags;
}

bool Text2Focused(const Fixture& f) { return f.window->focusWidget() == f.Text2(); }

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void controlsCarryTheirNamesAndCaptions();
  void stateTableClickedThrough();
  void handOffFileByteForByte();
  void characterCheck_data();
  void characterCheck();
  void engineBoxStartsNothingWhileInactive();
  void engineBoxStartsEngineBesideFrontEnd();
  void failedEngineStartIsTold();
  void terminalLauncherRefusesWhatIsMissing();
};

void MainWindowTest::controlsCarryTheirNamesAndCaptions() {
  Fixture f;
  QCOMPARE(f.window->objectName(), QString("PFAC1"));
  QCOMPARE(f.window->windowTitle(), QStringLiteral("一元和多元多项式的因式分解"));
  const std::pair<const char*, QString> buttons[] = {
      {"Cmdshuru", QStringLiteral("输入多项式")}, {"CmdWANCHANG", QStringLiteral("输入完毕")},
      {"CmdCHONGSHU", QStringLiteral("重新输入")}, {"cmddayin", QStringLiteral("打印")},
      {"Cmdbangzhu", QStringLiteral("简介")},     {"Cmdtuichu", QStringLiteral("退出")}};
  for (const auto& [name, caption] : buttons) QCOMPARE(f.Find<QPushButton>(name)->text(), caption);
  QCOMPARE(f.Find<QLabel>("Label8")->text().size(), 53);
  QCOMPARE(f.Find<QLabel>("Label9")->text().size(), 112);
  QVERIFY(f.Find<QLabel>("Label9")->isVisible());
  QVERIFY(f.Find<PrintSurface>("Picture1") == f.window->Picture1());
  QVERIFY(f.OLE1()->findChild<QLabel*>()->text() == QStringLiteral("双击此处分解"));
}

void MainWindowTest::stateTableClickedThrough() {
  Fixture f;
  // Loaded: typing, the box visible and empty.
  QCOMPARE(Flags(f), QString("01100"));
  QVERIFY(f.Text2()->isVisible());
  QCOMPARE(f.Text2()->text(), QString());
  QVERIFY(!f.OLE1()->isEnabled());  // greyed

  // 输入完毕 with an accepted text.
  f.Submit("x^3-6x^2+4x+15");
  QCOMPARE(Flags(f), QString("10011"));
  QCOMPARE(f.Text2()->text(), QString("x^3-6x^2+4x+15"));
  QCOMPARE(f.Picture1(), QStringList{"x^3-6x^2+4x+15"});

  // 输入多项式: typing again, the messages gone, the box focused.
  f.Click("Cmdshuru");
  QCOMPARE(Flags(f), QString("01100"));
  QCOMPARE(f.Text2()->text(), QString());
  QVERIFY(f.Picture1().isEmpty());
  QVERIFY(Text2Focused(f));

  // 输入完毕 with a refused text: the error, the box focused, 输入完毕 again.
  f.Submit("2*x");
  QCOMPARE(Flags(f), QString("11011"));
  QCOMPARE(f.Picture1(), (QStringList{"2*x", kError}));
  QCOMPARE(f.Text2()->text(), QString("2*x"));
  QVERIFY(Text2Focused(f));

  // Corrected in place and submitted again.
  f.Submit("2x");
  QCOMPARE(Flags(f), QString("10011"));
  QCOMPARE(f.Picture1(), QStringList{"2x"});

  // 输入完毕 with an empty text.
  f.Click("Cmdshuru");
  f.Click("CmdWANCHANG");
  QCOMPARE(Flags(f), QString("11011"));
  QCOMPARE(f.Picture1(), (QStringList{"", kError}));
  QVERIFY(Text2Focused(f));

  // 重新输入 while typing: the text thrown away, the box focused.
  f.Click("Cmdshuru");
  f.Text2()->setText("x+");
  f.Find<QPushButton>("Cmdbangzhu")->setFocus();
  f.Click("CmdCHONGSHU");
  QCOMPARE(Flags(f), QString("01100"));
  QCOMPARE(f.Text2()->text(), QString());
  QVERIFY(f.Text2()->isVisible());
  QVERIFY(Text2Focused(f));
  QVERIFY(f.dialogs.shown.empty());
}

void MainWindowTest::handOffFileByteForByte() {
  Fixture f;
  f.Submit("x^3-6x^2+4x+15");
  QCOMPARE(f.folder.Read("DXS.DAT"), QByteArray("\"x^3-6x^2+4x+15\"\r\n"));

  // A refused text is written all the same, blank included.
  f.Click("Cmdshuru");
  f.Submit("x^2 - 1");
  QCOMPARE(f.folder.Read("DXS.DAT"), QByteArray("\"x^2 - 1\"\r\n"));
  QCOMPARE(f.Picture1(), (QStringList{"x^2 - 1", kError}));

  // An empty one leaves the file as it was.
  f.Click("Cmdshuru");
  f.Submit("");
  QCOMPARE(f.folder.Read("DXS.DAT"), QByteArray("\"x^2 - 1\"\r\n"));
}

void MainWindowTest::characterCheck_data() {
  QTest::addColumn<QString>("text");
  QTest::addColumn<bool>("accepted");
  QTest::newRow("first example") << "x^3-6x^2+4x+15" << true;
  QTest::newRow("second example") << "x4y+2x3y2-x2y-2xy2" << true;
  QTest::newRow("backquote") << "x`3+1" << true;
  QTest::newRow("asterisk") << "2*x" << false;
  QTest::newRow("open parenthesis") << "(x" << false;
  QTest::newRow("close parenthesis") << "x)" << false;
  QTest::newRow("point") << "0.5x" << false;
}

void MainWindowTest::characterCheck() {
  QFETCH(QString, text);
  QFETCH(bool, accepted);
  Fixture f;
  f.Submit(text);
  QCOMPARE(f.Picture1(), (accepted ? QStringList{text} : QStringList{text, kError}));
  QCOMPARE(f.Find<QPushButton>("CmdWANCHANG")->isEnabled(), !accepted);
}

void MainWindowTest::engineBoxStartsNothingWhileInactive() {
  Fixture f;
  f.DoubleClickEngineBox();
  QVERIFY(f.starts.empty());

  // Active after a submission, inactive again for the next polynomial.
  f.Submit("x-1");
  f.Click("Cmdshuru");
  f.DoubleClickEngineBox();
  QVERIFY(f.starts.empty());
}

void MainWindowTest::engineBoxStartsEngineBesideFrontEnd() {
  Fixture f;
  f.Submit("x-1");
  f.DoubleClickEngineBox();
  QCOMPARE(f.starts.size(), size_t{1});
  QCOMPARE(f.starts[0].program,
           QDir(QCoreApplication::applicationDirPath()).filePath("pfac-engine"));
  QCOMPARE(QDir(f.starts[0].folder).canonicalPath(), QDir(f.folder.Path()).canonicalPath());

  // A refused text leaves the box active too.
  f.Click("Cmdshuru");
  f.Submit("x y");
  f.DoubleClickEngineBox();
  QCOMPARE(f.starts.size(), size_t{2});
  QVERIFY(f.dialogs.shown.empty());
}

void MainWindowTest::failedEngineStartIsTold() {
  Fixture f;
  f.launchError = "no terminal here";
  f.Submit("x-1");
  f.DoubleClickEngineBox();
  QCOMPARE(f.dialogs.Messages(), std::vector<std::string>{"no terminal here"});
  QVERIFY(f.window->isVisible());
  QVERIFY(f.OLE1()->IsActive());
}

// The real launcher, only in cases where it must refuse before starting anything.
void MainWindowTest::terminalLauncherRefusesWhatIsMissing() {
  WorkFolder folder;
  QString error;
  QVERIFY(!StartEngineInTerminal({folder.Path() + "/pfac-engine", folder.Path()}, &error));
  QVERIFY2(error.contains(folder.Path() + "/pfac-engine"), qPrintable(error));

  // An engine that exists (this test program stands in) but no terminal.
  error.clear();
  QVERIFY(!StartEngineInTerminal({QCoreApplication::applicationFilePath(), folder.Path()}, &error,
                                 "pfac-no-such-terminal"));
  QVERIFY2(error.contains("pfac-no-such-terminal"), qPrintable(error));

  // The terminal runs the engine last, 80 x 25, in UTF-8, and stays open.
  const QStringList arguments = TerminalArguments("/opt/pfac/pfac-engine");
  QCOMPARE(arguments.mid(arguments.size() - 2), (QStringList{"-e", "/opt/pfac/pfac-engine"}));
  for (const char* option : {"-u8", "-hold"}) QVERIFY(arguments.contains(option));
  QCOMPARE(arguments.at(arguments.indexOf("-geometry") + 1), QString("80x25"));
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::MainWindowTest)
#include "main_window_test.moc"
