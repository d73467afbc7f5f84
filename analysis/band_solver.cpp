#include "analysis/band_solver.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <exception>
#include <latch>
#include <limits>
#include <new>
#include <thread>
#include <vector>

namespace tavir {

namespace {

std::string EquationText(std::int64_t equation) {
  return "узел " + std::to_string(equation / 5) + ", степень свободы " + std::to_string(equation % 5) + ".";
}

[[noreturn]] void Fail(TSolveFailure kind, std::int64_t equation) {
  switch (kind) {
    case TSolveFailure::Singular:
      throw ESolveError(kind, equation, "Система уравнений вырождена: " + EquationText(equation));
    case TSolveFailure::BadLoad:
      throw ESolveError(kind, equation, "Нагрузка не является конечным числом: " + EquationText(equation));
    case TSolveFailure::NonFinite:
      throw ESolveError(kind, equation, "Перемещение не является конечным числом: " + EquationText(equation));
    case TSolveFailure::Dimensions:
      break;
  }
  throw ESolveError(kind, equation, "Некорректно выбрана размерность массивов!");
}

// The checks every elimination makes before it starts. Returns false for an empty
// system.
bool Prepare(const TBandMatrix& k, std::span<const Extended> f) {
  if (!k.IsAllocated() && f.empty()) return false;
  if (!k.IsAllocated() || f.size() != k.Size()) {
    throw ESolveError(TSolveFailure::Dimensions, -1,
                      "Некорректно выбрана размерность массивов!\r\nРазмерность матрицы: " +
                          std::to_string(k.Size()) + "x" + std::to_string(k.BandWidth()) +
                          "\r\nРазмерность вектора: " + std::to_string(f.size()));
  }
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (!std::isfinite(f[i])) Fail(TSolveFailure::BadLoad, static_cast<std::int64_t>(i));
  }
  return true;
}

[[noreturn]] void OutOfMemory(const TBandMatrix& k) { throw EBandError(BandMemoryMessage(k.Size(), k.BandWidth())); }

// The probe solution y: fixed values in [1, 2), exact in any format, scattered so
// that no rigid motion of a model is orthogonal to it.
Extended ProbeValue(std::size_t i) {
  const std::uint64_t h = (static_cast<std::uint64_t>(i) + 1) * 0x9E3779B97F4A7C15ull;
  return 1 + static_cast<Extended>(h >> 54) / 1024;
}

// What every elimination needs besides K and F: the diagonal before elimination
// (what each pivot is measured against) and the probe load b = K·y, which the
// elimination carries beside F.
struct Checks {
  std::vector<Extended> Diag;
  std::vector<Extended> Probe;
};

Checks PrepareChecks(const TBandMatrix& k) {
  const std::size_t n = k.Size();
  const std::size_t bw = k.BandWidth();
  Checks c;
  try {
    c.Diag.resize(n);
    c.Probe.assign(n, 0);
  } catch (const std::bad_alloc&) {
    OutOfMemory(k);
  }
  for (std::size_t i = 0; i < n; ++i) {
    const Extended* row = k.Row(i);
    c.Diag[i] = row[0];
    const std::size_t m = std::min(bw, n - i);
    const Extended yi = ProbeValue(i);
    Extended s = row[0] * yi;
    for (std::size_t d = 1; d < m; ++d) {
      s += row[d] * ProbeValue(i + d);
      c.Probe[i + d] += row[d] * yi;
    }
    c.Probe[i] += s;
  }
  return c;
}

bool PivotOk(Extended pivot, Extended original, Extended tolerance) {
  // Written so that NaN fails every comparison.
  return std::isfinite(pivot) && std::isfinite(original) && original > 0 && pivot > tolerance * original;
}

void SetBar(ProgressObserver* progress, long long position, long long maximum) {
  if (progress != nullptr) progress->SetBar(position, maximum);
}

void BackSubstitution(TBandMatrix& k, std::span<Extended> f, std::span<Extended> p, ProgressObserver* progress) {
  const std::size_t n = k.Size();
  const std::size_t bw = k.BandWidth();
  SetBar(progress, 0, static_cast<long long>(n));
  for (std::size_t step = 0; step < n; ++step) {
    const std::size_t i = n - 1 - step;
    const std::size_t c = std::min(bw, n - i);
    const Extended* row = k.Row(i);
    Extended s = 0, sp = 0;
    for (std::size_t a = 1; a < c; ++a) {
      s += row[a] * f[i + a];
      sp += row[a] * p[i + a];
    }
    f[i] = (f[i] - s) / row[0];
    p[i] = (p[i] - sp) / row[0];
    if (!std::isfinite(f[i])) Fail(TSolveFailure::NonFinite, static_cast<std::int64_t>(i));
    SetBar(progress, static_cast<long long>(step + 1), static_cast<long long>(n));
  }
}

// The last pivot, the back substitution and the probe test (see kProbeTolerance).
void Finish(TBandMatrix& k, std::span<Extended> f, Checks& c, ProgressObserver* progress,
            TSolveDiagnostics* diagnostics) {
  const std::size_t n = k.Size();
  if (!PivotOk(k(n - 1, 0), c.Diag[n - 1], kPivotTolerance)) Fail(TSolveFailure::Singular, static_cast<std::int64_t>(n - 1));
  BackSubstitution(k, f, c.Probe, progress);
  // The probe values are at most 2, so max|y| is taken as 2.
  constexpr Extended kScale = 2;
  Extended worst = 0, smallest = std::numeric_limits<Extended>::infinity();
  Extended smallestMissed = std::numeric_limits<Extended>::infinity();
  std::int64_t worstEq = -1, smallestEq = -1, reportEq = -1;
  for (std::size_t i = 0; i < n; ++i) {
    const Extended ratio = k(i, 0) / c.Diag[i];
    if (ratio < smallest) {
      smallest = ratio;
      smallestEq = static_cast<std::int64_t>(i);
    }
    Extended error = std::fabs(c.Probe[i] - ProbeValue(i)) / kScale;
    if (std::isnan(error)) error = std::numeric_limits<Extended>::infinity();
    const bool missed = error > kProbeTolerance;
    if (error > worst) {
      worst = error;
      worstEq = static_cast<std::int64_t>(i);
    }
    if (missed && (reportEq < 0 || ratio < smallestMissed)) {
      smallestMissed = ratio;
      reportEq = static_cast<std::int64_t>(i);
    }
  }
  if (diagnostics != nullptr) {
    diagnostics->SmallestPivotRatio = smallest;
    diagnostics->SmallestPivotEquation = smallestEq;
    diagnostics->ProbeError = worst;
    diagnostics->ProbeErrorEquation = worstEq;
  }
  if (reportEq >= 0) Fail(TSolveFailure::Singular, reportEq);
}

// ---- blocked elimination --------------------------------------------------------
//
// The plain loop applies pivot i to every row r = i + d below it:
//   K(r, j) := K(r, j) - g·K(i, j) for j = r .. min(i + BW - 1, n - 1),
//   F(r) := F(r) - g·F(i), with g = K(i, r) / K(i, i),
// and row i is final (a pivot) once every pivot above it has been applied.
// Each entry of row r thus receives the pivots i = r - BW + 1 .. r - 1 in
// increasing order, each reading only the final row i. Any schedule that keeps
// that order per row and uses a pivot row only once it is final performs exactly
// the same floating-point operations, so the result is bit-identical.
//
// Schedule: pivots come in panels P_k = [b_k, b_k+1). In stage k (P_k final) the
// calling thread makes P_k+1 final (panel k's and then panel k+1's own pivots,
// row by row, testing each pivot), while the other threads apply panel k to the
// rows after P_k+1 that it reaches. A barrier ends the stage.
//
// Within a row the pivots of a panel are applied column by column, the entry kept
// in a register across the pivots (the same operations in the same order, with
// the partial value held in the same 80-bit format), so a row is read and written
// once per panel instead of once per pivot.

// A barrier that spins briefly before it sleeps: a stage takes a fraction of a
// millisecond, and waking sleeping threads for each of thousands of stages would
// cost more than the stages themselves.
class SpinBarrier {
 public:
  explicit SpinBarrier(unsigned count) : count_(count) {}

