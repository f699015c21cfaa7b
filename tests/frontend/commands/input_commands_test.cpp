// The main window's input logic without widgets: what each input command
// does to the controls and to DXS.DAT.
#include <QTest>
#include <map>

#include "frontend/commands/input_commands.h"
#include "frontend/storage/file_table.h"
#include "tests/frontend/support/fakes.h"

namespace pfac::frontend {
namespace {

using testing::ScriptedDialogs;
using testing::WorkFolder;

// The controls as flags and texts.
class FakeWindow : public MainWindowControls {
 public:
  void ClsWindow() override { ++windowCls; }
  void ClsPicture1() override { picture.clear(); }
  void PrintOnPicture1(const std::string& line) override { picture.push_back(line); }
  void SetEnabled(Control control, bool on) override { enabled[control] = on; }
  void SetVisible(Control control, bool on) override { visible[control] = on; }
  void SetCaption(Control label, const std::string& text) override { captions[label] = text; }
  std::string Text2() const override { return text; }
  void SetText2(const std::string& value) override { text = value; }
  void FocusText2() override { focused = true; }
  void SelectInText2(int position, int length) override {
    focused = true;
    selection = {position, length};
  }
  void SetText2ReadOnly(bool on) override { readOnly = on; }
  void SetEngineActive(bool active) override { engineActive = active; }
  void FocusEngineBox() override { engineFocused = true; }

  std::map<Control, bool> enabled;
  std::map<Control, bool> visible;
  std::map<Control, std::string> captions;
  std::vector<std::string> picture;
  std::string text;
  std::pair<int, int> selection{-1, 0};  // the characters selected: first and count
  bool focused = false;
  bool readOnly = true;
  bool engineActive = true;
  bool engineFocused = false;
  int windowCls = 0;
};

// The window and its commands, with a scripted user.
struct Fixture {
  FakeWindow window;
  FileTable files;
  ScriptedDialogs dialogs;
  InputCommands commands{window, files, dialogs, nullptr};

