#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "editor/edit_windows.h"
#include "platform/numtext.h"
#include "platform/recording_canvas.h"
#include "fakes/scripted_messages.h"

namespace tavir {
namespace {

constexpr Extended kNaN = std::numeric_limits<Extended>::quiet_NaN();
constexpr Extended kInf = std::numeric_limits<Extended>::infinity();

std::int32_t Int32At(const std::vector<std::uint8_t>& b, std::size_t off) {
  return static_cast<std::int32_t>(std::uint32_t{b[off]} | (std::uint32_t{b[off + 1]} << 8) |
                                   (std::uint32_t{b[off + 2]} << 16) | (std::uint32_t{b[off + 3]} << 24));
}

// Keeps every desk it made with what the collection told it, and a log of calls.
class FakeDeskHost : public EditDeskHost {
 public:
  struct Desk {
    std::int32_t Width = 0, Height = 0;
    RgbColor Color = 0;
    std::string Caption;
    bool Visible = false;
    DeskCursor Cursor = DeskCursor::Unchanged;
  };
  DeskHandle CreateDesk(const TWorkWindow& w) override {
    const DeskHandle h = ++last_;
    Alive[h] = Desk{w.Width, w.Height, w.Color, w.Caption, false, DeskCursor::Unchanged};
    Log.push_back("create " + std::to_string(h));
    return h;
  }
  void DestroyDesk(DeskHandle d) override {
    EXPECT_EQ(Alive.erase(d), 1u) << "desk " << d << " destroyed twice or never made";
    Log.push_back("destroy " + std::to_string(d));
  }
  void ShowDesk(DeskHandle d) override {
    At(d).Visible = true;
    Log.push_back("show " + std::to_string(d));
  }
  void HideDesk(DeskHandle d) override {
    At(d).Visible = false;
    Log.push_back("hide " + std::to_string(d));
  }
  void SetDeskCaption(DeskHandle d, const std::string& c) override { At(d).Caption = c; }
  void SetDeskCursor(DeskHandle d, DeskCursor c) override {
    EXPECT_NE(c, DeskCursor::Unchanged);
    At(d).Cursor = c;
  }
  Desk& At(DeskHandle d) {
    auto it = Alive.find(d);
    EXPECT_NE(it, Alive.end()) << "desk " << d << " is not alive";
    return it == Alive.end() ? dummy_ : it->second;
  }
  std::map<DeskHandle, Desk> Alive;
  std::vector<std::string> Log;

 private:
  DeskHandle last_ = 0;
  Desk dummy_;
};

class FakeClient : public EditWindowsClient {
 public:
  void SetWindowState(std::int32_t current, std::int32_t count) override {
    Current = current;
    Count = count;
    ++StateCalls;
  }
  std::int32_t CurrentWindow() const override { return Current; }
  tavir::WorkMode WorkMode() const override { return CodeOfByte<tavir::WorkMode>(Work); }
  tavir::InputMode InputMode() const override { return CodeOfByte<tavir::InputMode>(Input); }
  void RunAction(const std::string& name) override { Actions.push_back(name); }
  void SyncGridActions(const TGrid& grid) override { SyncedSteps.push_back(grid.StepX); }
  void CloseProgram() override { ++CloseRequests; }

  std::int32_t Current = -1, Count = 0;
  int StateCalls = 0;
  std::uint8_t Work = 0, Input = 0;
  std::vector<std::string> Actions;
  std::vector<Extended> SyncedSteps;
  int CloseRequests = 0;
};

class EditWindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { SetDecimalSeparator('.'); }
  void TearDown() override { SetDecimalSeparator('.'); }

  int AddBox(Extended size = 10, Projection projection = Projection::XY, bool show = true) {
    return windows.AddWindow(FloatPoint3D(size, size, size), FloatPoint3D(0, 0, 0), projection,
                             FloatPoint(0.01L, 0.01L), 0xFFFFFF, show);
  }
  FakeDeskHost::Desk& DeskOf(int i) { return host.At(windows.Items(i).WorkDesk()); }

