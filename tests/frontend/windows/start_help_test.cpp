// The start window leading to the main window, and the help window.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QScrollBar>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "frontend/app/translations.h"
#include "frontend/windows/help_window.h"
#include "frontend/windows/start_window.h"
#include "tests/frontend/support/main_window_parts.h"

namespace pfac::frontend {
namespace {

// The start window, shown; it makes the main window on first use.
struct Fixture : testing::MainWindowParts {
  int mainWindowsMade = 0;
  std::unique_ptr<baozhForm> start;

  Fixture() {
    start = std::make_unique<baozhForm>([this] {
      ++mainWindowsMade;
      return MakeMainWindow();
    });
    testing::ShowAndWait(start.get());
  }

  void Click(QWidget* window, const char* button) { testing::ClickButton(window, button); }
  PFAC1* OpenMainWindow() {
    Click(start.get(), "cmdbao");
    return start->MainWindow();
  }
  Form3* Help(PFAC1* main) const { return main->findChild<Form3*>("Form3"); }
};

bool HasFocusInText2(PFAC1* main) {
  return main->focusWidget() == main->findChild<QLineEdit*>("Text2");
}

class StartHelpTest : public QObject {
  Q_OBJECT

 private slots:
  void startWindowShowsPictureAndButtons();
  void enteringOpensMainWindowWithHint();
  void enterOnTheStartWindowOpensTheMainWindow();
  void exitFromStartWindowOpensNothing();
  void helpOpenedTwiceShowsPageOnce();
  void leavingHelpFocusesPolynomialBox();
  void helpPageScrollsAndEscLeaves();
  void dialogButtonsInChinese();
};

void StartHelpTest::startWindowShowsPictureAndButtons() {
  Fixture f;
  QCOMPARE(f.start->windowTitle(), QString("Form1"));
  auto* picture = f.start->findChild<QLabel*>("Picture1");
  QVERIFY(picture != nullptr);
  QCOMPARE(picture->pixmap().size(), QSize(421, 486));
  QCOMPARE(f.start->findChild<QPushButton*>("cmdbao")->text(), QStringLiteral("输入多项式"));
  QCOMPARE(f.start->findChild<QPushButton*>("Cmdtuichu")->text(), QStringLiteral("退  出"));
  QVERIFY(f.start->MainWindow() == nullptr);
  QCOMPARE(f.mainWindowsMade, 0);
}

void StartHelpTest::enteringOpensMainWindowWithHint() {
  Fixture f;
  PFAC1* main = f.OpenMainWindow();
  QVERIFY(main != nullptr);
  QVERIFY(!f.start->isVisible());
  QVERIFY(main->isVisible());
  QCOMPARE(main->Picture1()->Lines(),
           QStringList{QStringLiteral("提示：例中x^3表x的3次方,x^4y表x的4次方与y的积.")});
  QVERIFY(HasFocusInText2(main));
  // Loaded: ready for typing.
  QVERIFY(!main->findChild<QPushButton*>("Cmdshuru")->isEnabled());
  QVERIFY(main->findChild<QPushButton*>("CmdWANCHANG")->isEnabled());
  QCOMPARE(f.mainWindowsMade, 1);
}

void StartHelpTest::exitFromStartWindowOpensNothing() {
  Fixture f;
  f.Click(f.start.get(), "Cmdtuichu");
  QVERIFY(!f.start->isVisible());
  QCOMPARE(f.mainWindowsMade, 0);
}

void StartHelpTest::helpOpenedTwiceShowsPageOnce() {
  Fixture f;
  PFAC1* main = f.OpenMainWindow();
  QVERIFY(f.Help(main) == nullptr);  // made on first use
  f.Click(main, "Cmdbangzhu");
  Form3* help = f.Help(main);
  QVERIFY(help != nullptr);
  QVERIFY(help->isVisible());
  QCOMPARE(help->windowTitle(), QString("bangzhu"));
  QCOMPARE(help->Lines(), Form3::HelpPage());

  f.Click(main, "Cmdbangzhu");
  QCOMPARE(help->Lines(), Form3::HelpPage());
  QCOMPARE(main->findChildren<Form3*>().size(), 1);

  // The page: three empty lines, the title line, its lines each after an
  // empty line, the contact line last.
  const QStringList& page = Form3::HelpPage();
  QCOMPARE(page.mid(0, 3), QStringList(3, QString()));
  QVERIFY(page[3].startsWith(QStringLiteral("   本软件")));
  for (qsizetype i = 4; i + 1 < page.size(); i += 2) {
    QVERIFY2(page[i].isEmpty() && page[i + 1].startsWith(' '), qPrintable(page[i + 1]));
  }
  QVERIFY(page.last().contains("pfac"));
  // Finding: the page still said blanks were not allowed, and nothing of
  // what the program does now.
  const QString text = page.join(QString());
  QVERIFY(!text.contains(QStringLiteral("不能输入空格")));
  for (const QString& topic : {QStringLiteral("空格"), QStringLiteral("括号"), QStringLiteral("全角"),
                               QStringLiteral("分数"), QStringLiteral("历史记录"), QStringLiteral("复制"),
                               QStringLiteral("解题步骤"), QStringLiteral("批量"), QStringLiteral("PDF")}) {
    QVERIFY2(text.contains(topic), qPrintable(topic));
  }
}

void StartHelpTest::leavingHelpFocusesPolynomialBox() {
  Fixture f;
  PFAC1* main = f.OpenMainWindow();
  f.Click(main, "Cmdbangzhu");
  main->findChild<QPushButton*>("Cmdbangzhu")->setFocus();
  QVERIFY(!HasFocusInText2(main));
  Form3* help = f.Help(main);
  f.Click(help, "Cmdtuicxm");
  QVERIFY(!help->isVisible());
  QVERIFY(HasFocusInText2(main));

  // Shown again, the page is there once more.
  f.Click(main, "Cmdbangzhu");
  QVERIFY(help->isVisible());
  QCOMPARE(help->Lines(), Form3::HelpPage());
}

// Finding: made small, the help page was cut off and "退出画面" sat on it.
void StartHelpTest::helpPageScrollsAndEscLeaves() {
  Fixture f;
  PFAC1* main = f.OpenMainWindow();
  f.Click(main, "Cmdbangzhu");
  Form3* help = f.Help(main);
  QVERIFY(QTest::qWaitForWindowExposed(help));
  help->resize(320, 200);
  QTest::qWait(20);
  auto* page = help->findChild<PrintSurface*>("HelpPage");
  auto* scroll = help->findChild<QScrollArea*>();
  auto* button = help->findChild<QPushButton*>("Cmdtuicxm");
  QVERIFY(page->width() >= page->sizeHint().width() && page->height() >= page->sizeHint().height());
  QVERIFY(scroll->verticalScrollBar()->maximum() > 0 && scroll->horizontalScrollBar()->maximum() > 0);
  QVERIFY(!scroll->geometry().intersects(button->geometry()));

  QTest::keyClick(help, Qt::Key_Escape);
  QVERIFY(!help->isVisible());
  QVERIFY(HasFocusInText2(main));
}

// Finding: the message boxes of a Chinese interface read "Yes", "No", "OK".
void StartHelpTest::dialogButtonsInChinese() {
  QVERIFY2(InstallChineseTranslations(), "Qt's translations (qt6-translations-l10n) are not installed");
  QMessageBox box;
  box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
  QVERIFY2(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("是")), qPrintable(box.button(QMessageBox::Yes)->text()));
  QVERIFY(box.button(QMessageBox::No)->text().contains(QStringLiteral("否")));
  QVERIFY(box.button(QMessageBox::Ok)->text().contains(QStringLiteral("确定")));
}

// Finding: the start window had no focused button, Enter did nothing, and the
// first Tab went to 退出.
void StartHelpTest::enterOnTheStartWindowOpensTheMainWindow() {
  Fixture f;
  f.start->activateWindow();
  QTRY_COMPARE(QApplication::focusWidget(), f.start->findChild<QPushButton*>("cmdbao"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QVERIFY(f.start->MainWindow() != nullptr && f.start->MainWindow()->isVisible());
  // The help window leaves on Enter too.
  PFAC1* main = f.start->MainWindow();
  f.Click(main, "Cmdbangzhu");
  QTRY_COMPARE(QApplication::focusWidget(), f.Help(main)->findChild<QPushButton*>("Cmdtuicxm"));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QVERIFY(!f.Help(main)->isVisible());
}

}  // namespace
}  // namespace pfac::frontend

QTEST_MAIN(pfac::frontend::StartHelpTest)
#include "start_help_test.moc"
