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

}  // namespace tavir