  FakeDeskHost host;
  ScriptedMessages messages;
  FakeClient client;
  TEditWindows windows{host, messages, client, PixelSize{1024, 768}};
};

// ---- adding, scale fit, transforms ----

TEST_F(EditWindowsTest, TenByTenBoxFitsA1024By768Screen) {
  ASSERT_EQ(AddBox(), 0);
  const TWorkWindow& w = windows.Items(0).WorkWindow;
  EXPECT_EQ(w.Scale.Y, 0.01L);  // 1000 pixels >= 768: kept
  EXPECT_EQ(w.Height, 1000);
  EXPECT_EQ(w.Scale.X, 10.0L / 1024);  // 1000 < 1024: finer
  EXPECT_EQ(w.Width, 1024);
  EXPECT_EQ(w.Number, 0);
  EXPECT_EQ(w.Color, 0xFFFFFFu);

  const TGrid& g = windows.Items(0).Grid();
  EXPECT_EQ(g.StepX, 1);
  EXPECT_EQ(g.StepY, 1);
  EXPECT_EQ(g.StepZ, 1);
  EXPECT_EQ(g.NSX, 10);
  EXPECT_EQ(g.NSY, 10);
  EXPECT_EQ(g.NSZ, 10);
  EXPECT_EQ(g.ShowGrid, 1);
  EXPECT_EQ(g.SnapToGrid, 1);
  EXPECT_EQ(g.Style, 0);
  EXPECT_EQ(g.Place, 1);
  EXPECT_EQ(g.Color, 255u);

  const TEditorWindow& win = windows.Items(0);
  EXPECT_EQ(win.FloatPointToPoint(FloatPoint(0, 0)), (TPoint{0, 1000}));
  EXPECT_EQ(win.FloatPointToPoint(FloatPoint(10, 10)), (TPoint{1024, 0}));
  for (TPoint px : {TPoint{0, 0}, TPoint{333, 517}, TPoint{1024, 1000}, TPoint{1, 999}})
    EXPECT_EQ(win.FloatPointToPoint(win.PointToFloatPoint(px)), px);

  // The desk shows the window and was brought up; the grid actions follow it.
  const auto& desk = DeskOf(0);
  EXPECT_EQ(desk.Width, 1024);
  EXPECT_EQ(desk.Height, 1000);
  EXPECT_EQ(desk.Color, 0xFFFFFFu);
  EXPECT_EQ(desk.Caption, "Главное окно проекта. Область редактирования: X=[0,10]; Y=[0,10]");
  EXPECT_TRUE(desk.Visible);
  EXPECT_EQ(client.SyncedSteps, std::vector<Extended>{1});
  EXPECT_EQ(client.Current, 0);
  EXPECT_EQ(client.Count, 1);
}

TEST_F(EditWindowsTest, FitUsesTheProjectionsAxesAndAHiddenWindowStaysHidden) {
  // Y from 0 to 2, Z from 0 to 20: Y at 0.01 gives 200 < 1024 pixels, Z 2000 >= 768.
  windows.AddWindow(FloatPoint3D(100, 2, 20), FloatPoint3D(0, 0, 0), Projection::YZ, FloatPoint(0.01L, 0.01L), 0, false);
  const TWorkWindow& w = windows.Items(0).WorkWindow;
  EXPECT_EQ(w.Scale.X, 2.0L / 1024);
  EXPECT_EQ(w.Width, 1024);
  EXPECT_EQ(w.Scale.Y, 0.01L);
  EXPECT_EQ(w.Height, 2000);
  EXPECT_FALSE(DeskOf(0).Visible);
  EXPECT_TRUE(client.SyncedSteps.empty());

  // The collection refuses a window that shows no plane.
  EXPECT_EQ(windows.AddWindow(FloatPoint3D(10, 10, 10), FloatPoint3D(0, 0, 0), Projection::Spatial, FloatPoint(0.5L, 0.25L), 0, true),
            -1);
  EXPECT_EQ(windows.Count(), 1);
  EXPECT_EQ(host.Alive.size(), 1u);
  windows.AddWindow(FloatPoint3D(10, 10, 10), FloatPoint3D(0, 0, 0), Projection::XZ, FloatPoint(0.01L, 0.01L), 0, false);

  // Its record alone keeps the scale and has no picture; transforms give zeros.
  const TWindowRecord odd =
      NewWindowRecord(FloatPoint3D(10, 10, 10), FloatPoint3D(0, 0, 0), CodeOfByte<Projection>(7), FloatPoint(0.5L, 0.25L), 0, {1024, 768});
  EXPECT_EQ(odd.WorkWindow.Scale.X, 0.5L);
  EXPECT_EQ(odd.WorkWindow.Scale.Y, 0.25L);
  EXPECT_EQ(odd.WorkWindow.Width, 0);
  EXPECT_EQ(odd.WorkWindow.Height, 0);
  EXPECT_EQ(odd.WorkWindow.Caption, "Главное окно проекта. ");
  EXPECT_EQ(odd.FloatPointToPoint(FloatPoint(5, 5)), (TPoint{0, 0}));
  const TFloatPoint p = odd.PointToFloatPoint({10, 10});
  EXPECT_EQ(p.X, 0);
  EXPECT_EQ(p.Y, 0);
  TFloatPoint out = FloatPoint(3, 4);
  EXPECT_FALSE(odd.SnapToGrid(FloatPoint(1, 1), out));
  EXPECT_EQ(out.X, 3);  // left as it was
  // The first window stays current; the count follows the collection.
  EXPECT_EQ(client.Current, 0);
  EXPECT_EQ(client.Count, 2);
}

TEST_F(EditWindowsTest, UnusableExtentsAndScalesNeverDivideByZero) {
  struct Case {
    const char* what;
    TFloatPoint3D max, min;
    TFloatPoint scale;
    Extended wantScaleX, wantScaleY;
    std::int32_t wantWidth, wantHeight;
  };
  const Case cases[] = {
      {"zero extent in both", FloatPoint3D(0, 0, 0), FloatPoint3D(0, 0, 0), FloatPoint(0.01L, 0.01L), 0.01L, 0.01L, 0, 0},
      {"zero width only", FloatPoint3D(3, 10, 0), FloatPoint3D(3, 0, 0), FloatPoint(0.01L, 0.01L), 0.01L, 0.01L, 0, 1000},
      {"inverted box", FloatPoint3D(0, 0, 0), FloatPoint3D(5, 5, 0), FloatPoint(0.01L, 0.01L), 0.01L, 0.01L, 0, 0},
      {"infinite extent", FloatPoint3D(kInf, 10, 0), FloatPoint3D(0, 0, 0), FloatPoint(0.01L, 0.01L), 0.01L, 0.01L, 0, 1000},
      {"NaN corner", FloatPoint3D(kNaN, 10, 0), FloatPoint3D(0, 0, 0), FloatPoint(0.5L, 0.01L), 0.5L, 0.01L, 0, 1000},
      {"zero scale", FloatPoint3D(100, 100, 0), FloatPoint3D(0, 0, 0), FloatPoint(0, 0), 0.01L, 0.01L, 10000, 10000},
      {"negative and NaN scale", FloatPoint3D(100, 100, 0), FloatPoint3D(0, 0, 0), FloatPoint(-1, kNaN), 0.01L, 0.01L,
       10000, 10000},
      {"zero scale, small box", FloatPoint3D(1, 1, 0), FloatPoint3D(0, 0, 0), FloatPoint(0, kInf), 1.0L / 1024,
       1.0L / 768, 1024, 768},
  };
  for (const Case& c : cases) {
    windows.Clear();
    windows.AddWindow(c.max, c.min, Projection::XY, c.scale, 0, false);
    const TWorkWindow& w = windows.Items(0).WorkWindow;
    EXPECT_EQ(w.Scale.X, c.wantScaleX) << c.what;
    EXPECT_EQ(w.Scale.Y, c.wantScaleY) << c.what;
    EXPECT_EQ(w.Width, c.wantWidth) << c.what;
    EXPECT_EQ(w.Height, c.wantHeight) << c.what;
  }
  // No screen size known: no fit, the given scale decides.
  windows.Clear();
  windows.SetScreenSize({0, 0});
  windows.AddWindow(FloatPoint3D(1, 1, 0), FloatPoint3D(0, 0, 0), Projection::XY, FloatPoint(0.01L, 0.01L), 0, false);
  EXPECT_EQ(windows.Items(0).WorkWindow.Width, 100);
  EXPECT_EQ(windows.Items(0).WorkWindow.Height, 100);
}

TEST_F(EditWindowsTest, SnapToGridRoundsHalvesToEven) {
  AddBox();
  TEditorWindow& win = windows.Items(0);
  win.Grid().StepX = 1;
  win.Grid().StepY = 1;
  win.WorkWindow.MinPoint = FloatPoint3D(0.5L, 0.5L, 0);
  TFloatPoint out;
  ASSERT_TRUE(win.SnapToGrid(FloatPoint(1.9L, 2.0L), out));
  EXPECT_EQ(out.X, 1.5L);
  EXPECT_EQ(out.Y, 2.5L);  // Round(1.5) = 2
  ASSERT_TRUE(win.SnapToGrid(FloatPoint(3.0L, 1.0L), out));
  EXPECT_EQ(out.X, 2.5L);  // Round(2.5) = 2
  EXPECT_EQ(out.Y, 0.5L);  // Round(0.5) = 0
}

// ---- captions ----

TEST_F(EditWindowsTest, CaptionsNameTheWindowAndTheShownBox) {
  for (int i = 0; i < 4; ++i) AddBox(10, Projection::XY, false);
  EXPECT_EQ(windows.Items(3).WorkWindow.Caption.rfind("Окно №3.  Область редактирования: X=[", 0), 0u);
  EXPECT_EQ(DeskOf(3).Caption, windows.Items(3).WorkWindow.Caption);
  EXPECT_EQ(windows.Items(0).WorkWindow.Caption.rfind("Главное окно проекта. ", 0), 0u);

  TWorkWindow w;
  w.MinPoint = FloatPoint3D(-1.0L / 3, 0.5L, -2e-7L);
  w.MaxPoint = FloatPoint3D(123456789, 2, 1e20L);
  w.SetNumber(12);
  w.SetProjection(Projection::YZ);
  EXPECT_EQ(w.Caption, "Окно №12.  Область редактирования: Y=[0.5,2]; Z=[-2E-0007,1E0020]");
  w.SetProjection(Projection::XZ);
  EXPECT_EQ(w.Caption, "Окно №12.  Область редактирования: X=[-0.33333333,1.2345679E0008]; Z=[-2E-0007,1E0020]");
  w.SetProjection(Projection::XY);
  w.SetNumber(0);
  EXPECT_EQ(w.Caption, "Главное окно проекта. Область редактирования: X=[-0.33333333,1.2345679E0008]; Y=[0.5,2]");
  w.SetProjection(Projection::Spatial);
  EXPECT_EQ(w.Caption, "Главное окно проекта. ");
}

// ---- status bar text ----

TEST_F(EditWindowsTest, WriteCoordinatesSnapsWhenTheGridSnaps) {
  AddBox();
  TEditorWindow& win = windows.Items(0);
  EXPECT_EQ(win.WriteCoordinates(100, 333), "X=1, Y=7");
  win.Grid().SnapToGrid = 0;
  EXPECT_EQ(win.WriteCoordinates(100, 333), "X=0.9765625, Y=6.67");
  EXPECT_EQ(win.WriteCoordinates(0, 1000), "X=0, Y=0");
  win.WorkWindow.Scale.Y = 1e-30L;
  EXPECT_EQ(win.WriteCoordinates(0, 0), "X=0, Y=1E-0027");
  // A coordinate that is not a number writes nothing.
  win.WorkWindow.Scale.X = kNaN;
  EXPECT_EQ(win.WriteCoordinates(5, 5), std::nullopt);
}

// ---- deleting, showing, finding ----

TEST_F(EditWindowsTest, DeletingTheMainWindowOfTwoAsksAndDeletesTheNextOne) {
  AddBox(10);
  AddBox(20, Projection::XY, false);
  const DeskHandle main = windows.Items(0).WorkDesk();
  const DeskHandle second = windows.Items(1).WorkDesk();

  messages.Answers = {MsgResult::Cancel};
  EXPECT_EQ(windows.DeleteWindow(0), -1);
  EXPECT_EQ(windows.Count(), 2);
  EXPECT_EQ(host.Alive.size(), 2u);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Это окно главное\rУдалить следующее?");
  EXPECT_EQ(messages.Shown[0].Caption, "Предупреждение");
  EXPECT_EQ(messages.Shown[0].Kind, MsgKind::Warning);
  EXPECT_EQ(messages.Shown[0].Buttons, MsgButtons::OkCancel);

  messages.Answers = {MsgResult::Ok};
  client.Current = 1;
  EXPECT_EQ(windows.DeleteWindow(0), 0);
  ASSERT_EQ(windows.Count(), 1);
  EXPECT_EQ(windows.Items(0).WorkDesk(), main);
  EXPECT_EQ(windows.Items(0).WorkWindow.MaxPoint.X, 10);
  EXPECT_EQ(host.Alive.count(second), 0u);
  // Hidden first, then freed with its window.
  const std::vector<std::string> tail(host.Log.end() - 2, host.Log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"hide " + std::to_string(second), "destroy " + std::to_string(second)}));
  // The supervisor never points past the collection.
  EXPECT_EQ(client.Current, 0);
  EXPECT_EQ(client.Count, 1);
}

