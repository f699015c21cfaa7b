#include "frontend/windows/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTimer>
#include <QVBoxLayout>

#include "engine/result_format/marks.h"
#include "frontend/commands/finished_run.h"
#include "frontend/commands/print_command.h"
#include "frontend/engine_link/exact_process.h"
#include "frontend/graph/graph_widget.h"
#include "frontend/input/typed_input.h"
#include "frontend/results/result_steps.h"
#include "frontend/windows/broken_lines_label.h"
#include "frontend/windows/engine_box.h"
#include "frontend/windows/focus_marks.h"
#include "frontend/windows/help_window.h"
#include "frontend/windows/worksheet_window.h"

namespace pfac::frontend {

namespace {

const QString kCopy = QStringLiteral("复制");
const QString kCopyLaTeX = QStringLiteral("复制 LaTeX");
const QString kCopied = QStringLiteral("已复制");
// The height of the message area and of the engine box beside it: four lines.
constexpr int kMessageAreaHeight = 96;
// The colour of notes that say the answer is not (known) complete.
const char kWarningColour[] = "color: #a04a00;";

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setMinimumSize(96, 34);
  PressedByEnter(button);
  return button;
}

// A control that is hidden keeps its place, so that the others do not move.
void KeepPlaceWhenHidden(QWidget* widget) {
  QSizePolicy policy = widget->sizePolicy();
  policy.setRetainSizeWhenHidden(true);
  widget->setSizePolicy(policy);
}

// A scroll area of a panel showing the labels one under another, selectable,
// on the panel's own background; scrolled when they are taller than it.
QScrollArea* LabelScroll(QWidget* panel, const char* name, int minimumHeight, std::initializer_list<QLabel*> labels) {
  auto* scroll = new QScrollArea(panel);
  scroll->setObjectName(QString::fromLatin1(name));
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setWidgetResizable(true);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  scroll->setMinimumHeight(minimumHeight);
  auto* content = new QWidget;
  auto* contentLayout = new QVBoxLayout(content);
  contentLayout->setContentsMargins(0, 0, 0, 0);
  for (QLabel* label : labels) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    contentLayout->addWidget(label);
  }
  contentLayout->addStretch(1);
  scroll->setWidget(content);
  scroll->viewport()->setAutoFillBackground(false);
  content->setAutoFillBackground(false);
  return scroll;
}

}  // namespace

PFAC1::PFAC1(Dialogs& dialogs, ResultPrinter& printer, EngineRunner& runner, QWidget* parent)
    : PrintSurface(parent),
      dialogs_(dialogs),
      printer_(printer),
      runner_(runner),
      expander_(ExactExpander()),
      input_(*this, files_, dialogs, expander_.get()) {
  setObjectName(QStringLiteral("PFAC1"));
  setWindowTitle(QStringLiteral("一元和多元多项式的因式分解"));
  createWidgets();
  createResultPanel();
  createStepsPanel();
  createHistory();
  createLayout();
  setTabOrders();
  connectCommands();
  runner_.SetOnEnded([this] { EngineEnded(); });
  input_.Load();
  std::string notice;
  history_.Load(QDir::currentPath(), &notice);
  ShowHistory();
  if (!notice.empty()) dialogs_.Tell(notice, kNoticeCaption);
}

PFAC1::~PFAC1() { runner_.SetOnEnded(nullptr); }

