// Measures the singular-system criterion of the band solver on the model
// families of tests/analysis/solver_families.h: for each model the smallest
// pivot ratio p / K(i, i), the probe error, the verdict and, for the clamped
// strips, the tip deflection against beam theory. Arguments: "quick" for the
// smaller sizes only.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "analysis/band_solver.h"
#include "tests/analysis/solver_families.h"

using namespace tavir;
using namespace tavir::test;

namespace {

void Measure(const Family& f) {
  BandMatrix K;
  std::vector<Extended> F;
  f.Build(f.Grid, K, F);
  SolveDiagnostics d;
  const auto t0 = std::chrono::steady_clock::now();
  std::string verdict = "solved";
  bool hardStop = false;
  try {
    SolveBand(K, F, nullptr, &d);
  } catch (const SolveError& e) {
    verdict = e.what();
    hardStop = d.ProbeErrorEquation < 0;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  std::printf("%-40s %s n=%7zu bw=%4zu  min p/Kii=%10.3Le (eq %7lld)  probe=%10.3Le (eq %7lld)  %6.2fs  %s%s\n",
              f.Name.c_str(), f.Sound ? "sound    " : "mechanism", K.Size(), K.BandWidth(), d.SmallestPivotRatio,
              static_cast<long long>(d.SmallestPivotEquation), d.ProbeError,
              static_cast<long long>(d.ProbeErrorEquation), seconds, hardStop ? "[pivot test] " : "",
              verdict.c_str());
  if (f.Name.rfind("clamped strip", 0) == 0 && verdict == "solved") {
    const Extended w = F[f.Grid.Equation(f.Grid.Knot(f.Grid.Nx, 0), 2)];
    std::printf("%-40s tip w / beam theory = %.6Lf\n", "", w / CantileverTipDeflection(f.Grid));
  }
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  const bool quick = argc > 1 && std::strcmp(argv[1], "quick") == 0;
  std::vector<Family> families;
  for (int n : {100, 1000, 2000, 4000, 10000, 20000}) families.push_back(Cantilever(n));
  for (int n : {100, 1000, 10000}) families.push_back(SupportedStrip(n));
  for (int n : {100, 1000, 10000}) families.push_back(HingedStrip(n));
  const std::vector<int> plates = quick ? std::vector<int>{10, 40} : std::vector<int>{10, 40, 100, 140};
  for (int n : plates) families.push_back(SupportedPlate(n, true));
  for (int n : plates) families.push_back(SupportedPlate(n, false));
  for (int n : plates) families.push_back(SupportedPlate(n, false, 0.5L));
  for (int n : plates) families.push_back(HingedPlate(n));
  for (int n : plates) families.push_back(FreePlate(n));
  for (int n : plates) families.push_back(ShellOnOneKnot(n));
  for (int n : {10, 40}) families.push_back(UnconnectedKnot(n));
  for (const Family& f : families) Measure(f);
  return 0;
}