TEST_F(EditWindowsTest, TheLastWindowIsNeverDeleted) {
  AddBox();
  const int before = client.StateCalls;
  messages.Answers = {MsgResult::Cancel};
  EXPECT_EQ(windows.DeleteWindow(0), -1);
  EXPECT_EQ(windows.Count(), 1);
  EXPECT_EQ(host.Alive.size(), 1u);
  EXPECT_EQ(client.CloseRequests, 0);
  EXPECT_EQ(client.StateCalls, before);
  ASSERT_EQ(messages.Shown.size(), 1u);
  EXPECT_EQ(messages.Shown[0].Text, "Осталось одно главное окно\rЗакрыть проект?");
  EXPECT_EQ(messages.Shown[0].Caption, "Предупреждение");
  EXPECT_EQ(messages.Shown[0].Buttons, MsgButtons::OkCancel);

  messages.Answers = {MsgResult::Ok};
  EXPECT_EQ(windows.DeleteWindow(0), -1);
  EXPECT_EQ(windows.Count(), 1);  // closing the program is the editor's business
  EXPECT_EQ(client.CloseRequests, 1);
}

TEST_F(EditWindowsTest, DeletingAMiddleWindowRenumbersTheRest) {
  for (int i = 0; i < 3; ++i) AddBox(10 + i, Projection::XY, false);
  client.Current = 2;
  EXPECT_EQ(windows.DeleteWindow(1), 0);
  ASSERT_EQ(windows.Count(), 2);
  EXPECT_EQ(windows.Items(1).WorkWindow.MaxPoint.X, 12);
  EXPECT_EQ(windows.Items(1).WorkWindow.Number, 1);
  EXPECT_EQ(DeskOf(1).Caption.rfind("Окно №1.  ", 0), 0u);
  EXPECT_EQ(client.Current, 0);
  EXPECT_EQ(client.Count, 2);

  // Indices outside the collection ask nothing and delete nothing.
  EXPECT_EQ(windows.DeleteWindow(2), -1);
  EXPECT_EQ(windows.DeleteWindow(-1), -1);
  EXPECT_TRUE(messages.Shown.empty());
  EXPECT_EQ(windows.Count(), 2);
}

