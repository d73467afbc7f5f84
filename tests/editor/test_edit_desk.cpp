#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <typeinfo>
#include <vector>

#include "editor/edit_desk.h"
#include "editor_fixture.h"
#include "model/load_ops.h"
#include "model/mesh_ops.h"
#include "model/model_ui.h"
#include "model/window_record.h"

namespace tavir {
namespace {

using namespace testing;

// An editor with a new task, the sample model, and the desk of window 0.
class EditDeskTest : public ::testing::Test {
 protected:
  void SetUp() override {
    f.NewProject();
    m = &f.Sample();
    desk = std::make_unique<EditDesk>(f.Commands, f.Window().WorkDesk(), surface);
  }
  DeskMouse At(int x, int y, bool ctrl = false, MouseButton b = MouseButton::Left) { return {b, x, y, ctrl}; }
  DeskMouse At(TPoint p, bool ctrl = false) { return At(p.X, p.Y, ctrl); }
  void Drag(TPoint from, TPoint to, bool ctrl = false) {
    desk->MouseDown(At(from, ctrl));
    desk->MouseMove(At(to, ctrl), true);
    desk->MouseUp(At(to, ctrl));
  }
  std::size_t Bands() const { return surface.Picture.CallsOf(CanvasOp::Rectangle).size(); }
  void Modes(std::uint8_t work, std::uint8_t input) {
    f.Supervisor.SetWorkMode(CodeOfByte<WorkMode>(work));
    f.Supervisor.SetInputMode(CodeOfByte<InputMode>(input));
  }

  EditorFixture f;
  SampleModel* m = nullptr;
  FakeSurface surface;
  std::unique_ptr<EditDesk> desk;
  // The frame (-0.5, 1.4)-(2.5, -0.4) once snapped: the shell and its knots, not knot 4.
  const TPoint kFrom{50, 50}, kTo{350, 250};
};

// ---- the band ----

TEST(RubberBand, DrawsNotXorRectanglesThatEraseThemselves) {
  RecordingCanvas c;
  c.Pen.Color = 0x123456;
  RubberBand band;
  band.Begin(10, 20);
  EXPECT_TRUE(band.Visible());
  EXPECT_TRUE(band.Tracking());
  EXPECT_TRUE(c.Calls.empty());  // nothing drawn by the press
  band.Track(c, 10, 20);         // the corner stays: nothing
  EXPECT_TRUE(c.Calls.empty());
  band.Track(c, 30, 40);
  band.Track(c, 50, 45);
  band.End(c);
  EXPECT_FALSE(band.Visible());
  EXPECT_FALSE(band.Tracking());
  const std::vector<std::vector<TPoint>> want = {
      {{10, 20}, {10, 20}}, {{10, 20}, {30, 40}}, {{10, 20}, {30, 40}}, {{10, 20}, {50, 45}}, {{10, 20}, {50, 45}}};
  ASSERT_EQ(c.Calls.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(c.Calls[i].Points, want[i]) << i;
    EXPECT_EQ(c.Calls[i].Pen.Mode, PenMode::NotXor);
    EXPECT_EQ(c.Calls[i].Pen.Style, PenStyle::Dash);
    EXPECT_EQ(c.Calls[i].Pen.Color, 0u);
    EXPECT_EQ(c.Calls[i].Brush.Style, BrushStyle::Clear);
  }
  EXPECT_EQ(c.Pen.Color, 0x123456u);  // the pen comes back
  band.Track(c, 70, 70);                // no longer tracking
  EXPECT_EQ(c.Calls.size(), want.size());
}

// ---- the mode table ----

TEST(DeskModes, EveryWorkModeAndInputMode) {
  enum Kind { None, Point, Band };
  struct Case {
    std::uint8_t work, input;
    Kind kind;
  };
  const Case cases[] = {
      {0, 0, Point}, {0, 5, Band},  {0, 1, None},  {0, 3, None},  {1, 2, Point}, {1, 3, Band}, {1, 0, None},
      {1, 1, None},  {1, 5, None},  {2, 0, Point}, {2, 4, Point}, {3, 0, Band},  {3, 5, Band}, {4, 0, Point},
      {4, 5, Band},  {4, 2, None},  {5, 0, Point}, {5, 5, Band},  {5, 3, None},  {6, 0, None}, {7, 0, None},
      {11, 0, Band}, {11, 5, Band}, {12, 0, None}, {255, 5, None}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.work) + "/" + std::to_string(c.input));
    EditorFixture f;
    f.NewProject();
    FakeSurface surface;
    EditDesk desk(f.Commands, f.Window().WorkDesk(), surface);
    f.Supervisor.SetWorkMode(CodeOfByte<WorkMode>(c.work));
    f.Supervisor.SetInputMode(CodeOfByte<InputMode>(c.input));
    const std::unique_ptr<DeskMode> mode = MakeDeskMode(CodeOfByte<WorkMode>(c.work), CodeOfByte<InputMode>(c.input));
    EXPECT_EQ(mode == nullptr, c.kind == None);
    desk.MouseDown({MouseButton::Left, 10, 10, false});
    EXPECT_EQ(desk.ActiveMode() != nullptr, c.kind == Band);
    EXPECT_EQ(desk.Band().Tracking(), c.kind == Band);
    // A move past the right edge scrolls and drags only a band: removed before the
    // scroll, drawn again after it, and moved to the pointer.
    desk.MouseMove({MouseButton::Left, 250, 20, false}, true);
    EXPECT_EQ(surface.ScrollCalls.size(), c.kind == Band ? 1u : 0u);
    EXPECT_EQ(surface.Picture.CallsOf(CanvasOp::Rectangle).size(), c.kind == Band ? 4u : 0u);
    // A release of another button leaves the gesture as it is.
    desk.MouseUp({MouseButton::Right, 250, 20, false});
    EXPECT_EQ(desk.Band().Tracking(), c.kind == Band);
    // Cancel removes a band and does nothing else.
    const WorkMode work = f.Supervisor.WorkMode;
    const InputMode input = f.Supervisor.InputMode;
    desk.CancelGesture();
    EXPECT_EQ(desk.ActiveMode(), nullptr);
    EXPECT_FALSE(desk.Band().Tracking());
    EXPECT_FALSE(desk.Band().Visible());
    EXPECT_EQ(surface.Picture.CallsOf(CanvasOp::Rectangle).size(), c.kind == Band ? 5u : 0u);
    EXPECT_EQ(f.Supervisor.WorkMode, work);
    EXPECT_EQ(f.Supervisor.InputMode, input);
    // After the cancel a left release does nothing.
    desk.MouseUp({MouseButton::Left, 250, 20, false});
    EXPECT_EQ(f.Supervisor.WorkMode, work);
    EXPECT_EQ(f.Supervisor.InputMode, input);
    EXPECT_EQ(f.Commands.Windows().Count(), 1);
  }
}

