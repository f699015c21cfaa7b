// The printer of the results: the one chosen in the print dialog when the
// document is printed (a printer, or a PDF file of a name the user gives;
// with no printer installed the dialog offers the PDF file jg-N.pdf in the
// working folder). The results of a document are kept until it ends; only
// then is the dialog shown, the worksheet laid out and the job sent, or the
// PDF file made, so that no empty file stands in the folder while a document
// is open. A worksheet of problems goes to a PDF file the same way.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "frontend/printing/page_layout.h"
#include "frontend/printing/result_printer.h"

class QPrinter;

namespace pfac::frontend {

class DocumentPrinter : public ResultPrinter {
 public:
  enum class Target {
    PrintDialog,  // the printer or PDF file chosen in the print dialog
    PdfFile,      // always a PDF file jg-N.pdf in the working folder, no dialog
  };
  // Shows the print dialog on the printer, set up beforehand; false when it
  // was cancelled.
  using Chooser = std::function<bool(QPrinter& printer)>;

  // The chooser is Qt's print dialog unless another is given.
  explicit DocumentPrinter(Target target = Target::PrintDialog, Chooser chooser = {});
  // A document still open is ended, so that it is printed.
  ~DocumentPrinter() override;
  DocumentPrinter(const DocumentPrinter&) = delete;
  DocumentPrinter& operator=(const DocumentPrinter&) = delete;

  bool AddResult(const PrintedResult& result) override;
  bool HasOpenDocument() const override { return open_; }
  bool EndDocument() override;
  void DiscardDocument() override;
  std::string DocumentFile() const override { return documentFile_.toStdString(); }
  std::string LastError() const override { return error_.toStdString(); }
  bool Cancelled() const override { return cancelled_; }

 private:
  // The first name jg-N.pdf that is not taken in the working folder, as a
  // full path.
  static QString FreePdfPath();

  Target target_;
  Chooser chooser_;
  bool open_ = false;
  bool cancelled_ = false;
  std::vector<PrintedResult> results_;  // the open document's results
  QString documentFile_;  // the full path of the last ended document's PDF file
  QString error_;
};

// A worksheet of problems and its answer key as a PDF file (created or
// replaced). False, with the reason, when the file could not be written.
bool SaveProblemSheet(const std::vector<SheetProblem>& problems, const QString& file, QString* error,
                      Field field = Field::kRational);

}  // namespace pfac::frontend
