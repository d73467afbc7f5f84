#include "analysis/band_solver.h"

#include <sched.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <exception>
#include <limits>
#include <new>
#include <thread>
#include <vector>

namespace tavir {

namespace {

std::string EquationText(std::int64_t equation) {
  return "узел " + std::to_string(equation / 5) + ", степень свободы " + std::to_string(equation % 5) + ".";
}

[[noreturn]] void Fail(SolveFailure kind, std::int64_t equation) {
  switch (kind) {
    case SolveFailure::Singular:
      throw SolveError(kind, equation, "Система уравнений вырождена: " + EquationText(equation));
    case SolveFailure::BadLoad:
      throw SolveError(kind, equation, "Нагрузка не является конечным числом: " + EquationText(equation));
    case SolveFailure::NonFinite:
      throw SolveError(kind, equation, "Перемещение не является конечным числом: " + EquationText(equation));
    case SolveFailure::Dimensions:
      break;
  }
  throw SolveError(kind, equation, "Некорректно выбрана размерность массивов!");
}

// The checks every elimination makes before it starts. Returns false for an empty
// system.
bool Prepare(const BandMatrix& k, std::span<const Extended> f) {
  if (!k.IsAllocated() && f.empty()) return false;
  if (!k.IsAllocated() || f.size() != k.Size()) {
    throw SolveError(SolveFailure::Dimensions, -1,
                      "Некорректно выбрана размерность массивов!\r\nРазмерность матрицы: " +
                          std::to_string(k.Size()) + "x" + std::to_string(k.BandWidth()) +
                          "\r\nРазмерность вектора: " + std::to_string(f.size()));
  }
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (!std::isfinite(f[i])) Fail(SolveFailure::BadLoad, static_cast<std::int64_t>(i));
  }
  return true;
}

[[noreturn]] void OutOfMemory(const BandMatrix& k) { throw BandError(BandMemoryMessage(k.Size(), k.BandWidth())); }

// The probe solution y_i = v_i × 2^e_i: v_i fixed values in [1, 2), exact in any
// format and scattered so that no rigid motion of a model is orthogonal to them;
// 2^e_i ≈ 1 / sqrt(K(i, i)), so that the probe sees the system as if its
// freedoms were scaled to a unit diagonal (a translation and a rotation alike,
// whatever the units), and a scaling by powers of two changes nothing.
Extended ProbeValue(std::size_t i) {
  const std::uint64_t h = (static_cast<std::uint64_t>(i) + 1) * 0x9E3779B97F4A7C15ull;
  return 1 + static_cast<Extended>(h >> 54) / 1024;
}

int ProbeExponent(Extended diagonal) {
  if (!(diagonal > 0) || !std::isfinite(diagonal)) return 0;
  return -(std::ilogb(diagonal) / 2);
}

// What every elimination needs besides K and F: the diagonal before elimination
// (what each pivot is measured against), the probe y and its load b = K·y, which
// the elimination carries beside F.
struct Checks {
  std::vector<Extended> Diag;
  std::vector<Extended> Y;
  std::vector<Extended> Probe;
};

// b_i for rows [from, to): the row's own upper band and the column above it.
void ProbeLoadRows(const BandMatrix& k, Checks& c, std::size_t from, std::size_t to) {
  const std::size_t n = k.Size();
  const std::size_t bw = k.BandWidth();
  for (std::size_t i = from; i < to; ++i) {
    Extended s = 0;
    for (std::size_t j = i >= bw - 1 ? i - (bw - 1) : 0; j < i; ++j) s += k(j, i - j) * c.Y[j];
    const Extended* row = k.Row(i);
    const std::size_t m = std::min(bw, n - i);
    for (std::size_t d = 0; d < m; ++d) s += row[d] * c.Y[i + d];
    c.Probe[i] = s;
  }
}

Checks PrepareChecks(const BandMatrix& k, unsigned threads) {
  const std::size_t n = k.Size();
  Checks c;
  try {
    c.Diag.resize(n);
    c.Y.resize(n);
    c.Probe.resize(n);
  } catch (const std::bad_alloc&) {
    OutOfMemory(k);
  }
  for (std::size_t i = 0; i < n; ++i) {
    c.Diag[i] = k(i, 0);
    c.Y[i] = std::ldexp(ProbeValue(i), ProbeExponent(c.Diag[i]));
  }
  // The product reads the band once; rows are independent.
  std::vector<std::thread> pool;
  const std::size_t chunk = (n + threads - 1) / threads;
  try {
    for (unsigned t = 1; t < threads && t * chunk < n; ++t)
      pool.emplace_back(ProbeLoadRows, std::cref(k), std::ref(c), t * chunk, std::min(n, (t + 1) * chunk));
  } catch (...) {
    for (auto& t : pool) t.join();
    ProbeLoadRows(k, c, 0, n);
    return c;
  }
  ProbeLoadRows(k, c, 0, std::min(n, chunk));
  for (auto& t : pool) t.join();
  return c;
}

// A pivot refused by the pivot test: its ratio into the diagnostics, then the failure.
[[noreturn]] void PivotFailure(const BandMatrix& k, const Checks& c, std::int64_t equation,
                               SolveDiagnostics* diagnostics) {
  if (diagnostics != nullptr) {
    const auto i = static_cast<std::size_t>(equation);
    diagnostics->SmallestPivotRatio = k(i, 0) / c.Diag[i];
    diagnostics->SmallestPivotEquation = equation;
  }
  Fail(SolveFailure::Singular, equation);
}

bool PivotOk(Extended pivot, Extended original, Extended tolerance) {
  // Written so that NaN fails every comparison.
  return std::isfinite(pivot) && std::isfinite(original) && original > 0 && pivot > tolerance * original;
}

void SetBar(ProgressObserver* progress, long long position, long long maximum) {
  if (progress != nullptr) progress->SetBar(position, maximum);
}

// Back substitution of one vector. With `progress` it steps the bar and stops at
// a displacement that is not finite.
void BackSubstitute(const BandMatrix& k, std::span<Extended> f, ProgressObserver* progress) {
  const std::size_t n = k.Size();
  const std::size_t bw = k.BandWidth();
  SetBar(progress, 0, static_cast<long long>(n));
  for (std::size_t step = 0; step < n; ++step) {
    const std::size_t i = n - 1 - step;
    const std::size_t c = std::min(bw, n - i);
    const Extended* row = k.Row(i);
    Extended s = 0;
    for (std::size_t a = 1; a < c; ++a) s += row[a] * f[i + a];
    f[i] = (f[i] - s) / row[0];
    if (progress != nullptr) {
      if (!std::isfinite(f[i])) Fail(SolveFailure::NonFinite, static_cast<std::int64_t>(i));
      SetBar(progress, static_cast<long long>(step + 1), static_cast<long long>(n));
    }
  }
}

// F on the calling thread, the probe beside it on another for a large system.
void BackSubstitution(const BandMatrix& k, std::span<Extended> f, std::span<Extended> p, ProgressObserver* progress) {
  std::thread probe;
  if (static_cast<double>(k.Size()) * static_cast<double>(k.BandWidth()) >= 1e6) {
    try {
      probe = std::thread(BackSubstitute, std::cref(k), p, nullptr);
    } catch (...) {
      // Then the probe follows F on this thread.
    }
  }
  try {
    BackSubstitute(k, f, progress);
  } catch (...) {
    if (probe.joinable()) probe.join();
    throw;
  }
  if (probe.joinable())
    probe.join();
  else
    BackSubstitute(k, p, nullptr);
}

// The last pivot, the back substitution and the probe test (see kProbeTolerance).
void Finish(BandMatrix& k, std::span<Extended> f, Checks& c, ProgressObserver* progress,
            SolveDiagnostics* diagnostics) {
  const std::size_t n = k.Size();
  if (!PivotOk(k(n - 1, 0), c.Diag[n - 1], kPivotTolerance))
    PivotFailure(k, c, static_cast<std::int64_t>(n - 1), diagnostics);
  BackSubstitution(k, f, c.Probe, progress);
  Extended worst = 0, smallest = std::numeric_limits<Extended>::infinity();
  Extended smallestMissed = std::numeric_limits<Extended>::infinity();
  std::int64_t worstEq = -1, smallestEq = -1, reportEq = -1;
  for (std::size_t i = 0; i < n; ++i) {
    const Extended ratio = k(i, 0) / c.Diag[i];
    if (ratio < smallest) {
      smallest = ratio;
      smallestEq = static_cast<std::int64_t>(i);
    }
    // Relative to the largest v_i, 2.
    Extended error = std::fabs(std::ldexp(c.Probe[i], -ProbeExponent(c.Diag[i])) - ProbeValue(i)) / 2;
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
  if (reportEq >= 0) Fail(SolveFailure::Singular, reportEq);
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
// Schedule (no barrier): pivots come in panels P_k = [k·B, (k + 1)·B). A row
// receives the panels that reach it in increasing order, then (the rows of one
// panel) its own panel's pivots: the triangle. Each row carries a counter, the
// next panel it is to receive; each panel's rows are claimed two at a time by
// whichever thread is free once the panel is final. A thread that would apply
// panel k to a row that has not yet received panel k - 1 waits for that row
// alone, so a thread the system holds back delays only its own rows. The rows of
// P_k+1 come first among those that P_k reaches; the thread that finishes the
// last of them applies P_k+1's own pivots within its own columns at once (the
// small triangle, testing each pivot), and the columns of P_k+1's rows beyond
// the panel follow in pieces on every thread that is free or waiting; the last
// piece publishes the panel. Meanwhile the others go on with the rest of P_k's
// rows, so what must happen in order between two panels is short.
//
// Within a row the pivots of a panel are applied column by column, the entry kept
// in a register across the pivots (the same operations in the same order, with
// the partial value held in the same 80-bit format), so a row is read and written
// once per panel instead of once per pivot. Two rows are updated together, two
// columns at a time: each operand loaded serves two multiply-adds.
//
// Loading an 80-bit operand costs the floating-point unit more than the
// multiplication it feeds. So once a panel is final its rows are also kept as
// pairs of doubles hi + lo that add up exactly to the 80-bit entry (hi the entry
// rounded to 53 bits, lo the rest, at most 11 bits): two cheap loads and one
// exact addition give the same 80-bit operand. An entry without such a pair
// (beyond the double range, or with a rest below it) makes its panel use the
// 80-bit entries instead. A panel's pairs are written where its entries become
// final (its triangle and its column pieces) into one of a few slots used in
// turn; a slot is written again only when every row that the panel before
// reached has received it (see Slots below).

void Pause() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

// Waits until ready() or the abort flag: spins briefly, then gives the core
// away (the machine may be busier than the thread count), then naps.
template <class Ready>
bool WaitFor(Ready ready, const std::atomic<bool>& abort) {
  for (unsigned spin = 0;; ++spin) {
    if (ready()) return true;
    if (abort.load(std::memory_order_relaxed)) return false;
    if (spin < 256) {
      Pause();
    } else if (spin < 4096) {
      std::this_thread::yield();
    } else {
      std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
  }
}

// An 80-bit entry as two doubles whose exact sum it is.
struct SplitEntry {
  double Hi = 0;
  double Lo = 0;
};

// The entry a pair stands for (exact), and an 80-bit entry as it is.
inline Extended Entry(const SplitEntry& e) { return static_cast<Extended>(e.Hi) + static_cast<Extended>(e.Lo); }
inline Extended Entry(Extended e) { return e; }

// False when the entry has no such pair (its sign included, for zeros), and for
// pairs with a subnormal half, which the processor loads slowly.
bool SplitExactly(Extended x, SplitEntry& e) {
  constexpr Extended kLeast = std::numeric_limits<double>::min();
  // Checked first: converting a value beyond the double range costs the
  // processor far more than this comparison.
  if (!(std::fabs(x) <= std::numeric_limits<double>::max())) return false;
  e.Hi = static_cast<double>(x);
  e.Lo = static_cast<double>(x - static_cast<Extended>(e.Hi));
  const Extended back = Entry(e);
  const auto normal = [&](double h) { return h == 0 || std::fabs(static_cast<Extended>(h)) >= kLeast; };
  return back == x && std::signbit(back) == std::signbit(x) && normal(e.Hi) && normal(e.Lo);
}

class Elimination {
 public:
  Elimination(BandMatrix& k, std::span<Extended> f, Checks& checks, std::size_t blockSize)
      : K_(k), checks_(checks), F_(f.data()), P_(checks.Probe.data()), Diag_(checks.Diag.data()), N_(k.Size()),
        BW_(k.BandWidth()), B_(blockSize), Panels_((N_ + B_ - 1) / B_),
        Slots_(std::min(Panels_, (BW_ - 1 + B_ - 1) / B_ + 1)) {}

  // Runs on `threads` threads (the calling one included). Throws the first
  // failure in elimination order, or the observer's exception.
  void Run(unsigned threads, ProgressObserver* progress, SolveDiagnostics* diagnostics) {
    const long long barMax = static_cast<long long>(N_ - 1);
    SetBar(progress, 0, barMax);
    try {
      next_ = std::vector<std::atomic<std::uint32_t>>(N_);
      claims_ = std::vector<std::atomic<std::size_t>>(Panels_);
      pending_ = std::vector<std::atomic<std::size_t>>(Panels_);
      columnClaims_ = std::vector<std::atomic<std::size_t>>(Panels_);
      columnsDone_ = std::vector<std::atomic<std::size_t>>(Panels_);
      G_.assign(B_ * B_, 0);
      split_.assign(Slots_ * B_ * BW_, SplitEntry{});
      inexact_ = std::vector<std::atomic<bool>>(Slots_);
      scratch_.assign(threads, std::vector<Extended>(2 * B_ + 2));
    } catch (const std::bad_alloc&) {
      OutOfMemory(K_);
    }
    for (std::size_t r = 0; r < N_; ++r) {
      next_[r].store(static_cast<std::uint32_t>((r >= BW_ - 1 ? r - (BW_ - 1) : 0) / B_), std::memory_order_relaxed);
    }
    for (std::size_t k = 0; k < Panels_; ++k) {
      claims_[k].store(0, std::memory_order_relaxed);
      columnClaims_[k].store(0, std::memory_order_relaxed);
      columnsDone_[k].store(0, std::memory_order_relaxed);
      // The rows of P_k that P_k-1 reaches.
      const std::size_t begin = k * B_;
      const std::size_t size = std::min(N_, begin + B_) - begin;
      pending_[k].store(k == 0 ? 0 : std::min(size, BW_ - 1), std::memory_order_relaxed);
    }
    final_.store(0, std::memory_order_relaxed);
    triangles_.store(0, std::memory_order_relaxed);
    abort_.store(false, std::memory_order_relaxed);
    failed_ = -1;
    // Columns per piece of a panel's rows beyond the panel: a few pieces per thread.
    C_ = std::max<std::size_t>(8, BW_ / (2 * threads));

    Triangle(0);
    std::vector<std::thread> pool;
    if (!abort_.load(std::memory_order_relaxed)) {
      try {
        pool.reserve(threads - 1);
        for (unsigned id = 1; id < threads; ++id) pool.emplace_back([this, id] { Work(id, nullptr, 0); });
      } catch (...) {
        // Fewer threads: the others and this one finish the work.
      }
      Work(0, progress, barMax);
    }
    for (auto& t : pool) t.join();
    if (observerError_) std::rethrow_exception(observerError_);
    if (failed_ >= 0) PivotFailure(K_, checks_, failed_, diagnostics);
  }

 private:
  std::size_t PanelBegin(std::size_t k) const { return std::min(N_, k * B_); }
  std::size_t PanelEnd(std::size_t k) const { return std::min(N_, (k + 1) * B_); }
  // The rows after P_k that it reaches.
  std::size_t TargetEnd(std::size_t k) const { return std::min(N_, PanelEnd(k) + BW_ - 1); }

  void Work(unsigned id, ProgressObserver* progress, long long barMax) {
    Extended* g = scratch_[id].data();
    std::size_t reported = 1;
    // Waiting helps with the columns of the panel being made final.
    auto helping = [&](auto ready) { return [&, ready] { return ready() || (HelpColumns(), false); }; };
    for (std::size_t k = 0;;) {
      if (abort_.load(std::memory_order_relaxed)) return;
      if (progress != nullptr) {
        const std::size_t done = final_.load(std::memory_order_acquire);
        if (done != reported) {
          reported = done;
          try {
            SetBar(progress, static_cast<long long>(std::min(N_ - 1, PanelBegin(done))), barMax);
          } catch (...) {
            observerError_ = std::current_exception();
            abort_.store(true, std::memory_order_relaxed);
            return;
          }
        }
      }
      if (HelpColumns()) continue;
      if (k + 1 >= Panels_) {
        // No rows left to claim: the last panels' columns, then done.
        WaitFor(helping([&] { return final_.load(std::memory_order_acquire) >= Panels_; }), abort_);
        return;
      }
      if (!WaitFor(helping([&] { return final_.load(std::memory_order_acquire) > k; }), abort_)) return;
      const std::size_t begin = PanelEnd(k), end = TargetEnd(k);
      const std::size_t r0 = begin + claims_[k].fetch_add(2, std::memory_order_relaxed);
      if (r0 >= end) {
        ++k;
        continue;
      }
      const std::size_t r1 = std::min(end, r0 + 2);
      for (std::size_t r = r0; r < r1; ++r) {
        if (!WaitFor(helping([&] { return next_[r].load(std::memory_order_acquire) == k; }), abort_)) return;
      }
      if (r1 - r0 == 2)
        UpdatePair(r0, PanelBegin(k), PanelEnd(k), g);
      else
        UpdateRow(r0, PanelBegin(k), PanelEnd(k), g);
      for (std::size_t r = r0; r < r1; ++r) {
        next_[r].store(static_cast<std::uint32_t>(k + 1), std::memory_order_release);
        if (r < PanelEnd(k + 1) && pending_[k + 1].fetch_sub(1, std::memory_order_acq_rel) == 1) Triangle(k + 1);
      }
    }
  }

  // The columns of panel k's rows beyond the panel: [PanelEnd, ColumnEnd), the
  // last column its pivots reach.
  std::size_t ColumnEnd(std::size_t k) const { return std::min(N_, PanelEnd(k) + BW_ - 2); }
  std::size_t ColumnPieces(std::size_t k) const {
    const std::size_t begin = PanelEnd(k), end = ColumnEnd(k);
    return end > begin ? (end - begin + C_ - 1) / C_ : 0;
  }

  // Panel k's own pivots applied to its rows within the panel's columns, in row
  // order (each pivot tested as soon as it is final), with the multipliers kept
  // for the columns beyond; they follow in pieces on any thread (ColumnPiece),
  // and the last piece makes the panel final. The next panels whose rows no
  // earlier panel reaches (BW = 1) follow at once.
  void Triangle(std::size_t k) {
    for (; k < Panels_; ++k) {
      const std::size_t b = PanelBegin(k), e = PanelEnd(k);
      for (std::size_t r = b; r < e; ++r) {
        const std::size_t iLo = FirstPivot(b, r);
        Extended* g = G_.data() + (r - b) * B_;
        Multipliers(r, iLo, r, g + (iLo - b));
        Extended* row = K_.Row(r);
        // Pivot i reaches columns up to i + BW - 1.
        ApplyColumns(row, r, r, std::min(e, r - 1 + BW_), iLo, r, g, b);
        UpdateVectors(r, iLo, r, g + (iLo - b));
        if (!PivotOk(row[0], Diag_[r], kPivotTolerance)) {
          failed_ = static_cast<std::int64_t>(r);
          abort_.store(true, std::memory_order_release);
          return;
        }
      }
      // The slot was last used by panel k - Slots_, which no row waits for any more.
      inexact_[k % Slots_].store(false, std::memory_order_relaxed);
      SplitColumns(k, b, ColumnPieces(k) > 0 ? e : SplitEnd(k));
      if (ColumnPieces(k) > 0) {
        triangles_.store(k + 1, std::memory_order_release);
        return;
      }
      final_.store(k + 1, std::memory_order_release);
      // With BW = 1 no panel reaches the next one: it is factored at once.
      if (BW_ > 1) return;
    }
  }

  // One piece of the columns of the panel whose triangle is done; false when
  // there is none to take.
  bool HelpColumns() {
    const std::size_t k = final_.load(std::memory_order_acquire);
    if (k >= Panels_ || triangles_.load(std::memory_order_acquire) <= k) return false;
    const std::size_t pieces = ColumnPieces(k);
    const std::size_t piece = columnClaims_[k].fetch_add(1, std::memory_order_relaxed);
    if (piece >= pieces) return false;
    ColumnPiece(k, PanelEnd(k) + piece * C_, std::min(ColumnEnd(k), PanelEnd(k) + (piece + 1) * C_));
    if (columnsDone_[k].fetch_add(1, std::memory_order_acq_rel) + 1 == pieces) final_.store(k + 1, std::memory_order_release);
    return true;
  }

  // Columns [c0, c1) of panel k's rows receive the panel's own pivots: rows in
  // order, so each pivot row's entries are final when they are used.
  void ColumnPiece(std::size_t k, std::size_t c0, std::size_t c1) {
    const std::size_t b = PanelBegin(k), e = PanelEnd(k);
    for (std::size_t r = b + 1; r < e; ++r) {
      // Pivot i reaches columns up to i + BW - 1.
      ApplyColumns(K_.Row(r), r, c0, std::min(c1, r - 1 + BW_), FirstPivot(b, r), r, G_.data() + (r - b) * B_, b);
    }
    // The panel's last row has one column that no pivot of the panel reaches.
    SplitColumns(k, c0, c1 == ColumnEnd(k) ? SplitEnd(k) : c1);
  }

  // The columns of panel k's rows that the rows after it read: up to the last
  // row's last band entry.
  std::size_t SplitEnd(std::size_t k) const { return std::min(N_, PanelEnd(k) + BW_ - 1); }

  // The pairs of panel k's final entries in columns [c0, c1), into its slot; row
  // i's entry in column j at (i - b)·(BW - 1) + (j - b), the band's own stride.
  void SplitColumns(std::size_t k, std::size_t c0, std::size_t c1) {
    const std::size_t b = PanelBegin(k), e = PanelEnd(k);
    SplitEntry* slot = split_.data() + (k % Slots_) * B_ * BW_;
    std::atomic<bool>& inexact = inexact_[k % Slots_];
    for (std::size_t i = b; i < e; ++i) {
      // One entry without a pair is enough: the rest need not be split.
      if (inexact.load(std::memory_order_relaxed)) return;
      const Extended* row = K_.Row(i);
      const std::size_t j1 = std::min(c1, i + BW_);
      for (std::size_t j = std::max(c0, i); j < j1; ++j) {
        if (!SplitExactly(row[j - i], slot[(i - b) * (BW_ - 1) + (j - b)])) {
          inexact.store(true, std::memory_order_relaxed);
          return;
        }
      }
    }
  }

  std::size_t FirstPivot(std::size_t lo, std::size_t j) const { return std::max(lo, j >= BW_ - 1 ? j - (BW_ - 1) : 0); }

  // Multipliers of the pivots [iLo, hi) for row r.
  void Multipliers(std::size_t r, std::size_t iLo, std::size_t hi, Extended* g) const {
    const Extended* data = K_.Data();
    for (std::size_t i = iLo; i < hi; ++i) {
      const Extended* pivotRow = data + i * BW_;
      g[i - iLo] = pivotRow[r - i] / pivotRow[0];
    }
  }

  void UpdateVectors(std::size_t r, std::size_t iLo, std::size_t hi, const Extended* g) const {
    Extended acc = F_[r], probe = P_[r];
    for (std::size_t i = iLo; i < hi; ++i) {
      acc = acc - g[i - iLo] * F_[i];
      probe = probe - g[i - iLo] * P_[i];
    }
    F_[r] = acc;
    P_[r] = probe;
  }

  // Applies to columns [j0, jEnd) of row r (entries at row[j - r]) the pivots
  // from FirstPivot(iLo, j) up to hi - 1, with the multiplier of pivot i at
  // g[i - gBase]; every column must be reached by pivot hi - 1 (jEnd <= hi - 1 +
  // BW). Four columns at a time: four independent chains of subtractions keep
  // the floating-point unit busy, and each multiplier is loaded once for four. A
  // column's first pivots that do not reach the group's last column yet are
  // applied to it first, so each entry still sees the pivots in increasing order.
  void ApplyColumns(Extended* row, std::size_t r, std::size_t j0, std::size_t jEnd, std::size_t iLo, std::size_t hi,
                    const Extended* g, std::size_t gBase) const {
    const Extended* data = K_.Data();
    const std::size_t stride = BW_ - 1;  // K(i, j) of successive pivots i for one column j
    std::size_t j = j0;
    for (; j + 4 <= jEnd; j += 4) {
      const std::size_t common = FirstPivot(iLo, j + 3);
      Extended* a = row + (j - r);
      Extended a0 = a[0], a1 = a[1], a2 = a[2], a3 = a[3];
      const std::size_t f1 = FirstPivot(iLo, j + 1), f2 = FirstPivot(iLo, j + 2);
      for (std::size_t i = FirstPivot(iLo, j); i < common; ++i) {
        const Extended gi = g[i - gBase];
        const Extended* p = data + i * stride + j;
        a0 = a0 - gi * p[0];
        if (i >= f1) a1 = a1 - gi * p[1];
        if (i >= f2) a2 = a2 - gi * p[2];
      }
      const Extended* p = data + common * stride + j;
      for (std::size_t i = common; i < hi; ++i, p += stride) {
        const Extended gi = g[i - gBase];
        a0 = a0 - gi * p[0];
        a1 = a1 - gi * p[1];
        a2 = a2 - gi * p[2];
        a3 = a3 - gi * p[3];
      }
      a[0] = a0;
      a[1] = a1;
      a[2] = a2;
      a[3] = a3;
    }
    for (; j < jEnd; ++j) {
      Extended acc = row[j - r];
      const std::size_t first = FirstPivot(iLo, j);
      const Extended* p = data + first * stride + j;
      for (std::size_t i = first; i < hi; ++i, p += stride) acc = acc - g[i - gBase] * *p;
      row[j - r] = acc;
    }
  }

  // Applies the pivots [lo, hi) that reach row r (those > r - BW) to row r.
  void UpdateRow(std::size_t r, std::size_t lo, std::size_t hi, Extended* g) const {
    const std::size_t iLo = FirstPivot(lo, r);
    if (iLo >= hi) return;
    Multipliers(r, iLo, hi, g);
    ApplyColumns(K_.Row(r), r, r, std::min(N_, hi - 1 + BW_), iLo, hi, g, iLo);
    UpdateVectors(r, iLo, hi, g);
  }

  // UpdateRow for rows r and r + 1 (r + 1 < n) together: column r of row r alone,
  // then two columns of both rows at a time (a 2 × 2 tile: two pivot entries and
  // two multipliers loaded for four multiply-adds).
  void UpdatePair(std::size_t r, std::size_t lo, std::size_t hi, Extended* g) const {
    const std::size_t lo0 = FirstPivot(lo, r), lo1 = FirstPivot(lo, r + 1);
    if (lo0 >= hi) return;  // then row r + 1 is not reached either
    if (lo1 >= hi) {
      UpdateRow(r, lo, hi, g);
      return;
    }
    Extended* g0 = g;
    Extended* g1 = g + (hi - lo0);
    Multipliers(r, lo0, hi, g0);
    Multipliers(r + 1, lo1, hi, g1);
    Extended* data = K_.Data();
    // The panel's pairs, unless one of its entries has none.
    const std::size_t k = lo / B_;
    const SplitEntry* pairs =
        inexact_[k % Slots_].load(std::memory_order_relaxed) ? nullptr : split_.data() + (k % Slots_) * B_ * BW_;
    Extended* row0 = data + r * BW_;
    Extended* row1 = row0 + BW_;
    const std::size_t stride = BW_ - 1;
    const std::size_t jEnd = std::min(N_, hi - 1 + BW_);
    // Column r of row r.
    {
      Extended acc = row0[0];
      const std::size_t first = FirstPivot(lo0, r);
      const Extended* p = data + first * stride + r;
      for (std::size_t i = first; i < hi; ++i, p += stride) acc = acc - g0[i - lo0] * *p;
      row0[0] = acc;
    }
    std::size_t j = r + 1;
    for (; j + 2 <= jEnd; j += 2) {
      // First pivots of the four entries: f00 <= f01, f00 <= f10 <= f11, f01 <= f11.
      const std::size_t f00 = FirstPivot(lo0, j), f01 = FirstPivot(lo0, j + 1);
      const std::size_t f10 = FirstPivot(lo1, j), f11 = FirstPivot(lo1, j + 1);
      Extended* a = row0 + (j - r);
      Extended* b = row1 + (j - r - 1);
      Extended a0 = a[0], a1 = a[1], b0 = b[0], b1 = b[1];
      for (std::size_t i = f00; i < f11; ++i) {
        const Extended* p = data + i * stride + j;
        const Extended x = g0[i - lo0];
        a0 = a0 - x * p[0];
        if (i >= f01) a1 = a1 - x * p[1];
        if (i >= f10) b0 = b0 - g1[i - lo1] * p[0];
      }
      const Extended* x0 = g0 + (f11 - lo0);
      const Extended* x1 = g1 + (f11 - lo1);
      // The same operations on either copy of the pivot rows.
      const auto tile = [&](auto q) {
        for (std::size_t i = f11; i < hi; ++i, q += stride, ++x0, ++x1) {
          const Extended p0 = Entry(q[0]), p1 = Entry(q[1]);
          a0 = a0 - *x0 * p0;
          a1 = a1 - *x0 * p1;
          b0 = b0 - *x1 * p0;
          b1 = b1 - *x1 * p1;
        }
      };
      if (pairs != nullptr)
        tile(pairs + (f11 - lo) * stride + (j - lo));
      else
        tile(static_cast<const Extended*>(data + f11 * stride + j));
      a[0] = a0;
      a[1] = a1;
      b[0] = b0;
      b[1] = b1;
    }
    for (; j < jEnd; ++j) {
      Extended a0 = row0[j - r], b0 = row1[j - r - 1];
      const std::size_t f0 = FirstPivot(lo0, j), f1 = FirstPivot(lo1, j);
      for (std::size_t i = f0; i < hi; ++i) {
        const Extended pv = data[i * stride + j];
        a0 = a0 - g0[i - lo0] * pv;
        if (i >= f1) b0 = b0 - g1[i - lo1] * pv;
      }
      row0[j - r] = a0;
      row1[j - r - 1] = b0;
    }
    UpdateVectors(r, lo0, hi, g0);
    UpdateVectors(r + 1, lo1, hi, g1);
  }

  BandMatrix& K_;
  const Checks& checks_;
  Extended* F_;
  Extended* P_;
  const Extended* Diag_;
  const std::size_t N_, BW_, B_, Panels_;
  // Slots of panel pairs, used in turn: panel k's slot is written again by panel
  // k + Slots_, whose triangle starts only once panel k + Slots_ - 1 is final, so
  // once every row of the panels up to it has received panel k; with
  // (Slots_ - 1)·B >= BW - 1 panel k reaches no row beyond them.
  const std::size_t Slots_;
  std::vector<SplitEntry> split_;
  std::vector<std::atomic<bool>> inexact_;  // per slot: an entry of its panel has no pair
  std::vector<std::atomic<std::uint32_t>> next_;      // per row: the next panel it receives
  std::vector<std::atomic<std::size_t>> claims_;      // per panel: rows claimed after it
  std::vector<std::atomic<std::size_t>> pending_;     // per panel: its rows still to receive the panel before
  std::vector<std::vector<Extended>> scratch_;         // per thread: multipliers
  std::vector<std::atomic<std::size_t>> columnClaims_;  // per panel: pieces of its columns claimed
  std::vector<std::atomic<std::size_t>> columnsDone_;   // per panel: pieces done
  std::vector<Extended> G_;                            // multipliers of the panel being made final
  std::size_t C_ = 8;                                  // columns per piece
  std::atomic<std::size_t> final_{0};                 // panels [0, final_) are final
  std::atomic<std::size_t> triangles_{0};             // panels whose triangle is done
  std::atomic<bool> abort_{false};
  std::int64_t failed_ = -1;                           // written before abort_ is raised
  std::exception_ptr observerError_;                   // written by the calling thread only
};

std::size_t DefaultBlockSize(std::size_t bw, unsigned threads) {
  // A panel is about B·BW²/2 multiply-adds shared by all threads; what must
  // happen in order before the next panel can start (its rows receiving this
  // panel, its triangle within its own columns, then the columns beyond in
  // pieces on all threads) is about B²·BW/threads, a share B/BW of a panel's time.
  // Larger panels mean fewer passes over each row and fewer hand-overs; B = BW/8
  // keeps the ordered part small. On one thread 32 rows keep a panel in cache.
  if (threads <= 1) return 32;
  return std::clamp<std::size_t>(bw / 8, 8, 64);
}

}  // namespace

void SolveBandPlain(BandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress,
                    SolveDiagnostics* diagnostics) {
  if (!Prepare(matrix, vector)) return;
  Checks checks = PrepareChecks(matrix, 1);
  const std::size_t n = matrix.Size();
  const std::size_t bw = matrix.BandWidth();
  std::span<Extended> f = vector;
  std::span<Extended> p = checks.Probe;
  SetBar(progress, 0, static_cast<long long>(n - 1));
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const Extended* ri = matrix.Row(i);
    if (!PivotOk(ri[0], checks.Diag[i], kPivotTolerance))
      PivotFailure(matrix, checks, static_cast<std::int64_t>(i), diagnostics);
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

void SolveBandBlocked(BandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress,
                      unsigned threads, std::size_t blockSize, SolveDiagnostics* diagnostics) {
  if (!Prepare(matrix, vector)) return;
  threads = std::max(1u, threads);
  if (blockSize == 0) blockSize = DefaultBlockSize(matrix.BandWidth(), threads);
  Checks checks = PrepareChecks(matrix, threads);
  Elimination(matrix, vector, checks, blockSize).Run(threads, progress, diagnostics);
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
  // Narrow bands give too little work per panel to share. All the cores this
  // process may use otherwise, also when other programs keep some of them busy:
  // a thread that the system holds back delays only the rows that wait for it
  // (measured with half the cores busy: 8 threads took 2.5 s where 4 took 2.4 s,
  // and on a machine loaded five times over 8 threads finished in a third of
  // the time of one).
  if (bandWidth < 64) return 1;
  return std::min(AvailableCores(), 16u);
}

unsigned AvailableCores() {
  // The cores this process may run on (a container or taskset may allow fewer
  // than the machine has); more threads than that would only queue.
  cpu_set_t set;
  CPU_ZERO(&set);
  if (sched_getaffinity(0, sizeof(set), &set) == 0) {
    const int count = CPU_COUNT(&set);
    if (count > 0) return static_cast<unsigned>(count);
  }
  const unsigned hw = std::thread::hardware_concurrency();
  return hw == 0 ? 1u : hw;
}

void SolveBand(BandMatrix& matrix, std::span<Extended> vector, ProgressObserver* progress,
               SolveDiagnostics* diagnostics) {
  if (UsesBlockedSolve(matrix.Size(), matrix.BandWidth()))
    SolveBandBlocked(matrix, vector, progress, BlockedSolveThreads(matrix.BandWidth()), 0, diagnostics);
  else
    SolveBandPlain(matrix, vector, progress, diagnostics);
}

}  // namespace tavir
