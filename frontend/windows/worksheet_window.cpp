#include "frontend/windows/worksheet_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "frontend/engine_link/engine_launcher.h"
#include "frontend/input/problem_list.h"
#include "frontend/printing/answer_key.h"
#include "frontend/printing/document_printer.h"
#include "frontend/windows/focus_marks.h"

namespace pfac::frontend {

namespace {

enum Column { kProblem, kAnswer, kCertificate, kTime, kColumns };

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  PressedByEnter(button);
  button->setObjectName(QString::fromLatin1(name));
  button->setMinimumSize(std::max(110, button->fontMetrics().horizontalAdvance(caption) + 28), 32);
  return button;
}

}  // namespace

BatchWindow::BatchWindow(Dialogs& dialogs, Expander* expander, QWidget* parent)
    : QWidget(parent, Qt::Window),
      dialogs_(dialogs),
      run_(EngineBesideFrontEnd().program, expander) {
  setObjectName(QStringLiteral("BatchWindow"));
  setWindowTitle(QString::fromUtf8(kBatchWindowTitle));

  auto* instructions = new QLabel(
      QStringLiteral("每行一个多项式 (写法与主窗口相同), 可以粘贴, 也可以载入文本文件。\n"
                     "One polynomial a line, written as in the main window; paste them or load a text file."),
      this);
  list_ = new QPlainTextEdit(this);
  list_->setObjectName(QStringLiteral("List"));
  list_->setPlaceholderText(QStringLiteral("x^2-1\n(x+1)(x+y+z)^2\n2x^2+4x+6"));
  list_->setMinimumHeight(120);

  cmdzairu_ = MakeButton("Cmdzairu", QStringLiteral("载入… / load"), this);
  cmdkaishi_ = MakeButton("Cmdkaishi", QStringLiteral("开始 / start"), this);
  cmdquxiao_ = MakeButton("Cmdquxiao", QStringLiteral("取消 / cancel"), this);
  cmdbaocun_ = MakeButton("Cmdbaocun", QStringLiteral("保存 PDF… / save PDF"), this);
  cmdquxiao_->setEnabled(false);
  cmdbaocun_->setEnabled(false);
  withSteps_ = new QCheckBox(QStringLiteral("答案附解题步骤 / steps in the key"), this);
  withSteps_->setObjectName(QStringLiteral("WithSteps"));
  withSteps_->setToolTip(QStringLiteral("答案页上每题附上用课上的方法分解的步骤 (each answer with the steps of its factorisation)"));
  withGraphs_ = new QCheckBox(QStringLiteral("答案附图像 / graphs in the key"), this);
  withGraphs_->setObjectName(QStringLiteral("WithGraphs"));
  withGraphs_->setToolTip(QStringLiteral("答案页上一元多项式附 y = f(x) 的图像和实根 (each answer in one letter with its graph)"));

  overReals_ = new QCheckBox(QStringLiteral("实数范围 / over the reals"), this);
  overReals_->setObjectName(QStringLiteral("OverReals"));
  overReals_->setToolTip(QStringLiteral("整张练习在实数范围内分解因式, 用平方根 (the whole worksheet factored over the reals, "
                                        "with square roots)"));

  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("Progress"));
  progress_->setTextVisible(false);  // until a worksheet runs
  progress_->setValue(0);

  table_ = new QTableWidget(0, kColumns, this);
  table_->setObjectName(QStringLiteral("Table"));
  table_->setHorizontalHeaderLabels({QStringLiteral("题 / problem"), QStringLiteral("答案 / answer"),
                                     QStringLiteral("验证 / certificate"), QStringLiteral("时间 / time")});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();  // the problems carry their numbers
  table_->horizontalHeader()->setSectionResizeMode(kProblem, QHeaderView::Interactive);
  table_->horizontalHeader()->setSectionResizeMode(kAnswer, QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(kCertificate, QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(kTime, QHeaderView::ResizeToContents);
  table_->setColumnWidth(kProblem, 220);
  table_->setWordWrap(false);

  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("Status"));
  status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto* buttons = new QHBoxLayout;
  for (QPushButton* button : {cmdzairu_, cmdkaishi_, cmdquxiao_, cmdbaocun_}) buttons->addWidget(button);
  // What the key adds, one under the other, so that the row keeps its width;
  // beside them the field.
  auto* keyOptions = new QVBoxLayout;
  keyOptions->setSpacing(0);
  keyOptions->addWidget(withSteps_);
  keyOptions->addWidget(withGraphs_);
  buttons->addLayout(keyOptions);
  buttons->addWidget(overReals_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(instructions);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  layout->addWidget(progress_);
  layout->addWidget(table_, 2);
  layout->addWidget(status_);
  resize(860, 640);

  connect(cmdzairu_, &QPushButton::clicked, this, &BatchWindow::Cmdzairu_Click);
  connect(cmdkaishi_, &QPushButton::clicked, this, &BatchWindow::Cmdkaishi_Click);
  connect(cmdquxiao_, &QPushButton::clicked, this, &BatchWindow::Cmdquxiao_Click);
  connect(cmdbaocun_, &QPushButton::clicked, this, &BatchWindow::Cmdbaocun_Click);
  connect(&run_, &BatchRun::problemDone, this, &BatchWindow::ProblemDone);
  connect(&run_, &BatchRun::finished, this, &BatchWindow::Finished);
}

void BatchWindow::Cmdzairu_Click() {
  const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("载入列表 / load a list"), QDir::currentPath(),
                                                    QStringLiteral("文本 / text (*.txt);;* (*)"));
  if (!file.isEmpty()) LoadList(file);
}