TEST_F(EditDeskTest, OnlyTheLeftButtonPresses) {
  Modes(0, 5);
  desk->MouseDown(At(10, 10, false, MouseButton::Right));
  desk->MouseDown(At(10, 10, false, MouseButton::Middle));
  EXPECT_FALSE(desk->Band().Visible());
  EXPECT_EQ(desk->ActiveMode(), nullptr);
}

// A release used to end a band that was never begun (and run the empty-frame
// action), whatever the button.
TEST_F(EditDeskTest, OnlyABegunBandEndsAndOnlyOnTheLeftButton) {
  Modes(0, 5);  // frame selection with AcEdit_SelectFrame unchecked: acModeEdit would set input 0
  for (MouseButton b : {MouseButton::Left, MouseButton::Right, MouseButton::Middle}) desk->MouseUp(At(20, 20, false, b));
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::FrameSelection);
  EXPECT_TRUE(surface.Picture.Calls.empty());

  desk->MouseDown(At(kFrom));
  desk->MouseMove(At(kTo), true);
  desk->MouseUp(At(kTo.X, kTo.Y, false, MouseButton::Right));
  EXPECT_TRUE(desk->Band().Tracking());  // the right button leaves the band alone
  EXPECT_TRUE(f.Project.Elements().Selection().empty());
  desk->MouseUp(At(kTo));
  EXPECT_FALSE(desk->Band().Visible());
  EXPECT_EQ(desk->ActiveMode(), nullptr);
  EXPECT_EQ(f.Project.Elements().Selection(), std::vector<TMLEditorElement*>{m->Shell});
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::FrameSelection);  // the mode stays
}

