// The screen canvas on a 1920 x 1080 image: the background fill, a mesh of hatched
// cells, lines, polygons, ellipses and labels as a result view repaints them.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>

#include "platform/qt/qt_canvas.h"

namespace {

using tavir::BrushStyle;
using tavir::PenMode;
using tavir::QtCanvas;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

void BM_BackgroundFill(benchmark::State& state) {
  QtCanvas c(QSize(kWidth, kHeight));
  c.Brush = {0xFFFFFF, BrushStyle::Solid};
  for (auto _ : state) c.Rectangle(0, 0, kWidth, kHeight);
}
BENCHMARK(BM_BackgroundFill)->Unit(benchmark::kMillisecond);

void BM_HatchedCells(benchmark::State& state) {
  QtCanvas c(QSize(kWidth, kHeight));
  c.Brush = {0xA0A0A0, BrushStyle::Cross};
  for (auto _ : state)
    for (int i = 0; i < 100; ++i)
      for (int j = 0; j < 100; ++j) c.Rectangle(i * 19, j * 10, i * 19 + 19, j * 10 + 10);
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_HatchedCells)->Unit(benchmark::kMillisecond);

void BM_Lines(benchmark::State& state) {
  QtCanvas c(QSize(kWidth, kHeight));
  c.Pen.Mode = static_cast<PenMode>(state.range(0));
  for (auto _ : state)
    for (int i = 0; i < 10000; ++i) {
      c.MoveTo(i % 1900, (i * 7) % 1000);
      c.LineTo((i * 13) % 1900, (i * 3) % 1000);
    }
  state.SetItemsProcessed(state.iterations() * 10000);
}
BENCHMARK(BM_Lines)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Polygons(benchmark::State& state) {
  QtCanvas c(QSize(kWidth, kHeight));
  c.Brush = {0xF0CAA6, BrushStyle::Solid};
  for (auto _ : state)
    for (int i = 0; i < 1000; ++i) {
      const int x = (i * 37) % 1800, y = (i * 11) % 1000;
      c.Polygon({{x, y}, {x + 50, y + 3}, {x + 45, y + 40}, {x - 4, y + 36}});
    }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Polygons)->Unit(benchmark::kMillisecond);

void BM_Ellipses(benchmark::State& state) {
  QtCanvas c(QSize(kWidth, kHeight));
  for (auto _ : state)
    for (int i = 0; i < 1000; ++i) c.Ellipse(i % 1800, i % 1000, i % 1800 + 30, i % 1000 + 30);
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Ellipses)->Unit(benchmark::kMillisecond);

void BM_Labels(benchmark::State& state) {
  QtCanvas c(QSize(kWidth, kHeight));
  for (auto _ : state)
    for (int i = 0; i < 1000; ++i) c.TextOut((i * 37) % 1800, (i * 11) % 1000, "Тело 12");
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_Labels)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // Text needs fonts, which need a GUI application; no display is used.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
