#include "frontend/windows/help_window.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "frontend/windows/focus_marks.h"

namespace pfac::frontend {

namespace {

// The paragraphs' lines, broken by hand at a fixed width: a paragraph begins
// with three blanks, a continuation line with one.
QStringList PageLines() {
  QStringList page{QString(), QString(), QString(),
                   QStringLiteral("   本软件为有理数域上一元和多元多项式的因式分解软件。")};
  const QStringList paragraphs{
      QStringLiteral("   单击《输入多项式》命令钮后,将多项式按例子形式在一行内输完。指数前可加上 ^ 符号或者"),
      QStringLiteral(" 不加 ,多项式中间不能输入空格。  输入完后单击《输入完毕》。然后双击《双击此处分解》图框"),
      QStringLiteral(" 进行分解。解完一题阅读结果后按任一键，然后单击显示窗口右上角的关闭钮（有的计算机不须"),
      QStringLiteral(" 此操作）关闭显示结果的窗口后，再单击《输入多项式》钮，可输入下一题。"),
      QStringLiteral("   多项式的系数可为整数或分数。系数输入例子如：12，-2，3/2，-1/6等。变量名用单字符表示，"),
      QStringLiteral(" 如：X，Y 等英文字母字符。同音字母的大小写被视为同一变量名。输入的单项式须是最简单项式。"),
      QStringLiteral("   当多项式的次数较高或元数较多时分解时需要的时间一般也较长,用户如不想等待可根据提示(兼"),
      QStringLiteral(" 有中、英文)按“X”键干预,缩短运行时间。因式分解教学中所遇多项式通常次数不太高元数也"),
      QStringLiteral(" 不多，可顺利得出答案。对某些科学研究部门对因式分解的特殊需要本软件也能提供部分帮助。"),
      QStringLiteral("   由于受计算机所能表示的数值范围的限制，为防止数值'溢出'，当运行中出现过大数值时软件采"),
      QStringLiteral(" 取了一些特殊措施。本软件对运行时间也作了限制。由于以上原因,对某些研究领域所遇到的过高次"),
      QStringLiteral(" 数和太多变量的因式分解问题, 本软件只能提供中间答案甚至不能给出解答。"),
  };
  for (const QString& line : paragraphs) page << QString() << line;
  page << QString()
       << QStringLiteral("   pfac: 有理数域上多项式的因式分解 (polynomial factoring over the rationals)");
  return page;
}

}  // namespace

Form3::Form3(QWidget* parent) : QWidget(parent) {
  setWindowFlag(Qt::Window);
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(QStringLiteral("bangzhu"));

  page_ = new PrintSurface;
  page_->setObjectName(QStringLiteral("HelpPage"));
  page_->setBackgroundRole(QPalette::Window);
  auto* scroll = new QScrollArea(this);
  scroll->setWidget(page_);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);

  cmdtuicxm_ = new QPushButton(QStringLiteral("退出画面"), this);
  cmdtuicxm_->setObjectName(QStringLiteral("Cmdtuicxm"));
  cmdtuicxm_->setMinimumSize(110, 34);
  // Enter, as Escape, leaves the page.
  PressedByEnter(cmdtuicxm_);
  cmdtuicxm_->setDefault(true);
  setFocusProxy(cmdtuicxm_);
  scroll->setFocusPolicy(Qt::NoFocus);
  connect(cmdtuicxm_, &QPushButton::clicked, this, &Form3::Cmdtuicxm_Click);

  auto* buttonRow = new QHBoxLayout;
  buttonRow->addStretch(1);
  buttonRow->addWidget(cmdtuicxm_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll, 1);
  layout->addLayout(buttonRow);

  // Room for the whole page above the button, as far as the screen allows.
  for (const QString& line : HelpPage()) page_->Print(line);
  QSize wanted = page_->sizeHint() + QSize(40, cmdtuicxm_->minimumHeight() + 40);
  if (const QScreen* screen = this->screen()) wanted = wanted.boundedTo(screen->availableGeometry().size());
  page_->Cls();
  resize(wanted);
}

const QStringList& Form3::HelpPage() {
  static const QStringList page = PageLines();
  return page;
}

void Form3::PrintHelpPage() {
  for (const QString& line : HelpPage()) page_->Print(line);
}

void Form3::Cmdtuicxm_Click() {
  hide();
  emit left();
}

void Form3::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    Cmdtuicxm_Click();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace pfac::frontend