// ---- edit mode ----

TEST_F(EditDeskTest, PickTogglesTheElementOrWithCtrlTheKnot) {
  Modes(0, 0);
  const TPoint inShell = f.PixelOf(1, 0.5L);
  desk->MouseDown(At(inShell));
  EXPECT_TRUE(f.Project.Elements().IsSelected(m->Shell));
  desk->MouseDown(At(inShell));
  EXPECT_FALSE(f.Project.Elements().IsSelected(m->Shell));
  desk->MouseDown(At(f.PixelOf(0, 0), true));
  EXPECT_TRUE(f.Project.Knots().IsSelected(m->K[0]));
  EXPECT_TRUE(f.Project.Elements().Selection().empty());
  desk->MouseDown(At(f.PixelOf(3.5L, 1.5L)));  // nothing there
  EXPECT_TRUE(f.Project.Elements().Selection().empty());
  EXPECT_EQ(desk->ActiveMode(), nullptr);
}

TEST_F(EditDeskTest, FrameSelectionWithoutMovingRunsEditModeAndSelectsNothing) {
  f.Commands.Run("AcEdit_SelectFrame");
  f.Commands.Run("AcEdit_SelectFrame");  // unchecked again, input mode 0
  Modes(0, 5);
  desk->MouseDown(At(kFrom));
  desk->MouseUp(At(kFrom));
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::Pick);  // acModeEdit ran
  EXPECT_TRUE(f.Project.Elements().Selection().empty());
  // With Ctrl a frame selects knots.
  Modes(0, 5);
  Drag(kFrom, kTo, true);
  EXPECT_EQ(f.Project.Knots().Selection().size(), 4u);
  EXPECT_FALSE(f.Project.Knots().IsSelected(m->K[4]));
}

// ---- element input ----

// New elements used to take the material at position 0 whatever was chosen.
TEST_F(EditDeskTest, GridInputTakesTheCurrentMaterial) {
  f.Commands.Run("acModeNet");
  f.Supervisor.SetMaterialIndex(1);
  const std::int32_t before = f.Project.Elements().Count();
  desk->MouseDown(At(f.PixelOf(-0.75L, 1.75L)));
  ASSERT_EQ(f.Project.Elements().Count(), before + 1);
  const TMLEditorElement* added = f.Project.Elements().At(before);
  EXPECT_EQ(added->Layers.LayerMaterial(0), m->Concrete);
  EXPECT_EQ(added->ElemKind, ElementKind::Shell);
  // A position past the list falls back on the first material.
  f.Supervisor.SetMaterialIndex(9);
  desk->MouseDown(At(f.PixelOf(-0.25L, 1.75L)));
  ASSERT_EQ(f.Project.Elements().Count(), before + 2);
  EXPECT_EQ(f.Project.Elements().At(before + 1)->Layers.LayerMaterial(0), m->Steel);
}

// With no material in the list, element input asks for one: the material chooser
// opens, and the element takes the material made and chosen there.
TEST_F(EditDeskTest, GridInputWithoutMaterialsOpensTheChooser) {
  class MakingChooser : public ModelUi {
   public:
    std::optional<std::int32_t> ChooseMaterial(std::vector<MaterialEntry>& entries, std::int32_t selected) override {
      ++Calls;
      Selected = selected;
      if (!Make) return std::nullopt;
      entries.push_back(MaterialEntry{"Бетон B25", Made});
      return static_cast<std::int32_t>(entries.size()) - 1;
    }
    int Calls = 0;
    std::int32_t Selected = 0;
    bool Make = false;
    std::shared_ptr<TPhisPropRodNL> Made = std::make_shared<TPhisPropRodNL>();
  } chooser;
  f.Project.SetUi(&chooser);
  f.Project.Materials().FreeAll();
  f.Commands.Run("acModeNet");
  const std::int32_t before = f.Project.Elements().Count();
  // Cancelled: nothing is added and the user is told why.
  desk->MouseDown(At(f.PixelOf(-0.75L, 1.75L)));
  EXPECT_EQ(chooser.Calls, 1);
  EXPECT_EQ(chooser.Selected, -1);
  EXPECT_EQ(f.Project.Elements().Count(), before);
  ASSERT_FALSE(f.Messages.Shown.empty());
  EXPECT_EQ(f.Messages.Shown.back().Text, kNoElementMaterialText);
  // A material made in the chooser goes to the list and to the new element.
  chooser.Make = true;
  desk->MouseDown(At(f.PixelOf(-0.75L, 1.75L)));
  EXPECT_EQ(chooser.Calls, 2);
  ASSERT_EQ(f.Project.Elements().Count(), before + 1);
  EXPECT_EQ(f.Project.Elements().At(before)->Layers.LayerMaterial(0), chooser.Made);
  ASSERT_EQ(f.Project.Materials().Count(), 1);
  EXPECT_EQ(f.Project.Materials().Material(0), chooser.Made);
  f.Project.SetUi(nullptr);
}

