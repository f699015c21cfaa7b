// The main window clicked as a user clicks it: the states of its controls,
// DXS.DAT, and the engine box with the engine launcher replaced.
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "frontend/app/folder_lock.h"
#include "frontend/commands/finished_run.h"
#include "frontend/commands/print_command.h"
#include "frontend/engine_link/engine_launcher.h"
#include "frontend/windows/main_window.h"
#include "frontend/windows/worksheet_window.h"
#include "tests/frontend/support/main_window_parts.h"

namespace pfac::frontend {
namespace {

const QString kError = QStringLiteral("输入错误！");
// What the window says of x^2+*3.
const QString kStarRefused =
    kError + QStringLiteral(" 第 5 个字符 '*' 不能出现在这里 / character 5, '*', cannot stand here");

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
  size_t Starts() const { return runner.starts.size(); }
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
  void typedTextInTheWindow_data();
  void typedTextInTheWindow();
  void engineBoxStartsNothingWhileInactive();
  void engineBoxStartsEngineBesideFrontEnd();
  void failedEngineStartIsTold();
  void emptyTextLeavesEngineBoxInactive();
  void submittedTextIsReadOnlyUntilNewInput();
  void oneEngineAtATime();
  void keyboardSubmitsAndStarts();
  void longPolynomialWrapsInPicture1();
  void readAsLineBreaksBetweenTerms();
  void windowKeepsItsSize();
  void keyboardGoesInReadingOrder();
  void quitMidRunStopsTheEngineFirst();
  void anotherRunsResultIsNotTaken();
  void quitMidWorksheetStopsItFirst();
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

  // 输入多项式: typing again, the messages gone, the last text selected in
  // the box, so that typing replaces it.
  f.Click("Cmdshuru");
  QCOMPARE(Flags(f), QString("01100"));
  QCOMPARE(f.Text2()->text(), QString("x^3-6x^2+4x+15"));
  QCOMPARE(f.Text2()->selectedText(), QString("x^3-6x^2+4x+15"));
  QVERIFY(f.Picture1().isEmpty());
  QVERIFY(Text2Focused(f));

  // 输入完毕 with a refused text: what is wrong, the character marked, 输入完毕
  // again, and the engine box inactive.
  f.Submit("x^2+*3");
  QCOMPARE(Flags(f), QString("11010"));
  QCOMPARE(f.Picture1(), (QStringList{"x^2+*3", kStarRefused}));
  QCOMPARE(f.Text2()->text(), QString("x^2+*3"));
  QCOMPARE(f.Text2()->selectionStart(), 4);
  QCOMPARE(f.Text2()->selectedText(), QString("*"));
  QVERIFY(Text2Focused(f));

  // Corrected in place and submitted again.
  f.Submit("x^2+3");
  QCOMPARE(Flags(f), QString("10011"));
  QCOMPARE(f.Picture1(), QStringList{"x^2+3"});

