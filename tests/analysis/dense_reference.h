#pragma once
// The plain dense products the element stiffness must agree with bit for bit: every
// sum starts at 0 in Extended and adds its terms in increasing index order, each
// term (left factor) x (right factor). Test yardsticks only: the program multiplies
// by the transform's pattern of non-zeros instead.
#include <cstddef>

#include "analysis/matrix.h"

namespace tavir {

// AT := transpose of A.
inline TFloat2DMatrix DenseTranspose(const TFloat2DMatrix& A) {
  TFloat2DMatrix AT(A.Cols(), A.Rows());
  for (std::size_t i = 0; i < AT.Rows(); ++i)
    for (std::size_t j = 0; j < AT.Cols(); ++j) AT[i][j] = A[j][i];
  return AT;
}

// A x B; cols(A) must be rows(B).
inline TFloat2DMatrix DenseProduct(const TFloat2DMatrix& A, const TFloat2DMatrix& B) {
  TFloat2DMatrix C(A.Rows(), B.Cols());
  for (std::size_t i = 0; i < C.Rows(); ++i)
    for (std::size_t j = 0; j < C.Cols(); ++j) {
      Extended sum = 0;
      for (std::size_t k = 0; k < A.Cols(); ++k) sum += A[i][k] * B[k][j];
      C[i][j] = sum;
    }
  return C;
}

}  // namespace tavir
