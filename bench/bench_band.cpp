// The band system of a square plate of N × N shell elements ((N + 1)² knots, five
// degrees of freedom each, knots numbered row by row): assembly, our solve (plain
// loop and the automatic choice) and LAPACK's dpbsv in double on the same band,
// the whole static analysis of the analysis program, and the solve with half the
// cores kept busy by other work.
//
// The yardstick dpbsv is an optimised BLAS's (OpenBLAS, linked directly); the
// run's context names the library and its configuration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <random>
#include <vector>

#include "analysis/band_matrix.h"
#include "analysis/band_solver.h"
#include "analysis/band_system.h"
#include "analysis/result_objects.h"
#include "analysis/section_stiffness.h"
#include "analysis/shell_stiffness.h"

#include "model/project_file_fixture.h"
#include "tests/viewer/example_models.h"
#include "viewer/viewer_project.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <unistd.h>

#include <cstdlib>
#include <cstring>

#ifdef TAVIR_BENCH_LAPACK
extern "C" void dpbsv_(const char* uplo, const int* n, const int* kd, const int* nrhs, double* ab, const int* ldab,
                       double* b, const int* ldb, int* info, std::size_t uploLength);
#endif
#ifdef TAVIR_BENCH_OPENBLAS
extern "C" {
char* openblas_get_config();
int openblas_get_num_threads();
void openblas_set_num_threads(int threads);
}
std::string tavir_openblas_config() {
  return std::string(openblas_get_config()) + ", " + std::to_string(openblas_get_num_threads()) + " threads";
}
#endif

