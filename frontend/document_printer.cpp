#include "frontend/document_printer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
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

void DocumentPrinter::SetFontName(const std::string& name) { fontName_ = QString::fromStdString(name); }

QString DocumentPrinter::FreePdfPath() {
  const QDir folder = QDir::current();
  for (int n = 1;; ++n) {
    QString name = QStringLiteral("jg-%1.pdf").arg(n);
    if (!folder.exists(name)) return folder.absoluteFilePath(name);
  }
}

bool DocumentPrinter::PrintLine(const std::string& text) {
  lines_ << QString::fromUtf8(text);
  open_ = true;
  return true;
}

// The job goes to the printer, or to a new PDF file, line by line and page by
// page.
bool DocumentPrinter::EndDocument() {
  if (!HasOpenDocument()) return true;
  const QStringList lines = lines_;
  DiscardDocument();
  documentFile_.clear();

  QPrinter printer(QPrinter::HighResolution);
  const QPrinterInfo system =
      target_ == Target::DefaultPrinter ? QPrinterInfo::defaultPrinter() : QPrinterInfo();
  QString pdfFile;
  if (system.isNull()) {
    pdfFile = FreePdfPath();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(pdfFile);
  } else {
    printer.setPrinterName(system.printerName());
  }
  printer.setDocName(QStringLiteral("jg.dat"));
  const QString cannotBegin = pdfFile.isEmpty()
                                  ? QStringLiteral("打印机 %1 无法开始打印。").arg(system.printerName())
                                  : QStringLiteral("无法创建文件 %1。").arg(pdfFile);
  QPainter painter;
  if (!painter.begin(&printer)) {
    error_ = cannotBegin;
    return false;
  }
  // The named font first; where it is missing, fonts that have Latin and
  // Chinese glyphs.
  QFont font;
  font.setFamilies({fontName_, QStringLiteral("DejaVu Sans"), QStringLiteral("WenQuanYi Micro Hei")});
  font.setPointSize(kPointSize);
  painter.setFont(font);
  const QFontMetricsF metrics = painter.fontMetrics();
  qreal top = 0;
  for (const QString& line : lines) {
    if (top > 0 && top + metrics.height() > painter.window().height()) {
      if (!printer.newPage()) {
        error_ = QStringLiteral("无法开始新的一页。");
        painter.end();
        return false;
      }
      top = 0;
    }
    painter.drawText(QPointF(0, top + metrics.ascent()), line);
    top += metrics.lineSpacing();
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

void DocumentPrinter::DiscardDocument() {
  lines_.clear();
  open_ = false;
}

}  // namespace pfac::frontend