  // 输入完毕 with an empty text: the engine box stays inactive.
  f.Click("Cmdshuru");
  f.Submit("");
  QCOMPARE(Flags(f), QString("11010"));
  QCOMPARE(f.Picture1(), (QStringList{"", kError + " " + kNothingTyped}));
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

// DXS.DAT holds the text as the engine reads it; a refused or empty text
// never reaches it.
void MainWindowTest::handOffFileByteForByte() {
  Fixture f;
  f.Submit("x^3-6x^2+4x+15");
  QCOMPARE(f.folder.Read("DXS.DAT"), QByteArray("\"x^3-6x^2+4x+15\"\r\n"));

  f.Click("Cmdshuru");
  f.Submit(QStringLiteral("（x＋1）²"));
  QCOMPARE(f.folder.Read("DXS.DAT"), QByteArray("\"x^2+2x+1\"\r\n"));

  for (const QString& refused : {QString("x^2+*3"), QString()}) {
    f.Click("Cmdshuru");
    f.Submit(refused);
    QCOMPARE(f.folder.Read("DXS.DAT"), QByteArray("\"x^2+2x+1\"\r\n"));
  }
}

// What the window shows of a typed text: the echo, then what will be factored
// (the box shows it too) or what is wrong, with the place marked in the box.
void MainWindowTest::typedTextInTheWindow_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QStringList>("picture");
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("marked");
  QTest::newRow("as the engine reads it") << "x^3-6x^2+4x+15" << QStringList{"x^3-6x^2+4x+15"} << "x^3-6x^2+4x+15"
                                          << "";
  QTest::newRow("blanks and a product")
      << "2 * x + 1" << QStringList{"2 * x + 1", QStringLiteral("读作 / read as: 2x + 1")} << "2x+1" << "";
  QTest::newRow("brackets multiplied out")
      << "x(x-1)(x+1)" << QStringList{"x(x-1)(x+1)", QStringLiteral("读作 / read as: x³ - x")} << "x^3-x" << "";
  QTest::newRow("refused, marked") << QStringLiteral("ｘ＾２＋１)")
                                   << QStringList{QStringLiteral("ｘ＾２＋１)"),
                                                  kError + QStringLiteral(" 第 6 个字符 ')' 没有对应的 '(' / character 6, "
                                                                          "')', has no matching '('")}
                                   << QStringLiteral("ｘ＾２＋１)") << ")";
}

void MainWindowTest::typedTextInTheWindow() {
  QFETCH(QString, typed);
  QFETCH(QStringList, picture);
  QFETCH(QString, box);
  QFETCH(QString, marked);
  Fixture f;
  f.Submit(typed);
  QCOMPARE(f.Picture1(), picture);
  QCOMPARE(f.Text2()->text(), box);
  QCOMPARE(f.Text2()->selectedText(), marked);
  QCOMPARE(f.Find<QPushButton>("CmdWANCHANG")->isEnabled(), !marked.isEmpty());
  QCOMPARE(f.OLE1()->IsActive(), marked.isEmpty());
}

void MainWindowTest::engineBoxStartsNothingWhileInactive() {
  Fixture f;
  f.DoubleClickEngineBox();
  QCOMPARE(f.Starts(), size_t{0});

  // Active after a submission, inactive again for the next polynomial.
  f.Submit("x-1");
  f.Click("Cmdshuru");
  f.DoubleClickEngineBox();
  QCOMPARE(f.Starts(), size_t{0});
}

void MainWindowTest::engineBoxStartsEngineBesideFrontEnd() {
  Fixture f;
  f.Submit("x-1");
  f.DoubleClickEngineBox();
  QCOMPARE(f.Starts(), size_t{1});
  QCOMPARE(f.runner.starts[0].program,
           QDir(QCoreApplication::applicationDirPath()).filePath("pfac-engine"));
  QCOMPARE(QDir(f.runner.starts[0].folder).canonicalPath(), QDir(f.folder.Path()).canonicalPath());
  f.runner.End();

  // A refused text leaves the box inactive: it never reaches the engine.
  f.Click("Cmdshuru");
  f.Submit("x y)");
  f.DoubleClickEngineBox();
  QCOMPARE(f.Starts(), size_t{1});
  QVERIFY(f.dialogs.shown.empty());
}

void MainWindowTest::failedEngineStartIsTold() {
  Fixture f;
  f.runner.launchError = "no terminal here";
  f.Submit("x-1");
  f.DoubleClickEngineBox();
  QCOMPARE(f.dialogs.Messages(), std::vector<std::string>{"no terminal here"});
  QVERIFY(f.window->isVisible());
  QVERIFY(f.OLE1()->IsActive());
  QVERIFY(!f.runner.IsRunning());
}

// Finding: an empty text left the engine box active, and a double-click
// factored the previous polynomial.
void MainWindowTest::emptyTextLeavesEngineBoxInactive() {
  Fixture f;
  f.Submit("x^2-1");
  f.DoubleClickEngineBox();
  f.runner.End();
  f.Click("Cmdshuru");
  f.Submit("");
  QCOMPARE(f.Picture1(), (QStringList{"", kError + " " + kNothingTyped}));
  f.DoubleClickEngineBox();
  QCOMPARE(f.Starts(), size_t{1});
  QCOMPARE(f.folder.Read("DXS.DAT"), QByteArray("\"x^2-1\"\r\n"));
}

// Finding: text typed after "输入完毕" was shown but not handed off.
void MainWindowTest::submittedTextIsReadOnlyUntilNewInput() {
  Fixture f;
  f.Submit("x^3-6x^2+4x+15");
  f.Text2()->setFocus();
  QTest::keyClicks(f.Text2(), "+5x");
  QCOMPARE(f.Text2()->text(), QString("x^3-6x^2+4x+15"));
  QVERIFY(f.Text2()->isReadOnly());

  // A refused text can be corrected in place.
  f.Click("Cmdshuru");
  QVERIFY(!f.Text2()->isReadOnly());
  f.Submit("x^2 -1)");
  QVERIFY(!f.Text2()->isReadOnly());
  QTest::keyClick(f.Text2(), Qt::Key_Backspace);  // the marked ")" goes
  QCOMPARE(f.Text2()->text(), QString("x^2 -1"));

  // "重新输入" while typing leaves the box editable.
  f.Click("CmdCHONGSHU");
  QVERIFY(!f.Text2()->isReadOnly());
}

// Finding: a second double-click started a second engine in the same folder.
void MainWindowTest::oneEngineAtATime() {
  Fixture f;
  f.Submit("x-1");
  f.DoubleClickEngineBox();
  f.DoubleClickEngineBox();
  QCOMPARE(f.Starts(), size_t{1});
  QCOMPARE(f.runner.broughtToFront, 1);
  // Printing waits for the engine's window to close.
  f.Click("cmddayin");
  QCOMPARE(f.dialogs.Messages(), std::vector<std::string>{kEngineWindowOpen});
  QVERIFY(f.dialogs.Questions().empty());

  f.runner.End();
  f.DoubleClickEngineBox();
  QCOMPARE(f.Starts(), size_t{2});
}

// Finding: Enter did nothing, and the engine box never took the focus.
void MainWindowTest::keyboardSubmitsAndStarts() {
  Fixture f;
  f.window->activateWindow();
  f.Text2()->setFocus();
  QTest::keyClicks(f.Text2(), "x^2-1");
  QTest::keyClick(f.Text2(), Qt::Key_Return);
  QCOMPARE(f.folder.Read("DXS.DAT"), QByteArray("\"x^2-1\"\r\n"));
  QVERIFY(f.OLE1()->hasFocus());
  QTest::keyClick(f.OLE1(), Qt::Key_Return);
  QCOMPARE(f.Starts(), size_t{1});
  f.runner.End();
  QTest::keyClick(f.OLE1(), Qt::Key_Space);
  QCOMPARE(f.Starts(), size_t{2});

  // Typing replaces the last text; an arrow key edits it.
  f.runner.End();
  f.Click("Cmdshuru");
  QTest::keyClicks(f.Text2(), "x^3-");
  QCOMPARE(f.Text2()->text(), QString("x^3-"));
  f.Click("Cmdshuru");
  QTest::keyClick(f.Text2(), Qt::Key_End);
  QTest::keyClicks(f.Text2(), "x");
  QCOMPARE(f.Text2()->text(), QString("x^3-x"));

  // Enter on a refused text submits it; the box keeps the focus.
  f.Text2()->selectAll();
  QTest::keyClicks(f.Text2(), "x^2+*3");
  QTest::keyClick(f.Text2(), Qt::Key_Enter);
  QCOMPARE(f.Picture1(), (QStringList{"x^2+*3", kStarRefused}));
  QVERIFY(Text2Focused(f));
}

// Finding: a long polynomial was cut off at the right edge of Picture1.
void MainWindowTest::longPolynomialWrapsInPicture1() {
  Fixture f;
  QString text = "x^30";
  for (int i = 29; i >= 2; --i) text += QString("+%1x^%2").arg(100000 + i).arg(i);
  text += "+100001x";
  f.Submit(text);
  PrintSurface* picture = f.window->Picture1();
  QCOMPARE(picture->Lines(), QStringList{text});
  QVERIFY(picture->hasHeightForWidth());
  const int oneLine = picture->heightForWidth(100000);
  QVERIFY(picture->heightForWidth(picture->width()) > oneLine);
  // The window's layout gives the wrapped text its height.
  f.window->adjustSize();
  QTest::qWait(50);
  QVERIFY2(picture->height() >= picture->heightForWidth(picture->width()),
           qPrintable(QString("%1 < %2").arg(picture->height()).arg(picture->heightForWidth(picture->width()))));
}

// Finding: the "读作 / read as" line wrapped inside a term ("2x" / "y"); it
// breaks between terms, as the result panel does, and the text as typed
// breaks at its blanks.
void MainWindowTest::readAsLineBreaksBetweenTerms() {
  Fixture f;
  QString typed = "x^3";
  for (int i = 2; i <= 14; ++i) typed += QString(" + %1x^2y^%2").arg(i).arg(i);
  f.Submit(typed);
  const QStringList lines = f.window->Picture1()->DrawnLines(260);
  qsizetype readAs = 0;
  while (readAs < lines.size() && !lines[readAs].startsWith(QStringLiteral("读作 / read as:"))) ++readAs;
  QVERIFY2(lines.size() - readAs >= 3, qPrintable(lines.join('|')));
  QCOMPARE(lines.mid(0, readAs).join(' '), typed);
  for (qsizetype i = readAs + 1; i < lines.size(); ++i) QVERIFY2(lines[i].startsWith("+ "), qPrintable(lines.join('|')));

  // Finding: messages and echoes broke inside words and terms ("charac|ter",
  // "x^1|5"). An echo typed without blanks breaks before its signs, and a
  // message at its blanks.
  f.Click("Cmdshuru");
  QString unspaced = "x^30";
  for (int i = 29; i >= 2; --i) unspaced += QString("+%1x^%2").arg(3 * i).arg(i);
  f.Submit(unspaced + "+*3");
  const QStringList refused = f.window->Picture1()->DrawnLines(200);
  qsizetype error = 0;
  while (error < refused.size() && !refused[error].startsWith(kError)) ++error;
  QVERIFY2(error > 2 && error < refused.size(), qPrintable(refused.join('|')));
  QCOMPARE(refused.mid(0, error).join(""), unspaced + "+*3");
  for (qsizetype i = 1; i < error; ++i) QVERIFY2(refused[i].startsWith('+'), qPrintable(refused.join('|')));
  QCOMPARE(refused.mid(error).join(' '), f.Picture1().last());
}

// Findings: the window opened taller than a 768-pixel screen, and a long
// polynomial or message made it taller still, pushing the buttons off the
// screen. It opens with room for its frame within 1280 x 720, and keeps its
// size: the message area scrolls.
void MainWindowTest::windowKeepsItsSize() {
  Fixture f;
  QCoreApplication::processEvents();
  const QSize size = f.window->size();
  QVERIFY2(size.width() <= 1260 && size.height() <= 680, qPrintable(QString("%1 x %2").arg(size.width()).arg(size.height())));
  QString terms = "x^30";
  for (int i = 29; i >= 1; --i) terms += QString("+%1x^%2").arg(1234567 + i).arg(i);
  f.Submit(terms);  // 30 terms, accepted, echoed and read as
  QCOMPARE(f.Picture1().size(), 2);
  QCoreApplication::processEvents();
  QCOMPARE(f.window->size(), size);
  f.Click("Cmdshuru");
  f.Submit(terms + " + 7x^^2");  // a slip at its end: refused, with a long message
  QVERIFY(f.Picture1().last().startsWith(kError));
  QCoreApplication::processEvents();
  QCOMPARE(f.window->size(), size);
  QVERIFY(f.window->minimumSizeHint().height() <= size.height());
  // The message is in sight: the area scrolled to its end.
  auto* scroll = f.Find<QScrollArea>("Picture1Scroll");
  QTRY_COMPARE(scroll->verticalScrollBar()->value(), scroll->verticalScrollBar()->maximum());
  QVERIFY(scroll->verticalScrollBar()->maximum() > 0);
}

// Findings: the Tab order was 简介 → 退出 → 批量, and after a refused text,
// 重新输入 stayed disabled and the stale message stayed while new text was
// typed.
void MainWindowTest::keyboardGoesInReadingOrder() {
  Fixture f;
  QStringList order;
  QWidget* widget = f.Text2();
  do {
    if (widget->focusPolicy() & Qt::TabFocus) order << widget->objectName();
    widget = widget->nextInFocusChain();
  } while (widget != f.Text2());
  QCOMPARE(order, (QStringList{"Text2", "OLE1", "Cmdfuzhi", "CmdfuzhiLaTeX", "StepsTabs", "History", "Cmdshuru",
                               "CmdWANCHANG", "CmdCHONGSHU", "cmddayin", "Cmdpiliang", "Cmdbangzhu", "Cmdtuichu"}));

  f.Submit("x^2+*3");
  QCOMPARE(f.Picture1().last(), kStarRefused);
  QVERIFY(!f.Find<QPushButton>("CmdCHONGSHU")->isEnabled());
  QTest::keyClick(f.Text2(), Qt::Key_End);
  QTest::keyClick(f.Text2(), Qt::Key_Backspace);
  QVERIFY(f.Find<QPushButton>("CmdCHONGSHU")->isEnabled());
  QVERIFY(f.Picture1().isEmpty());
  f.Text2()->selectAll();
  QTest::keyClick(f.Text2(), Qt::Key_Delete);
  QVERIFY(!f.Find<QPushButton>("CmdCHONGSHU")->isEnabled());
}

// Finding: 退出 closed the window at once and gave up the folder while the
// engine ran on; its result came later, under another polynomial. The real
// launcher, its terminal standing in without a window, on a run of minutes.
void MainWindowTest::quitMidRunStopsTheEngineFirst() {
  testing::WorkFolder folder;
  testing::ScriptedDialogs dialogs;
  DocumentPrinter printer{DocumentPrinter::Target::PdfFile};
  TerminalEngineRunner runner(QStringLiteral(PFAC_FRONTEND_TEST_DATA "/fake-terminal.sh"));
  auto lock = std::make_unique<FolderLock>(folder.Path());
  std::string held;
  QVERIFY(lock->Take(&held));
  PFAC1 window(dialogs, printer, runner);
  testing::ShowAndWait(&window);
  window.findChild<QLineEdit*>("Text2")->setText("x^3000+6x^1500-4x^2+9");
  testing::ClickButton(&window, "CmdWANCHANG");
  QTest::mouseDClick(window.findChild<EngineBox*>("OLE1"), Qt::LeftButton);
  const QString engine = QStringLiteral(PFAC_ENGINE_BINARY);
  QTRY_VERIFY_WITH_TIMEOUT(!EnginesWorkingIn(engine, folder.Path()).empty(), 10000);

  // No: nothing closes, the engine runs on.
  dialogs.Answer({false, false});
  testing::ClickButton(&window, "Cmdtuichu");
  QCOMPARE(dialogs.Questions(), std::vector<std::string>{kStopEngineAndQuit});
  QVERIFY(window.isVisible());
  QVERIFY(!window.close());
  QVERIFY(window.isVisible());
  QVERIFY(!EnginesWorkingIn(engine, folder.Path()).empty());

  // Yes: once 退出 returns the engine has ended, having said so in jg.dat;
  // only then does the program give up the folder.
  dialogs.Answer({true});
  testing::ClickButton(&window, "Cmdtuichu");
  QVERIFY(dialogs.AllAnswered());
  QVERIFY(EnginesWorkingIn(engine, folder.Path()).empty());
  QVERIFY(!runner.IsRunning());
  QVERIFY(!window.isVisible());
  QVERIFY2(folder.Read("jg.dat").contains("Stopped: the engine's window was closed"), folder.Read("jg.dat"));
  lock.reset();
  FolderLock next(folder.Path());
  QVERIFY(next.Take(&held));
}

// A jg.dat the run did not write (another polynomial's answer) is neither
// shown nor kept nor printed; the run's own is.
void MainWindowTest::anotherRunsResultIsNotTaken() {
  Fixture f;
  f.runner.onStart = [](const EngineStart& start) {
    QFile result(QDir(start.folder).filePath("jg.dat"));
    QVERIFY(result.open(QIODevice::WriteOnly));
    result.write("x^ 3000+ 6 x^ 1500- 4 x^ 2+ 9 \r\n=(x^ 3000 + 6x^ 1500 - 4x^ 2 + 9)\r\n" + testing::kCompleteCertificate);
  };
  f.Submit("x^2-1");
  f.DoubleClickEngineBox();
  f.runner.End();
  const QString shown = f.window->findChild<QLabel*>("ResultText")->text() +
                        f.window->findChild<QLabel*>("ResultNotes")->text().remove('\n');
  QVERIFY2(!shown.contains("3000"), qPrintable(shown));
  QVERIFY2(shown.contains(QStringLiteral("另一次运行的结果")), qPrintable(shown));
  QVERIFY(f.window->FolderHistory().Entries().empty());
  f.Click("cmddayin");
  QCOMPARE(f.dialogs.Messages(), std::vector<std::string>{kForeignNotPrinted});
  QVERIFY(QDir(f.folder.Path()).entryList({"*.pdf"}).isEmpty());

  // The same polynomial echoed in the engine's order of letters is its own.
  f.runner.onStart = testing::RunRealEngine;
  f.Click("Cmdshuru");
  f.Submit("y^2+x^2-2xy");
  f.DoubleClickEngineBox();
  f.runner.End();
  QCOMPARE(f.window->FolderHistory().Entries().size(), size_t{1});
  QVERIFY2(f.window->findChild<QLabel*>("ResultText")->text().contains("(x - y)"),
           qPrintable(f.window->findChild<QLabel*>("ResultText")->text()));
}

// The same for a worksheet being factored: asked, stopped, then ended.
void MainWindowTest::quitMidWorksheetStopsItFirst() {
  Fixture f;
  f.Click("Cmdpiliang");
  auto* batch = f.window->findChild<BatchWindow*>();
  batch->findChild<QPlainTextEdit*>("List")->setPlainText("x^3000+6x^1500-4x^2+9\nx^2-1\n");
  testing::ClickButton(batch, "Cmdkaishi");
  QTRY_VERIFY(batch->Run().Problems()[0].state == ProblemState::Running);
  f.dialogs.Answer({false, true});
  f.Click("Cmdtuichu");
  QVERIFY(batch->Run().Running());
  f.Click("Cmdtuichu");
  QCOMPARE(f.dialogs.Questions(), (std::vector<std::string>{kStopWorksheetAndQuit, kStopWorksheetAndQuit}));
  QVERIFY(!batch->Run().Running());
  QCOMPARE(batch->Run().Problems()[0].state, ProblemState::Stopped);
  QVERIFY(!f.window->isVisible());
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::MainWindowTest)
#include "main_window_test.moc"