namespace tavir {
namespace {

// One monolith layer, t = 0.1, ν = 0.3, E such that the flexural rigidity is 1.
SectionArray PlateSection() {
  LayerInput layer;
  layer.Thickness = 0.1L;
  layer.Mu = 0.3L;
  layer.E = 12 * (1 - layer.Mu * layer.Mu) / (layer.Thickness * layer.Thickness * layer.Thickness);
  const std::array<LayerInput, 1> layers{layer};
  const std::array<LayerModuli, 1> elastic{LayerElastic(layer)};
  SectionArray D{};
  SectionMatrix(layers, elastic, D);
  return D;
}

Matrix20 PlateElementMatrix(Extended a, Extended b) {
  Matrix20 k{}, t{};
  ShellStiffness(a, b, 0, 0, PlateSection(), k, t);
  return k;
}

struct PlateSystem {
  int N = 0;
  std::vector<ElementKnotNumberArray> Elements;
  Matrix20 Ke{};
  std::size_t Equations = 0;
  std::size_t BandWidth = 0;
  BandMatrix K;             // assembled, supported
  std::vector<Extended> F;   // loaded, supported
};

std::int64_t KnotOf(int N, int ix, int iy) { return static_cast<std::int64_t>(iy) * (N + 1) + ix; }

void Assemble(PlateSystem& s, BandMatrix& k, std::vector<Extended>& f) {
  k.Reset();
  std::fill(f.begin(), f.end(), Extended(0));
  for (const auto& e : s.Elements) AddToSystem(e, s.Ke, k);
  TForceRecord q;
  q.Pz = 1;
  const Extended h = Extended(1) / s.N;
  for (const auto& e : s.Elements) AddDispForce(e, true, h, h, 2, 2, q, f);
  // Simply supported edges: w fixed on the boundary.
  const TFixation fix{0, 0, 1, 0, 0, 0};
  const TFixation corner{1, 1, 1, 0, 0, 0};
  for (int i = 0; i <= s.N; ++i) {
    for (const auto& [ix, iy] : {std::pair{i, 0}, std::pair{i, s.N}, std::pair{0, i}, std::pair{s.N, i}})
      ApplySupport(KnotOf(s.N, ix, iy), (ix == 0 && iy == 0) ? corner : fix, k, f);
  }
  ApplySupport(KnotOf(s.N, s.N, 0), TFixation{0, 1, 1, 0, 0, 0}, k, f);
}

// The plate of N × N elements; `assembled`: with the assembled band kept (large
// plates are assembled by the benchmark itself to hold one band only).
PlateSystem& System(int N, bool assembled = true) {
  static std::map<int, std::unique_ptr<PlateSystem>> cache;
  auto& slot = cache[N];
  if (slot && assembled && !slot->K.IsAllocated()) slot.reset();
  if (!slot) {
    slot = std::make_unique<PlateSystem>();
    PlateSystem& s = *slot;
    s.N = N;
    for (int iy = 0; iy < N; ++iy)
      for (int ix = 0; ix < N; ++ix)
        s.Elements.push_back({KnotOf(N, ix, iy), KnotOf(N, ix, iy + 1), KnotOf(N, ix + 1, iy + 1), KnotOf(N, ix + 1, iy)});
    std::int64_t span = 0;
    for (const auto& e : s.Elements) span = std::max(span, KnotNumberSpan(e));
    s.BandWidth = static_cast<std::size_t>(BandWidthOfSpan(span));
    s.Equations = static_cast<std::size_t>((N + 1) * (N + 1) * kKnotFreedoms);
    s.Ke = PlateElementMatrix(Extended(1) / N, Extended(1) / N);
    if (assembled) {
      s.K.Allocate(s.Equations, s.BandWidth);
      s.F.assign(s.Equations, 0);
      Assemble(s, s.K, s.F);
    }
  }
  return *slot;
}

void CopyBand(const BandMatrix& from, BandMatrix& to) {
  if (to.Size() != from.Size() || to.BandWidth() != from.BandWidth()) to.Allocate(from.Size(), from.BandWidth());
  std::copy(from.Data(), from.Data() + from.Size() * from.BandWidth(), to.Data());
}

void Describe(benchmark::State& state, const PlateSystem& s) {
  state.counters["equations"] = static_cast<double>(s.Equations);
  state.counters["bandwidth"] = static_cast<double>(s.BandWidth);
}

// The element matrix alone (section matrix given), and the whole computation of a
// result shell (check, layer constants, section, matrix, the element's fields).
void BM_ElementStiffness(benchmark::State& state) {
  const SectionArray D = PlateSection();
  const Extended h = Extended(1) / 64;
  Matrix20 k{}, t{};
  for (auto _ : state) {
    ShellStiffness(h, h, 0, 0, D, k, t);
    benchmark::DoNotOptimize(k);
  }
}

void BM_ShellCalcStiffness(benchmark::State& state) {
  auto material = std::make_shared<TPhisPropRodNL>();
  std::array<TResultKnot, 4> knots;
  const Extended h = Extended(1) / 64;
  knots[1].Y = knots[2].Y = h;
  knots[2].X = knots[3].X = h;
  TMLResultShell shell(ElementType::Rectangle, material);
  shell.Knots = {&knots[0], &knots[1], &knots[2], &knots[3]};
  for (auto _ : state) {
    shell.CalcStiffness();
    benchmark::DoNotOptimize(shell.Stiffness.Data());
  }
}

// Every element matrix of an N × N mesh, on all cores, as the static analysis
// computes them before the assembly.
void BM_AllShellStiffnesses(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto material = std::make_shared<TPhisPropRodNL>();
  std::array<TResultKnot, 4> knots;
  const Extended h = Extended(1) / n;
  knots[1].Y = knots[2].Y = h;
  knots[2].X = knots[3].X = h;
  std::vector<std::unique_ptr<TMLResultShell>> owned;
  std::vector<TMLResultShell*> shells;
  for (int i = 0; i < n * n; ++i) {
    owned.push_back(std::make_unique<TMLResultShell>(ElementType::Rectangle, material));
    owned.back()->Knots = {&knots[0], &knots[1], &knots[2], &knots[3]};
    shells.push_back(owned.back().get());
  }
  for (auto _ : state) {
    CalcShellStiffnesses(shells);
    benchmark::DoNotOptimize(shells.front()->Stiffness.Data());
  }
  state.counters["elements"] = static_cast<double>(shells.size());
}

void BM_Assemble(benchmark::State& state) {
  PlateSystem& s = System(static_cast<int>(state.range(0)));
  BandMatrix k(s.Equations, s.BandWidth);
  std::vector<Extended> f(s.Equations);
  for (auto _ : state) {
    Assemble(s, k, f);
    benchmark::DoNotOptimize(k.Data());
  }
  Describe(state, s);
}

template <bool Plain>
void BM_Solve(benchmark::State& state) {
  PlateSystem& s = System(static_cast<int>(state.range(0)));
  BandMatrix k;
  std::vector<Extended> f;
  for (auto _ : state) {
    state.PauseTiming();
    CopyBand(s.K, k);
    f = s.F;
    state.ResumeTiming();
    if (Plain)
      SolveBandPlain(k, f);
    else
      SolveBand(k, f);
    benchmark::DoNotOptimize(f.data());
  }
  Describe(state, s);
  state.counters["threads"] =
      Plain ? 1 : (UsesBlockedSolve(s.Equations, s.BandWidth) ? BlockedSolveThreads(s.BandWidth) : 1);
}

// The blocked elimination on a given number of threads (scaling).
void BM_SolveThreads(benchmark::State& state) {
  PlateSystem& s = System(static_cast<int>(state.range(0)));
  const unsigned threads = static_cast<unsigned>(state.range(1));
  BandMatrix k;
  std::vector<Extended> f;
  for (auto _ : state) {
    state.PauseTiming();
    CopyBand(s.K, k);
    f = s.F;
    state.ResumeTiming();
    SolveBandBlocked(k, f, nullptr, threads);
    benchmark::DoNotOptimize(f.data());
  }
  Describe(state, s);
}

// Solves once with both eliminations and reports whether every bit agrees, and
// the largest deviation of dpbsv's double solution from ours.
void BM_Agreement(benchmark::State& state) {
  PlateSystem& s = System(static_cast<int>(state.range(0)));
  double identical = 0, lapackDeviation = -1;
  for (auto _ : state) {
    BandMatrix a, b;
    CopyBand(s.K, a);
    CopyBand(s.K, b);
    std::vector<Extended> fa = s.F, fb = s.F;
    SolveBandPlain(a, fa);
    SolveBand(b, fb);
    bool same = true;
    for (std::size_t i = 0; i < fa.size() && same; ++i) same = fa[i] == fb[i] && std::signbit(fa[i]) == std::signbit(fb[i]);
    for (std::size_t i = 0; i < s.Equations * s.BandWidth && same; ++i) same = a.Data()[i] == b.Data()[i];
    identical = same ? 1 : 0;
#ifdef TAVIR_BENCH_LAPACK
    const int n = static_cast<int>(s.Equations), kd = static_cast<int>(s.BandWidth) - 1, one = 1, ldab = kd + 1;
    std::vector<double> ab(static_cast<std::size_t>(ldab) * s.Equations, 0.0);
    for (std::size_t i = 0; i < s.Equations; ++i)
      for (std::size_t d = 0; d < s.BandWidth && i + d < s.Equations; ++d)
        ab[(static_cast<std::size_t>(kd) - d) + (i + d) * static_cast<std::size_t>(ldab)] = static_cast<double>(s.K(i, d));
    std::vector<double> x(s.F.begin(), s.F.end());
    int info = 0;
    dpbsv_("U", &n, &kd, &one, ab.data(), &ldab, x.data(), &n, &info, 1);
    Extended maxAbs = 0, maxDiff = 0;
    for (std::size_t i = 0; i < fa.size(); ++i) {
      maxAbs = std::max(maxAbs, std::fabs(fa[i]));
      maxDiff = std::max(maxDiff, std::fabs(fa[i] - Extended(x[i])));
    }
    lapackDeviation = info == 0 ? static_cast<double>(maxDiff / maxAbs) : -info;
#endif
  }
  state.counters["bit_identical"] = identical;
  state.counters["dpbsv_rel_dev"] = lapackDeviation;
  Describe(state, s);
}


// ---- our solve beside dpbsv, quiet and with half the cores busy -------------------

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Threads that keep `count` cores busy with plain integer work until destroyed:
// what other programs on the same machine do.
class BusyCores {
 public:
  explicit BusyCores(unsigned count) {
    for (unsigned i = 0; i < count; ++i)
      threads_.emplace_back([this] {
        std::uint64_t x = 1;
        while (!stop_.load(std::memory_order_relaxed)) {
          for (int k = 0; k < 1000; ++k) x = x * 6364136223846793005ull + 1442695040888963407ull;
          benchmark::DoNotOptimize(x);
        }
      });
  }
  ~BusyCores() {
    stop_.store(true);
    for (auto& t : threads_) t.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::vector<std::thread> threads_;
};

// The plate's band in LAPACK's upper band storage (double).
std::vector<double> LapackBand(const BandMatrix& k) {
  const std::size_t n = k.Size(), bw = k.BandWidth(), ldab = bw;
  std::vector<double> ab(ldab * n, 0.0);
  for (std::size_t i = 0; i < n; ++i)
    for (std::size_t d = 0; d < bw && i + d < n; ++d) ab[(bw - 1 - d) + (i + d) * ldab] = static_cast<double>(k(i, d));
  return ab;
}

// ---- the floor of 80-bit elimination on this machine --------------------------
//
// Every multiply-add of the elimination is an 80-bit multiplication and an
// 80-bit subtraction, each rounded to 64 bits (that is what keeps the result
// bit-identical to the plain loop), and its operand must first be put into a
// register of its own. Five independent chains acc := acc - c·x with the operand a
// register copy (no memory at all) run as fast as this arithmetic can go; no
// elimination that performs these operations can do better. Measured on
// `threads` threads at once, so that a busy or shared machine lowers the floor
// as it lowers our solve: seconds per multiply-add per thread, best of five.
#if defined(__x86_64__)
void X87Chains(long iterations) {
  // st(0) = c, st(1) = x, st(2..6) = five accumulators, one register left for
  // the copy; each iteration is five multiply-adds.
  asm volatile(
      "fldz\n fldz\n fldz\n fldz\n fldz\n"
      "fld1\n fldpi\n"
      "1:\n"
      "fld %%st(0)\n fmul %%st(2),%%st\n fsubrp %%st,%%st(3)\n"
      "fld %%st(0)\n fmul %%st(2),%%st\n fsubrp %%st,%%st(4)\n"
      "fld %%st(0)\n fmul %%st(2),%%st\n fsubrp %%st,%%st(5)\n"
      "fld %%st(0)\n fmul %%st(2),%%st\n fsubrp %%st,%%st(6)\n"
      "fld %%st(0)\n fmul %%st(2),%%st\n fsubrp %%st,%%st(7)\n"
      "sub $1,%0\n jnz 1b\n"
      "fstp %%st(0)\n fstp %%st(0)\n fstp %%st(0)\n fstp %%st(0)\n"
      "fstp %%st(0)\n fstp %%st(0)\n fstp %%st(0)\n"
      : "+r"(iterations)
      :
      : "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", "st(6)", "st(7)", "cc");
}

double X87FloorSeconds(unsigned threads) {
  constexpr long kIterations = 4'000'000;  // 20 million multiply-adds per thread
  double best = 1e30;
  for (int run = 0; run < 5; ++run) {
    std::vector<std::thread> pool;
    const auto t0 = std::chrono::steady_clock::now();
    for (unsigned t = 1; t < threads; ++t) pool.emplace_back(X87Chains, kIterations);
    X87Chains(kIterations);
    for (auto& t : pool) t.join();
    best = std::min(best, Seconds(t0) / (5.0 * kIterations));
  }
  return best;
}
#else
double X87FloorSeconds(unsigned) { return 0; }
#endif

// The multiply-adds of the elimination of a band (as the plain loop does them).
double EliminationMultiplyAdds(std::size_t n, std::size_t bw) {
  double madds = 0;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const double m = static_cast<double>(std::min(bw - 1, n - 1 - i));
    madds += m * (m + 1) / 2;
  }
  return madds;
}

void BM_X87Floor(benchmark::State& state) {
  const unsigned threads = static_cast<unsigned>(state.range(0));
  double seconds = 0;
  for (auto _ : state) seconds = X87FloorSeconds(threads);
  state.counters["threads"] = threads;
  state.counters["ns_per_madd"] = seconds * 1e9;
  state.counters["floor_s_N100"] = EliminationMultiplyAdds(5 * 101 * 101, 515) * seconds / threads;
}

// Args: N, threads (0: SolveBand's own choice), busy cores (0: a quiet machine; else that many spinning
// threads run beside both solves). Reports our time, dpbsv's (on as many
// threads, all available cores for the automatic choice) and their ratio,
// measured in the same iteration, and the floor of 80-bit elimination on as
// many threads (see X87FloorSeconds) measured just before.
void BM_SolveBesideDpbsv(benchmark::State& state) {
  const int N = static_cast<int>(state.range(0));
  const bool automatic = state.range(1) == 0;
  const unsigned threads = automatic ? AvailableCores() : static_cast<unsigned>(state.range(1));
  unsigned used = threads;
  const unsigned busy = static_cast<unsigned>(state.range(2));
  PlateSystem& s = System(N, false);
  BandMatrix k;
  std::vector<Extended> f;
  double ours = 1e30, lapack = 1e30, floorPerMadd = 1e30;
  for (auto _ : state) {
    state.PauseTiming();
    {
      BusyCores load(busy);
      floorPerMadd = std::min(floorPerMadd, X87FloorSeconds(automatic ? BlockedSolveThreads(s.BandWidth) : threads));
    }
    k.Allocate(s.Equations, s.BandWidth);
    f.assign(s.Equations, 0);
    Assemble(s, k, f);
#ifdef TAVIR_BENCH_LAPACK
    std::vector<double> ab = LapackBand(k);
    std::vector<double> x(f.begin(), f.end());
#endif
    state.ResumeTiming();
    {
      BusyCores load(busy);
      auto t0 = std::chrono::steady_clock::now();
      if (automatic) {
        used = BlockedSolveThreads(s.BandWidth);
        SolveBand(k, f);
      } else {
        SolveBandBlocked(k, f, nullptr, threads);
      }
      ours = std::min(ours, Seconds(t0));
#ifdef TAVIR_BENCH_LAPACK
#ifdef TAVIR_BENCH_OPENBLAS
      openblas_set_num_threads(static_cast<int>(threads));
#endif
      const int n = static_cast<int>(s.Equations), kd = static_cast<int>(s.BandWidth) - 1, one = 1, ldab = kd + 1;
      int info = 0;
      t0 = std::chrono::steady_clock::now();
      dpbsv_("U", &n, &kd, &one, ab.data(), &ldab, x.data(), &n, &info, 1);
      lapack = std::min(lapack, Seconds(t0));
      if (info != 0) state.SkipWithError("dpbsv failed");
#endif
    }
    benchmark::DoNotOptimize(f.data());
  }
  state.counters["threads"] = used;
  state.counters["busy_cores"] = busy;
  state.counters["ours_s"] = ours;
  const double floor = EliminationMultiplyAdds(s.Equations, s.BandWidth) * floorPerMadd / used;
  state.counters["floor_s"] = floor;
  state.counters["ours_over_floor"] = ours / floor;
#ifdef TAVIR_BENCH_LAPACK
  state.counters["dpbsv_s"] = lapack;
  state.counters["ours_over_dpbsv"] = ours / lapack;
  state.counters["floor_over_dpbsv"] = floor / lapack;
#endif
  Describe(state, s);
}

// The row-pair kernel reading the pivot panels as exact double pairs against the
// same kernel on 80-bit entries: the plate's band and load, and the same system
// scaled by 2^3000, where no entry has a double pair (the results are the same
// numbers scaled exactly). Alternated in one run, best of three each. Args: N,
// threads.
void BM_PairsBeside80Bit(benchmark::State& state) {
  const int N = static_cast<int>(state.range(0));
  const unsigned threads = static_cast<unsigned>(state.range(1));
  PlateSystem& s = System(N, false);
  BandMatrix k;
  std::vector<Extended> f;
  double pairs = 1e30, wide = 1e30;
  for (auto _ : state) {
    for (const bool scaled : {false, true}) {
      state.PauseTiming();
      k.Allocate(s.Equations, s.BandWidth);
      f.assign(s.Equations, 0);
      Assemble(s, k, f);
      if (scaled) {
        for (std::size_t i = 0; i < s.Equations * s.BandWidth; ++i) k.Data()[i] = std::ldexp(k.Data()[i], 3000);
        for (Extended& v : f) v = std::ldexp(v, 3000);
      }
      state.ResumeTiming();
      const auto t0 = std::chrono::steady_clock::now();
      SolveBandBlocked(k, f, nullptr, threads);
      (scaled ? wide : pairs) = std::min(scaled ? wide : pairs, Seconds(t0));
      benchmark::DoNotOptimize(f.data());
    }
  }
  state.counters["threads"] = threads;
  state.counters["pairs_s"] = pairs;
  state.counters["entries_80bit_s"] = wide;
  state.counters["80bit_over_pairs"] = wide / pairs;
  Describe(state, s);
}

// ---- the whole static analysis of the analysis program ----------------------------

// Records when each stage starts.
class StageClock : public CalcStatus {
 public:
  void SetStage(int row) override { Starts.push_back({row, std::chrono::steady_clock::now()}); }
  std::vector<std::pair<int, std::chrono::steady_clock::time_point>> Starts;
};

class PrintedMessages : public MessageService {
 public:
  MsgResult Show(MsgKind, const std::string&, const std::string& text, MsgButtons) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
    return MsgResult::Ok;
  }
};

// A square steel plate of N × N shells, 2 × 2, 0.1 thick, simply supported, under
// uniform pressure, written as a project file by the editor's own code and
// read by the analysis program; then TViewerProject::StaticCalculate.
void BM_StaticCalculate(benchmark::State& state) {
  const int N = static_cast<int>(state.range(0));
  const std::vector<std::uint8_t> bytes = examples::SimplySupportedPlate(N);
  PrintedMessages messages;
  TViewerProject project(messages);
  if (!project.LoadProjectBytes(bytes, "/tmp/bench_plate.tps")) {
    state.SkipWithError("the plate could not be read");
    return;
  }
  std::map<int, double> stage;
  for (auto _ : state) {
    StageClock clock;
    const auto t0 = std::chrono::steady_clock::now();
    if (!project.StaticCalculate(clock)) state.SkipWithError("the analysis failed");
    const auto t1 = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < clock.Starts.size(); ++i) {
      const auto end = i + 1 < clock.Starts.size() ? clock.Starts[i + 1].second : t1;
      stage[clock.Starts[i].first] = std::chrono::duration<double>(end - clock.Starts[i].second).count();
    }
    state.counters["total_s"] = std::chrono::duration<double>(t1 - t0).count();
  }
  state.counters["stiffness_s"] = stage[kStageStiffness];
  state.counters["loads_s"] = stage[kStageLoads];
  state.counters["solve_s"] = stage[kStageSolve];
  state.counters["stresses_s"] = stage[kStageStresses];
  state.counters["equations"] = 5.0 * (N + 1) * (N + 1);
}