TEST_F(EditDeskTest, FrameInputMeshesWithTheCurrentMaterialAndReturnsToEditMode) {
  f.Commands.Run("acModeFrame");
  f.Supervisor.SetMaterialIndex(1);
  DivideDialogValues answer;
  answer.SizeX = 3;
  answer.SizeY = 1.8L;
  answer.StepX = 1.5L;
  answer.StepY = 0.9L;
  answer.Nx = 2;
  answer.Ny = 2;
  f.Dialogs.DivideAnswers.push_back(answer);
  const std::int32_t before = f.Project.Elements().Count();
  f.Ui.Repaints.clear();
  Drag(kFrom, kTo);
  ASSERT_EQ(f.Dialogs.DivideCalls.size(), 1u);
  EXPECT_EQ(f.Dialogs.DivideCalls[0].SizeX, 3);
  ASSERT_EQ(f.Project.Elements().Count(), before + 4);
  EXPECT_EQ(f.Project.Elements().At(before)->Layers.LayerMaterial(0), m->Concrete);
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::Edit);
  EXPECT_TRUE(f.Commands.State().Checked("acModeEdit"));
  EXPECT_EQ(f.Ui.Repaints, std::vector<int>{0});
}

// ---- supports and loads ----

TEST_F(EditDeskTest, SupportModeSetsTheDefaultSupportButNotWithCtrl) {
  f.Commands.Run("AcRests_RestFixed");
  f.Commands.Run("acInput_Rest");
  desk->MouseDown(At(f.PixelOf(0, 1), true));
  EXPECT_LT(f.Project.Supports().IndexOfKnot(m->K[1]), 0);
  desk->MouseDown(At(f.PixelOf(0, 1)));
  const std::int32_t at = f.Project.Supports().IndexOfKnot(m->K[1]);
  ASSERT_GE(at, 0);
  EXPECT_EQ(f.Project.Supports().At(at)->Fixation, (TFixation{1, 1, 1, 1, 1, 1}));
  EXPECT_FALSE(surface.Picture.CallsOf(CanvasOp::Image).empty());  // the supports drawn
}

// A new support is drawn on the picture; one removed or replaced by the click takes
// a repaint, which alone takes its old symbol off.
TEST_F(EditDeskTest, SupportModeRepaintsWhenItRemovesOrReplacesASupport) {
  f.Commands.Run("AcRests_RestFixed");
  f.Commands.Run("acInput_Rest");
  f.Ui.Repaints.clear();
  desk->MouseDown(At(f.PixelOf(0, 1)));
  EXPECT_TRUE(f.Ui.Repaints.empty());
  f.Commands.Run("AcRests_RestZ");
  desk->MouseDown(At(f.PixelOf(0, 1)));
  EXPECT_EQ(f.Ui.Repaints, std::vector<int>{0});
  f.Commands.Run("AcRests_NoRest");
  desk->MouseDown(At(f.PixelOf(0, 1)));
  EXPECT_LT(f.Project.Supports().IndexOfKnot(m->K[1]), 0);
  EXPECT_EQ(f.Ui.Repaints, (std::vector<int>{0, 0}));
}

TEST_F(EditDeskTest, PointLoadPickShowsTheKnotsLoad) {
  f.Commands.Run("acForceConcentrate");
  desk->MouseDown(At(f.PixelOf(2, 1)));
  EXPECT_EQ(f.Project.Knots().Selection(), std::vector<TEditorKnot*>{m->K[2]});
  EXPECT_EQ(f.Ui.LoadForces.back().Pz, -10);
  EXPECT_EQ(f.Ui.LoadButtons, std::optional<bool>(true));
  // Without Ctrl the next pick replaces the selection; nothing under the pointer
  // shows zeros with the buttons off.
  desk->MouseDown(At(f.PixelOf(3.5L, 1.5L)));
  EXPECT_TRUE(f.Project.Knots().Selection().empty());
  EXPECT_EQ(f.Ui.LoadForces.back().Pz, 0);
  EXPECT_EQ(f.Ui.LoadButtons, std::optional<bool>(false));
}