  // Runs one step of a command sequence: "load", "new", "again", or
  // "finished:TEXT" (the text typed, then "输入完毕").
  void Run(const QString& step) {
    window.focused = false;
    window.engineFocused = false;
    if (step == "load") {
      commands.Load();
    } else if (step == "new") {
      commands.NewPolynomial();
    } else if (step == "again") {
      commands.EnterAgain();
    } else if (step.startsWith("finished:")) {
      window.text = step.mid(9).toStdString();
      commands.InputFinished();
    } else {
      QFAIL(qPrintable("unknown step " + step));
    }
  }
};

class InputCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void commandStates_data();
  void commandStates();
  void instructionsAreSetEachTime();
  void refusedTextNeverReachesTheEngine();
  void emptyTextLeavesHandOffFileAlone();
  void submissionClearsEarlierMessages();
  void unwritableHandOffFileIsTold();
};

// The columns: Text2 visible, its text, focused, read-only; then enabled flags
// of 输入多项式, 输入完毕, 重新输入, 打印; then the engine box active and focused.
// An accepted text stays in the box read-only, and Enter on the engine box
// starts it; a refused or empty text leaves the engine box inactive (DXS.DAT
// still holds the previous polynomial); "输入多项式" keeps the last text.
void InputCommandsTest::commandStates_data() {
  QTest::addColumn<QStringList>("steps");
  QTest::addColumn<bool>("text2Visible");
  QTest::addColumn<QString>("text2");
  QTest::addColumn<bool>("focused");
  QTest::addColumn<bool>("readOnly");
  QTest::addColumn<bool>("cmdshuru");
  QTest::addColumn<bool>("cmdWanchang");
  QTest::addColumn<bool>("cmdChongshu");
  QTest::addColumn<bool>("cmddayin");
  QTest::addColumn<bool>("engineActive");
  QTest::addColumn<bool>("engineFocused");

  QTest::newRow("load") << QStringList{"load"} << true << "" << false << false
                        << false << true << true << false << false << false;
  QTest::newRow("accepted") << QStringList{"load", "finished:x^3-6x^2+4x+15"} << true << "x^3-6x^2+4x+15"
                            << false << true << true << false << false << true << true << true;
  QTest::newRow("refused") << QStringList{"load", "finished:x^2+*3"} << true << "x^2+*3" << true << false
                           << true << true << false << true << false << false;
  QTest::newRow("converted") << QStringList{"load", "finished:2*x + 1"} << true << "2x+1" << false << true
                             << true << false << false << true << true << true;
  QTest::newRow("empty") << QStringList{"load", "finished:"} << true << "" << true << false
                         << true << true << false << true << false << false;
  QTest::newRow("new polynomial") << QStringList{"load", "finished:x-1", "new"} << true << "x-1" << true << false
                                  << false << true << true << false << false << false;
  QTest::newRow("enter again while typing") << QStringList{"load", "again"} << true << "" << true << false
                                            << false << true << true << false << false << false;
  // "重新输入" leaves 输入多项式 and 打印 as they were.
  QTest::newRow("enter again after a submission")
      << QStringList{"load", "finished:x-1", "again"} << true << "" << true << false
      << true << true << true << true << false << false;
}

void InputCommandsTest::commandStates() {
  QFETCH(QStringList, steps);
  WorkFolder folder;
  Fixture fixture;
  for (const QString& step : steps) fixture.Run(step);

  FakeWindow& window = fixture.window;
  QTEST(window.visible[Control::Text2], "text2Visible");
  QTEST(QString::fromStdString(window.text), "text2");
  QTEST(window.focused, "focused");
  QTEST(window.readOnly, "readOnly");
  QTEST(window.enabled[Control::Cmdshuru], "cmdshuru");
  QTEST(window.enabled[Control::CmdWANCHANG], "cmdWanchang");
  QTEST(window.enabled[Control::CmdCHONGSHU], "cmdChongshu");
  QTEST(window.enabled[Control::cmddayin], "cmddayin");
  QTEST(window.engineActive, "engineActive");
  QTEST(window.engineFocused, "engineFocused");
  QVERIFY(fixture.dialogs.shown.empty());
}

void InputCommandsTest::instructionsAreSetEachTime() {
  Fixture fixture;
  fixture.Run("load");
  FakeWindow& window = fixture.window;
  const QString label8 = QString::fromStdString(window.captions[Control::Label8]);
  const QString label9 = QString::fromStdString(window.captions[Control::Label9]);
  QCOMPARE(label8.size(), 53);
  QVERIFY(label8.endsWith(QStringLiteral("x3-6x2+4x+15  ")));
  QCOMPARE(label9.size(), 112);
  QCOMPARE(label9.left(65), QString(64, ' ') + QStringLiteral("例"));
  QVERIFY(window.visible[Control::Label8] && window.visible[Control::Label9]);

  window.captions.clear();
  window.visible.clear();
  fixture.Run("new");
  QCOMPARE(QString::fromStdString(window.captions[Control::Label9]), label9);
  QVERIFY(window.visible[Control::Label8] && window.visible[Control::Label9]);
}

// A refused text gets what is wrong and its place marked; DXS.DAT keeps the
// last accepted text. An accepted one is written as the engine reads it.
void InputCommandsTest::refusedTextNeverReachesTheEngine() {
  WorkFolder folder;
  folder.Write("DXS.DAT", "\"x-1\"\r\n");
  Fixture fixture;
  fixture.Run("load");
  fixture.Run("finished:x^2 + 1)");
  QCOMPARE(folder.Read("DXS.DAT"), QByteArray("\"x-1\"\r\n"));
  QCOMPARE(fixture.window.picture,
           (std::vector<std::string>{"x^2 + 1)", std::string(kInputError) +
                                                     " 第 8 个字符 ')' 没有对应的 '(' / character 8, ')', has no "
                                                     "matching '('"}));
  QCOMPARE(fixture.window.selection, (std::pair<int, int>{7, 1}));
  QVERIFY(!fixture.files.IsOpen(1));

  // Corrected and submitted again: the text as the engine reads it.
  fixture.Run("finished:x^2 + 1");
  QCOMPARE(folder.Read("DXS.DAT"), QByteArray("\"x^2+1\"\r\n"));
  QCOMPARE(fixture.window.picture, (std::vector<std::string>{"x^2 + 1", std::string(kReadAs) + "x² + 1"}));
  QCOMPARE(fixture.window.text, std::string("x^2+1"));
  QCOMPARE(fixture.commands.HandedOffText(), std::string("x^2+1"));

  // A decimal is handed on as its exact fraction, which the read-as line shows.
  fixture.Run("finished:0.25x^2 - 1.5");
  QCOMPARE(folder.Read("DXS.DAT"), QByteArray("\"1/4x^2-3/2\"\r\n"));
  QCOMPARE(fixture.window.picture, (std::vector<std::string>{"0.25x^2 - 1.5", std::string(kReadAs) + "1/4x² - 3/2"}));

  // Beyond the search's limits: without the exact factoriser refused; with
  // it DXS.DAT keeps what it held, and the window says which limit and that
  // the search does not apply.
  fixture.Run("finished:x^40000-1");
  QCOMPARE(fixture.window.picture.back(), std::string(kInputError) + " 第 3 个字符起的指数 40000 超过 32767 / the "
                                                                      "exponent 40000 at character 3 exceeds 32767");
  QVERIFY(!fixture.commands.BeyondSearch());
  const std::unique_ptr<Expander> expander = ExactExpander();
  if (!expander) return;
  InputCommands exact{fixture.window, fixture.files, fixture.dialogs, expander.get()};
  fixture.window.text = "x^40000-1";
  fixture.window.engineActive = false;
  QCOMPARE(exact.InputFinished(), Submission::Accepted);
  QVERIFY(fixture.window.engineActive);
  QCOMPARE(folder.Read("DXS.DAT"), QByteArray("\"1/4x^2-3/2\"\r\n"));
  QCOMPARE(fixture.window.picture,
           (std::vector<std::string>{"x^40000-1", "第 3 个字符起的指数 40000 超过 32767 / the exponent 40000 at character 3 "
                                                  "exceeds 32767",
                                     kSearchDoesNotApply}));
  QVERIFY(exact.BeyondSearch().has_value());
  QCOMPARE(exact.BeyondSearch()->text, std::string("x^40000-1"));
}

void InputCommandsTest::emptyTextLeavesHandOffFileAlone() {
  WorkFolder folder;
  folder.Write("DXS.DAT", "\"x-1\"\r\n");
  Fixture fixture;
  fixture.Run("load");
  fixture.Run("finished:");
  QCOMPARE(folder.Read("DXS.DAT"), QByteArray("\"x-1\"\r\n"));
  QCOMPARE(fixture.window.picture,
           (std::vector<std::string>{"", std::string(kInputError) + " " + kNothingTyped}));
}

void InputCommandsTest::submissionClearsEarlierMessages() {
  WorkFolder folder;
  Fixture fixture;
  fixture.Run("load");
  fixture.window.picture = {"hint"};
  fixture.Run("finished:x-1");
  QCOMPARE(fixture.window.picture, std::vector<std::string>{"x-1"});
  fixture.Run("new");
  QVERIFY(fixture.window.picture.empty());
  QCOMPARE(fixture.window.windowCls, 1);
}

void InputCommandsTest::unwritableHandOffFileIsTold() {
  WorkFolder folder;
  QVERIFY(QDir(folder.Path()).mkdir("DXS.DAT"));
  Fixture fixture;
  fixture.Run("load");
  fixture.Run("finished:x-1");
  QCOMPARE(fixture.dialogs.Messages().size(), size_t{1});
  QVERIFY(QString::fromStdString(fixture.dialogs.Messages()[0]).contains("DXS.DAT"));
  // The text itself was fine: no error line, and the state of an accepted
  // text, but the engine box stays inactive: DXS.DAT does not hold the text.
  QCOMPARE(fixture.window.picture, std::vector<std::string>{"x-1"});
  QVERIFY(!fixture.window.engineActive);
  QVERIFY(!fixture.commands.HandedOff());
  QVERIFY(!fixture.window.enabled[Control::CmdWANCHANG]);
}

}  // namespace
}  // namespace pfac::frontend

QTEST_APPLESS_MAIN(pfac::frontend::InputCommandsTest)
#include "input_commands_test.moc"
