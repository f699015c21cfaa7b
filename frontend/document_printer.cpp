#include "frontend/document_printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace pfac::frontend {

namespace {

constexpr int kPointSize = 10;

}  // namespace

DocumentPrinter::DocumentPrinter(Target target) : target_(target) {}

DocumentPrinter::~DocumentPrinter() {
  if (HasOpenDocument()) EndDocument();
}

void DocumentPrinter::SetFontName(const std::string& name) {
  fontName_ = QString::fromStdString(name);
  if (HasOpenDocument()) ApplyFont();
}

void DocumentPrinter::ApplyFont() {
  // The named font first; where it is missing, fonts that have Latin and
  // Chinese glyphs.
  QFont font;
  font.setFamilies({fontName_, QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
  font.setPointSize(kPointSize);
  painter_.setFont(font);
}

QString DocumentPrinter::FreePdfName() {
  const QDir folder = QDir::current();
  for (int n = 1;; ++n) {
    QString name = QStringLiteral("jg-%1.pdf").arg(n);
    if (!folder.exists(name)) return name;
  }
}

bool DocumentPrinter::BeginDocument() {
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  pdfFile_.clear();
  const QPrinterInfo system =
      target_ == Target::DefaultPrinter ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
  if (system.isNull()) {
    pdfFile_ = QDir::current().absoluteFilePath(FreePdfName());
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setOutputFileName(pdfFile_);
  } else {
    printer_->setPrinterName(system.printerName());
  }
  printer_->setDocName(QStringLiteral("jg.dat"));
  if (!painter_.begin(printer_.get())) {
    error_ = pdfFile_.isEmpty()
                 ? QStringLiteral("打印机 %1 无法开始打印。").arg(system.printerName())
                 : QStringLiteral("无法创建文件 %1。").arg(QFileInfo(pdfFile_).fileName());
    printer_.reset();
    pdfFile_.clear();
    return false;
  }
  ApplyFont();
  top_ = 0;
  return true;
}

bool DocumentPrinter::PrintLine(const std::string& text) {
  if (!HasOpenDocument() && !BeginDocument()) return false;
  const QFontMetricsF metrics = painter_.fontMetrics();
  if (top_ > 0 && top_ + metrics.height() > painter_.window().height()) {
    if (!printer_->newPage()) {
      error_ = QStringLiteral("无法开始新的一页。");
      return false;
    }
    top_ = 0;
  }
  painter_.drawText(QPointF(0, top_ + metrics.ascent()), QString::fromUtf8(text));
  top_ += metrics.lineSpacing();
  return true;
}

bool DocumentPrinter::EndDocument() {
  if (!HasOpenDocument()) return true;
  bool ended = painter_.end();
  if (ended && !pdfFile_.isEmpty() && !QFileInfo::exists(pdfFile_)) ended = false;
  if (!ended) error_ = QStringLiteral("打印文件没有完成。");
  documentFile_ = ended ? QFileInfo(pdfFile_).fileName() : QString();
  printer_.reset();
  pdfFile_.clear();
  return ended;
}

void DocumentPrinter::DiscardDocument() {
  if (!HasOpenDocument()) return;
  printer_->abort();
  painter_.end();
  if (!pdfFile_.isEmpty()) QFile::remove(pdfFile_);
  printer_.reset();
  pdfFile_.clear();
}

}  // namespace pfac::frontend
