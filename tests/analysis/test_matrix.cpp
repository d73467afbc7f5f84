#include "analysis/matrix.h"

#include <gtest/gtest.h>

#include <string>
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

TFloat2DMatrix Filled(std::size_t rows, std::size_t cols, Extended start = 1) {
  TFloat2DMatrix m(rows, cols);
  for (std::size_t i = 0; i < rows; ++i)
    for (std::size_t j = 0; j < cols; ++j) m[i][j] = start + static_cast<Extended>(i * cols + j);
  return m;
}

TEST(Matrix, WithoutServiceTheFailureIsOnlyThrown) {
  TFloatVector c(2);
  EXPECT_THROW(MatrixVectorMultiply(Filled(2, 3), TFloatVector(2, 1), c), EMatrixError);
  EXPECT_THROW(VectorDotProduct({1}, {1, 2}), EMatrixError);
}

TEST(Matrix, EmptyMatricesAndAliasedResultsAreRefused) {
  TFloat2DMatrix empty, sq = Filled(2, 2);
  TFloatVector v(2, 1), out(2, 0);
  EXPECT_THROW(MatrixVectorMultiply(empty, TFloatVector{}, out), EMatrixError);
  EXPECT_THROW(MatrixVectorMultiply(sq, v, v), EMatrixError);
  EXPECT_EQ(v, (TFloatVector{1, 1}));
}

TEST(Matrix, MatrixVectorAcceptsOnlySquare) {
  const TFloat2DMatrix a = Filled(2, 2);
  TFloatVector c(2);
  MatrixVectorMultiply(a, {1, -1}, c);
  EXPECT_EQ(c[0], -1);
  EXPECT_EQ(c[1], -1);

  TFloatVector c3 = {9, 9, 9};
  ScriptedMessages msgs;
  EXPECT_THROW(MatrixVectorMultiply(Filled(3, 4), TFloatVector(4, 1), c3, &msgs), EMatrixError);
  EXPECT_EQ(c3, (TFloatVector{9, 9, 9}));
  ASSERT_EQ(msgs.Shown.size(), 1u);
  EXPECT_EQ(msgs.Shown[0].Text,
            "Некорректно выбрана размерность массивов!\r\nC = AxV\r\nРазмерность массива A: 3x4\r\n"
            "Размерность вектора V: 4\r\nРазмерность вектора C: 3");
}

TEST(Matrix, DotProduct) {
  EXPECT_EQ(VectorDotProduct({1, 2, 3}, {4, 5, 6}), 32);
  EXPECT_EQ(VectorDotProduct({}, {}), 0);
  ScriptedMessages msgs;
  EXPECT_THROW(VectorDotProduct({1, 2, 3}, {1, 2, 3, 4}, &msgs), EMatrixError);
  ASSERT_EQ(msgs.Shown.size(), 1u);
  EXPECT_EQ(msgs.Shown[0].Text,
            "Некорректно выбрана размерность векторов!\r\nC = VTxV\r\nРазмерность вектора VT: 3\r\n"
            "Размерность вектора V: 4");
}

}  // namespace
}  // namespace tavir