TEST_F(EditDeskTest, LoadFramesSelectAndFillTheDialog) {
  f.Commands.Run("acForceDispersion");
  f.Commands.Run("AcEdit_SelectFrame");
  ASSERT_EQ(f.Supervisor.InputMode, InputMode::FrameSelection);
  Drag(kFrom, kTo);
  EXPECT_EQ(f.Project.Elements().Selection(), std::vector<TMLEditorElement*>{m->Shell});
  EXPECT_EQ(f.Ui.LoadButtons, std::optional<bool>(true));
  // A frame over nothing shows zeros and turns the buttons off.
  Drag({400, 20}, {480, 60});
  EXPECT_TRUE(f.Project.Elements().Selection().empty());
  EXPECT_EQ(f.Ui.LoadForces.back().Pz, 0);
  EXPECT_EQ(f.Ui.LoadButtons, std::optional<bool>(false));
  // An empty frame runs the frame-selection command (which unchecks it).
  desk->MouseDown(At(kFrom));
  desk->MouseUp(At(kFrom));
  EXPECT_FALSE(f.Commands.State().Checked("AcEdit_SelectFrame"));
  EXPECT_EQ(f.Supervisor.InputMode, InputMode::Pick);
}

// ---- new window and surface ----

TEST_F(EditDeskTest, NewWindowTakesTheHiddenAxisAndThePrecision) {
  f.Commands.Run("acWinNew");
  Drag(kFrom, kTo);
  ASSERT_EQ(f.Commands.Windows().Count(), 2);
  const TWorkWindow& w = f.Window(1).WorkWindow;
  EXPECT_EQ(w.MinPoint.X, -0.5L);
  EXPECT_EQ(w.MaxPoint.X, 2.5L);
  EXPECT_NEAR(static_cast<double>(w.MinPoint.Y), -0.4, 1e-12);
  EXPECT_NEAR(static_cast<double>(w.MaxPoint.Y), 1.4, 1e-12);
  EXPECT_EQ(w.MinPoint.Z, -5);
  EXPECT_EQ(w.MaxPoint.Z, 5);
  EXPECT_EQ(w.Scale.X, 0.01L);
  EXPECT_EQ(w.Projection, Projection::XY);
  EXPECT_EQ(f.Supervisor.CurrentWindow, 1);
  EXPECT_EQ(f.Supervisor.WindowCount, 2);
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::Edit);
  EXPECT_EQ(f.Host.Shown.back(), f.Window(1).WorkDesk());
  // A frame of no size only returns to edit mode.
  f.Commands.Run("acWinNew");
  desk->MouseDown(At(kFrom));
  desk->MouseUp(At(kFrom));
  EXPECT_EQ(f.Commands.Windows().Count(), 2);
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::Edit);
}

TEST(FramedWindowBox, EachProjectionKeepsItsHiddenAxisAndNoPlaneMakesNoBox) {
  ViewTransform v;
  v.MinPoint = FloatPoint3D(-1, -2, -3);
  v.MaxPoint = FloatPoint3D(1, 2, 3);
  struct Case {
    std::uint8_t projection;
    TFloatPoint3D lo, hi;
  };
  const Case cases[] = {{0, FloatPoint3D(0.1L, 0.2L, -3), FloatPoint3D(0.5L, 0.7L, 3)},
                        {1, FloatPoint3D(-1, 0.1L, 0.2L), FloatPoint3D(1, 0.5L, 0.7L)},
                        {2, FloatPoint3D(0.1L, -2, 0.2L), FloatPoint3D(0.5L, 2, 0.7L)}};
  for (const Case& c : cases) {
    v.Projection = CodeOfByte<Projection>(c.projection);
    TFloatPoint3D lo, hi;
    ASSERT_TRUE(FramedWindowBox(v, FloatPoint(0.1L, 0.7L), FloatPoint(0.5L, 0.2L), lo, hi));
    EXPECT_EQ(lo.X, c.lo.X);
    EXPECT_EQ(lo.Y, c.lo.Y);
    EXPECT_EQ(lo.Z, c.lo.Z);
    EXPECT_EQ(hi.X, c.hi.X);
    EXPECT_EQ(hi.Y, c.hi.Y);
    EXPECT_EQ(hi.Z, c.hi.Z);
  }
  v.Projection = Projection::Spatial;
  TFloatPoint3D lo = FloatPoint3D(9, 9, 9), hi = lo;
  EXPECT_FALSE(FramedWindowBox(v, FloatPoint(0.1L, 0.7L), FloatPoint(0.5L, 0.2L), lo, hi));
  EXPECT_EQ(lo.X, 9);
}