void PFAC1::createWidgets() {
  label8_ = new QLabel(this);
  label8_->setObjectName(QStringLiteral("Label8"));
  label9_ = new QLabel(this);
  label9_->setObjectName(QStringLiteral("Label9"));
  for (QLabel* label : {label8_, label9_}) {
    label->setTextFormat(Qt::PlainText);  // keeps the blanks as they are
    KeepPlaceWhenHidden(label);
  }

  text2_ = new QLineEdit(this);
  text2_->setObjectName(QStringLiteral("Text2"));
  QFont bigger = text2_->font();
  bigger.setPointSizeF(bigger.pointSizeF() * 1.3);
  text2_->setFont(bigger);
  text2_->setMinimumHeight(34);
  KeepPlaceWhenHidden(text2_);

  // The field the answer is given over, beside the box: the rationals as
  // always, or the reals, where square roots split what they can. It is
  // reached by the mouse; Tab goes on from the box to the engine box.
  fieldChoice_ = new QComboBox(this);
  fieldChoice_->setObjectName(QStringLiteral("fieldChoice"));
  fieldChoice_->addItem(QStringLiteral("有理数范围"), static_cast<int>(Field::kRational));
  fieldChoice_->addItem(QStringLiteral("实数范围"), static_cast<int>(Field::kReal));
  fieldChoice_->setToolTip(QStringLiteral("在有理数范围内或在实数范围内分解因式 / factor over the rationals or over the reals"));
  fieldChoice_->setFont(bigger);
  fieldChoice_->setMinimumHeight(34);
  fieldChoice_->setFocusPolicy(Qt::ClickFocus);

  // The message area keeps its height, whatever is printed: a long
  // polynomial goes on below, and the area scrolls to its last line.
  messageScroll_ = new QScrollArea(this);
  messageScroll_->setObjectName(QStringLiteral("Picture1Scroll"));
  messageScroll_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  messageScroll_->setLineWidth(2);
  messageScroll_->setWidgetResizable(true);
  messageScroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  messageScroll_->setBackgroundRole(QPalette::Base);
  messageScroll_->setFixedHeight(kMessageAreaHeight);
  messageScroll_->setMinimumWidth(440);
  picture1_ = new PrintSurface;
  picture1_->setObjectName(QStringLiteral("Picture1"));
  picture1_->setBackgroundRole(QPalette::Base);
  picture1_->setForegroundRole(QPalette::Text);
  picture1_->setAutoFillBackground(true);
  picture1_->setFont(bigger);
  picture1_->SetWrapping(true);
  messageScroll_->setWidget(picture1_);

  ole1_ = new EngineBox(this);
  ole1_->setObjectName(QStringLiteral("OLE1"));
  ole1_->setFixedSize(190, kMessageAreaHeight);

  cmdshuru_ = MakeButton("Cmdshuru", QStringLiteral("输入多项式"), this);
  cmdWanchang_ = MakeButton("CmdWANCHANG", QStringLiteral("输入完毕"), this);
  cmdChongshu_ = MakeButton("CmdCHONGSHU", QStringLiteral("重新输入"), this);
  cmddayin_ = MakeButton("cmddayin", QStringLiteral("打印"), this);
  cmdbangzhu_ = MakeButton("Cmdbangzhu", QStringLiteral("简介"), this);
  cmdtuichu_ = MakeButton("Cmdtuichu", QStringLiteral("退出"), this);
  cmdpiliang_ = MakeButton("Cmdpiliang", QStringLiteral("批量"), this);
  cmdpiliang_->setToolTip(QStringLiteral("一次分解一批多项式, 做成练习和答案 (factor a list of polynomials into a worksheet)"));
}

// Under the polynomial: the factorisation as a student writes it and what the
// engine said about it, scrolled when they are taller than the panel, beside
// "复制" and "复制 LaTeX". The panel takes the window's new space when the
// window grows; a result never makes the window grow.
void PFAC1::createResultPanel() {
  resultPanel_ = new QGroupBox(QStringLiteral("分解结果"), this);
  resultPanel_->setObjectName(QStringLiteral("ResultPanel"));
  resultText_ = new BrokenLinesLabel;
  resultText_->setObjectName(QStringLiteral("ResultText"));
  resultNotes_ = new BrokenLinesLabel;
  resultNotes_->setObjectName(QStringLiteral("ResultNotes"));
  QFont bigger = resultText_->font();
  bigger.setPointSizeF(bigger.pointSizeF() * 1.3);
  resultText_->setFont(bigger);
  // A result of two lines and its certificate.
  resultScroll_ = LabelScroll(resultPanel_, "ResultScroll", 96, {resultText_, resultNotes_});

  cmdfuzhi_ = MakeButton("Cmdfuzhi", kCopy, resultPanel_);
  cmdfuzhi_->setToolTip(QStringLiteral("把结果复制到剪贴板 (copy the result as plain text)"));
  cmdfuzhiLaTeX_ = MakeButton("CmdfuzhiLaTeX", kCopyLaTeX, resultPanel_);
  cmdfuzhiLaTeX_->setToolTip(QStringLiteral("把结果以 LaTeX 格式复制到剪贴板 (copy the result as LaTeX)"));
  for (QPushButton* button : {cmdfuzhi_, cmdfuzhiLaTeX_}) button->setEnabled(false);

  auto* copyColumn = new QVBoxLayout;
  copyColumn->addWidget(cmdfuzhi_);
  copyColumn->addWidget(cmdfuzhiLaTeX_);
  copyColumn->addStretch(1);
  auto* layout = new QHBoxLayout(resultPanel_);
  layout->addWidget(resultScroll_, 1);
  layout->addLayout(copyColumn);
}

