// What pdftotext reads from the PDF files the front end makes: the text of
// each page, and the boxes of the words, checked against the margins.
#pragma once

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include "tests/frontend/support/fakes.h"

namespace pfac::frontend::testing {

// What pdftotext reads from a PDF in the working folder.
inline QString PdfToText(const WorkFolder& folder, const QString& name, const QStringList& options) {
  const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
  if (pdftotext.isEmpty()) {
    QTest::qFail("pdftotext (poppler-utils) is not installed", __FILE__, __LINE__);
    return {};
  }
  QProcess process;
  process.start(pdftotext, options + QStringList{"-enc", "UTF-8", QDir(folder.Path()).filePath(name), "-"});
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    QTest::qFail(qPrintable("pdftotext failed on " + name), __FILE__, __LINE__);
    return {};
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The pages of a PDF, each as its lines of text, blanks at the ends of lines
// and empty lines dropped.
inline QList<QStringList> PdfPages(const WorkFolder& folder, const QString& name) {
  QList<QStringList> pages;
  for (const QString& page : PdfToText(folder, name, {"-layout"}).split('\f')) {
    QStringList lines;
    for (QString line : page.split('\n')) {
      while (line.endsWith(' ')) line.chop(1);
      if (!line.isEmpty()) lines << line.trimmed();
    }
    if (!lines.isEmpty()) pages << lines;
  }
  return pages;
}

inline QStringList PdfText(const WorkFolder& folder, const QString& name) {
  QStringList lines;
  for (const QStringList& page : PdfPages(folder, name)) lines << page;
  return lines;
}

// Every word pdftotext finds lies at least 20 mm inside the edges of its page.
inline void CheckMargins(const WorkFolder& folder, const QString& name) {
  const QString boxes = PdfToText(folder, name, {"-bbox"});
  const double margin = 20 / 25.4 * 72;  // points
  const QRegularExpression pagePattern(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
  const QRegularExpression wordPattern(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">)re");
  const QRegularExpressionMatch page = pagePattern.match(boxes);
  QVERIFY(page.hasMatch());
  const double width = page.captured(1).toDouble();
  const double height = page.captured(2).toDouble();
  int words = 0;
  for (const QRegularExpressionMatch& word : wordPattern.globalMatch(boxes)) {
    ++words;
    QVERIFY2(word.captured(1).toDouble() >= margin && word.captured(3).toDouble() <= width - margin &&
                 word.captured(2).toDouble() >= margin && word.captured(4).toDouble() <= height - margin,
             qPrintable(word.captured(0)));
  }
  QVERIFY(words > 0);
}

}  // namespace pfac::frontend::testing