TEST_F(EditWindowsTest, ShowWindowAndIndexOfDesk) {
  AddBox(10, Projection::XY, false);
  AddBox(10, Projection::XY, false);
  EXPECT_FALSE(windows.ShowWindow(2));
  EXPECT_FALSE(windows.ShowWindow(-1));
  EXPECT_FALSE(DeskOf(1).Visible);
  EXPECT_TRUE(windows.ShowWindow(1));
  EXPECT_TRUE(DeskOf(1).Visible);
  EXPECT_FALSE(DeskOf(0).Visible);

  EXPECT_EQ(windows.IndexOfDesk(windows.Items(1).WorkDesk()), 1);
  EXPECT_EQ(windows.IndexOfDesk(9999), 0);
  EXPECT_EQ(windows.IndexOfDesk(0), 0);
  // The position counts, not a number that a file may have put there.
  windows.Items(1).WorkWindow.Number = 40;
  EXPECT_EQ(windows.IndexOfDesk(windows.Items(1).WorkDesk()), 1);
}

TEST_F(EditWindowsTest, ClearFreesEveryDeskAndResetsTheSupervisor) {
  AddBox();
  AddBox();
  windows.Clear();
  EXPECT_EQ(windows.Count(), 0);
  EXPECT_TRUE(host.Alive.empty());
  EXPECT_EQ(client.Current, -1);
  EXPECT_EQ(client.Count, 0);
}

// ---- cursors ----

TEST(ModeCursorTable, EveryWorkModeAndInputMode) {
  struct Case {
    std::uint8_t work, input;
    DeskCursor want;
  };
  const Case cases[] = {
      {0, 0, DeskCursor::Arrow},        {0, 5, DeskCursor::Cross},         {0, 1, DeskCursor::Unchanged},
      {0, 4, DeskCursor::Unchanged},    {1, 0, DeskCursor::Arrow},         {1, 2, DeskCursor::Arrow},
      {1, 1, DeskCursor::Cross},        {1, 3, DeskCursor::Cross},         {1, 4, DeskCursor::Unchanged},
      {1, 200, DeskCursor::Unchanged},  {2, 0, DeskCursor::SetRest},       {2, 9, DeskCursor::SetRest},
      {3, 5, DeskCursor::NewWindow},    {4, 0, DeskCursor::SetDispForce},  {4, 5, DeskCursor::SetDispForce},
      {4, 1, DeskCursor::Unchanged},    {5, 0, DeskCursor::SetForce},      {5, 5, DeskCursor::SetForce},
      {5, 3, DeskCursor::Unchanged},    {11, 2, DeskCursor::SetSurface},   {6, 0, DeskCursor::Arrow},
      {10, 5, DeskCursor::Arrow},       {12, 1, DeskCursor::Arrow},        {255, 255, DeskCursor::Arrow},
  };
  for (const Case& c : cases) EXPECT_EQ(ModeCursor(CodeOfByte<WorkMode>(c.work), CodeOfByte<InputMode>(c.input)), c.want) << int(c.work) << "/" << int(c.input);

  EXPECT_EQ(DeskCursorSlot(DeskCursor::NewWindow), 1);
  EXPECT_EQ(CursorResourceName(DeskCursor::NewWindow), "NEWWINCURSOR");
  EXPECT_EQ(DeskCursorSlot(DeskCursor::SetForce), 2);
  EXPECT_EQ(CursorResourceName(DeskCursor::SetForce), "SETFORCECURSOR");
  EXPECT_EQ(DeskCursorSlot(DeskCursor::SetDispForce), 3);
  EXPECT_EQ(CursorResourceName(DeskCursor::SetDispForce), "SETDISPFORCECURSOR");
  EXPECT_EQ(DeskCursorSlot(DeskCursor::SetRest), 4);
  EXPECT_EQ(CursorResourceName(DeskCursor::SetRest), "SETRESTCURSOR");
  EXPECT_EQ(DeskCursorSlot(DeskCursor::SetSurface), 5);
  EXPECT_EQ(CursorResourceName(DeskCursor::SetSurface), "SETSURFACE");
  EXPECT_EQ(DeskCursorSlot(DeskCursor::Cross), 0);
  EXPECT_EQ(CursorResourceName(DeskCursor::Arrow), "");
}

