// PFAC1: the main window ("一元和多元多项式的因式分解"): the polynomial box, its
// instructions and message area, the commands, the box that starts the
// engine, the result of the last run, the steps of its factorisation and the
// folder's history.
#pragma once

#include <memory>
#include <optional>

#include "frontend/commands/dialogs.h"
#include "frontend/commands/input_commands.h"
#include "frontend/engine_link/engine_launcher.h"
#include "frontend/engine_link/engine_runs.h"
#include "frontend/printing/result_printer.h"
#include "frontend/results/result_steps.h"
#include "frontend/results/run_result.h"
#include "frontend/storage/file_table.h"
#include "frontend/storage/history.h"
#include "frontend/windows/print_surface.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QScrollArea;
class QTabWidget;

namespace pfac::frontend {

class BatchWindow;
class BrokenLinesLabel;
class EngineBox;
class Form3;
class GraphWidget;

// Said in the result panel when the engine's window closed without a result
// of the current polynomial in jg.dat.
inline constexpr char kNoResultWritten[] =
    "分解程序没有写出这个多项式的结果。/ The engine wrote no result for this polynomial.";
// After an entry of the history that is not finished (a run stopped, or a
// factorisation not known complete).
inline constexpr char kNotFinishedMark[] = "  (未完成 / not finished)";
// The tab beside the steps that shows the graph of an answer in one letter.
inline constexpr char kGraphTab[] = "图像 / graph";
// Asked when the program is to end while the engine or a worksheet runs, and
// told when the engine could not be stopped.
inline constexpr char kStopEngineAndQuit[] =
    "分解程序还在运行。要停止它并退出吗？\n"
    "选“是”: 停止分解程序 (它的窗口也关闭), 然后退出; 选“否”: 继续运行, 不退出。\n"
    "(The engine is still running. Stop it and quit? Yes stops the engine and closes its window, then quits; "
    "No lets it run on, and nothing closes.)";
inline constexpr char kStopWorksheetAndQuit[] =
    "批量练习还在分解。要停止它并退出吗？\n"
    "(A worksheet is still being factored. Stop it and quit?)";
inline constexpr char kEngineDoesNotStop[] =
    "分解程序没有停下来, 程序不退出。请关闭分解程序的窗口, 再按《退出》。\n"
    "(The engine did not stop, so the program does not quit; close the engine's window, then press 退出.)";

class ExactProcess;

class PFAC1 : public PrintSurface, private MainWindowControls {
  Q_OBJECT

 public:
  // The window is loaded here: its controls are made ready for typing. The
  // runner starts the engine and tells the window when it has ended.
  PFAC1(Dialogs& dialogs, ResultPrinter& printer, EngineRunner& runner, QWidget* parent = nullptr);
  ~PFAC1() override;

  PrintSurface* Picture1() const { return picture1_; }
  void FocusText2() override;

  void Cmdshuru_Click();
  void CmdWANCHANG_Click();
  void CmdCHONGSHU_Click();
  void cmddayin_Click();
  void Cmdbangzhu_Click();
  void Cmdtuichu_Click();
  void OLE1_DblClick();  // a double-click, or Enter or Space, on the active engine box
  void Cmdfuzhi_Click();       // "复制": the result as plain text to the clipboard
  void CmdfuzhiLaTeX_Click();  // "复制 LaTeX": the result as LaTeX to the clipboard
  void Cmdpiliang_Click();     // "批量 / worksheet": the worksheet window
  // An entry of the history, counted from the newest: its polynomial back in
  // the box, its result in the panel, without running the engine.
  void History_Click(int row);

  // The history of the working folder, oldest first.
  const History& FolderHistory() const { return history_; }

  // Whether an answer in one letter comes with its graph shown (in place of
  // the steps, whose tab is beside it) until the user picks the other tab;
  // not at first, and as the field is chosen: over the reals, yes.
  void SetGraphShownFirst(bool shown) { graphWanted_ = shown; }
  // Whether the graph is shown now.
  bool GraphShown() const;

 protected:
  // Closing the window ends the program, as "退出" does.
  void closeEvent(QCloseEvent* event) override;

 private:
  void createWidgets();
  void createResultPanel();
  void createStepsPanel();
  void createHistory();
  void createLayout();
  void setTabOrders();
  void connectCommands();
  void EndProgram();
  // True when the program may end now: at once when no engine and no
  // worksheet runs; otherwise when the user agrees to stop them and they have
  // ended, so that nothing writes in the folder once its lock is given up.
  bool ReadyToEnd();
  void InputStarted();