  void ArriveAndWait() {
    const unsigned generation = generation_.load(std::memory_order_acquire);
    if (waiting_.fetch_add(1, std::memory_order_acq_rel) + 1 == count_) {
      // No thread arrives again before the generation changes.
      waiting_.store(0, std::memory_order_relaxed);
      generation_.store(generation + 1, std::memory_order_release);
      generation_.notify_all();
      return;
    }
    // Spin, then give the core away a few times (the machine may be busier than
    // the thread count), then sleep until woken.
    for (unsigned spin = 0; generation_.load(std::memory_order_acquire) == generation; ++spin) {
      if (spin < kSpins) {
        Pause();
      } else if (spin < kSpins + kYields) {
        std::this_thread::yield();
      } else {
        generation_.wait(generation, std::memory_order_acquire);
      }
    }
  }

 private:
  static constexpr unsigned kSpins = 4000;
  static constexpr unsigned kYields = 50;
  static void Pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
  }
  const unsigned count_;
  std::atomic<unsigned> waiting_{0};
  std::atomic<unsigned> generation_{0};
};

struct Blocked {
  TBandMatrix& K;
  std::span<Extended> F;
  std::span<Extended> P;  // the probe load, eliminated like F
  const std::vector<Extended>& Diag;
  std::size_t N;
  std::size_t BW;
  std::size_t B;