TEST_F(EditWindowsTest, SetModeCursorReachesEveryDeskAndUnchangedTouchesNone) {
  AddBox(10, Projection::XY, false);
  AddBox(10, Projection::XY, false);
  windows.SetModeCursor(WorkMode::Supports, InputMode::Pick);
  EXPECT_EQ(DeskOf(0).Cursor, DeskCursor::SetRest);
  EXPECT_EQ(DeskOf(1).Cursor, DeskCursor::SetRest);
  windows.SetModeCursor(WorkMode::Edit, InputMode::ByFrame);  // unchanged
  EXPECT_EQ(DeskOf(0).Cursor, DeskCursor::SetRest);
  EXPECT_EQ(DeskOf(1).Cursor, DeskCursor::SetRest);
}

// ---- streams ----

TEditorWindow& FilledWindow(TEditWindows& windows) {
  windows.AddWindow(FloatPoint3D(10, 20, 30), FloatPoint3D(-1, -2, -3), Projection::XZ, FloatPoint(0.25L, 0.5L), 0x123456, false);
  TEditorWindow& win = windows.Items(windows.Count() - 1);
  TWorkWindow& w = win.WorkWindow;
  w.MaxPoint.PadX = {1, 2, 3, 4, 5, 6};
  w.MaxPoint.PadZ = {0xFF, 0, 0xFF, 0, 0xFF, 0};
  w.MinPoint.PadY = {9, 9, 9, 9, 9, 9};
  w.Scale.PadX = {7, 7, 7, 7, 7, 7};
  w.Scale.PadY = {0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5};
  w.Reserved = {10, 11, 12, 13, 14, 15, 16, 17, 18, 19};
  win.Grid().StepX = 0.75L;
  return win;
}

TEST_F(EditWindowsTest, WindowRecordFieldsSitAtTheirOffsets) {
  const TEditorWindow& win = FilledWindow(windows);
  BinaryWriter w;
  win.SaveToStream(w);
  const auto& b = w.Bytes();
  ASSERT_EQ(b.size(), kWindowRecordBytes);
  EXPECT_EQ(DecodeExtended(b.data() + 0), 0.75L);  // grid StepX
  EXPECT_EQ(DecodeExtended(b.data() + 68), 10);    // MaxPoint X, Y, Z slots
  EXPECT_EQ(b[78], 1);
  EXPECT_EQ(b[83], 6);
  EXPECT_EQ(DecodeExtended(b.data() + 84), 20);
  EXPECT_EQ(DecodeExtended(b.data() + 100), 30);
  EXPECT_EQ(b[110], 0xFF);
  EXPECT_EQ(DecodeExtended(b.data() + 116), -1);  // MinPoint
  EXPECT_EQ(DecodeExtended(b.data() + 132), -2);
  EXPECT_EQ(b[142], 9);
  EXPECT_EQ(DecodeExtended(b.data() + 148), -3);
  EXPECT_EQ(DecodeExtended(b.data() + 164), win.WorkWindow.Scale.X);  // Scale
  EXPECT_EQ(b[174], 7);
  EXPECT_EQ(DecodeExtended(b.data() + 180), 33.0L / 768);  // fitted: Z extent 33 over 768 pixels
  EXPECT_EQ(b[190], 0xA0);
  EXPECT_EQ(b[195], 0xA5);
  EXPECT_EQ(b[196], 2);  // Projection
  EXPECT_EQ(Int32At(b, 197), win.WorkWindow.Width);
  EXPECT_EQ(Int32At(b, 201), win.WorkWindow.Height);
  EXPECT_EQ(Int32At(b, 205), 0);  // Number
  EXPECT_EQ(Int32At(b, 209), 0x123456);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(b[213 + i], 10 + i);

  BinaryWriter block;
  windows.SaveToStream(block);
  ASSERT_EQ(block.Size(), 4 + kWindowRecordBytes);
  EXPECT_EQ(Int32At(block.Bytes(), 0), 1);
}

TEST_F(EditWindowsTest, BlockRoundTripKeepsEveryByteAndTheStoredNumbers) {
  FilledWindow(windows);
  AddBox(5, Projection::YZ, false);
  windows.Items(1).WorkWindow.Number = 7;  // as a file may hold it
  BinaryWriter first;
  windows.SaveToStream(first);

  BinaryReader r(first.Bytes());
  WindowBlock block = WindowBlock::LoadFromStream(r);
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(block.Windows.size(), 2u);
  // Numbers as stored, captions from them.
  EXPECT_EQ(block.Windows[1].WorkWindow.Number, 7);
  EXPECT_EQ(block.Windows[1].WorkWindow.Caption.rfind("Окно №7.  Область редактирования: Y=[0,5]", 0), 0u);
  EXPECT_EQ(block.Windows[0].WorkWindow.Caption,
            "Главное окно проекта. Область редактирования: X=[-1,10]; Z=[-3,30]");
  BinaryWriter second;
  block.SaveToStream(second);
  EXPECT_EQ(second.Bytes(), first.Bytes());
}