bool BatchWindow::LoadList(const QString& file) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) {
    dialogs_.Tell(QStringLiteral("无法读取文件 %1。\n(The file %1 cannot be read.)").arg(file).toStdString(),
                  kNoticeCaption);
    return false;
  }
  list_->setPlainText(QString::fromUtf8(in.readAll()));
  return true;
}

void BatchWindow::Cmdkaishi_Click() {
  const std::vector<std::string> lines = ProblemLines(list_->toPlainText().toStdString());
  if (lines.empty()) {
    dialogs_.Tell("列表是空的: 每行写一个多项式。\n(The list is empty: write one polynomial a line.)", kNoticeCaption);
    return;
  }
  QString error;
  run_.UseField(overReals_->isChecked() ? Field::kReal : Field::kRational);
  if (!run_.Start(lines, &error)) {
    dialogs_.Tell(error.toStdString(), kNoticeCaption);
    return;
  }
  table_->setRowCount(static_cast<int>(lines.size()));
  for (int row = 0; row < table_->rowCount(); ++row) {
    for (int column = 0; column < kColumns; ++column) table_->setItem(row, column, new QTableWidgetItem);
    table_->item(row, kProblem)->setText(
        QStringLiteral("%1. %2").arg(row + 1).arg(QString::fromStdString(lines[static_cast<size_t>(row)])));
  }
  progress_->setRange(0, static_cast<int>(lines.size()));
  progress_->setValue(0);
  progress_->setFormat(QStringLiteral("%v / %m"));
  progress_->setTextVisible(true);
  status_->setText(QStringLiteral("分解中… / factoring…"));
  SetRunning(true);
}

void BatchWindow::Cmdquxiao_Click() { run_.Cancel(); }

void BatchWindow::Cmdbaocun_Click() {
  const QString file = QFileDialog::getSaveFileName(this, QStringLiteral("保存练习 / save the worksheet"),
                                                    QDir::current().filePath(QStringLiteral("worksheet.pdf")),
                                                    QStringLiteral("PDF (*.pdf)"));
  if (!file.isEmpty()) SavePdf(file);
}

bool BatchWindow::SavePdf(const QString& file) {
  QString error;
  if (!SaveProblemSheet(SheetProblems(run_.Problems(), withSteps_->isChecked(), withGraphs_->isChecked()), file, &error,
                        run_.UsedField())) {
    dialogs_.Tell(error.toStdString(), kNoticeCaption);
    return false;
  }
  status_->setText(QStringLiteral("已保存 / saved: %1").arg(file));
  return true;
}

void BatchWindow::SetStepsInKey(bool withSteps) { withSteps_->setChecked(withSteps); }

void BatchWindow::ProblemDone(int index) {
  const Problem& problem = run_.Problems()[static_cast<size_t>(index)];
  QTableWidgetItem* cells[kColumns];
  for (int column = 0; column < kColumns; ++column) cells[column] = table_->item(index, column);
  if (cells[0] == nullptr) return;
  cells[kProblem]->setText(QStringLiteral("%1. %2").arg(index + 1).arg(QString::fromStdString(ProblemShown(problem))));
  cells[kAnswer]->setText(QString::fromStdString(AnswerShown(problem)));
  cells[kAnswer]->setToolTip(QString::fromStdString(AnswerShown(problem)));
  cells[kCertificate]->setText(QString::fromStdString(CertificateShown(problem)));
  cells[kTime]->setText(QString::fromStdString(TimeShown(problem)));
  const bool certified = problem.state == ProblemState::Factored && problem.result.end == RunEnd::Certified;
  const QColor colour = certified ? QColor(0x1b, 0x6b, 0x1b)
                        : problem.state == ProblemState::Refused ? QColor(0xc0, 0x00, 0x00)
                                                                 : QColor(0xa0, 0x4a, 0x00);
  cells[kCertificate]->setForeground(colour);
  if (problem.state == ProblemState::Refused) cells[kAnswer]->setForeground(colour);
  // What was run: after 取消 the bar stops where the run stopped.
  progress_->setValue(run_.Ran());
  table_->scrollToItem(cells[kProblem]);
}

void BatchWindow::Finished() {
  SetRunning(false);
  int refused = 0, unfinished = 0;
  for (const Problem& problem : run_.Problems()) {
    refused += problem.state == ProblemState::Refused;
    unfinished += problem.state == ProblemState::Stopped || problem.state == ProblemState::NotRun;
  }
  const int count = static_cast<int>(run_.Problems().size());
  status_->setText(QStringLiteral("共 %1 题, 未读入 %2 题, 未完成 %3 题 / %1 problems, %2 refused, %3 not finished")
                       .arg(count)
                       .arg(refused)
                       .arg(unfinished));
}

void BatchWindow::SetRunning(bool running) {
  list_->setReadOnly(running);
  cmdzairu_->setEnabled(!running);
  cmdkaishi_->setEnabled(!running);
  cmdquxiao_->setEnabled(running);
  cmdbaocun_->setEnabled(!running && !run_.Problems().empty());
}

void BatchWindow::closeEvent(QCloseEvent* event) {
  run_.Cancel();
  event->accept();
}

}  // namespace pfac::frontend
