// Redraws and opening as the user meets them: the real main forms of both
// programs, headless, driven through their commands and scroll bars, each step
// timed from the command to the picture painted (the queued paint events
// included). Beside them, in the same run, the library twins: the same file read
// through the library, the same view painted straight onto an image canvas of the
// visible part. `ratio` is program over library.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <chrono>
#include <functional>
#include <limits>
#include <map>

#include "bench/program_bench.h"
#include "editor/qt/edit_desk_form.h"
#include "editor/editor_commands.h"
#include "editor/qt/dlg_new_task.h"
#include "editor/qt/edit_program.h"
#include "fakes/scripted_model_dialogs.h"
#include "model/mesh_ops.h"
#include "model/project_file_fixture.h"
#include "platform/qt/desk_picture.h"
#include "platform/qt/message_box.h"
#include "viewer/qt/calc_desks.h"
#include "viewer/qt/dm_main_out.h"
#include "viewer/qt/rs_output.h"
#include "viewer/viewer_project.h"
#include "model/symbols.h"

namespace tavir::bench {

namespace {

// The best time of each named step over the iterations.
class StepTimes {
 public:
  // Runs the step, lets the queued paint events run, and keeps its time.
  void Time(const std::string& name, const std::function<void()>& step) {
    const double s = TimeOnce([&] {
      step();
      QApplication::processEvents();
    });
    auto [it, added] = best_.emplace(name, s);
    if (!added) it->second = std::min(it->second, s);
    total_ += s;
  }
  double Best(const std::string& name) const {
    const auto it = best_.find(name);
    return it == best_.end() ? 0 : it->second;
  }
  // The sum of this iteration's steps since the last call.
  double TakeTotal() { return std::exchange(total_, 0.0); }
  // The best time of every step, the library twins' times, and the ratios of the
  // open and of the picture (the step `paintStep`) over them.
  void Report(benchmark::State& state, double libraryOpen, double libraryPaint, const std::string& paintStep) const {
    for (const auto& [name, s] : best_) state.counters[name] = s;
    state.counters["library_open_s"] = libraryOpen;
    state.counters["library_paint_s"] = libraryPaint;
    if (libraryOpen > 0) state.counters["open_ratio"] = Best("open_s") / libraryOpen;
    if (libraryPaint > 0) state.counters["ratio"] = Best(paintStep) / libraryPaint;
  }

 private:
  std::map<std::string, double> best_;
  double total_ = 0;
};

void PageDown(QScrollArea& box) { box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); }
void PageUp(QScrollArea& box) { box.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub); }
void PageRight(QScrollArea& box) { box.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); }
void PageLeft(QScrollArea& box) { box.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub); }

// The open of a file in a program, timed as the step "open_s"; the desk of its
// first window, or nullptr (the benchmark skipped) when it did not open.
template <class Program>
auto OpenTimed(Program& program, const std::string& file, StepTimes& steps, benchmark::State& state)
    -> decltype(program.Desk()) {
  QApplication::processEvents();
  bool opened = false;
  steps.Time("open_s", [&] { opened = program.Open(file); });
  auto* desk = program.Desk();
  if (opened && desk != nullptr) return desk;
  state.SkipWithError("the plate could not be opened");
  return nullptr;
}

// The library's picture of a result view: the view painted onto a screen canvas
// of the desk's visible size at its scroll position, nothing else.
double LibraryViewPaint(TRSFormOut& form, int viewIndex, QSize visible, TPoint origin) {
  const TGraphWindow& view = form.Windows().Items(viewIndex);
  BuiltInImageCanvas canvas(visible, nullptr, &DrawBuiltInSymbol);
  canvas.SetOrigin(origin);
  DrawFailures failures;
  return TimeOnce([&] { PaintResultView(view, form.Scene(), canvas, failures); });
}