TEST_F(EditDeskTest, SurfaceFrameOpensTheSurfaceDialogs) {
  f.Commands.Run("acEditor_SetSurface");
  f.Dialogs.SurfaceKindAnswers.push_back(std::int16_t{0});
  f.Dialogs.ShellDataAnswers.push_back(std::function<void(ShellDataValues&)>());
  const std::int32_t before = f.Project.ShellFuncs().Count();
  f.Ui.Repaints.clear();
  Drag(kFrom, kTo);
  ASSERT_EQ(f.Dialogs.ShellDataCalls.size(), 1u);
  EXPECT_EQ(f.Dialogs.ShellDataCalls[0].Origin.X, -0.5L);
  EXPECT_EQ(f.Project.ShellFuncs().Count(), before + 1);
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::Edit);
  EXPECT_EQ(f.Ui.Repaints, std::vector<int>{0});
}

// A dialog that a press or a release opens takes the activation from the desk
// form, which abandons the gesture (CancelGesture) while the press or release is
// still running: the press and the release end normally all the same.
TEST_F(EditDeskTest, ADialogThatAbandonsTheGestureLetsThePressAndReleaseEnd) {
  // Release: the surface dialogs of a framed region.
  f.Commands.Run("acEditor_SetSurface");
  f.Dialogs.SurfaceKindAnswers.push_back(std::int16_t{0});
  f.Dialogs.ShellDataAnswers.push_back(std::function<void(ShellDataValues&)>([this](ShellDataValues&) {
    desk->CancelGesture();
  }));
  const std::int32_t surfaces = f.Project.ShellFuncs().Count();
  Drag(kFrom, kTo);
  EXPECT_EQ(f.Project.ShellFuncs().Count(), surfaces + 1);
  EXPECT_EQ(f.Supervisor.WorkMode, WorkMode::Edit);
  EXPECT_EQ(desk->ActiveMode(), nullptr);
  EXPECT_FALSE(desk->Band().Visible());

  // Press: the material chooser of element input by grid.
  class AbandoningChooser : public ModelUi {
   public:
    explicit AbandoningChooser(EditDesk& desk) : desk_(desk) {}
    std::optional<std::int32_t> ChooseMaterial(std::vector<MaterialEntry>& entries, std::int32_t) override {
      desk_.CancelGesture();
      entries.push_back(MaterialEntry{"Сталь", Made});
      return 0;
    }
    std::shared_ptr<TPhisPropRodNL> Made = std::make_shared<TPhisPropRodNL>();

   private:
    EditDesk& desk_;
  } chooser(*desk);
  f.Project.SetUi(&chooser);
  f.Project.Materials().FreeAll();
  f.Commands.Run("acModeNet");
  const std::int32_t elements = f.Project.Elements().Count();
  desk->MouseDown(At(f.PixelOf(-0.75L, 1.75L)));
  EXPECT_EQ(f.Project.Elements().Count(), elements + 1);
  EXPECT_EQ(desk->ActiveMode(), nullptr);
  f.Project.SetUi(nullptr);
}

// ---- scrolling, coordinates, repaint ----

