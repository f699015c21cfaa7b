// The printer of the results: the system's default printer, or a PDF file in
// the working folder when the system has no printer. The results of a
// document are kept until it ends; only then is the worksheet laid out and the
// job sent, or the PDF file made, so that no empty file stands in the folder
// while a document is open. A worksheet of problems goes to a PDF file the
// same way.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "frontend/printing/page_layout.h"
#include "frontend/printing/result_printer.h"

class QPrinter;

namespace pfac::frontend {

class DocumentPrinter : public ResultPrinter {
 public:
  enum class Target {
    DefaultPrinter,  // the system's default printer; a PDF file when there is none
    PdfFile,         // always a PDF file
  };

  explicit DocumentPrinter(Target target = Target::DefaultPrinter);
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

 private:
  // The first name jg-N.pdf that is not taken in the working folder, as a
  // full path.
  static QString FreePdfPath();

  Target target_;
  bool open_ = false;
  std::vector<PrintedResult> results_;  // the open document's results
  QString documentFile_;  // the full path of the last ended document's PDF file
  QString error_;
};

// A worksheet of problems and its answer key as a PDF file (created or
// replaced). False, with the reason, when the file could not be written.
bool SaveProblemSheet(const std::vector<SheetProblem>& problems, const QString& file, QString* error);

}  // namespace pfac::frontend
