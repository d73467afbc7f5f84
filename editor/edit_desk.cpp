#include "editor/edit_desk.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "model/geometry_ops.h"
#include "model/load_ops.h"
#include "model/mesh_ops.h"

namespace tavir {

// ---- the band ----

void RubberBand::Begin(int x, int y) {
  origin_ = corner_ = {x, y};
  tracking_ = -1;
  visible_ = true;
}

void RubberBand::Draw(Canvas& canvas) const {
  CanvasStateGuard guard(canvas);
  canvas.Pen.Mode = PenMode::NotXor;
  canvas.Pen.Color = 0;
  canvas.Pen.Style = PenStyle::Dash;
  canvas.Brush.Style = BrushStyle::Clear;
  canvas.Rectangle(origin_.X, origin_.Y, corner_.X, corner_.Y);
}

void RubberBand::Track(Canvas& canvas, int x, int y) {
  if (tracking_ == 0 || (TPoint{x, y} == corner_)) return;
  Draw(canvas);
  corner_ = {x, y};
  Draw(canvas);
}

void RubberBand::End(Canvas& canvas) {
  tracking_ = 0;
  Draw(canvas);
  visible_ = false;
}

// ---- the modes ----

void DeskMode::Move(EditDesk& desk, const DeskMouse& e) {
  if (Busy() && desk.Band().Tracking()) desk.ScrollToPointer(e.X, e.Y);
}

namespace {

// The edit pick (0, 0): the element under the pointer, or with Ctrl the knot,
// changes its selection.
class PickMode : public DeskMode {
 public:
  void Press(EditDesk& desk, const DeskMouse& e) override {
    TEditorWindow* win = desk.CurrentWindow();
    if (win == nullptr) return;
    TVelEditorProject& p = desk.Commands().Project();
    Canvas* canvas = desk.Commands().CurrentCanvas();
    if (e.Ctrl) {
      TEditorKnot* k = KnotAtPixel(p.Knots(), e.X, e.Y, win->View());
      if (k == nullptr) return;
      if (p.Knots().IsSelected(k))
        p.Knots().Unselect(k, canvas);
      else
        p.Knots().Select(k, canvas);
      return;
    }
    TMLEditorElement* el = ElementAtPoint(p.Elements(), e.X, e.Y, win->View());
    if (el == nullptr) return;
    if (p.Elements().IsSelected(el))
      p.Elements().Unselect(el, canvas);
    else
      p.Elements().Select(el, canvas);
  }
};

// Element input by grid (1, 2): the elements of the grid cell under the pointer.
class GridInputMode : public DeskMode {
 public:
  void Press(EditDesk& desk, const DeskMouse& e) override {
    TEditorWindow* win = desk.CurrentWindow();
    if (win == nullptr) return;
    EditorCommands& c = desk.Commands();
    const TEditSupervisor& s = c.Supervisor();
    AddAtPoint(c.Project().Elements(), e.X, e.Y, c.MaterialForNewElements(), s.ElemKind, s.ElementType, win->View(),
               c.CurrentCanvas(), c.Messages());
  }
};

// Supports (2): the default support on the knot under the pointer (not with Ctrl).
class SupportMode : public DeskMode {
 public:
  void Press(EditDesk& desk, const DeskMouse& e) override {
    if (e.Ctrl) return;
    TEditorWindow* win = desk.CurrentWindow();
    if (win == nullptr) return;
    EditorCommands& c = desk.Commands();
    TVelEditorProject& p = c.Project();
    TEditorKnot* k = KnotAtPixel(p.Knots(), e.X, e.Y, win->View());
    if (k == nullptr) return;
    const bool replaced = p.Supports().IndexOfKnot(k) >= 0;
    SetSupport(p.Supports(), k, c.Supervisor().DefFixation, c.Supervisor().DefDirection);
    // A removed or replaced support's old symbol goes only with a repaint.
    if (replaced)
      c.Ui().RepaintWindow(desk.WindowIndex());
    else
      p.Supports().Draw(desk.Picture());
  }
};

// A load by picking (4 or 5 with input 0): the element or knot under the pointer
// is selected (alone without Ctrl) and its load shown in the load dialog.
class LoadPickMode : public DeskMode {
 public:
  explicit LoadPickMode(bool knots) : knots_(knots) {}
  void Press(EditDesk& desk, const DeskMouse& e) override {
    TEditorWindow* win = desk.CurrentWindow();
    if (win == nullptr) return;
    EditorCommands& c = desk.Commands();
    TVelEditorProject& p = c.Project();
    Canvas* canvas = c.CurrentCanvas();
    if (knots_) {
      TEditorKnot* k = KnotAtPixel(p.Knots(), e.X, e.Y, win->View());
      if (!e.Ctrl) p.Knots().UnselectAll(canvas);
      if (k != nullptr) p.Knots().Select(k, canvas);
      desk.FillLoadDialog(GetForce(p.ConcForces(), k), !p.Knots().Selection().empty());
    } else {
      TMLEditorElement* el = ElementAtPoint(p.Elements(), e.X, e.Y, win->View());
      if (!e.Ctrl) p.Elements().UnselectAll(canvas);
      if (el != nullptr) p.Elements().Select(el, canvas);
      desk.FillLoadDialog(GetForce(p.DispForces(), el), !p.Elements().Selection().empty());
    }
  }

