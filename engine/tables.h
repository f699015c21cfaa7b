// The engine's tables: vectors of floats, 16-bit integers and texts, indexed
// as each part of the state says (term t and variable v from 1, a dense
// vector's power from 0), a table of floats with two indices, and the one
// rule for a variable's letter that its results can hold. The engine's state
// is made of them, and the exact companion reads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pfac {

using FloatTable = std::vector<float>;
using ShortTable = std::vector<int16_t>;
using TextTable = std::vector<std::string>;

// A variable's letter that a result line and the exact factoriser can hold:
// one of a-z.
inline bool IsPlainLetter(const std::string& letter) {
  return letter.size() == 1 && letter[0] >= 'a' && letter[0] <= 'z';
}

// A table of floats with two indices, written Table[row][column].
class FloatGrid {
 public:
  void Create(int rows, int columns) {
    columns_ = columns;
    data_.assign(static_cast<size_t>(rows) * columns, 0.0f);
  }
  float* operator[](size_t row) { return data_.data() + row * columns_; }
  const float* operator[](size_t row) const { return data_.data() + row * columns_; }
  int Rows() const { return columns_ ? static_cast<int>(data_.size() / columns_) : 0; }
  int Columns() const { return columns_; }

 private:
  std::vector<float> data_;
  int columns_ = 0;
};

}  // namespace pfac