TEST_F(EditWindowsTest, HostileBlocksAreFormatErrors) {
  BinaryWriter one;
  FilledWindow(windows).SaveToStream(one);
  const std::vector<std::uint8_t> record = one.Bytes();
  auto block = [&](std::int32_t count, int records, std::size_t cut = 0) {
    BinaryWriter w;
    w.WriteInt32(count);
    for (int i = 0; i < records; ++i) w.WriteBytes(record.data(), record.size());
    std::vector<std::uint8_t> bytes = w.Take();
    bytes.resize(bytes.size() - cut);
    return bytes;
  };
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"count 0", block(0, 1)},
      {"count -1", block(-1, 1)},
      {"count 2^31-1", block(std::numeric_limits<std::int32_t>::max(), 2)},
      {"count past the records", block(3, 2)},
      {"last record short", block(2, 2, 1)},
      {"count short", std::vector<std::uint8_t>{1, 0}},
  };
  for (const Case& c : cases) {
    BinaryReader r(c.bytes);
    EXPECT_THROW(WindowBlock::LoadFromStream(r), FormatError) << c.what;
  }
  try {
    std::vector<std::uint8_t> bytes = block(-1, 0);
    BinaryReader r(bytes);
    WindowBlock::LoadFromStream(r);
    FAIL();
  } catch (const FormatError& e) {
    EXPECT_EQ(std::string(e.what()), "Файл поврежден: неверное число окон редактирования (-1).");
  }
  // A failed read changed nothing here.
  EXPECT_EQ(windows.Count(), 1);
  EXPECT_EQ(host.Alive.size(), 1u);
}

TEST_F(EditWindowsTest, ShortRecordLeavesTheWindowAndItsDeskAlone) {
  TEditorWindow& win = FilledWindow(windows);
  BinaryWriter w;
  win.SaveToStream(w);
  std::vector<std::uint8_t> bytes = w.Take();
  bytes[68] ^= 0x55;  // a different MaxPoint.X
  bytes.pop_back();
  const DeskHandle desk = win.WorkDesk();
  BinaryReader r(bytes);
  EXPECT_THROW(win.LoadFromStream(r), FormatError);
  EXPECT_EQ(r.Position(), 0u);
  EXPECT_EQ(win.WorkWindow.MaxPoint.X, 10);
  EXPECT_EQ(win.Grid().StepX, 0.75L);
  EXPECT_EQ(win.WorkDesk(), desk);
}

TEST_F(EditWindowsTest, ReadingARecordIntoAWindowWithADeskMakesANewDesk) {
  TEditorWindow& win = FilledWindow(windows);
  BinaryWriter w;
  win.SaveToStream(w);
  std::vector<std::uint8_t> bytes = w.Take();
  bytes[197] = 0x2C;  // Width 300
  bytes[198] = 0x01;
  bytes[199] = 0;
  bytes[200] = 0;
  const DeskHandle old = win.WorkDesk();
  BinaryReader r(bytes);
  win.LoadFromStream(r);
  EXPECT_EQ(host.Alive.count(old), 0u);
  ASSERT_TRUE(win.HasDesk());
  EXPECT_EQ(host.At(win.WorkDesk()).Width, 300);
  EXPECT_EQ(host.At(win.WorkDesk()).Caption, win.WorkWindow.Caption);
}

TEST_F(EditWindowsTest, AdoptReplacesTheWindowsAndEntersEditMode) {
  FilledWindow(windows);
  AddBox(5, Projection::YZ, false);
  windows.Items(0).WorkWindow.Number = 3;
  windows.Items(1).WorkWindow.Number = 5;
  BinaryWriter w;
  windows.SaveToStream(w);
  BinaryReader r(w.Bytes());
  WindowBlock block = WindowBlock::LoadFromStream(r);

  windows.Clear();
  AddBox(99);  // what was open before
  const DeskHandle before = windows.Items(0).WorkDesk();
  client.Work = 3;  // new window mode: every desk gets that cursor
  client.Input = 0;
  client.Current = 0;
  client.Count = 0;
  windows.Adopt(std::move(block));

  ASSERT_EQ(windows.Count(), 2);
  EXPECT_EQ(host.Alive.count(before), 0u);
  EXPECT_EQ(host.Alive.size(), 2u);
  EXPECT_EQ(client.Current, 0);
  EXPECT_EQ(client.Count, 2);
  EXPECT_EQ(client.Actions, std::vector<std::string>{"acModeEdit"});
  EXPECT_TRUE(DeskOf(0).Visible);
  EXPECT_FALSE(DeskOf(1).Visible);
  EXPECT_EQ(DeskOf(0).Cursor, DeskCursor::NewWindow);
  EXPECT_EQ(DeskOf(1).Cursor, DeskCursor::NewWindow);
  EXPECT_EQ(DeskOf(0).Color, 0x123456u);
  EXPECT_EQ(DeskOf(0).Caption.rfind("Окно №3.  ", 0), 0u);  // stored numbers are not renumbered
  EXPECT_EQ(DeskOf(1).Caption.rfind("Окно №5.  ", 0), 0u);
  EXPECT_EQ(DeskOf(1).Width, windows.Items(1).WorkWindow.Width);
  // Positions, never the stored numbers, find the windows.
  EXPECT_EQ(windows.IndexOfDesk(windows.Items(1).WorkDesk()), 1);

  // A block with a window that shows no plane is refused and changes nothing.
  WindowBlock odd;
  odd.Windows.push_back(NewWindowRecord(FloatPoint3D(1, 1, 1), FloatPoint3D(0, 0, 0), Projection::XY, FloatPoint(0.01L, 0.01L), 0,
                                        {100, 100}));
  odd.Windows.back().WorkWindow.Projection = CodeOfByte<Projection>(4);
  const std::size_t desks = host.Alive.size();
  EXPECT_THROW(windows.Adopt(std::move(odd)), FormatError);
  EXPECT_EQ(windows.Count(), 2);
  EXPECT_EQ(host.Alive.size(), desks);

  // An empty block is refused and changes nothing.
  const std::size_t actions = client.Actions.size();
  EXPECT_THROW(windows.Adopt(WindowBlock{}), std::invalid_argument);
  EXPECT_EQ(windows.Count(), 2);
  EXPECT_EQ(client.Actions.size(), actions);
}