TEST_F(EditDeskTest, DraggingPastTheEdgesScrolls) {
  Modes(0, 5);
  desk->MouseDown(At(50, 50));
  desk->MouseMove(At(250, 60), true);  // past 0 + 200 - 5
  ASSERT_EQ(surface.ScrollCalls.size(), 1u);
  EXPECT_EQ(surface.ScrollCalls[0].H, 10);
  EXPECT_EQ(surface.ScrollCalls[0].V, 0);
  EXPECT_EQ(surface.Repaints, 1);
  EXPECT_EQ(desk->Band().Corner(), (TPoint{250, 60}));
  surface.State.H = 7;
  desk->MouseMove(At(3, 60), true);
  EXPECT_EQ(surface.ScrollCalls.back().H, 0);
  // Inside the visible part nothing scrolls.
  const std::size_t calls = surface.ScrollCalls.size();
  surface.State.H = 0;
  desk->MouseMove(At(100, 100), true);
  EXPECT_EQ(surface.ScrollCalls.size(), calls);
  // Without a band nothing scrolls either.
  desk->MouseUp(At(100, 100));
  desk->MouseMove(At(400, 100), true);
  EXPECT_EQ(surface.ScrollCalls.size(), calls);
}

TEST_F(EditDeskTest, PointerCoordinatesOnlyOnTheActiveDesk) {
  // Snapped to the grid: steps 0.5 along X and 0.3 along Y from (-1, -1).
  EXPECT_EQ(desk->MouseMove(At(100, 200), true), std::optional<std::string>("X=0, Y=-0.1"));
  EXPECT_EQ(desk->MouseMove(At(-40, 900), true), std::optional<std::string>("X=-1, Y=-1"));  // clamped
  EXPECT_EQ(desk->MouseMove(At(100, 200), false), std::nullopt);
}

TEST_F(EditDeskTest, RepaintLeavesTheScreenPointsOfTheCurrentWindow) {
  f.Commands.Windows().AddWindow(FloatPoint3D(10, 10, 10), FloatPoint3D(-10, -10, -10), Projection::XY, FloatPoint(0.1L, 0.1L),
                                 0xC0C0C0, false);
  ASSERT_EQ(f.Supervisor.CurrentWindow, 0);
  FakeSurface other;
  EditDesk second(f.Commands, f.Window(1).WorkDesk(), other);
  RecordingCanvas c;
  EXPECT_EQ(second.Repaint(c), std::nullopt);
  ASSERT_FALSE(c.Calls.empty());
  EXPECT_EQ(c.Calls[0].Op, CanvasOp::Rectangle);
  EXPECT_EQ(c.Calls[0].Brush.Color, 0xC0C0C0u);
  EXPECT_EQ(m->K[0]->ScreenPoint, f.PixelOf(0, 0));  // back to window 0
  f.Window(1).Grid().SetStyle(1);
  second.Activate(true);
  EXPECT_EQ(f.Supervisor.CurrentWindow, 1);
  EXPECT_TRUE(f.Commands.State().Checked("acViewStatusBar"));
  EXPECT_TRUE(f.Commands.State().Checked("acNetCross"));
  EXPECT_EQ(f.Window(0).Grid().Style, 0);
  EXPECT_EQ(f.Ui.Repaints.back(), 1);
}

}  // namespace
}  // namespace tavir

namespace tavir {
namespace {

using namespace testing;

TEST(DeskClose, OnlyTheMainWindowAsksAndEndsTheProgramOnOk) {
  EditorFixture f;
  f.NewProject();
  f.Commands.Windows().AddWindow(FloatPoint3D(1, 1, 1), FloatPoint3D(0, 0, 0), Projection::XY, FloatPoint(0.01L, 0.01L), 0, false);
  FakeSurface s0, s1;
  EditDesk main(f.Commands, f.Window(0).WorkDesk(), s0);
  EditDesk other(f.Commands, f.Window(1).WorkDesk(), s1);
  EXPECT_TRUE(other.CloseQuery());
  EXPECT_TRUE(f.Messages.Shown.empty());
  f.Messages.Answers = {MsgResult::Cancel};
  EXPECT_FALSE(main.CloseQuery());
  ASSERT_EQ(f.Messages.Shown.size(), 1u);
  EXPECT_EQ(f.Messages.Shown[0].Text, "Вы хотите прекратить работу?");
  EXPECT_EQ(f.Messages.Shown[0].Caption, "Закрытие программы");
  EXPECT_EQ(f.Ui.CloseRequests, 0);
  EXPECT_TRUE(main.CloseQuery());
  EXPECT_EQ(f.Ui.CloseRequests, 1);
}

}  // namespace
}  // namespace tavir
