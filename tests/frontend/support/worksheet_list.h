// The worksheet of twenty problems (and a blank line) that the tests of the
// worksheet window and of pfac --worksheet factor: each line of the list, and
// the answer the table shows for it.
#pragma once

#include <QString>
#include <utility>

namespace pfac::frontend::testing {

// A blank line is no problem.
inline const std::pair<const char*, const char*> kList[] = {
    {"x^2-1", "x² - 1 = (x - 1)(x + 1)"},
    {"x^3-6x^2+4x+15", "x³ - 6x² + 4x + 15 = (x - 3)(x² - 3x - 5)"},
    {"x^4+1", "x⁴ + 1 在有理数域上不可约 (irreducible over Q)"},
    {"(x+1)(x+y+z)^2", "(x + 1)(x + y + z)² = (x + 1)(x + y + z)²"},
    {"4x^2-9y^2", "4x² - 9y² = (2x - 3y)(2x + 3y)"},
    {"2x^2+4x+6", "2x² + 4x + 6 = 2(x² + 2x + 3), x² + 2x + 3 在有理数域上不可约"},
    {"", ""},
    {"1/2x^2-3/4x+1", "1/2x² - 3/4x + 1 = 1/4(2x² - 3x + 4), 2x² - 3x + 4 在有理数域上不可约"},
    {"x^4-1", "x⁴ - 1 = (x - 1)(x + 1)(x² + 1)"},
    {"(2x-3)^3", "(2x - 3)³ = (2x - 3)³"},
    {"x(x-1)(x+1)", "x(x - 1)(x + 1) = x(x - 1)(x + 1)"},
    {"ｘ＾２－５ｘ＋６", "x² - 5x + 6 = (x - 3)(x - 2)"},
    {"x^2 + 5x + 6", "x² + 5x + 6 = (x + 2)(x + 3)"},
    {"x^6-1", "x⁶ - 1 = (x - 1)(x + 1)(x² - x + 1)(x² + x + 1)"},
    {"a^2-2ab+b^2", "a² - 2ab + b² = (a - b)²"},
    {"x^4+64", "x⁴ + 64 = (x² - 4x + 8)(x² + 4x + 8)"},
    {"x^3+y^3", "x³ + y³ = (x + y)(x² - xy + y²)"},
    {"6x^2-x-2", "6x² - x - 2 = (2x + 1)(3x - 2)"},
    {"x^2+*3", "第 5 个字符 '*' 不能出现在这里 / character 5, '*', cannot stand here"},
    {"x^5-x", "x⁵ - x = x(x - 1)(x + 1)(x² + 1)"},
    {"-x^2+1", "-x² + 1 = -(x - 1)(x + 1)"},
};
inline constexpr int kProblems = 20;
inline constexpr int kRefusedRow = 17;  // x^2+*3, counted from 0 among the problems

inline QString ListText() {
  QString list;
  for (const auto& [line, answer] : kList) list += QString::fromUtf8(line) + '\n';
  return list;
}

}  // namespace pfac::frontend::testing