 private:
  bool knots_;
};

// The modes that frame a region with a rubber band: the band is begun by the left
// press and ended by the left release; the frame then goes to the mode's action.
class BandMode : public DeskMode {
 public:
  void Press(EditDesk& desk, const DeskMouse& e) override {
    if (desk.CurrentWindow() == nullptr) return;
    desk.Band().Begin(e.X, e.Y);
    begun_ = true;
  }
  bool Busy() const override { return begun_; }

  void Release(EditDesk& desk, const DeskMouse& e) override {
    if (!begun_ || e.Button != MouseButton::Left) return;
    begun_ = false;
    RubberBand& band = desk.Band();
    band.End(desk.Surface().PictureCanvas());
    TEditorWindow* win = desk.CurrentWindow();
    if (win == nullptr) return;
    TPoint a = band.Origin(), b{e.X, e.Y};
    NormalizeRect(a, b);
    ClampPoints(a, b, win->WorkWindow.Height, win->WorkWindow.Width);
    TFloatPoint tl, br;
    if (a == b || !ScreenRectToModel(a, b, win->View(), tl, br)) {
      EmptyFrame(desk);
      return;
    }
    Frame(desk, *win, tl, br, e.Ctrl);
  }

  void Cancel(EditDesk& desk) override {
    if (!begun_) return;
    begun_ = false;
    desk.Band().End(desk.Surface().PictureCanvas());
  }

 protected:
  virtual void EmptyFrame(EditDesk& desk) = 0;
  // tl: top-left model corner (u minimum, v maximum); br: bottom-right.
  virtual void Frame(EditDesk& desk, TEditorWindow& win, const TFloatPoint& tl, const TFloatPoint& br,
                     bool ctrl) = 0;

  static void EditModeWithCursor(EditDesk& desk) {
    desk.Commands().Run("acModeEdit");
    desk.Commands().SetModeCursor();
  }

 private:
  bool begun_ = false;
};

// Frame selection in edit mode (0, 5): elements, or knots with Ctrl.
class FrameSelectMode : public BandMode {
  void EmptyFrame(EditDesk& desk) override { desk.Commands().Run("acModeEdit"); }
  void Frame(EditDesk& desk, TEditorWindow& win, const TFloatPoint& tl, const TFloatPoint& br, bool ctrl) override {
    TVelEditorProject& p = desk.Commands().Project();
    Canvas* canvas = desk.Commands().CurrentCanvas();
    if (ctrl)
      p.Knots().SelectInRect(tl, br, win.View(), canvas);
    else
      p.Elements().SelectInRect(tl, br, win.View(), canvas);
  }
};

// Element input by frame (1, 3): the region is meshed.
class FrameInputMode : public BandMode {
  void EmptyFrame(EditDesk& desk) override { desk.Commands().Run("acModeEdit"); }
  void Frame(EditDesk& desk, TEditorWindow& win, const TFloatPoint& tl, const TFloatPoint& br, bool) override {
    EditorCommands& c = desk.Commands();
    const TEditSupervisor& s = c.Supervisor();
    DivideRegion(c.Project().Elements(), tl, br, c.MaterialForNewElements(), s.ElemKind, s.ElementType, win.View(),
                 c.Dialogs(), c.Messages());
    c.Run("acModeEdit");
    c.Ui().RepaintWindow(desk.WindowIndex());
  }
};

// New window (3): the frame becomes the box of a new window of the same projection.
class NewWindowMode : public BandMode {
  void EmptyFrame(EditDesk& desk) override { EditModeWithCursor(desk); }
  void Frame(EditDesk& desk, TEditorWindow& win, const TFloatPoint& tl, const TFloatPoint& br, bool) override {
    TFloatPoint3D lo, hi;
    // A window whose projection shows no plane has nothing to frame.
    if (!FramedWindowBox(win.View(), tl, br, lo, hi)) {
      EmptyFrame(desk);
      return;
    }
    EditorCommands& c = desk.Commands();
    TEditSupervisor& s = c.Supervisor();
    const Extended p = s.Task.Precision;
    const Projection projection = win.WorkWindow.Projection;
    TEditWindows& windows = c.Windows();
    const int index = windows.AddWindow(hi, lo, projection, FloatPoint(p, p), 0xFFFFFF, true);
    if (index < 0) {
      EmptyFrame(desk);
      return;
    }
    s.SetCurrentWindow(index);
    s.SetWindowCount(windows.Count());
    c.Run("acModeEdit");
    c.SetModeCursor();
    windows.ShowWindow(s.CurrentWindow);
  }
};

// A load by frame (4 or 5 with input 5): the framed elements or knots are
// selected and the first one's load shown.
class LoadFrameMode : public BandMode {
 public:
  explicit LoadFrameMode(bool knots) : knots_(knots) {}

