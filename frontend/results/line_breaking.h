// Text laid out in lines of a given width: a result, a note or a line of
// jg.dat, broken where a person breaks it and never inside a term.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pfac::frontend {

// A text with the places where it may break. A leaf is a piece that stays
// whole; a node's parts stay on one line when the node fits on the line, and
// otherwise go on as many lines as they need, each part whole when it fits on
// a line by itself. So a product breaks between its factors, and inside a
// factor only when that factor alone is wider than a line.
struct Breakable {
  std::string text;              // a leaf's text; empty in a node
  std::vector<Breakable> parts;  // a node's parts; empty in a leaf

  // The whole text on one line.
  std::string Text() const;
};

Breakable Leaf(std::string text);
Breakable Node(std::vector<Breakable> parts);

// The width of a text in the unit of the line width (pixels, points, or
// characters in the tests).
using Measure = std::function<double(std::string_view)>;

// The text in lines no wider than the width: each part goes on the line as
// long as it fits, and starts a new line when it fits there; blanks at the
// start and the end of a line are dropped. Only a leaf that alone is wider
// than a line is cut, between characters, so that nothing runs past the
// line's end.
std::vector<std::string> BreakLines(const Breakable& text, double width, const Measure& measure);

// A line of the engine's arithmetic as jg.dat holds it ("=(x - 3)(x^ 2 - 3x -
// 5)", "=[ 1*x^ 3+(-3 -3 )*x^ 2...]"): it breaks between factors and before a
// "=", and inside brackets before a "+" or "-" that joins two terms, the
// outermost brackets first. A term ("- 6 x^ 2") is never broken.
Breakable FormulaText(std::string_view line);

// Words and sentences: they break at blanks.
Breakable ProseText(std::string_view text);

// A line of jg.dat: the echo of the polynomial (the first line) and the lines
// that begin with "=" are arithmetic, the others words.
Breakable ResultFileLine(std::string_view line, bool firstLine);

// The number of characters (not bytes) of a UTF-8 text.
size_t CharacterCount(std::string_view text);

}  // namespace pfac::frontend