#ifdef TAVIR_BENCH_LAPACK
void BM_Dpbsv(benchmark::State& state) {
  PlateSystem& s = System(static_cast<int>(state.range(0)));
  const int n = static_cast<int>(s.Equations), kd = static_cast<int>(s.BandWidth) - 1, one = 1, ldab = kd + 1;
  std::vector<double> ab0(static_cast<std::size_t>(ldab) * s.Equations, 0.0);
  for (std::size_t i = 0; i < s.Equations; ++i)
    for (std::size_t d = 0; d < s.BandWidth && i + d < s.Equations; ++d)
      ab0[(static_cast<std::size_t>(kd) - d) + (i + d) * static_cast<std::size_t>(ldab)] = static_cast<double>(s.K(i, d));
  std::vector<double> ab, x;
  for (auto _ : state) {
    state.PauseTiming();
    ab = ab0;
    x.assign(s.F.begin(), s.F.end());
    state.ResumeTiming();
    int info = 0;
    dpbsv_("U", &n, &kd, &one, ab.data(), &ldab, x.data(), &n, &info, 1);
    if (info != 0) state.SkipWithError("dpbsv failed");
    benchmark::DoNotOptimize(x.data());
  }
  Describe(state, s);
}
BENCHMARK(BM_Dpbsv)->Arg(32)->Arg(64)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);
#endif

