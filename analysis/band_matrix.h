#pragma once
// The symmetric band matrix of the static system, stored by its upper band in one
// contiguous buffer: row i holds K(i, i + d) for d = 0 .. BW - 1 at [i * BW + d].
// Entries with i + d >= n exist, stay zero and are never read.
//
// The owner allocates it once and reuses the buffer (Reset) across the iterations
// of an adaptation; the assembly and the solver only fill and read it.
#include <cstddef>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

#include "platform/extended.h"

namespace tavir {

// Allocation failure or an index outside the band (a wrong band width or knot
// numbering). The message is for the user.
class BandError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class BandMatrix {
 public:
  BandMatrix() = default;
  BandMatrix(std::size_t equations, std::size_t bandWidth) { Allocate(equations, bandWidth); }
  BandMatrix(const BandMatrix&) = delete;
  BandMatrix& operator=(const BandMatrix&) = delete;
  BandMatrix(BandMatrix&&) noexcept = default;
  BandMatrix& operator=(BandMatrix&&) noexcept = default;

  // n equations with half-bandwidth BW, all zero. The buffer is kept when it is
  // already large enough (a new system of the same or a smaller size); otherwise
  // it is replaced. Throws BandError when n * BW values cannot be held; the
  // matrix is then empty. n = 0 or BW = 0 gives an empty (unallocated) matrix.
  void Allocate(std::size_t equations, std::size_t bandWidth);
  // All entries zero, same dimensions, no reallocation.
  void Reset();
  // Frees the buffer.
  void Clear();

  bool IsAllocated() const { return n_ != 0 && bw_ != 0; }
  std::size_t Size() const { return n_; }
  std::size_t BandWidth() const { return bw_; }
  // Values the buffer can hold without reallocation.
  std::size_t Capacity() const { return capacity_; }

  Extended* Row(std::size_t i) { return data_.get() + i * bw_; }
  const Extended* Row(std::size_t i) const { return data_.get() + i * bw_; }
  // K(i, i + d), d < BW.
  Extended& operator()(std::size_t i, std::size_t d) { return data_[i * bw_ + d]; }
  Extended operator()(std::size_t i, std::size_t d) const { return data_[i * bw_ + d]; }
  // The symmetric entry K(i, j) of the full matrix (0 outside the band).
  Extended At(std::size_t i, std::size_t j) const;

  Extended* Data() { return data_.get(); }
  const Extended* Data() const { return data_.get(); }

 private:
  std::unique_ptr<Extended[]> data_;
  std::size_t capacity_ = 0;
  std::size_t n_ = 0;
  std::size_t bw_ = 0;
};

// The Russian message for a band of n equations and half-bandwidth BW that cannot
// be allocated.
std::string BandMemoryMessage(std::size_t equations, std::size_t bandWidth);

// C := M x V with M the symmetric matrix stored in the band. Each C[i] is summed
// in Extended from 0 over j in increasing order, the stored upper band serving both
// halves. Requires V and C of length n, distinct from each other; throws
// BandError otherwise (C unchanged).
void BandMultiply(const BandMatrix& matrix, std::span<const Extended> v, std::span<Extended> c);

}  // namespace tavir
