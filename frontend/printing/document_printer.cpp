#include "frontend/printing/document_printer.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "frontend/printing/page_layout.h"

namespace pfac::frontend {

namespace {

bool ShowPrintDialog(QPrinter& printer) {
  QPrintDialog dialog(&printer);
  dialog.setWindowTitle(QStringLiteral("打印 / print"));
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace

DocumentPrinter::DocumentPrinter(Target target, Chooser chooser)
    : target_(target), chooser_(chooser ? std::move(chooser) : Chooser(ShowPrintDialog)) {}

DocumentPrinter::~DocumentPrinter() {
  if (HasOpenDocument()) EndDocument();
}

QString DocumentPrinter::FreePdfPath() {
  const QDir folder = QDir::current();
  for (int n = 1;; ++n) {
    QString name = QStringLiteral("jg-%1.pdf").arg(n);
    if (!folder.exists(name)) return folder.absoluteFilePath(name);
  }
}

bool DocumentPrinter::AddResult(const PrintedResult& result) {
  results_.push_back(result);
  open_ = true;
  return true;
}

// The worksheet goes to the printer, or to a new PDF file, page by page.
bool DocumentPrinter::EndDocument() {
  if (!HasOpenDocument()) return true;
  const std::vector<PrintedResult> results = std::move(results_);
  DiscardDocument();
  documentFile_.clear();
  cancelled_ = false;

  // The dialog opens on the default printer, or on a PDF file where there is
  // none.
  QPrinter printer(QPrinter::HighResolution);
  const QPrinterInfo system =
      target_ == Target::PrintDialog ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
  if (system.isNull()) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(FreePdfPath());
  } else {
    printer.setPrinterName(system.printerName());
  }
  SetUpWorksheetPage(printer);
  printer.setDocName(QString::fromUtf8(kWorksheetTitle));
  if (target_ == Target::PrintDialog && !chooser_(printer)) {
    cancelled_ = true;
    return true;
  }
  const QString pdfFile = printer.outputFormat() == QPrinter::PdfFormat
                              ? QFileInfo(printer.outputFileName()).absoluteFilePath()
                              : QString();
  const QString cannotBegin = pdfFile.isEmpty()
                                  ? QStringLiteral("打印机 %1 无法开始打印。").arg(printer.printerName())
                                  : QStringLiteral("无法创建文件 %1。").arg(pdfFile);
  QPainter painter;
  if (!painter.begin(&printer)) {
    error_ = cannotBegin;
    return false;
  }
  const Worksheet sheet = LayOutWorksheet(results, WorksheetDate(QDate::currentDate()), printer,
                                         printer.paperRect(QPrinter::DevicePixel));
  if (!PaintWorksheet(sheet, painter, printer)) {
    error_ = QStringLiteral("无法开始新的一页。");
    painter.end();
    return false;
  }
  bool ended = painter.end();
  if (ended && !pdfFile.isEmpty() && !QFileInfo::exists(pdfFile)) ended = false;
  if (!ended) {
    error_ = pdfFile.isEmpty() ? QStringLiteral("打印文件没有完成。")
                               : QStringLiteral("打印文件 %1 没有完成。").arg(pdfFile);
    return false;
  }
  documentFile_ = pdfFile;
  return true;
}

bool SaveProblemSheet(const std::vector<SheetProblem>& problems, const QString& file, QString* error, Field field) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  SetUpWorksheetPage(printer);
  printer.setDocName(QString::fromUtf8(kProblemSheetTitle));
  QPainter painter;
  if (!painter.begin(&printer)) {
    *error = QStringLiteral("无法创建文件 %1。(The file %1 cannot be created.)").arg(file);
    return false;
  }
  const Worksheet sheet = LayOutProblemSheet(problems, WorksheetDate(QDate::currentDate()), printer,
                                             printer.paperRect(QPrinter::DevicePixel), field);
  const bool painted = PaintWorksheet(sheet, painter, printer);
  if (!painter.end() || !painted || !QFileInfo::exists(file)) {
    *error = QStringLiteral("文件 %1 没有写完。(The file %1 was not completed.)").arg(file);
    return false;
  }
  return true;
}

void DocumentPrinter::DiscardDocument() {
  results_.clear();
  open_ = false;
}

}  // namespace pfac::frontend