// Under the result panel: the steps of the factorisation, one a line, set as
// the result is, scrolled when they are taller than the panel; on the tab
// beside them, in the same space, the graph of an answer in one letter.
void PFAC1::createStepsPanel() {
  stepsPanel_ = new QTabWidget(this);
  stepsPanel_->setObjectName(QStringLiteral("StepsPanel"));
  stepsText_ = new BrokenLinesLabel;
  stepsText_->setObjectName(QStringLiteral("StepsText"));
  stepsText_->setFont(resultText_->font());
  stepsText_->SetHangingIndent(5);  // under the method's name, past the step's number
  connect(stepsText_, &BrokenLinesLabel::clicked, this, [this] {
    if (!shownSteps_.explanation) return;
    stepsOpen_ = !stepsOpen_;
    stepsText_->SetParagraphs(StepLines(shownSteps_, stepsOpen_, true));
  });
  stepsPanel_->addTab(LabelScroll(stepsPanel_, "StepsScroll", 72, {stepsText_}),  // three steps
                      QString::fromUtf8(kStepsHeading));
  graph_ = new GraphWidget(stepsPanel_);
  graph_->setObjectName(QStringLiteral("Graph"));
  graph_->setFont(resultText_->font());
  stepsPanel_->addTab(graph_, QString::fromUtf8(kGraphTab));
  stepsPanel_->setTabEnabled(1, false);
  // Tab reaches the tabs themselves (arrow keys pick one), not the frame round them.
  stepsPanel_->setFocusPolicy(Qt::NoFocus);
  stepsPanel_->tabBar()->setObjectName(QStringLiteral("StepsTabs"));
  stepsPanel_->tabBar()->setFocusPolicy(Qt::TabFocus);
  for (QWidget* scroll : stepsPanel_->tabBar()->findChildren<QToolButton*>()) scroll->setFocusPolicy(Qt::NoFocus);
  stepsPanel_->setTabToolTip(1, QStringLiteral("一元多项式 y = f(x) 的图像和实根 (the graph of y = f(x) and its real roots)"));
  // The user's pick of a tab holds for the answers that follow.
  connect(stepsPanel_, &QTabWidget::tabBarClicked, this, [this](int index) {
    if (stepsPanel_->isTabEnabled(index)) graphWanted_ = index == 1;
  });
  connect(stepsPanel_, &QTabWidget::currentChanged, this, &PFAC1::MakeGraph);
}

// Under the steps: the folder's earlier polynomials and their results,
// the newest first, one line each as the panel writes them.
void PFAC1::createHistory() {
  historyPanel_ = new QGroupBox(QStringLiteral("历史记录 / history"), this);
  historyPanel_->setObjectName(QStringLiteral("HistoryPanel"));
  historyList_ = new QListWidget(historyPanel_);
  historyList_->setObjectName(QStringLiteral("History"));
  // Four entries, a scroll bar or not; the result panel above takes the
  // window's new space.
  historyList_->setFixedHeight(historyList_->fontMetrics().height() * 4 + 12);
  historyList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  historyList_->setTextElideMode(Qt::ElideRight);
  historyList_->setToolTip(QStringLiteral("单击一条, 把它的多项式放回输入框 (click an entry to put its polynomial back)"));
  auto* layout = new QVBoxLayout(historyPanel_);
  layout->addWidget(historyList_);
}

void PFAC1::createLayout() {
  auto* work = new QHBoxLayout;
  work->addWidget(messageScroll_, 1);
  work->addSpacing(12);
  work->addWidget(ole1_, 0, Qt::AlignVCenter);

  auto* commands = new QHBoxLayout;
  for (QPushButton* button :
       {cmdshuru_, cmdWanchang_, cmdChongshu_, cmddayin_, cmdpiliang_, cmdbangzhu_, cmdtuichu_}) {
    commands->addWidget(button);
  }

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 10, 16, 10);
  layout->setSpacing(6);
  layout->addWidget(label8_);
  layout->addWidget(label9_);
  auto* input = new QHBoxLayout;
  input->addWidget(text2_, 1);
  input->addWidget(fieldChoice_);
  layout->addLayout(input);
  layout->addLayout(work);
  layout->addWidget(resultPanel_, 1);
  layout->addWidget(stepsPanel_, 1);
  layout->addWidget(historyPanel_);
  layout->addSpacing(4);
  layout->addLayout(commands);
}