// Open the plate in TavirCalc; then, on its plan view, "+", a page down and up
// of the vertical scroll bar, "−", and the isolines of w (the dialog's OK until
// the picture shows them) on the results, which the library computes beforehand;
// then, with the isolines shown, "+", a page down and "−" on a desk of 1600 × 1000.
void BM_CalcRedraw(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string file = PlateFile(n);
  StepTimes steps;
  double libraryOpen = std::numeric_limits<double>::infinity();
  double libraryPaint = std::numeric_limits<double>::infinity();
  for (auto _ : state) {
    PrintedMessages libraryMessages;
    TViewerProject library(libraryMessages);
    libraryOpen = std::min(libraryOpen, TimeOnce([&] { library.LoadProjectFile(file); }));

    CalcProgram program;
    TDeskForm* desk = OpenTimed(program, file, steps, state);
    if (desk == nullptr) return;
    QuietStatus status;
    if (!program.Project().StaticCalculate(status)) {
      state.SkipWithError("the analysis failed");
      return;
    }
    steps.TakeTotal();
    steps.Time("zoom_in_s", [&] { program.dm.Run("acViewZoomIn"); });
    steps.Time("pan_s", [&] { PageDown(*desk->ScrollBox()); });
    steps.Time("pan_back_s", [&] { PageUp(*desk->ScrollBox()); });
    const QSize visible = desk->Picture().size();
    libraryPaint = std::min(libraryPaint, LibraryViewPaint(program.form, 0, visible, TPoint{0, 0}));
    steps.Time("zoom_out_s", [&] { program.dm.Run("acViewZoomOut"); });
    program.answers.Accept("IsoParams_Form");
    steps.Time("isolines_w_s", [&] { program.dm.Run("Ac_IsoLineWz"); });
    steps.Time("isolines_repaint_s", [&] { desk->Repaint(); });
    // The same with the isolines shown on a desk as large as a big display's.
    desk->resize(1600, 1000);
    QApplication::processEvents();
    steps.Time("large_zoom_in_s", [&] { program.dm.Run("acViewZoomIn"); });
    steps.Time("large_pan_s", [&] { PageDown(*desk->ScrollBox()); });
    steps.Time("large_zoom_out_s", [&] { program.dm.Run("acViewZoomOut"); });
    state.SetIterationTime(steps.TakeTotal());
  }
  steps.Report(state, libraryOpen, libraryPaint, "zoom_in_s");
}

// The editor as apps/tavir_edit.cpp composes it.
struct EditProgram {
  DialogsByName answers;
  TEditorProgram program;
  EditProgram() { program.Show(); }
  TMainDesk* Desk() { return program.Commands().DeskOf(0); }
  bool Open(const std::string& path) {
    answers.ChooseFile("OpenDialog", path);
    return program.Commands().Run("acFileOpen") && program.MainForm().Project().Elements().Count() > 0;
  }
};

// The library's picture of an editing window: the model drawn as the desk draws
// it (background, model, grid), onto an image of the desk's visible size.
double LibraryDeskPaint(TEditorProgram& program, TMainDesk& desk) {
  const QSize visible = desk.Picture().size();
  BuiltInImageCanvas canvas(visible, nullptr, &DrawBuiltInSymbol);
  return TimeOnce([&] {
    TVelEditorProject& model = program.MainForm().Project();
    const TEditWindows& windows = program.Commands().Commands().Windows();
    windows.ClearWindow(0, canvas);
    model.UpdateScreen(windows.Items(0).View());
    model.Draw(canvas, kDrawDesk);
    windows.DrawGridOver(0, canvas);
  });
}

// Open the plate in TavirEdit; then, on its main window at the desk's smallest
// size, a page of each scroll bar and back, and the repaint message (its
// commands have no zoom).
void BM_EditRedraw(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string file = PlateFile(n);
  const std::vector<std::uint8_t> bytes = FileBytes(file);
  StepTimes steps;
  double libraryOpen = std::numeric_limits<double>::infinity();
  double libraryPaint = std::numeric_limits<double>::infinity();
  for (auto _ : state) {
    testing::EditorState library;
    libraryOpen = std::min(libraryOpen, TimeOnce([&] { library.Open(FileBytes(file), file); }));

    EditProgram program;
    TMainDesk* desk = OpenTimed(program, file, steps, state);
    if (desk == nullptr) return;
    desk->resize(desk->minimumSize());
    QApplication::processEvents();
    steps.TakeTotal();
    steps.Time("pan_s", [&] { PageDown(*desk->ScrollBox()); });
    steps.Time("pan_back_s", [&] { PageUp(*desk->ScrollBox()); });
    steps.Time("pan_right_s", [&] { PageRight(*desk->ScrollBox()); });
    steps.Time("pan_left_s", [&] { PageLeft(*desk->ScrollBox()); });
    steps.Time("repaint_s", [&] { desk->Repaint(); });
    libraryPaint = std::min(libraryPaint, LibraryDeskPaint(program.program, *desk));
    state.SetIterationTime(steps.TakeTotal());
  }
  steps.Report(state, libraryOpen, libraryPaint, "pan_s");
}

// ---- the editor's long operations: the command beside its plain operation ----

// The editor's model dialogs answered by a script (the mesh dialog), its own
// dialogs and boxes by the stand-in user.
struct ScriptedEditProgram {
  ScriptedModelDialogs modelDialogs;
  DialogsByName answers;
  TEditorProgram program{&modelDialogs};
  ScriptedEditProgram() { program.Show(); }
  TDM_Main& Dm() { return program.Commands(); }
  TVelEditorProject& Project() { return program.MainForm().Project(); }
  bool Open(const std::string& path) {
    answers.ChooseFile("OpenDialog", path);
    return Dm().Run("acFileOpen") && Project().Elements().Count() > 0;
  }
};