BENCHMARK(BM_ElementStiffness)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ShellCalcStiffness)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AllShellStiffnesses)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Assemble)->Arg(32)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_Solve<false>)->Name("BM_Solve")->Arg(32)->Arg(64)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_Solve<true>)->Name("BM_SolvePlain")->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SolveThreads)->ArgsProduct({{100}, {1, 2, 4, 8}})->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Agreement)->Arg(32)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(1);
// N, threads (0 = SolveBand's choice), busy cores. Best of three.
BENCHMARK(BM_SolveBesideDpbsv)
    ->Args({50, 1, 0})->Args({50, 8, 0})
    ->Args({100, 1, 0})->Args({100, 8, 0})
    ->Args({141, 1, 0})->Args({141, 8, 0})
    ->Args({100, 8, 4})->Args({100, 4, 4})->Args({100, 0, 0})
    ->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PairsBeside80Bit)->Args({50, 1})->Args({50, 8})->Args({100, 8})->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_X87Floor)->Arg(1)->Arg(2)->Arg(4)->Arg(8)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StaticCalculate)->Arg(100)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace tavir

int main(int argc, char** argv) {
#ifdef TAVIR_BENCH_OPENBLAS
  // OpenBLAS 0.3.21 takes a processor it does not know (a newer Xeon under a
  // hypervisor) for a Prescott and runs its slowest kernels. It reads the core
  // type when it is loaded, before main: start again with the type named,
  // unless the caller named one.
  // Only a type the processor can run: a kernel it lacks would stop the program.
  const char* coreType = __builtin_cpu_supports("avx512f") ? "SkylakeX"
                         : __builtin_cpu_supports("avx2") ? "Haswell"
                                                          : nullptr;
  if (coreType != nullptr && std::getenv("OPENBLAS_CORETYPE") == nullptr &&
      std::strstr(openblas_get_config(), "Prescott") != nullptr) {
    setenv("OPENBLAS_CORETYPE", coreType, 1);
    execv("/proc/self/exe", argv);
  }
#endif
#ifdef TAVIR_BENCH_OPENBLAS
  benchmark::AddCustomContext("dpbsv", std::string("OpenBLAS ") + tavir_openblas_config());
#elif defined(TAVIR_BENCH_LAPACK)
  benchmark::AddCustomContext("dpbsv", "the system's LAPACK (not OpenBLAS)");
#else
  benchmark::AddCustomContext("dpbsv", "none");
#endif
  benchmark::AddCustomContext("available_cores", std::to_string(tavir::AvailableCores()));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