TEST_F(EditWindowsTest, UnusableScalesFromAFileAreMendedWhenTheWindowsComeIntoUse) {
  AddBox(10, Projection::XY, false);
  AddBox(10, Projection::XY, false);
  windows.Items(0).WorkWindow.Scale = FloatPoint(0, kNaN);  // Width 1024, Height 1000 stay
  windows.Items(0).WorkWindow.Scale.PadX = {4, 4, 4, 4, 4, 4};
  windows.Items(1).WorkWindow.Scale = FloatPoint(-kInf, -0.5L);
  windows.Items(1).WorkWindow.Width = 0;
  windows.Items(1).WorkWindow.Height = -3;
  BinaryWriter w;
  windows.SaveToStream(w);
  BinaryReader r(w.Bytes());
  WindowBlock block = WindowBlock::LoadFromStream(r);
  EXPECT_EQ(block.Windows[0].WorkWindow.Scale.X, 0);  // read as stored
  windows.Adopt(std::move(block));

  const TWorkWindow& a = windows.Items(0).WorkWindow;
  EXPECT_EQ(a.Scale.X, 10.0L / 1024);  // extent over the stored picture size
  EXPECT_EQ(a.Scale.Y, 10.0L / 1000);
  EXPECT_EQ(a.Scale.PadX[0], 4);
  const TWorkWindow& b = windows.Items(1).WorkWindow;
  EXPECT_EQ(b.Scale.X, kFallbackScale);  // no picture size to derive it from
  EXPECT_EQ(b.Scale.Y, kFallbackScale);
  EXPECT_EQ(windows.Items(0).FloatPointToPoint(FloatPoint(10, 10)), (TPoint{1024, 0}));

  TWorkWindow sound;
  sound.Scale = FloatPoint(0.3L, 0.4L);
  EXPECT_FALSE(sound.MendScale());
  EXPECT_EQ(sound.Scale.X, 0.3L);
}

// ---- background and grid ----

class GridDrawTest : public EditWindowsTest {
 protected:
  void SetUp() override {
    EditWindowsTest::SetUp();
    // 10 x 10 box at 0.01 on a small screen: 1000 x 1000 pixels, grid step 1.
    windows.SetScreenSize({100, 100});
    AddBox(10, Projection::XY, false);
  }
  TEditorWindow& Win() { return windows.Items(0); }
  std::size_t Drawn() const { return canvas.Calls.size(); }
  RecordingCanvas canvas;
};

TEST_F(GridDrawTest, PlacementDecidesWhichPassDrawsTheGrid) {
  canvas.Pen.Color = 0xABCDEF;
  canvas.Brush.Color = 0x111111;
  windows.ClearWindow(0, canvas);
  ASSERT_EQ(canvas.CallsOf(CanvasOp::Rectangle).size(), 1u);
  const CanvasCall& fill = canvas.Calls[0];
  EXPECT_EQ(fill.Op, CanvasOp::Rectangle);
  EXPECT_EQ(fill.Points, (std::vector<TPoint>{{0, 0}, {1000, 1000}}));
  EXPECT_EQ(fill.Pen.Style, PenStyle::Clear);
  EXPECT_EQ(fill.Brush.Style, BrushStyle::Solid);
  EXPECT_EQ(fill.Brush.Color, 0xFFFFFFu);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Pixel).size(), 121u);  // placement 1: under the model
  EXPECT_EQ(canvas.Pen.Color, 0xABCDEFu);
  EXPECT_EQ(canvas.Brush.Color, 0x111111u);
  canvas.Clear();
  windows.DrawGridOver(0, canvas);
  EXPECT_EQ(Drawn(), 0u);

  for (std::uint8_t place : {0, 2}) {
    Win().Grid().Place = place;
    canvas.Clear();
    windows.ClearWindow(0, canvas);
    EXPECT_EQ(Drawn(), 1u) << int(place);
    canvas.Clear();
    windows.DrawGridOver(0, canvas);
    EXPECT_EQ(Drawn(), 121u) << int(place);
    EXPECT_EQ(canvas.Calls[0].Pen.Mode, place == 2 ? PenMode::Not : PenMode::Copy);
  }

  Win().Grid().ShowGrid = 0;
  for (std::uint8_t place : {0, 1, 2}) {
    Win().Grid().Place = place;
    canvas.Clear();
    windows.ClearWindow(0, canvas);
    windows.DrawGridOver(0, canvas);
    EXPECT_EQ(Drawn(), 1u) << int(place);  // the background only
  }
  canvas.Clear();
  windows.ClearWindow(5, canvas);
  windows.DrawGridOver(-1, canvas);
  EXPECT_EQ(Drawn(), 0u);
}