// Open the plate, then "Оптимизация" (the two-bar box through the band
// optimisation, then its report, answered); beside it the optimisation alone on
// the same model read through the library, with the same report box, so that
// `ratio` is what the progress box costs.
void BM_EditBandOptimisation(benchmark::State& state) {
  const std::string file = PlateFile(static_cast<int>(state.range(0)));
  double library = std::numeric_limits<double>::infinity();
  double best = std::numeric_limits<double>::infinity();
  for (auto _ : state) {
    ScriptedEditProgram program;
    if (!program.Open(file)) {
      state.SkipWithError("the plate could not be opened");
      return;
    }
    AnswerOk(program.answers, "MessageBox");
    QApplication::processEvents();

    testing::EditorState plain;
    plain.Open(FileBytes(file), file);
    QtMessageService report(&program.program.MainForm());
    library = std::min(library, TimeOnce([&] {
                         const BandOptimisation r = OptimiseBand(plain.Project, nullptr);
                         report.Show(MsgKind::Information, kOptimizeCaption, BandOptimisationText(r), MsgButtons::Ok);
                         QApplication::processEvents();
                       }));

    const double s = TimeOnce([&] {
      program.Dm().Run("acServiceOptimize");
      QApplication::processEvents();
    });
    state.SetIterationTime(s);
    best = std::min(best, s);
  }
  state.counters["library_s"] = library;
  state.counters["ratio"] = best / library;
}

// A new task over the plate's region, rectangles by frame, and a frame dragged
// over the whole region that the mesh dialog divides into N × N elements; beside
// it the division through the library with the same window, and the picture of
// the divided model drawn as the desk draws it (`ratio` against both together,
// `ratio_division_only` against the division alone).
void BM_EditMeshDivision(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  DivideDialogValues mesh;
  mesh.StepX = mesh.StepY = 2.0L / n;
  mesh.Nx = mesh.Ny = n;
  double library = std::numeric_limits<double>::infinity();
  double picture = std::numeric_limits<double>::infinity();
  double best = std::numeric_limits<double>::infinity();
  for (auto _ : state) {
    ScriptedEditProgram program;
    AnswerOk(program.answers, "MessageBox");
    AnswerNewTask(program.answers, 0, 0, 2, 2);
    program.Dm().Run("acFileNew");
    program.Dm().Run("acPlaneRectangle");
    program.Dm().Run("acModeFrame");
    TMainDesk* desk = program.Dm().DeskOf(0);
    if (desk == nullptr) {
      state.SkipWithError("no window after the new task");
      return;
    }
    const TEditorWindow& window = program.Dm().Commands().Windows().Items(0);
    const ViewTransform view = window.View();
    auto pixel = [&](Extended x, Extended y) {
      const TPoint p = view.FloatPointToPoint(view.PlanePoint(x, y, 0));
      return QPoint(p.X, p.Y);
    };
    QApplication::processEvents();

    // The library's division in a scope of its own: its model is freed before the
    // program divides, so that neither allocates behind the other's 10 000s of items.
    {
      testing::EditorState plain;
      ScriptedModelDialogs plainDialogs;
      plainDialogs.DivideAnswers.push_back(mesh);
      const auto material = plain.Project.Materials().MaterialByIndex(0);
      library = std::min(library, TimeOnce([&] {
                           DivideRegion(plain.Project.Elements(), view.PointToFloatPoint({pixel(0, 2).x(), pixel(0, 2).y()}),
                                        view.PointToFloatPoint({pixel(2, 0).x(), pixel(2, 0).y()}), material,
                                        ElementKind::Plate, ElementType::Rectangle, view, plainDialogs, plain.Messages);
                         }));
      if (plain.Project.Elements().Count() != n * n) {
        state.SkipWithError("the library did not divide the region");
        return;
      }
    }

    program.modelDialogs.DivideAnswers.push_back(mesh);
    const QPoint a = pixel(0, 2), b = pixel(2, 0);
    const double s = TimeOnce([&] {
      desk->MouseDown(Qt::LeftButton, a, Qt::NoModifier);
      desk->MouseMove((a + b) / 2, Qt::NoModifier);
      desk->MouseMove(b, Qt::NoModifier);
      desk->MouseUp(Qt::LeftButton, b, Qt::NoModifier);
      QApplication::processEvents();
    });
    if (program.Project().Elements().Count() != n * n) {
      state.SkipWithError("the region was not divided");
      return;
    }
    // What the user waits for beside the division: its result drawn.
    picture = std::min(picture, LibraryDeskPaint(program.program, *desk));
    state.SetIterationTime(s);
    best = std::min(best, s);
  }
  state.counters["library_s"] = library;
  state.counters["library_picture_s"] = picture;
  state.counters["ratio"] = best / (library + picture);
  state.counters["ratio_division_only"] = best / library;
}

}  // namespace

BENCHMARK(BM_EditBandOptimisation)->Arg(100)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditMeshDivision)->Arg(100)->Arg(200)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalcRedraw)->Arg(100)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditRedraw)->Arg(100)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace tavir::bench
