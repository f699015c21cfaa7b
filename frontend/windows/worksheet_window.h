// BatchWindow: the worksheet window ("批量 / worksheet"). A teacher pastes or
// loads a list of polynomials, one a line; the engine factors them one after
// another, with a progress bar and a cancel button; the table shows each
// problem, its answer, how far the answer is known and the time it took; and
// the worksheet, the problems numbered and an answer key, is saved as a PDF
// file.
#pragma once

#include <QWidget>

#include "frontend/commands/dialogs.h"
#include "frontend/engine_link/batch_run.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace pfac::frontend {

inline constexpr char kBatchWindowTitle[] = "批量 / worksheet";

class BatchWindow : public QWidget {
  Q_OBJECT

 public:
  // Brackets are multiplied out with the expander (none: refused).
  BatchWindow(Dialogs& dialogs, Expander* expander, QWidget* parent = nullptr);

  void Cmdzairu_Click();   // "载入… / load": a list from a text file
  void Cmdkaishi_Click();  // "开始 / start"
  void Cmdquxiao_Click();  // "取消 / cancel"
  void Cmdbaocun_Click();  // "保存 PDF… / save PDF"

  // The list read from the file (UTF-8) into the list box; false when it
  // cannot be read.
  bool LoadList(const QString& file);
  // The worksheet of the last run as a PDF file, its answer key with the
  // steps when "答案附解题步骤" is checked; false (told) when it could not be
  // written.
  bool SavePdf(const QString& file);
  const BatchRun& Run() const { return run_; }
  // The worksheet being factored is cancelled; returns once its engine has
  // ended.
  void StopRun() { run_.Stop(); }
  void SetStepsInKey(bool withSteps);

 protected:
  // Closing the window while the engine runs cancels the worksheet.
  void closeEvent(QCloseEvent* event) override;

 private:
  void ProblemDone(int index);
  void Finished();
  void SetRunning(bool running);

  Dialogs& dialogs_;
  BatchRun run_;
  QPlainTextEdit* list_ = nullptr;
  QPushButton* cmdzairu_ = nullptr;
  QPushButton* cmdkaishi_ = nullptr;
  QPushButton* cmdquxiao_ = nullptr;
  QPushButton* cmdbaocun_ = nullptr;
  QCheckBox* withSteps_ = nullptr;  // the answer key with the steps
  QCheckBox* withGraphs_ = nullptr;  // the answer key with the graphs of the answers in one letter
  QCheckBox* overReals_ = nullptr;  // the worksheet factored over the reals
  QProgressBar* progress_ = nullptr;
  QTableWidget* table_ = nullptr;
  QLabel* status_ = nullptr;
};

}  // namespace pfac::frontend
