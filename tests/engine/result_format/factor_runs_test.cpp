// Runs of equal factors collapsed, in the paper's form and the console's:
// in one line of jg.dat, and in the working printed from a run's lines.
#include "engine/result_format/factor_runs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pfac::format {
namespace {

using Lines = std::vector<std::string>;

// The same runs in both forms: "^ 2" on paper, "^ 2 " (a number item) on the console.
TEST(FactorRuns, CollapseALineInBothForms) {
  const struct {
    std::string line, paper, console;
  } cases[] = {
      {"(x+1)", "(x+1)", "(x+1)"},
      {"(x+1)(x-2)", "(x+1)(x-2)", "(x+1)(x-2)"},
      {"(x+1)(x+1)(x-2)", "(x+1)^ 2(x-2)", "(x+1)^ 2 (x-2)"},
      {"3(x-1)(x-1)(x-1)", "3(x-1)^ 3", "3(x-1)^ 3 "},
      {"(x-2)(x+1)(x+1)", "(x-2)(x+1)^ 2", "(x-2)(x+1)^ 2 "},
      {"(x+1)(x-2)(x+1)", "(x+1)(x-2)(x+1)", "(x+1)(x-2)(x+1)"},
      {"(x+y)(x+y)(x-y)(x-y)(x-y)", "(x+y)^ 2(x-y)^ 3", "(x+y)^ 2 (x-y)^ 3 "},
      {"(x)(x)(x)(x)(x)(x)(x)(x)(x)(x)", "(x)^ 10", "(x)^ 10 "},
      {"(x+1)( x+1)", "(x+1)( x+1)", "(x+1)( x+1)"},  // a blank makes a different factor
      {"3(x+1", "3(x+1", "3(x+1"},                     // a "(" without ")"
      {"(x+1)(x+1) 完", "(x+1)^ 2 完", "(x+1)^ 2  完"},  // trailing text
      {"(x+1)(x-1)(x", "(x+1)(x-1)(x", "(x+1)(x-1)(x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CollapseForPaper(c.line), c.paper) << c.line;
    EXPECT_EQ(CollapseForConsole(c.line), c.console) << c.line;
  }
}

// jg.dat's lines, "|" for a line end, and the working printed from them.
TEST(FactorRuns, PaperLinesOfARun) {
  auto split = [](const std::string& file) {
    Lines lines;
    for (size_t start = 0;;) {
      const size_t end = file.find('|', start);
      lines.push_back(file.substr(start, end - start));
      if (end == std::string::npos) return lines;
      start = end + 1;
    }
  };
  const std::string h(85, 'h');
  const struct {
    std::string file;
    Lines working;
  } cases[] = {
      // Headers as they stand, factors collapsed.
      {"x^ 3- 6 x^ 2+ 4 x+ 15 |" + h + "|(a)(a)|=(x+1)(x+1)(x-2)",
       {"x^ 3- 6 x^ 2+ 4 x+ 15 ", h, "(a)(a)", "=(x+1)^ 2(x-2)"}},
      // Line 4 with a bracket as it stands; without one collapsed.
      {"1|2|3|[x](x)(x)|[x](x)(x)", {"1", "2", "3", "[x](x)(x)", "[x](x)^ 2"}},
      {"1|2|3|(x)(x)", {"1", "2", "3", "(x)^ 2"}},
      // Line 5 collapses to what line 4 printed; line 7 does too, but the
      // line without factors between does not count as printed.
      {"1|2|3|(x-1)^ 2|(x-1)(x-1)|note|(x-1)(x-1)|(x+1)|(x-1)(x-1)",
       {"1", "2", "3", "(x-1)^ 2", "note", "(x+1)", "(x-1)^ 2"}},
      // A header counts as printed.
      {"1|2|(x)^ 2|(x)(x)", {"1", "2", "(x)^ 2"}},
  };
  for (const auto& c : cases) EXPECT_EQ(PaperLines(split(c.file)), c.working) << c.file;
}

}  // namespace
}  // namespace pfac::format
