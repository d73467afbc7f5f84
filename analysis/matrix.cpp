#include "analysis/matrix.h"

#include <string>

namespace tavir {

Extended& TFloat2DMatrix::At(std::size_t row, std::size_t col) {
  if (row >= rows_ || col >= cols_) throw std::out_of_range("TFloat2DMatrix index out of range");
  return data_[row * cols_ + col];
}

Extended TFloat2DMatrix::At(std::size_t row, std::size_t col) const {
  if (row >= rows_ || col >= cols_) throw std::out_of_range("TFloat2DMatrix index out of range");
  return data_[row * cols_ + col];
}

namespace {

const char* const kLineBreak = "\r\n";

std::string MatrixLine(const char* name, const TFloat2DMatrix& m) {
  return std::string("Размерность массива ") + name + ": " + std::to_string(m.Rows()) + "x" +
         std::to_string(m.Cols());
}

std::string VectorLine(const char* name, const TFloatVector& v) {
  return std::string("Размерность вектора ") + name + ": " + std::to_string(v.size());
}

// Shows the message as a plain box (when there is someone to show it) and stops
// the caller.
[[noreturn]] void Fail(const std::string& text, MessageService* messages) {
  if (messages != nullptr) messages->Show(MsgKind::Plain, "", text, MsgButtons::Ok);
  throw EMatrixError(text);
}

const char* const kArraysHeader = "Некорректно выбрана размерность массивов!";
const char* const kSameArray = "Массив результата совпадает с одним из операндов!";

template <class A, class B>
bool Same(const A& a, const B& b) {
  return static_cast<const void*>(&a) == static_cast<const void*>(&b);
}

}  // namespace

void MatrixTranspose(const TFloat2DMatrix& A, TFloat2DMatrix& AT, MessageService* messages) {
  if (A.Empty() || AT.Empty() || A.Rows() != AT.Cols() || A.Cols() != AT.Rows()) {
    Fail(std::string(kArraysHeader) + kLineBreak + MatrixLine("A", A) + kLineBreak + MatrixLine("AT", AT), messages);
  }
  if (Same(A, AT)) Fail(kSameArray, messages);
  const std::size_t rows = AT.Rows(), cols = AT.Cols();
  for (std::size_t i = 0; i < rows; ++i) {
    Extended* out = AT[i];
    for (std::size_t j = 0; j < cols; ++j) out[j] = A[j][i];
  }
}

void MatrixMultiply(const TFloat2DMatrix& A, const TFloat2DMatrix& B, TFloat2DMatrix& C, MessageService* messages) {
  if (A.Empty() || B.Empty() || C.Empty() || A.Rows() != C.Rows() || A.Cols() != B.Rows() || C.Cols() != B.Cols()) {
    Fail(std::string(kArraysHeader) + kLineBreak + "C = AxB" + kLineBreak + MatrixLine("A", A) + kLineBreak +
             MatrixLine("B", B) + kLineBreak + MatrixLine("C", C),
         messages);
  }
  if (Same(A, C) || Same(B, C)) Fail(kSameArray, messages);
  const std::size_t rows = C.Rows(), cols = C.Cols(), inner = A.Cols();
  for (std::size_t i = 0; i < rows; ++i) {
    const Extended* a = A[i];
    Extended* c = C[i];
    for (std::size_t j = 0; j < cols; ++j) {
      Extended sum = 0;
      for (std::size_t k = 0; k < inner; ++k) sum += a[k] * B[k][j];
      c[j] = sum;
    }
  }
}

void MatrixVectorMultiply(const TFloat2DMatrix& A, const TFloatVector& V, TFloatVector& C, MessageService* messages) {
  if (A.Empty() || A.Rows() != C.size() || A.Cols() != V.size() || C.size() != V.size()) {
    Fail(std::string(kArraysHeader) + kLineBreak + "C = AxV" + kLineBreak + MatrixLine("A", A) + kLineBreak +
             VectorLine("V", V) + kLineBreak + VectorLine("C", C),
         messages);
  }
  if (Same(V, C)) Fail(kSameArray, messages);
  const std::size_t n = C.size();
  for (std::size_t i = 0; i < n; ++i) {
    const Extended* a = A[i];
    Extended sum = 0;
    for (std::size_t k = 0; k < n; ++k) sum += a[k] * V[k];
    C[i] = sum;
  }
}

Extended VectorDotProduct(const TFloatVector& VT, const TFloatVector& V, MessageService* messages) {
  if (VT.size() != V.size()) {
    Fail(std::string("Некорректно выбрана размерность векторов!") + kLineBreak + "C = VTxV" + kLineBreak +
             VectorLine("VT", VT) + kLineBreak + VectorLine("V", V),
         messages);
  }
  Extended sum = 0;
  for (std::size_t i = 0; i < V.size(); ++i) sum += VT[i] * V[i];
  return sum;
}

void BandMatrixVectorMultiply(const TFloat2DMatrix& A, const TFloatVector& V, TFloatVector& C,
                              MessageService* messages) {
  if (A.Empty() || A.Rows() != C.size() || C.size() != V.size()) {
    Fail(std::string(kArraysHeader) + kLineBreak + "C = AxV" + kLineBreak + MatrixLine("A", A) + kLineBreak +
             VectorLine("V", V) + kLineBreak + VectorLine("C", C),
         messages);
  }
  if (Same(V, C)) Fail(kSameArray, messages);
  const std::size_t n = C.size(), w = A.Cols();
  for (std::size_t i = 0; i < n; ++i) {
    // Only the 2w-1 diagonals around the main one hold entries; the rest of the
    // row would add nothing but skipped terms.
    const std::size_t first = i + 1 >= w ? i + 1 - w : 0;
    const std::size_t last = i + w - 1 < n ? i + w - 1 : n - 1;
    Extended sum = 0;
    for (std::size_t j = first; j < i; ++j) sum += A[j][i - j] * V[j];  // below the diagonal: mirrored
    const Extended* row = A[i];
    for (std::size_t j = i; j <= last; ++j) sum += row[j - i] * V[j];
    C[i] = sum;
  }
}

}  // namespace tavir