 private:
  void EmptyFrame(EditDesk& desk) override { desk.Commands().Run("AcEdit_SelectFrame"); }
  void Frame(EditDesk& desk, TEditorWindow& win, const TFloatPoint& tl, const TFloatPoint& br, bool ctrl) override {
    TVelEditorProject& p = desk.Commands().Project();
    Canvas* canvas = desk.Commands().CurrentCanvas();
    if (knots_) {
      if (!ctrl) p.Knots().UnselectAll(canvas);
      p.Knots().SelectInRect(tl, br, win.View(), canvas);
      const auto& sel = p.Knots().Selection();
      desk.FillLoadDialog(GetForce(p.ConcForces(), sel.empty() ? nullptr : sel.front()), !sel.empty());
    } else {
      if (!ctrl) p.Elements().UnselectAll(canvas);
      p.Elements().SelectInRect(tl, br, win.View(), canvas);
      const auto& sel = p.Elements().Selection();
      desk.FillLoadDialog(GetForce(p.DispForces(), sel.empty() ? nullptr : sel.front()), !sel.empty());
    }
  }
  bool knots_;
};

// Shell surface (11): the surface dialogs on the frame.
class SurfaceMode : public BandMode {
  void EmptyFrame(EditDesk& desk) override { EditModeWithCursor(desk); }
  void Frame(EditDesk& desk, TEditorWindow& win, const TFloatPoint& tl, const TFloatPoint& br, bool) override {
    EditorCommands& c = desk.Commands();
    AddByDialog(c.Project().ShellFuncs(), FloatPoint3D(tl.X, tl.Y, 0), FloatPoint3D(br.X, br.Y, 0), 0, win.View(),
                c.Dialogs());
    c.Run("acModeEdit");
    c.Ui().RepaintWindow(c.Supervisor().CurrentWindow);
  }
};

}  // namespace

std::unique_ptr<DeskMode> MakeDeskMode(WorkMode workMode, InputMode inputMode) {
  const bool concentrated = workMode == WorkMode::ConcentratedLoad;
  switch (workMode) {
    case WorkMode::Edit:
      if (inputMode == InputMode::Pick) return std::make_unique<PickMode>();
      if (inputMode == InputMode::FrameSelection) return std::make_unique<FrameSelectMode>();
      return nullptr;
    case WorkMode::ElementInput:
      if (inputMode == InputMode::ByGrid) return std::make_unique<GridInputMode>();
      if (inputMode == InputMode::ByFrame) return std::make_unique<FrameInputMode>();
      return nullptr;
    case WorkMode::Supports: return std::make_unique<SupportMode>();
    case WorkMode::NewWindow: return std::make_unique<NewWindowMode>();
    case WorkMode::DistributedLoad:
    case WorkMode::ConcentratedLoad:
      if (inputMode == InputMode::Pick) return std::make_unique<LoadPickMode>(concentrated);
      if (inputMode == InputMode::FrameSelection) return std::make_unique<LoadFrameMode>(concentrated);
      return nullptr;
    case WorkMode::ShellSurface: return std::make_unique<SurfaceMode>();
    default: return nullptr;
  }
}

// ---- the desk ----

EditDesk::EditDesk(EditorCommands& commands, DeskHandle desk, DeskSurface& surface)
    : commands_(commands), desk_(desk), surface_(surface) {}

EditDesk::~EditDesk() = default;

int EditDesk::WindowIndex() const { return commands_.Windows().IndexOfDesk(desk_); }

std::optional<std::string> EditDesk::Repaint(Canvas& canvas) {
  const TEditWindows& windows = commands_.Windows();
  const int i = WindowIndex();
  const TEditorWindow* win = windows.Find(i);
  if (win == nullptr) return std::nullopt;
  std::optional<std::string> failure;
  try {
    windows.ClearWindow(i, canvas);
    commands_.Project().UpdateScreen(win->View());
    commands_.Project().Draw(canvas, kDrawDesk);
    windows.DrawGridOver(i, canvas);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  // The cached screen points always belong to the current window after a repaint.
  const TEditorWindow* current = windows.Current();
  if (current != nullptr && current != win) commands_.Project().UpdateScreen(current->View());
  return failure;
}

void EditDesk::Activate(bool statusBarVisible) {
  TEditWindows& windows = commands_.Windows();
  const int i = WindowIndex();
  if (windows.Find(i) == nullptr) return;
  commands_.Supervisor().SetCurrentWindow(i);
  commands_.State().SetChecked("acViewStatusBar", statusBarVisible);
  commands_.State().SyncGrid(windows.Items(i).Grid());
  commands_.SetModeCursor();
  commands_.Ui().RepaintWindow(i);
}

void EditDesk::Deactivate() { commands_.SetModeCursor(); }

bool EditDesk::CloseQuery() {
  const TEditorWindow* win = commands_.Windows().Find(WindowIndex());
  if (win == nullptr || win->WorkWindow.Number != 0) return true;
  if (commands_.Messages().Show(MsgKind::Question, "Закрытие программы", "Вы хотите прекратить работу?",
                                MsgButtons::OkCancel) != MsgResult::Ok)
    return false;
  // The program may yet stay (the user keeps a changed project): then so does the window.
  return commands_.Ui().CloseProgram();
}

// A press or release may open a dialog; the desk form then loses the activation
// and abandons the gesture (CancelGesture) while the press or release still runs.
// The mode object is therefore held until its handler has returned.

void EditDesk::MouseDown(const DeskMouse& e) {
  if (e.Button != MouseButton::Left) return;
  if (active_ != nullptr && active_->Busy()) return;  // one band per desk
  const TEditSupervisor& s = commands_.Supervisor();
  const std::shared_ptr<DeskMode> mode = MakeDeskMode(s.WorkMode, s.InputMode);
  active_ = mode;
  if (mode == nullptr) return;
  mode->Press(*this, e);
  if (active_ == mode && !mode->Busy()) active_.reset();
}

std::optional<std::string> EditDesk::MouseMove(const DeskMouse& e, bool deskActive) {
  if (active_ != nullptr) active_->Move(*this, e);
  if (!deskActive) return std::nullopt;
  const TEditorWindow* win = CurrentWindow();
  if (win == nullptr) return std::nullopt;
  const int x = std::clamp(e.X, 0, std::max(0, win->WorkWindow.Width));
  const int y = std::clamp(e.Y, 0, std::max(0, win->WorkWindow.Height));
  return win->WriteCoordinates(x, y);
}

void EditDesk::MouseUp(const DeskMouse& e) {
  const std::shared_ptr<DeskMode> mode = active_;
  if (mode == nullptr) return;
  mode->Release(*this, e);
  if (active_ == mode && !mode->Busy()) active_.reset();
}

void EditDesk::CancelGesture() {
  const std::shared_ptr<DeskMode> mode = std::move(active_);  // leaves active_ empty
  if (mode != nullptr) mode->Cancel(*this);
}

void EditDesk::ScrollToPointer(int x, int y) {
  if (const std::optional<ScrollPosition> p = ScrollStep(surface_.Scroll(), x, y)) {
    band_.Draw(surface_.PictureCanvas());  // removed before the picture moves
    surface_.SetScroll(p->H, p->V);
    surface_.RepaintNow();
    band_.Draw(surface_.PictureCanvas());
  }
  if (band_.Visible()) band_.Track(surface_.PictureCanvas(), x, y);
}

void EditDesk::FillLoadDialog(const TForceRecord& force, bool anySelected) {
  EditorCommandsUi& ui = commands_.Ui();
  ui.ShowLoadDialog(force);
  ui.EnableLoadDialogButtons(anySelected);
}

}  // namespace tavir
