#include "frontend/results/line_breaking.h"

#include <algorithm>
#include <utility>

namespace pfac::frontend {

namespace {

bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

std::string_view TrimmedLeft(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return text;
}

std::string_view TrimmedRight(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

// Fills lines part by part; see BreakLines.
class LineFiller {
 public:
  LineFiller(double width, const Measure& measure) : width_(width), measure_(measure) {}

  void Place(const Breakable& part) {
    const std::string text = part.Text();
    if (Fits(Extended(text))) {
      current_ = Extended(text);
      return;
    }
    if (!LineEmpty() && Fits(std::string(TrimmedLeft(text)))) {
      NewLine();
      current_ = TrimmedLeft(text);
      return;
    }
    if (part.parts.empty()) {
      Cut(text);
      return;
    }
    for (const Breakable& inner : part.parts) Place(inner);
  }

  std::vector<std::string> Finish() {
    if (!LineEmpty() || lines_.empty()) NewLine();
    return std::move(lines_);
  }

 private:
  bool LineEmpty() const { return TrimmedLeft(current_).empty(); }
  bool Fits(const std::string& line) const { return measure_(TrimmedRight(line)) <= width_; }
  std::string Extended(std::string_view text) const {
    return LineEmpty() ? std::string(TrimmedLeft(text)) : current_ + std::string(text);
  }
  void NewLine() {
    lines_.emplace_back(TrimmedRight(current_));
    current_.clear();
  }

  // A piece wider than a line: on lines of its own, as many characters on
  // each as fit (at least one).
  void Cut(std::string_view text) {
    if (!LineEmpty()) NewLine();
    text = TrimmedLeft(text);
    while (!text.empty()) {
      size_t end = 0;
      size_t fitting = 0;
      while (end < text.size()) {
        size_t next = end + 1;
        while (next < text.size() && IsContinuationByte(text[next])) ++next;
        if (fitting > 0 && !Fits(std::string(text.substr(0, next)))) break;
        fitting = end = next;
      }
      current_ = text.substr(0, fitting);
      text.remove_prefix(fitting);
      if (!text.empty()) NewLine();
    }
  }

  double width_;
  const Measure& measure_;
  std::vector<std::string> lines_;
  std::string current_;
};

bool IsOperand(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == ')' || c == ']';
}

// One piece of a formula between two places where it may break, with the
// bracket depth of the break before it (the first piece has none).
struct Piece {
  std::string_view text;
  int depth;
};

// The pieces [first, last) as a tree: split at the shallowest breaks among
// them, each group split again at its own.
Breakable Grouped(const std::vector<Piece>& pieces, size_t first, size_t last) {
  if (last - first == 1) return Leaf(std::string(pieces[first].text));
  int shallowest = pieces[first + 1].depth;
  for (size_t i = first + 2; i < last; ++i) shallowest = std::min(shallowest, pieces[i].depth);
  std::vector<Breakable> parts;
  size_t start = first;
  for (size_t i = first + 1; i <= last; ++i) {
    if (i == last || pieces[i].depth == shallowest) {
      parts.push_back(Grouped(pieces, start, i));
      start = i;
    }
  }
  return Node(std::move(parts));
}

}  // namespace

std::string Breakable::Text() const {
  if (parts.empty()) return text;
  std::string whole;
  for (const Breakable& part : parts) whole += part.Text();
  return whole;
}

Breakable Leaf(std::string text) { return Breakable{std::move(text), {}}; }

Breakable Node(std::vector<Breakable> parts) {
  if (parts.size() == 1) return std::move(parts.front());
  return Breakable{{}, std::move(parts)};
}

std::vector<std::string> BreakLines(const Breakable& text, double width, const Measure& measure) {
  LineFiller filler(width, measure);
  filler.Place(text);
  return filler.Finish();
}

Breakable FormulaText(std::string_view line) {
  std::vector<Piece> pieces;
  size_t start = 0;
  int depth = 0;
  int startDepth = 0;
  char previous = 0;  // the last character that is not a blank
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    const bool joinsTerms = (c == '+' || c == '-') && IsOperand(previous);
    const bool joinsFactors = (c == '(' || c == '[') && (previous == ')' || previous == ']');
    const bool restates = c == '=' && previous != 0;
    if (joinsTerms || joinsFactors || restates) {
      pieces.push_back({line.substr(start, i - start), startDepth});
      start = i;
      startDepth = depth;
    }
    if (c == '(' || c == '[') ++depth;
    if ((c == ')' || c == ']') && depth > 0) --depth;
    if (c != ' ') previous = c;
  }
  pieces.push_back({line.substr(start), startDepth});
  return Grouped(pieces, 0, pieces.size());
}

Breakable ProseText(std::string_view text) {
  std::vector<Breakable> words;
  size_t start = 0;
  for (size_t i = 1; i < text.size(); ++i) {
    if (text[i] == ' ' && text[i - 1] != ' ') {
      words.push_back(Leaf(std::string(text.substr(start, i - start))));
      start = i;
    }
  }
  words.push_back(Leaf(std::string(text.substr(start))));
  return Node(std::move(words));
}

Breakable ResultFileLine(std::string_view line, bool firstLine) {
  const std::string_view start = TrimmedLeft(line);
  return firstLine || (!start.empty() && start.front() == '=') ? FormulaText(line) : ProseText(line);
}

size_t CharacterCount(std::string_view text) {
  return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuationByte(c); }));
}

}  // namespace pfac::frontend