TEST_F(GridDrawTest, DotsCrossesLinesAndCircles) {
  Win().Grid().StepY = 2.5L;  // 11 columns, 5 rows
  Win().DrawGrid(canvas);
  auto dots = canvas.CallsOf(CanvasOp::Pixel);
  ASSERT_EQ(dots.size(), 55u);
  EXPECT_EQ(dots[0].Points[0], (TPoint{0, 1000}));
  EXPECT_EQ(dots[1].Points[0], (TPoint{0, 750}));
  EXPECT_EQ(dots[5].Points[0], (TPoint{100, 1000}));
  EXPECT_EQ(dots[54].Points[0], (TPoint{1000, 0}));
  EXPECT_EQ(dots[0].Color, 255u);
  EXPECT_EQ(dots[0].Pen.Color, 255u);
  EXPECT_EQ(dots[0].Pen.Style, PenStyle::Solid);

  canvas.Clear();
  Win().Grid().Style = 1;
  Win().DrawGrid(canvas);
  auto lines = canvas.CallsOf(CanvasOp::LineTo);
  ASSERT_EQ(lines.size(), 110u);
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{-2, 1000}, {3, 1000}}));
  EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{0, 998}, {0, 1003}}));

  canvas.Clear();
  Win().Grid().Style = 2;
  Win().DrawGrid(canvas);
  lines = canvas.CallsOf(CanvasOp::LineTo);
  ASSERT_EQ(lines.size(), 16u);  // 11 verticals, then 5 horizontals
  EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{0, 1000}, {0, 0}}));
  EXPECT_EQ(lines[10].Points, (std::vector<TPoint>{{1000, 1000}, {1000, 0}}));
  EXPECT_EQ(lines[11].Points, (std::vector<TPoint>{{0, 1000}, {1000, 1000}}));
  EXPECT_EQ(lines[15].Points, (std::vector<TPoint>{{0, 0}, {1000, 0}}));

  canvas.Clear();
  canvas.Brush.Style = BrushStyle::Solid;
  Win().Grid().Style = 3;
  Win().DrawGrid(canvas);
  auto circles = canvas.CallsOf(CanvasOp::Ellipse);
  ASSERT_EQ(circles.size(), 55u);
  EXPECT_EQ(circles[0].Points, (std::vector<TPoint>{{-2, 998}, {3, 1003}}));
  EXPECT_EQ(circles[0].Brush.Style, BrushStyle::Clear);
  EXPECT_EQ(canvas.Brush.Style, BrushStyle::Solid);

  canvas.Clear();
  Win().Grid().Style = 4;
  Win().DrawGrid(canvas);
  EXPECT_EQ(Drawn(), 0u);
}

TEST_F(GridDrawTest, TheGridFollowsTheProjectionsAxes) {
  // Projection 2 shows X and Z: the v steps come from StepZ.
  Win().WorkWindow.SetProjection(Projection::XZ);
  Win().Grid().StepY = 0;
  Win().Grid().StepZ = 5;
  Win().DrawGrid(canvas);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::Pixel).size(), 33u);
  canvas.Clear();
  Win().WorkWindow.SetProjection(Projection::YZ);  // Y and Z: StepY is 0, nothing
  Win().DrawGrid(canvas);
  EXPECT_EQ(Drawn(), 0u);
  Win().WorkWindow.SetProjection(CodeOfByte<Projection>(9));
  Win().DrawGrid(canvas);
  EXPECT_EQ(Drawn(), 0u);
}

TEST_F(GridDrawTest, UnusableStepsAndBoxesDrawNothingOnThatAxisAndEnd) {
  struct Case {
    const char* what;
    Extended stepX, stepY;
    std::size_t wantLines;  // style 2: verticals + horizontals
    std::size_t wantDots;   // style 0: needs both axes
  };
  const Case cases[] = {
      {"zero v step", 1, 0, 11, 0},
      {"negative u step", -1, 1, 11, 0},
      {"NaN step", kNaN, 1, 11, 0},
      {"infinite step", 1, kInf, 11, 0},
      {"both zero", 0, 0, 0, 0},
      {"finer than a pixel", 0.001L, 1, 11, 0},
      {"subnormal steps", 1e-4940L, 1e-4940L, 0, 0},
      {"coarse enough", 0.0625L, 1, 161 + 11, 161 * 11},
  };
  for (const Case& c : cases) {
    Win().Grid().StepX = c.stepX;
    Win().Grid().StepY = c.stepY;
    Win().Grid().Style = 2;
    canvas.Clear();
    Win().DrawGrid(canvas);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::LineTo).size(), c.wantLines) << c.what;
    Win().Grid().Style = 0;
    canvas.Clear();
    Win().DrawGrid(canvas);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::Pixel).size(), c.wantDots) << c.what;
  }

  // More nodes than the picture has pixels along the axis (a record whose size
  // disagrees with its box): that axis is skipped.
  Win().Grid().StepX = 1;
  Win().Grid().StepY = 1;
  Win().Grid().Style = 2;
  Win().WorkWindow.Width = 5;
  canvas.Clear();
  Win().DrawGrid(canvas);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::LineTo).size(), 11u);  // the horizontals only

  // Boxes that are not finite or are inverted end at once.
  Win().WorkWindow.Width = 1000;
  for (TFloatPoint3D min : {FloatPoint3D(-kInf, 0, 0), FloatPoint3D(kNaN, 0, 0), FloatPoint3D(11, 0, 0)}) {
    Win().WorkWindow.MinPoint = min;
    canvas.Clear();
    Win().DrawGrid(canvas);
    EXPECT_EQ(canvas.CallsOf(CanvasOp::LineTo).size(), 0u);  // verticals skipped; horizontals need a u range
  }

  // An unusable scale: nothing on that axis.
  Win().WorkWindow.MinPoint = FloatPoint3D(0, 0, 0);
  Win().WorkWindow.Scale.Y = 0;
  canvas.Clear();
  Win().DrawGrid(canvas);
  EXPECT_EQ(canvas.CallsOf(CanvasOp::LineTo).size(), 11u);
}

}  // namespace
}  // namespace tavir