  // Applies the pivots [lo, hi) that reach row r (those > r - BW) to row r.
  // g must hold room for hi - lo multipliers.
  void UpdateRow(std::size_t r, std::size_t lo, std::size_t hi, Extended* g) const {
    const std::size_t reach = BW - 1;
    const std::size_t iLo = std::max(lo, r >= reach ? r - reach : 0);
    if (iLo >= hi) return;
    Extended* data = K.Data();
    for (std::size_t i = iLo; i < hi; ++i) {
      const Extended* pivotRow = data + i * BW;
      g[i - iLo] = pivotRow[r - i] / pivotRow[0];
    }
    Extended* row = data + r * BW;
    const std::size_t lMax = std::min(reach, N - 1 - r);
    const std::size_t stride = BW - 1;  // K(i, j) of successive pivots i for one column j
    auto firstPivot = [&](std::size_t j) { return std::max(iLo, j >= reach ? j - reach : 0); };
    std::size_t l = 0;
    // Four columns at a time: four independent chains of subtractions keep the
    // floating-point unit busy, and each multiplier is loaded once for four. A
    // column's first pivots that do not reach the group's last column yet are
    // applied to it first, so each entry still sees the pivots in increasing order.
    for (; l + 3 <= lMax; l += 4) {
      const std::size_t j = r + l;
      const std::size_t common = firstPivot(j + 3);
      if (common >= hi) break;
      Extended a0 = row[l], a1 = row[l + 1], a2 = row[l + 2], a3 = row[l + 3];
      const std::size_t f1 = firstPivot(j + 1), f2 = firstPivot(j + 2);
      for (std::size_t i = firstPivot(j); i < common; ++i) {
        const Extended gi = g[i - iLo];
        const Extended* p = data + i * stride + j;
        a0 = a0 - gi * p[0];
        if (i >= f1) a1 = a1 - gi * p[1];
        if (i >= f2) a2 = a2 - gi * p[2];
      }
      const Extended* p = data + common * stride + j;
      for (std::size_t i = common; i < hi; ++i, p += stride) {
        const Extended gi = g[i - iLo];
        a0 = a0 - gi * p[0];
        a1 = a1 - gi * p[1];
        a2 = a2 - gi * p[2];
        a3 = a3 - gi * p[3];
      }
      row[l] = a0;
      row[l + 1] = a1;
      row[l + 2] = a2;
      row[l + 3] = a3;
    }
    for (; l <= lMax; ++l) {
      const std::size_t j = r + l;
      const std::size_t first = firstPivot(j);
      if (first >= hi) break;  // no later column is reached either
      Extended acc = row[l];
      const Extended* p = data + first * stride + j;
      for (std::size_t i = first; i < hi; ++i, p += stride) acc = acc - g[i - iLo] * *p;
      row[l] = acc;
    }
    Extended acc = F[r], probe = P[r];
    for (std::size_t i = iLo; i < hi; ++i) {
      acc = acc - g[i - iLo] * F[i];
      probe = probe - g[i - iLo] * P[i];
    }
    F[r] = acc;
    P[r] = probe;
  }

  // Makes rows [from, to) final with the pivots from `lo` on; returns the first
  // failing equation or -1.
  std::int64_t FactorRows(std::size_t lo, std::size_t from, std::size_t to, Extended* g) const {
    for (std::size_t r = from; r < to; ++r) {
      UpdateRow(r, lo, r, g);
      if (!PivotOk(K(r, 0), Diag[r], kPivotTolerance)) return static_cast<std::int64_t>(r);
    }
    return -1;
  }