// Tab goes in reading order: the box, the engine box, the copy buttons, the
// tabs of the steps and the graph, the history, then the commands from left
// to right.
void PFAC1::setTabOrders() {
  QWidget* order[] = {text2_,      ole1_,     cmdfuzhi_,   cmdfuzhiLaTeX_, stepsPanel_->tabBar(),
                      historyList_, cmdshuru_, cmdWanchang_, cmdChongshu_,   cmddayin_,
                      cmdpiliang_,  cmdbangzhu_, cmdtuichu_};
  for (size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
  for (QScrollArea* scroll : findChildren<QScrollArea*>()) scroll->setFocusPolicy(Qt::NoFocus);
}

void PFAC1::connectCommands() {
  connect(cmdshuru_, &QPushButton::clicked, this, &PFAC1::Cmdshuru_Click);
  connect(cmdWanchang_, &QPushButton::clicked, this, &PFAC1::CmdWANCHANG_Click);
  connect(cmdChongshu_, &QPushButton::clicked, this, &PFAC1::CmdCHONGSHU_Click);
  connect(cmddayin_, &QPushButton::clicked, this, &PFAC1::cmddayin_Click);
  connect(cmdbangzhu_, &QPushButton::clicked, this, &PFAC1::Cmdbangzhu_Click);
  connect(cmdtuichu_, &QPushButton::clicked, this, &PFAC1::Cmdtuichu_Click);
  connect(ole1_, &EngineBox::activated, this, &PFAC1::OLE1_DblClick);
  connect(cmdfuzhi_, &QPushButton::clicked, this, &PFAC1::Cmdfuzhi_Click);
  connect(cmdfuzhiLaTeX_, &QPushButton::clicked, this, &PFAC1::CmdfuzhiLaTeX_Click);
  connect(cmdpiliang_, &QPushButton::clicked, this, &PFAC1::Cmdpiliang_Click);
  connect(fieldChoice_, &QComboBox::activated, this, &PFAC1::FieldChosen);
  // A click, or Enter on the current entry.
  for (auto signal : {&QListWidget::itemClicked, &QListWidget::itemActivated}) {
    connect(historyList_, signal, this, [this](QListWidgetItem* item) { History_Click(historyList_->row(item)); });
  }
  connect(text2_, &QLineEdit::textEdited, this, &PFAC1::Text2Edited);
  // Enter in the polynomial box is "输入完毕".
  connect(text2_, &QLineEdit::returnPressed, this, [this] {
    if (cmdWanchang_->isEnabled()) cmdWanchang_->click();
  });
}

void PFAC1::Cmdshuru_Click() {
  input_.NewPolynomial();
  InputStarted();
}

// Multiplying out large brackets may take a moment.
void PFAC1::CmdWANCHANG_Click() {
  historyShown_.reset();
  StopExact();
  QApplication::setOverrideCursor(Qt::WaitCursor);
  input_.InputFinished();
  QApplication::restoreOverrideCursor();
  runs_.Submitted(input_.HandedOff(), input_.HandedOffText(), input_.HandedOffTyped());
  ClearResult();
}

void PFAC1::CmdCHONGSHU_Click() {
  input_.EnterAgain();
  InputStarted();
}

// Back to typing: the window holds no submitted polynomial, and shows no
// result.
void PFAC1::InputStarted() {
  historyShown_.reset();
  StopExact();
  runs_.InputStarted();
  ClearResult();
}

// Only the result of the polynomial now in DXS.DAT is printed, and only once
// the engine's window has closed; with its graph when the graph is shown.
void PFAC1::cmddayin_Click() {
  ResetCopyButtons();
  if (exactShown_ && !historyShown_) {
    PrintExactResult(printer_, dialogs_, *exactShown_, GraphShown());
    return;
  }
  PrintShownResult(printer_, files_, dialogs_, runs_, historyShown_ ? &*historyShown_ : nullptr, ChosenField(),
                   GraphShown());
}

// The help window is shown, cleared and given its page; "简介" again shows the
// page again from the top.
void PFAC1::Cmdbangzhu_Click() {
  ResetCopyButtons();
  if (help_ == nullptr) {
    help_ = new Form3(this);
    connect(help_, &Form3::left, this, &PFAC1::FocusText2);
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
  help_->Cls();
  help_->PrintHelpPage();
}

void PFAC1::Cmdtuichu_Click() {
  if (ReadyToEnd()) EndProgram();
}

bool PFAC1::ReadyToEnd() {
  const bool engine = runner_.IsRunning();
  const bool worksheet = batch_ != nullptr && batch_->Run().Running();
  if (!engine && !worksheet) return true;
  if (!dialogs_.AskYesNo(engine ? kStopEngineAndQuit : kStopWorksheetAndQuit, kNoticeCaption)) return false;
  if (worksheet) batch_->StopRun();
  if (engine && !runner_.Stop()) {
    dialogs_.Tell(kEngineDoesNotStop, kNoticeCaption);
    return false;
  }
  return true;
}

// Only an active engine box reports a double-click. One engine at a time: while
// its window is open, it comes to the front instead.
void PFAC1::OLE1_DblClick() {
  ResetCopyButtons();
  if (exact_ != nullptr && exact_->Running()) {
    exact_->Cancel();
    return;
  }
  if (input_.BeyondSearch()) {
    StartExact();
    return;
  }
  if (runner_.IsRunning()) {
    runner_.BringToFront();
    return;
  }
  const EngineStart start = TerminalPlace();
  // What jg.dat holds is taken before the engine can write it.
  runs_.Started(QDir::currentPath().toStdString());
  QString error;
  if (!runner_.Start(start, &error)) {
    runs_.Ended(QDir::currentPath().toStdString());
    dialogs_.Tell(error.toStdString(), kNoticeCaption);
  }
}

// Beside this window, the window moving aside where that makes room, with a
// smaller font where the screen is small; where even that does not fit, where
// it covers neither the polynomial box nor the result panel.
EngineStart PFAC1::TerminalPlace() {
  EngineStart start = EngineBesideFrontEnd();
  const QScreen* screen = this->screen();
  if (screen == nullptr || !isVisible()) return start;
  const QRect frame = frameGeometry();
  const QRect inner = geometry();
  const QMargins decoration(inner.left() - frame.left(), inner.top() - frame.top(),
                            frame.right() - inner.right(), frame.bottom() - inner.bottom());
  const QRect keep = QRect(text2_->mapToGlobal(QPoint()), text2_->size())
                         .united(QRect(resultPanel_->mapToGlobal(QPoint()), resultPanel_->size()));
  const TerminalPlacement placement = PlaceTerminal(frame, screen->availableGeometry(), decoration, keep);
  if (placement.arrangement.window != frame.topLeft()) move(placement.arrangement.window);
  start.place = placement.arrangement.terminal;
  start.pointSize = placement.pointSize;
  return start;
}

// The run's result goes into the history under the polynomial it was given,
// and into the panel when the window still shows that polynomial.
void PFAC1::EngineEnded() {
  FinishedRun run = EndRun(runs_, QDir::currentPath().toStdString());
  // The result reads as the student typed the polynomial, over the field chosen.
  if (run.result) SetTyped(&*run.result, run.text);
  if (run.result) SetField(&*run.result, ChosenField());
  if (run.result) AddToHistory(run.text, *run.result);
  if (!run.forWindow) return;  // a run of a polynomial no longer shown
  if (run.result) {
    ShowResult(*run.result);
  } else {
    ShowNoResult(run.file == RunFile::Foreign ? kForeignResult : kNoResultWritten);
  }
  raise();
  activateWindow();
}

void PFAC1::StartExact() {
  if (exact_ == nullptr) {
    exact_ = new ExactProcess(ExactProcess::BesideEngine(EngineBesideFrontEnd().program), this);
    connect(exact_, &ExactProcess::finished, this, &PFAC1::ExactEnded);
  }
  exactText_ = input_.BeyondSearch();
  exactShown_.reset();
  ClearResult();
  QString error;
  if (!exact_->Start(exactText_->value, kExactTimeLimitMs, &error)) {
    exactText_.reset();
    ShowNoResult(error.toStdString());
    return;
  }
  ole1_->SetCaption(QStringLiteral("精确分解中…\n双击此处取消"),
                    QStringLiteral("精确分解中, 双击或按回车键取消 (factoring exactly: double-click or press Enter to "
                                   "cancel)"));
  resultNotes_->SetParagraphs({ProseText("精确分解中, 双击《双击此处分解》取消 / factoring exactly: double-click the "
                                         "engine box to cancel")});
}

void PFAC1::ExactEnded() {
  SetEngineBoxBeyondSearch(true);
  if (!exactText_) return;  // given up: the text is no longer submitted
  const BeyondSearchText text = *exactText_;
  exactText_.reset();
  if (!exact_->Answer()) {
    ShowNoResult(exact_->Why());
    return;
  }
  RunResult result = ExactRunResult(text.text, text.value, text.letters, *exact_->Answer(), exact_->Seconds());
  SetTyped(&result, text.typed);
  SetField(&result, ChosenField());
  AddToHistory(text.typed, result);
  ShowResult(result);
  exactShown_ = result;
}

void PFAC1::StopExact() {
  exactText_.reset();
  exactShown_.reset();
  if (exact_ != nullptr && exact_->Running()) exact_->Cancel();
}

void PFAC1::AddToHistory(const std::string& text, const RunResult& result) {
  if (!history_.Add(text, result) && !historyUnsavedTold_ && history_.Writable()) {
    historyUnsavedTold_ = true;
    dialogs_.Tell("历史记录文件 pfac-history.json 无法写入。\n(The history file pfac-history.json cannot be written.)",
                  kNoticeCaption);
  }
  ShowHistory();
}

void PFAC1::ShowHistory() {
  historyList_->clear();
  const std::vector<HistoryEntry>& entries = history_.Entries();
  for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
    const RunResult result = entry->Result();
    QString line = QString::fromStdString(result.presentation.shown.Text());
    if (result.end == RunEnd::Incomplete) line += QString::fromUtf8(kNotFinishedMark);
    auto* item = new QListWidgetItem(line, historyList_);
    QStringList notes;
    for (const std::string& note : result.notes) notes << QString::fromStdString(note);
    item->setToolTip(notes.join('\n'));
  }
}

void PFAC1::History_Click(int row) {
  const std::vector<HistoryEntry>& entries = history_.Entries();
  if (row < 0 || row >= static_cast<int>(entries.size())) return;
  const HistoryEntry entry = entries[entries.size() - 1 - static_cast<size_t>(row)];
  input_.RestoreText(entry.text);
  runs_.InputStarted();
  fieldChoice_->setCurrentIndex(fieldChoice_->findData(static_cast<int>(entry.source.field)));
  ShowResult(entry.Result());
  historyShown_ = entry;
  // The box takes the keyboard once the list has done with the click.
  QTimer::singleShot(0, this, [this] { FocusText2(); });
}

Field PFAC1::ChosenField() const { return static_cast<Field>(fieldChoice_->currentData().toInt()); }

// The result in the panel given again over the field now chosen, and kept in
// the history as that polynomial over that field.
void PFAC1::FieldChosen() {
  // The graph comes first over the reals, the steps over the rationals.
  SetGraphShownFirst(ChosenField() == Field::kReal);
  if (!shownResult_ || shownResult_->source.field == ChosenField()) return;
  RunResult result = *shownResult_;
  SetField(&result, ChosenField());
  const std::string text = historyShown_ ? historyShown_->text : Text2();
  AddToHistory(text, result);
  if (historyShown_) {
    historyShown_->source = result.source;
  } else if (exactShown_) {
    exactShown_ = result;
  }
  ShowResult(result);
}

void PFAC1::Text2Edited() {
  input_.TextEdited();
  if (!historyShown_ || Text2() == historyShown_->text) return;
  historyShown_.reset();
  ClearResult();
  cmddayin_->setEnabled(false);
}

// One worksheet window, made on first use; it works in folders of its own.
void PFAC1::Cmdpiliang_Click() {
  ResetCopyButtons();
  if (batch_ == nullptr) batch_ = new BatchWindow(dialogs_, expander_.get(), this);
  batch_->show();
  batch_->raise();
  batch_->activateWindow();
}

// A run stopped before it split anything is said in words, not as "P = (P)".
// The notes are green only where every one of them is good news: a "not
// complete" certificate stays in the warning colour though the complete
// factorisation follows it.
void PFAC1::ShowResult(const RunResult& result) {
  ResetCopyButtons();
  shownResult_ = result;
  const bool answer = GaveAnswer(result) || result.end != RunEnd::Incomplete;
  resultText_->SetParagraphs({answer ? result.presentation.shown : ProseText(kStoppedWithoutAnswer)});
  std::vector<Breakable> notes;
  bool notComplete = false;
  for (const std::string& note : result.notes) {
    notes.push_back(ProseText(note));
    notComplete = notComplete || marks::KindOfCertificate(note) == marks::CertificateKind::kNotComplete;
  }
  resultNotes_->SetParagraphs(std::move(notes));
  const char* colour = "";
  switch (result.end) {
    case RunEnd::Certified: colour = notComplete ? kWarningColour : "color: #1b6b1b;"; break;
    case RunEnd::Incomplete: colour = kWarningColour; break;
    case RunEnd::InternalError: colour = "color: #c00000; font-weight: bold;"; break;
    case RunEnd::Finished: break;
  }
  resultNotes_->setStyleSheet(QString::fromLatin1(colour));
  // The steps with their detail folded; a click opens it, another folds it.
  shownSteps_ = ExplainResult(result.source);
  stepsOpen_ = false;
  stepsText_->SetParagraphs(StepLines(shownSteps_, false, true));
  plainResult_ = answer ? QString::fromStdString(result.presentation.plain) : QString();
  latexResult_ = answer ? QString::fromStdString(result.presentation.latex) : QString();
  cmdfuzhi_->setEnabled(!plainResult_.isEmpty());
  cmdfuzhiLaTeX_->setEnabled(!latexResult_.isEmpty());
  // An answer in one letter has a graph.
  const bool oneLetter = answer && result.source.value && result.source.value->letters.size() == 1;
  graph_->SetGraph(std::nullopt);
  graphPending_.reset();
  if (oneLetter) graphPending_ = result;
  stepsPanel_->setTabEnabled(1, oneLetter);
  stepsPanel_->setCurrentIndex(oneLetter && graphWanted_ ? 1 : 0);
  MakeGraph();
}

// The graph takes the history's place too while it is shown, and the larger
// share of the result's: the window keeps its size, and the history is back
// with the steps.
void PFAC1::MakeGraph() {
  const bool graphShown = stepsPanel_->currentWidget() == graph_;
  if (historyPanel_ != nullptr) historyPanel_->setVisible(!graphShown);
  if (auto* box = qobject_cast<QBoxLayout*>(layout())) box->setStretchFactor(stepsPanel_, graphShown ? 3 : 1);
  if (stepsPanel_->currentWidget() != graph_ || !graphPending_) return;
  std::string why;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  std::optional<GraphData> graph = GraphOfResult(*graphPending_, &why);
  QApplication::restoreOverrideCursor();
  graphPending_.reset();
  graph_->SetGraph(std::move(graph), QString::fromStdString(why));
}

bool PFAC1::GraphShown() const { return stepsPanel_->currentWidget() == graph_ && graph_->Graph().has_value(); }

void PFAC1::ShowNoResult(const std::string& note) {
  ClearResult();
  resultNotes_->SetParagraphs({ProseText(note)});
}

void PFAC1::ClearResult() {
  ResetCopyButtons();
  shownResult_.reset();
  resultText_->SetParagraphs({});
  resultNotes_->SetParagraphs({});
  resultNotes_->setStyleSheet(QString());
  stepsText_->SetParagraphs({});
  graphPending_.reset();
  graph_->SetGraph(std::nullopt);
  stepsPanel_->setTabEnabled(1, false);
  plainResult_.clear();
  latexResult_.clear();
  cmdfuzhi_->setEnabled(false);
  cmdfuzhiLaTeX_->setEnabled(false);
}

void PFAC1::ResetCopyButtons() {
  cmdfuzhi_->setText(kCopy);
  cmdfuzhiLaTeX_->setText(kCopyLaTeX);
}

void PFAC1::Copied(QPushButton* button, const QString& text) {
  ResetCopyButtons();
  if (text.isEmpty()) return;
  QGuiApplication::clipboard()->setText(text);
  button->setText(kCopied);
}

void PFAC1::Cmdfuzhi_Click() { Copied(cmdfuzhi_, plainResult_); }

void PFAC1::CmdfuzhiLaTeX_Click() { Copied(cmdfuzhiLaTeX_, latexResult_); }

void PFAC1::closeEvent(QCloseEvent* event) {
  if (!ending_) {
    if (!ReadyToEnd()) {
      event->ignore();
      return;
    }
    EndProgram();
  }
  event->accept();
}

// All files closed; a printout left open is printed now.
void PFAC1::EndProgram() {
  ending_ = true;
  files_.CloseAll();
  EndOpenDocument(printer_, dialogs_);
  if (help_ != nullptr) help_->hide();
  if (batch_ != nullptr) batch_->close();
  hide();
  QCoreApplication::quit();
}

QWidget* PFAC1::Widget(Control control) const {
  switch (control) {
    case Control::Text2: return text2_;
    case Control::Label8: return label8_;
    case Control::Label9: return label9_;
    case Control::Cmdshuru: return cmdshuru_;
    case Control::CmdWANCHANG: return cmdWanchang_;
    case Control::CmdCHONGSHU: return cmdChongshu_;
    case Control::cmddayin: return cmddayin_;
  }
  return nullptr;
}

void PFAC1::ClsWindow() { Cls(); }
void PFAC1::ClsPicture1() { picture1_->Cls(); }
void PFAC1::PrintOnPicture1(const std::string& line) { PrintOnPicture1(ProseText(line)); }

// The last line printed is in sight, once the area has laid the lines out.
void PFAC1::PrintOnPicture1(const Breakable& text) {
  picture1_->Print(text);
  QTimer::singleShot(0, messageScroll_, [scroll = messageScroll_] {
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
  });
}
void PFAC1::SetEnabled(Control control, bool enabled) { Widget(control)->setEnabled(enabled); }
void PFAC1::SetVisible(Control control, bool visible) { Widget(control)->setVisible(visible); }

void PFAC1::SetCaption(Control label, const std::string& caption) {
  if (auto* widget = qobject_cast<QLabel*>(Widget(label))) widget->setText(QString::fromStdString(caption));
}

std::string PFAC1::Text2() const { return text2_->text().toStdString(); }
void PFAC1::SetText2(const std::string& text) { text2_->setText(QString::fromStdString(text)); }

void PFAC1::FocusText2() {
  activateWindow();
  text2_->setFocus(Qt::OtherFocusReason);
}

// A read-only box is drawn in the colour of the window, so that it does not
// look as if it took typing.
void PFAC1::SetText2ReadOnly(bool readOnly) {
  text2_->setReadOnly(readOnly);
  QPalette colours = text2_->palette();
  colours.setColor(QPalette::Base, QApplication::palette(text2_).color(readOnly ? QPalette::Window : QPalette::Base));
  text2_->setPalette(colours);
}

void PFAC1::SetEngineActive(bool active) { ole1_->SetActive(active); }

void PFAC1::SetEngineBoxBeyondSearch(bool beyond) {
  if (beyond) {
    ole1_->SetCaption(QStringLiteral("搜索不适用\n双击此处精确分解"),
                      QStringLiteral("这个多项式超出搜索范围: 双击此处或按回车键由精确分解得到 (beyond the search's "
                                     "limits: double-click or press Enter for the exact factorisation)"));
  } else {
    ole1_->SetCaption(QStringLiteral("双击此处分解"),
                      QStringLiteral("双击此处或按回车键启动分解程序 (double-click or press Enter to start the engine)"));
  }
}

void PFAC1::FocusEngineBox() { ole1_->setFocus(Qt::OtherFocusReason); }

// The places are counted in characters; the box counts UTF-16 units.
void PFAC1::SelectInText2(int position, int length) {
  const QString text = text2_->text();
  auto unit = [&text](int characters) {
    qsizetype at = 0;
    for (int c = 0; c < characters && at < text.size(); ++c) {
      at += text[at].isHighSurrogate() && at + 1 < text.size() ? 2 : 1;
    }
    return static_cast<int>(at);
  };
  FocusText2();
  const int start = unit(position);
  const int end = length < 0 ? static_cast<int>(text.size()) : unit(position + length);
  text2_->setSelection(start, end - start);
}

}  // namespace pfac::frontend
