#include "analysis/matrix.h"

#include <gtest/gtest.h>

#include <string>

namespace tavir {
namespace {

TFloat2DMatrix Filled(std::size_t rows, std::size_t cols, Extended start = 1) {
  TFloat2DMatrix m(rows, cols);
  for (std::size_t i = 0; i < rows; ++i)
    for (std::size_t j = 0; j < cols; ++j) m[i][j] = start + static_cast<Extended>(i * cols + j);
  return m;
}

TEST(Matrix, TransposeGeneralShape) {
  const TFloat2DMatrix a = Filled(2, 3);
  TFloat2DMatrix at(3, 2);
  MatrixTranspose(a, at);
  for (std::size_t i = 0; i < 3; ++i)
    for (std::size_t j = 0; j < 2; ++j) EXPECT_EQ(at[i][j], a[j][i]);
}

TEST(Matrix, TransposeOfEqualNonSquareShapesIsRefusedWithBothDimensions) {
  const TFloat2DMatrix a = Filled(2, 3);
  TFloat2DMatrix at = Filled(2, 3, 100);
  const TFloat2DMatrix before = at;
  ScriptedMessages msgs;
  try {
    MatrixTranspose(a, at, &msgs);
    FAIL() << "no error";
  } catch (const EMatrixError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Некорректно выбрана размерность массивов!\r\nРазмерность массива A: 2x3\r\nРазмерность массива AT: 2x3");
  }
  ASSERT_EQ(msgs.Shown.size(), 1u);
  EXPECT_EQ(msgs.Shown[0].Kind, MsgKind::Plain);
  EXPECT_EQ(msgs.Shown[0].Text, std::string("Некорректно выбрана размерность массивов!\r\nРазмерность массива A: "
                                            "2x3\r\nРазмерность массива AT: 2x3"));
  EXPECT_EQ(at, before);
}

TEST(Matrix, MultiplyAndTheExampleMismatchMessage) {
  const TFloat2DMatrix a = Filled(2, 3), b = Filled(3, 2, 7);
  TFloat2DMatrix c(2, 2);
  MatrixMultiply(a, b, c);
  EXPECT_EQ(c[0][0], 1 * 7 + 2 * 9 + 3 * 11);
  EXPECT_EQ(c[1][1], 4 * 8 + 5 * 10 + 6 * 12);

  const TFloat2DMatrix A = Filled(20, 20), B = Filled(19, 20);
  TFloat2DMatrix C = Filled(20, 20, -5);
  const TFloat2DMatrix before = C;
  ScriptedMessages msgs;
  EXPECT_THROW(MatrixMultiply(A, B, C, &msgs), EMatrixError);
  ASSERT_EQ(msgs.Shown.size(), 1u);
  EXPECT_EQ(msgs.Shown[0].Text,
            "Некорректно выбрана размерность массивов!\r\nC = AxB\r\nРазмерность массива A: 20x20\r\n"
            "Размерность массива B: 19x20\r\nРазмерность массива C: 20x20");
  EXPECT_EQ(C, before);
}

TEST(Matrix, WithoutServiceTheFailureIsOnlyThrown) {
  TFloat2DMatrix c(2, 2);
  EXPECT_THROW(MatrixMultiply(Filled(2, 3), Filled(2, 2), c), EMatrixError);
}

TEST(Matrix, EmptyMatricesAndAliasedResultsAreRefused) {
  TFloat2DMatrix empty, c(2, 2), sq = Filled(2, 2);
  TFloatVector v(2, 1), out(2, 0);
  EXPECT_THROW(MatrixMultiply(empty, empty, empty), EMatrixError);
  EXPECT_THROW(MatrixTranspose(empty, empty), EMatrixError);
  EXPECT_THROW(MatrixVectorMultiply(empty, TFloatVector{}, out), EMatrixError);
  EXPECT_THROW(BandMatrixVectorMultiply(empty, TFloatVector{}, out), EMatrixError);
  const TFloat2DMatrix before = sq;
  EXPECT_THROW(MatrixMultiply(sq, c, sq), EMatrixError);
  EXPECT_EQ(sq, before);
  EXPECT_THROW(MatrixTranspose(sq, sq), EMatrixError);
  EXPECT_THROW(MatrixVectorMultiply(sq, v, v), EMatrixError);
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

// Full symmetric matrix of a band.
Extended BandEntry(const TFloat2DMatrix& band, std::size_t i, std::size_t j) {
  if (j < i) std::swap(i, j);
  return j - i < band.Cols() ? band[i][j - i] : 0;
}

TEST(Matrix, BandProductGivesTheColumnsOfTheSymmetricMatrix) {
  const std::size_t n = 7, w = 3;
  TFloat2DMatrix band(n, w);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t d = 0; d < w; ++d) band[i][d] = i + d < n ? 1 + 10 * i + d : 999;  // unused tail
  for (std::size_t j = 0; j < n; ++j) {
    TFloatVector e(n, 0), c(n, -1);
    e[j] = 1;
    BandMatrixVectorMultiply(band, e, c);
    for (std::size_t i = 0; i < n; ++i) EXPECT_EQ(c[i], BandEntry(band, i, j)) << i << "," << j;
  }
}

TEST(Matrix, BandWidthOneIsDiagonal) {
  TFloat2DMatrix band(3, 1);
  band[0][0] = 2;
  band[1][0] = 3;
  band[2][0] = 4;
  TFloatVector c(3);
  BandMatrixVectorMultiply(band, {1, 2, 3}, c);
  EXPECT_EQ(c, (TFloatVector{2, 6, 12}));
  TFloatVector shortC(2, 5);
  EXPECT_THROW(BandMatrixVectorMultiply(band, {1, 2, 3}, shortC), EMatrixError);
  EXPECT_EQ(shortC, (TFloatVector{5, 5}));
}

}  // namespace
}  // namespace tavir
