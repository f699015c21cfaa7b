// The printer of the results: the system's default printer, or a PDF file in
// the working folder when the system has no printer.
#pragma once

#include <QPainter>
#include <QString>
#include <memory>

#include "frontend/result_printing.h"

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

  void SetFontName(const std::string& name) override;
  bool PrintLine(const std::string& text) override;
  bool HasOpenDocument() const override { return painter_.isActive(); }
  bool EndDocument() override;
  void DiscardDocument() override;
  std::string DocumentFile() const override { return documentFile_.toStdString(); }
  std::string LastError() const override { return error_.toStdString(); }

 private:
  bool BeginDocument();
  void ApplyFont();
  // The first name jg-N.pdf that is not taken in the working folder.
  static QString FreePdfName();

  Target target_;
  QString fontName_;
  std::unique_ptr<QPrinter> printer_;
  QPainter painter_;
  qreal top_ = 0;         // where the next line starts on the page
  QString pdfFile_;       // the open document's PDF file (full path), if it goes to one
  QString documentFile_;  // the name of the last ended document's PDF file
  QString error_;
};

}  // namespace pfac::frontend