  // The rows that panel [b0, b1) reaches beyond the next panel, claimed a few at
  // a time from `next` by whichever thread is free (a thread that the system
  // holds back delays a stage by a few rows only). Which thread updates a row
  // does not change what it computes.
  void UpdateTail(std::size_t b0, std::size_t b1, std::atomic<std::size_t>& next, Extended* g) const {
    constexpr std::size_t kChunk = 2;
    const std::size_t b2 = std::min(N, b1 + B);
    const std::size_t end = std::min(N, b1 + BW - 1);
    if (b2 >= end) return;
    for (;;) {
      const std::size_t r0 = b2 + next.fetch_add(kChunk, std::memory_order_relaxed);
      if (r0 >= end) return;
      const std::size_t r1 = std::min(end, r0 + kChunk);
      for (std::size_t r = r0; r < r1; ++r) UpdateRow(r, b0, b1, g);
    }
  }
};

void ForwardBlocked(TBandMatrix& k, std::span<Extended> f, Checks& checks, ProgressObserver* progress,
                    unsigned threads, std::size_t blockSize) {
  const std::size_t n = k.Size();
  Blocked ctx{k, f, checks.Probe, checks.Diag, n, k.BandWidth(), blockSize};
  const std::size_t b = blockSize;
  const long long barMax = static_cast<long long>(n - 1);
  SetBar(progress, 0, barMax);

  std::vector<std::vector<Extended>> scratch;
  try {
    scratch.assign(threads, std::vector<Extended>(2 * b));
  } catch (const std::bad_alloc&) {
    OutOfMemory(k);
  }

  if (threads <= 1) {
    Extended* g = scratch[0].data();
    std::int64_t bad = ctx.FactorRows(0, 0, std::min(n, b), g);
    if (bad >= 0) Fail(TSolveFailure::Singular, bad);
    for (std::size_t b0 = 0; b0 + b < n; b0 += b) {
      const std::size_t b1 = b0 + b;
      bad = ctx.FactorRows(b0, b1, std::min(n, b1 + b), g);
      if (bad >= 0) Fail(TSolveFailure::Singular, bad);
      std::atomic<std::size_t> next{0};
      ctx.UpdateTail(b0, b1, next, g);
      SetBar(progress, static_cast<long long>(std::min(n - 1, b1)), barMax);
    }
    return;
  }

  // Shared state, written by the calling thread before it arrives at a barrier
  // and read by the workers after it.
  std::int64_t failed = -1;  // the calling thread's own
  bool abort = false;
  // The first stage after which the workers stop (set by the calling thread
  // before it arrives at that stage's barrier).
  constexpr std::size_t kNever = static_cast<std::size_t>(-1);
  std::atomic<std::size_t> stopAfter{kNever};
  std::exception_ptr observerError;
  std::latch start(1);
  SpinBarrier stageEnd(threads);
  const unsigned workers = threads - 1;
  // The tail rows claimed so far in stage k: claims[k % 2]. The calling thread
  // clears the next stage's counter before it arrives at the barrier.
  std::array<std::atomic<std::size_t>, 2> claims{};
  claims[0].store(0, std::memory_order_relaxed);
  claims[1].store(0, std::memory_order_relaxed);

  auto worker = [&](unsigned id) {
    start.wait();
    if (abort) return;
    Extended* g = scratch[id].data();
    for (std::size_t stage = 0, b0 = 0; b0 + b < n; ++stage, b0 += b) {
      ctx.UpdateTail(b0, b0 + b, claims[stage % 2], g);
      stageEnd.ArriveAndWait();
      if (stopAfter.load(std::memory_order_relaxed) <= stage) return;
    }
  };

  std::vector<std::thread> pool;
  pool.reserve(workers);
  try {
    for (unsigned id = 1; id < threads; ++id) pool.emplace_back(worker, id);
  } catch (...) {
    // Not all threads could be started: nothing has been touched yet; finish on
    // this thread alone.
    abort = true;
    start.count_down();
    for (auto& t : pool) t.join();
    ForwardBlocked(k, f, checks, progress, 1, blockSize);
    return;
  }

  Extended* g = scratch[0].data();
  failed = ctx.FactorRows(0, 0, std::min(n, b), g);
  if (failed >= 0) abort = true;
  start.count_down();
  if (!abort) {
    for (std::size_t stage = 0, b0 = 0; b0 + b < n; ++stage, b0 += b) {
      const std::size_t b1 = b0 + b;
      failed = ctx.FactorRows(b0, b1, std::min(n, b1 + b), g);
      if (failed < 0) {
        try {
          SetBar(progress, static_cast<long long>(std::min(n - 1, b1)), barMax);
        } catch (...) {
          observerError = std::current_exception();
        }
      }
      const bool stop = failed >= 0 || observerError != nullptr;
      if (stop) {
        stopAfter.store(stage, std::memory_order_relaxed);
      } else {
        ctx.UpdateTail(b0, b1, claims[stage % 2], g);
      }
      claims[(stage + 1) % 2].store(0, std::memory_order_relaxed);
      stageEnd.ArriveAndWait();
      if (stop) break;
    }
  }
  for (auto& t : pool) t.join();
  if (observerError) std::rethrow_exception(observerError);
  if (failed >= 0) Fail(TSolveFailure::Singular, failed);
}

