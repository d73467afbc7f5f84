#pragma once
// Dense matrices and vectors of the analysis and the two products the energies
// need (the element stiffness multiplies by the transform's pattern of non-zeros,
// the band product is BandMultiply of band_matrix.h).
//
// Every routine checks the dimensions of its operands before it writes anything.
// A mismatch (or an empty matrix, or a result that is one of the operands) shows
// the Russian message through the message service when one is given and then
// throws EMatrixError with the same text, so that the caller stops instead of
// going on with a result that was never computed. The result array is then left
// exactly as it was.
//
// Every sum starts at 0 in Extended and adds its terms in increasing index order,
// each term formed as (left factor) x (right factor): the results do not depend
// on anything but the operands.
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/extended.h"
#include "platform/services.h"

namespace tavir {

class EMatrixError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using TFloatVector = std::vector<Extended>;

// Rows of one common length, stored in one contiguous block: m[row][column].
class TFloat2DMatrix {
 public:
  TFloat2DMatrix() = default;
  TFloat2DMatrix(std::size_t rows, std::size_t cols) { Resize(rows, cols); }
  TFloat2DMatrix(const TFloat2DMatrix&) = default;
  TFloat2DMatrix& operator=(const TFloat2DMatrix&) = default;
  TFloat2DMatrix(TFloat2DMatrix&&) noexcept = default;
  TFloat2DMatrix& operator=(TFloat2DMatrix&&) noexcept = default;

  // rows x cols, every entry zero (the old contents are dropped).
  void Resize(std::size_t rows, std::size_t cols) {
    data_.assign(rows * cols, 0.0L);
    rows_ = rows;
    cols_ = cols;
  }
  void Clear() {
    data_.clear();
    data_.shrink_to_fit();
    rows_ = cols_ = 0;
  }
  // Every entry set to the value, same dimensions.
  void Fill(Extended value) { data_.assign(data_.size(), value); }

  std::size_t Rows() const { return rows_; }
  std::size_t Cols() const { return cols_; }
  bool Empty() const { return rows_ == 0 || cols_ == 0; }

  Extended* operator[](std::size_t row) { return data_.data() + row * cols_; }
  const Extended* operator[](std::size_t row) const { return data_.data() + row * cols_; }
  // Bounds-checked access (throws std::out_of_range).
  Extended& At(std::size_t row, std::size_t col);
  Extended At(std::size_t row, std::size_t col) const;

  Extended* Data() { return data_.data(); }
  const Extended* Data() const { return data_.data(); }

  bool operator==(const TFloat2DMatrix& other) const = default;

 private:
  std::vector<Extended> data_;
  std::size_t rows_ = 0;
  std::size_t cols_ = 0;
};

// One TFloat2DMatrix per layer.
using TFloat3DMatrix = std::vector<TFloat2DMatrix>;

// C := A x V for a square A: rows(A) = length(C), cols(A) = length(V), length(C) = length(V).
void MatrixVectorMultiply(const TFloat2DMatrix& A, const TFloatVector& V, TFloatVector& C,
                          MessageService* messages = nullptr);
// Sum of VT[i] * V[i]; lengths must agree.
Extended VectorDotProduct(const TFloatVector& VT, const TFloatVector& V, MessageService* messages = nullptr);

}  // namespace tavir
