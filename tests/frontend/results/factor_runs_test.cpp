// Runs of equal factors collapsed: in one line of jg.dat, and in the working
// printed from a run's lines.
#include <QTest>

#include "frontend/results/factor_runs.h"

namespace pfac::frontend {
namespace {

using Lines = std::vector<std::string>;

class FactorRunsTest : public QObject {
  Q_OBJECT

 private slots:
  void collapseFactors_data();
  void collapseFactors();
  void workingLines_data();
  void workingLines();
};

void FactorRunsTest::collapseFactors_data() {
  QTest::addColumn<QString>("line");
  QTest::addColumn<QString>("expected");
  QTest::newRow("one factor") << "(x+1)" << "(x+1)";
  QTest::newRow("different factors") << "(x+1)(x-2)" << "(x+1)(x-2)";
  QTest::newRow("run then other") << "(x+1)(x+1)(x-2)" << "(x+1)^ 2(x-2)";
  QTest::newRow("number before a run") << "3(x-1)(x-1)(x-1)" << "3(x-1)^ 3";
  QTest::newRow("run at the end") << "(x-2)(x+1)(x+1)" << "(x-2)(x+1)^ 2";
  QTest::newRow("separated equal factors") << "(x+1)(x-2)(x+1)" << "(x+1)(x-2)(x+1)";
  QTest::newRow("two runs") << "(x+y)(x+y)(x-y)(x-y)(x-y)" << "(x+y)^ 2(x-y)^ 3";
  QTest::newRow("ten") << QString("(x)").repeated(10) << "(x)^ 10";
  QTest::newRow("blank makes a different factor") << "(x+1)( x+1)" << "(x+1)( x+1)";
  QTest::newRow("open without close") << "3(x+1" << "3(x+1";
  QTest::newRow("trailing text") << "(x+1)(x+1) 完" << "(x+1)^ 2 完";
  QTest::newRow("trailing open") << "(x+1)(x-1)(x" << "(x+1)(x-1)(x";
}

void FactorRunsTest::collapseFactors() {
  QFETCH(QString, line);
  QFETCH(QString, expected);
  QCOMPARE(QString::fromStdString(CollapseFactors(line.toStdString())), expected);
}

// jg.dat's lines, "|" for a line end, and the working printed from them.
void FactorRunsTest::workingLines_data() {
  QTest::addColumn<QString>("file");
  QTest::addColumn<QStringList>("working");
  QTest::newRow("headers as they stand, factors collapsed")
      << "x^ 3- 6 x^ 2+ 4 x+ 15 |" + QString(85, 'h') + "|(a)(a)|=(x+1)(x+1)(x-2)"
      << QStringList{"x^ 3- 6 x^ 2+ 4 x+ 15 ", QString(85, 'h'), "(a)(a)", "=(x+1)^ 2(x-2)"};
  QTest::newRow("line 4 with a bracket as it stands") << "1|2|3|[x](x)(x)|[x](x)(x)"
                                                      << QStringList{"1", "2", "3", "[x](x)(x)", "[x](x)^ 2"};
  QTest::newRow("line 4 without a bracket collapsed") << "1|2|3|(x)(x)" << QStringList{"1", "2", "3", "(x)^ 2"};
  // Line 5 collapses to what line 4 printed; line 7 does too, but the line
  // without factors between does not count as printed.
  QTest::newRow("equal result lines once")
      << "1|2|3|(x-1)^ 2|(x-1)(x-1)|note|(x-1)(x-1)|(x+1)|(x-1)(x-1)"
      << QStringList{"1", "2", "3", "(x-1)^ 2", "note", "(x+1)", "(x-1)^ 2"};
  QTest::newRow("a header counts as printed") << "1|2|(x)^ 2|(x)(x)" << QStringList{"1", "2", "(x)^ 2"};
}

void FactorRunsTest::workingLines() {
  QFETCH(QString, file);
  QFETCH(QStringList, working);
  Lines lines;
  for (const QString& line : file.split('|')) lines.push_back(line.toStdString());
  QStringList printed;
  for (const std::string& line : WorkingLines(lines)) printed << QString::fromStdString(line);
  QCOMPARE(printed, working);
}

}  // namespace
}  // namespace pfac::frontend

QTEST_APPLESS_MAIN(pfac::frontend::FactorRunsTest)
#include "factor_runs_test.moc"
