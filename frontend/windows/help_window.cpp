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

// What a window manager's frame may take around the window, in pixels.
constexpr int kFrameRoom = 40;

// The paragraphs' lines, broken by hand at a fixed width: a paragraph begins
// with three blanks, a continuation line with one; each line follows an empty
// one. What the program does now: blanks, brackets, full-width characters and
// fractions in the input, the check of a result, the history, copying, the
// steps, printing and worksheets.
QStringList PageLines() {
  QStringList page{QString(), QString(), QString(),
                   QStringLiteral("   本软件为有理数域上一元和多元多项式的因式分解软件。")};
  const QStringList paragraphs{
      QStringLiteral("   单击《输入多项式》命令钮后,将多项式按例子形式在一行内输完。指数前可加上 ^ 符号或者"),
      QStringLiteral(" 不加; 也可以用上标数字 (x²)。中间可以有空格; 中文输入法打出的全角字符 (如 ＋ － （ ）)"),
      QStringLiteral(" 照样可以读。输入完后单击《输入完毕》或按回车键。然后双击《双击此处分解》图框 (或在它"),
      QStringLiteral(" 取得焦点后按回车键) 进行分解。分解程序在旁边的窗口中运行, 解完后按任一键关闭它, 结果"),
      QStringLiteral(" 就显示在《分解结果》中。单击《输入多项式》钮,可输入下一题。"),
      QStringLiteral("   可以输入括号和括号的乘方, 如 (x+1)(x-2)^2 或 3(x+y)^2: 程序先把它乘开, 以“读作”"),
      QStringLiteral(" 一行显示乘开的多项式, 再交给分解程序。乘号可写 * 或 ·,也可以不写。"),
      QStringLiteral("   多项式的系数可为整数或分数。系数输入例子如：12，-2，3/2，-1/6等。变量名用单字符表示，"),
      QStringLiteral(" 如：X，Y 等英文字母字符。同音字母的大小写被视为同一变量名。一个多项式最多 30 项、"),
      QStringLiteral(" 8 个变量; 输入有错时, 程序指出错在第几个字符, 并在输入框中标出。"),
      QStringLiteral("   结果下面是验证的结论: 绿色表示结果完整, 每个因式都不可约; 橙色表示结果不完整或运行"),
      QStringLiteral(" 被停止, 最后一个因式可能还可以分解。《解题步骤》列出分解的步骤 (提公因式、公式法、十字"),
      QStringLiteral(" 相乘法等)。《复制》和《复制 LaTeX》把结果复制到剪贴板。单项式 (如 2x) 不需要分解。"),
      QStringLiteral("   《历史记录》保存在这个文件夹中分解过的多项式和结果。单击一条, 它的多项式回到输入框,"),
      QStringLiteral(" 结果显示在下面, 也可以打印。没有完整答案的运行不会代替已经验证过的结果, 并标有“未完成”。"),
      QStringLiteral("   《打印》把当前结果连同解题步骤和运算过程排在一页上。选择马上打印时出现打印对话框, 可以"),
      QStringLiteral(" 选打印机, 或者存成 PDF 文件; 不马上打印时, 结果留在这一页上, 与以后的结果一起打印。"),
      QStringLiteral("   《批量》一次分解一批多项式 (一行一个, 可以从文本文件载入), 做成练习页和答案页 (PDF)。"),
      QStringLiteral(" 不能读的一行不出现在练习页上, 答案页中注明原因。命令行用法见 pfac --help。"),
      QStringLiteral("   当多项式的次数较高或元数较多时分解时需要的时间一般也较长,用户如不想等待可根据提示(兼"),
      QStringLiteral(" 有中、英文)按“X”键干预,缩短运行时间。单击《退出》时如果分解程序还在运行, 程序先问是否"),
      QStringLiteral(" 停止它。因式分解教学中所遇多项式通常次数不太高元数也不多，可顺利得出答案。"),
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

  // Room for the whole page above the button, as far as the screen allows
  // with room for the window's frame.
  for (const QString& line : HelpPage()) page_->Print(line);
  QSize wanted = page_->sizeHint() + QSize(40, cmdtuicxm_->minimumHeight() + 40);
  if (const QScreen* screen = this->screen()) {
    wanted = wanted.boundedTo(screen->availableGeometry().size() - QSize(kFrameRoom, 2 * kFrameRoom));
  }
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
