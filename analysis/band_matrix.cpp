#include "analysis/band_matrix.h"

#include <algorithm>
#include <limits>
#include <new>
#include <thread>
#include <vector>

namespace tavir {

std::string BandMemoryMessage(std::size_t equations, std::size_t bandWidth) {
  return "Недостаточно памяти для матрицы жесткости: " + std::to_string(equations) + " уравнений, ширина ленты " +
         std::to_string(bandWidth) + ".";
}

void BandMatrix::Allocate(std::size_t equations, std::size_t bandWidth) {
  if (equations == 0 || bandWidth == 0) {
    n_ = 0;
    bw_ = 0;
    Reset();
    return;
  }
  // n * BW values and their bytes must both fit in size_t.
  constexpr std::size_t kMaxValues = std::numeric_limits<std::size_t>::max() / sizeof(Extended);
  if (bandWidth > kMaxValues / equations) {
    Clear();
    throw BandError(BandMemoryMessage(equations, bandWidth));
  }
  const std::size_t count = equations * bandWidth;
  if (count > capacity_) {
    Clear();
    Extended* p = new (std::nothrow) Extended[count];
    if (p == nullptr) throw BandError(BandMemoryMessage(equations, bandWidth));
    data_.reset(p);
    capacity_ = count;
  }
  n_ = equations;
  bw_ = bandWidth;
  Reset();
}

void BandMatrix::Reset() {
  if (!data_) return;
  Extended* const data = data_.get();
  const std::size_t count = n_ * bw_;
  // A large band is zeroed on several threads: its pages are touched for the
  // first time here, which costs more than the zeros themselves.
  constexpr std::size_t kPerThread = std::size_t{1} << 22;  // 64 MB of values
  const unsigned threads = static_cast<unsigned>(std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()),
                                                                      std::min<std::size_t>(8, count / kPerThread + 1)));
  const std::size_t chunk = (count + threads - 1) / threads;
  std::vector<std::thread> pool;
  try {
    for (unsigned t = 1; t < threads; ++t)
      pool.emplace_back([=] { std::fill(data + std::min(count, t * chunk), data + std::min(count, (t + 1) * chunk), Extended(0)); });
  } catch (...) {
    for (auto& t : pool) t.join();
    std::fill(data, data + count, Extended(0));
    return;
  }
  std::fill(data, data + std::min(count, chunk), Extended(0));
  for (auto& t : pool) t.join();
}

void BandMatrix::Clear() {
  data_.reset();
  capacity_ = 0;
  n_ = 0;
  bw_ = 0;
}

Extended BandMatrix::At(std::size_t i, std::size_t j) const {
  if (i >= n_ || j >= n_) return 0;
  if (j < i) std::swap(i, j);
  const std::size_t d = j - i;
  return d < bw_ ? data_[i * bw_ + d] : Extended(0);
}

void BandMultiply(const BandMatrix& matrix, std::span<const Extended> v, std::span<Extended> c) {
  const std::size_t n = matrix.Size();
  const std::size_t bw = matrix.BandWidth();
  if (v.size() != n || c.size() != n) {
    throw BandError("Некорректно выбрана размерность массивов!\r\nC = AxV\r\nРазмерность массива A: " +
                     std::to_string(n) + "x" + std::to_string(bw) + "\r\nРазмерность вектора V: " +
                     std::to_string(v.size()) + "\r\nРазмерность вектора C: " + std::to_string(c.size()));
  }
  if (n == 0) return;
  if (v.data() == c.data()) throw BandError("Произведение матрицы на вектор: результат совпадает с операндом.");
  for (std::size_t i = 0; i < n; ++i) {
    Extended s = 0;
    const std::size_t lo = i + 1 > bw ? i + 1 - bw : 0;
    for (std::size_t j = lo; j < i; ++j) s += matrix(j, i - j) * v[j];
    const std::size_t hi = std::min(n, i + bw);
    const Extended* row = matrix.Row(i);
    for (std::size_t j = i; j < hi; ++j) s += row[j - i] * v[j];
    c[i] = s;
  }
}

}  // namespace tavir