std::size_t DefaultBlockSize(std::size_t bw, unsigned threads) {
  // A stage is about B·BW²/2 multiply-adds shared by all threads, of which the
  // next panel (about 1.5·B²·BW, on the calling thread alone) must not take
  // longer than an even share: B <= BW / (3·threads). Larger panels mean fewer
  // barriers, so take the largest.
  if (threads <= 1) return 32;
  return std::max<std::size_t>(4, bw / (3 * threads));
}

}  // namespace

void SolveBandPlain(TBandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress,
                    TSolveDiagnostics* diagnostics) {
  if (!Prepare(matrix, vector)) return;
  Checks checks = PrepareChecks(matrix);
  const std::size_t n = matrix.Size();
  const std::size_t bw = matrix.BandWidth();
  std::span<Extended> f = vector;
  std::span<Extended> p = checks.Probe;
  SetBar(progress, 0, static_cast<long long>(n - 1));
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const Extended* ri = matrix.Row(i);
    if (!PivotOk(ri[0], checks.Diag[i], kPivotTolerance)) Fail(TSolveFailure::Singular, static_cast<std::int64_t>(i));
    const std::size_t m = std::min(bw - 1, n - 1 - i);
    for (std::size_t d = 1; d <= m; ++d) {
      const Extended g = ri[d] / ri[0];
      Extended* rd = matrix.Row(i + d);
      for (std::size_t l = 0; l <= m - d; ++l) rd[l] = rd[l] - g * ri[l + d];
      f[i + d] = f[i + d] - g * f[i];
      p[i + d] = p[i + d] - g * p[i];
    }
    SetBar(progress, static_cast<long long>(i + 1), static_cast<long long>(n - 1));
  }
  Finish(matrix, f, checks, progress, diagnostics);
}

void SolveBandBlocked(TBandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress,
                      unsigned threads, std::size_t blockSize, TSolveDiagnostics* diagnostics) {
  if (!Prepare(matrix, vector)) return;
  threads = std::max(1u, threads);
  if (blockSize == 0) blockSize = DefaultBlockSize(matrix.BandWidth(), threads);
  Checks checks = PrepareChecks(matrix);
  ForwardBlocked(matrix, vector, checks, progress, threads, blockSize);
  SetBar(progress, static_cast<long long>(matrix.Size() - 1), static_cast<long long>(matrix.Size() - 1));
  Finish(matrix, vector, checks, progress, diagnostics);
}

bool UsesBlockedSolve(std::size_t equations, std::size_t bandWidth) {
  // Below a few million multiply-adds the plain loop takes milliseconds.
  const double work = static_cast<double>(equations) * static_cast<double>(bandWidth) *
                      static_cast<double>(bandWidth) / 2;
  return bandWidth >= 16 && work >= 2e6;
}

unsigned BlockedSolveThreads(std::size_t bandWidth) {
  // Narrow bands give too little work per stage to pay for a barrier.
  if (bandWidth < 64) return 1;
  const unsigned hw = std::thread::hardware_concurrency();
  return std::clamp(hw == 0 ? 1u : hw, 1u, 8u);
}

void SolveBand(TBandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress,
               TSolveDiagnostics* diagnostics) {
  if (UsesBlockedSolve(matrix.Size(), matrix.BandWidth()))
    SolveBandBlocked(matrix, vector, progress, BlockedSolveThreads(matrix.BandWidth()), 0, diagnostics);
  else
    SolveBandPlain(matrix, vector, progress, diagnostics);
}

}  // namespace tavir