  // The engine's window has closed: the result of the current polynomial is
  // shown under the text box.
  void EngineEnded();
  // A text beyond the search's limits: the exact factoriser in its process
  // instead of the engine; a double-click while it works cancels it.
  void StartExact();
  void ExactEnded();
  // The exact factoriser's work for a text no longer submitted is given up.
  void StopExact();
  void ShowResult(const RunResult& result);
  // The graph of the answer shown, made when its tab is first shown.
  void MakeGraph();
  void ShowNoResult(const std::string& note);
  void ClearResult();
  // A copy button says "已复制" until the next action, which calls this.
  void ResetCopyButtons();
  // The history's entries in the list, the newest first.
  void ShowHistory();
  void AddToHistory(const std::string& text, const RunResult& result);
  // The text in the box was edited: 重新输入 and the message follow it, and a
  // result of the history shown no longer belongs to it.
  void Text2Edited();
  // The field chosen beside the box, and the control changed by the user.
  Field ChosenField() const;
  void FieldChosen();
  void Copied(QPushButton* button, const QString& text);
  // The engine to start, and where its terminal goes: beside this window,
  // not over it.
  EngineStart TerminalPlace();

  // The window's side of the input commands.
  void ClsWindow() override;
  void ClsPicture1() override;
  void PrintOnPicture1(const std::string& line) override;
  void PrintOnPicture1(const Breakable& text) override;
  void SetEnabled(Control control, bool enabled) override;
  void SetVisible(Control control, bool visible) override;
  void SetCaption(Control label, const std::string& caption) override;
  std::string Text2() const override;
  void SetText2(const std::string& text) override;
  void SetText2ReadOnly(bool readOnly) override;
  void SetEngineActive(bool active) override;
  void SetEngineBoxBeyondSearch(bool beyond) override;
  void FocusEngineBox() override;
  void SelectInText2(int position, int length) override;
  QWidget* Widget(Control control) const;

  Dialogs& dialogs_;
  ResultPrinter& printer_;
  EngineRunner& runner_;
  FileTable files_;
  std::unique_ptr<Expander> expander_;  // before input_, which uses it
  InputCommands input_;
  EngineRuns runs_;
  History history_;
  std::optional<HistoryEntry> historyShown_;  // the entry of the history in the panel
  bool historyUnsavedTold_ = false;
  ExactProcess* exact_ = nullptr;            // made on first use
  std::optional<BeyondSearchText> exactText_;  // what the exact factoriser works on
  std::optional<RunResult> exactShown_;      // its result in the panel, which "打印" prints
  QString plainResult_;  // what "复制" copies
  QString latexResult_;  // what "复制 LaTeX" copies
  bool ending_ = false;

  QLineEdit* text2_ = nullptr;
  QComboBox* fieldChoice_ = nullptr;  // 有理数范围 / 实数范围
  std::optional<RunResult> shownResult_;  // the result in the panel
  QLabel* label8_ = nullptr;
  QLabel* label9_ = nullptr;
  QScrollArea* messageScroll_ = nullptr;  // Picture1 in an area of a fixed height
  PrintSurface* picture1_ = nullptr;
  QPushButton* cmdshuru_ = nullptr;
  QPushButton* cmdWanchang_ = nullptr;
  QPushButton* cmdChongshu_ = nullptr;
  QPushButton* cmddayin_ = nullptr;
  QPushButton* cmdbangzhu_ = nullptr;
  QPushButton* cmdtuichu_ = nullptr;
  EngineBox* ole1_ = nullptr;
  QGroupBox* resultPanel_ = nullptr;
  QScrollArea* resultScroll_ = nullptr;       // scrolls a result taller than the panel
  BrokenLinesLabel* resultText_ = nullptr;   // the polynomial = its factorisation
  BrokenLinesLabel* resultNotes_ = nullptr;  // the certificate, or what became of the run
  QTabWidget* stepsPanel_ = nullptr;       // the steps, and on a tab beside them the graph
  BrokenLinesLabel* stepsText_ = nullptr;  // the steps of the factorisation, one a line
  GraphWidget* graph_ = nullptr;           // y = f(x) of an answer in one letter
  std::optional<RunResult> graphPending_;  // the answer whose graph is still to be made
  bool graphWanted_ = false;               // the graph's tab comes first for an answer in one letter
  ResultSteps shownSteps_;                 // the steps shown, their detail folded unless stepsOpen_
  bool stepsOpen_ = false;
  QPushButton* cmdfuzhi_ = nullptr;
  QPushButton* cmdfuzhiLaTeX_ = nullptr;
  QPushButton* cmdpiliang_ = nullptr;
  QListWidget* historyList_ = nullptr;
  QGroupBox* historyPanel_ = nullptr;
  Form3* help_ = nullptr;          // made on first use
  BatchWindow* batch_ = nullptr;   // made on first use
};

}  // namespace pfac::frontend
