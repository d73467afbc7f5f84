// The result desk window with real mouse events: rubber bands drawn with NOT XOR,
// the section and new-view gestures, scrolling past the edge.
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "calc_fixture.h"
#include "fakes/told_frame.h"
#include "model/symbols.h"
#include "platform/wmf_reader.h"

namespace tavir::calctest {
namespace {

class Desk : public CalcFixture {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Open(Example("plate_simply_supported.tps")));
    Static();
    desk = CalcFixture::Desk(0);
    ASSERT_NE(desk, nullptr);
    desk->Repaint();
  }
  QWidget* Box() { return desk->PaintBox(); }
  TDeskForm* desk = nullptr;
};

TEST_F(Desk, RubberLineDrawnTwiceErasesItself) {
  dm.Run("AcService_Section");
  const QImage before = desk->Picture();
  QTest::mousePress(Box(), Qt::LeftButton, {}, QPoint(20, 30));
  QTest::mouseMove(Box(), QPoint(120, 90));
  const QImage band = desk->Picture();
  EXPECT_NE(band, before) << "the band is drawn";
  QTest::mouseMove(Box(), QPoint(20, 30));  // back to the anchor: a band of no size
  EXPECT_EQ(desk->Picture(), before) << "NOT XOR: the band is gone, the picture intact";
  QTest::mouseRelease(Box(), Qt::LeftButton, {}, QPoint(20, 30));
  EXPECT_EQ(form.Windows().Count(), 1) << "a click makes no section";
  EXPECT_EQ(form.Project().MouseMode(), MouseMode::View);
}

TEST_F(Desk, SectionGestureMakesASectionView) {
  dm.Run("AcService_Section");
  const TGraphWindow& plan = form.Windows().Items(0);
  const int y = plan.Height() / 2;
  QTest::mousePress(Box(), Qt::LeftButton, {}, QPoint(10, y));
  QTest::mouseMove(Box(), QPoint(plan.Width() / 3, y));
  QTest::mouseRelease(Box(), Qt::LeftButton, {}, QPoint(plan.Width() - 10, y));
  ASSERT_EQ(form.Windows().Count(), 2);
  EXPECT_EQ(form.Windows().Items(1).Kind(), Projection::XZ);
  EXPECT_EQ(form.Project().MouseMode(), MouseMode::View);
  EXPECT_TRUE(form.Scene().Line.Shown);
  ASSERT_NE(CalcFixture::Desk(1), nullptr);
  EXPECT_TRUE(CalcFixture::Desk(1)->isVisible());
}

TEST_F(Desk, NewViewRectangleEitherWay) {
  const TGraphWindow& plan = form.Windows().Items(0);
  const QPoint a(plan.Width() / 4, plan.Height() / 4), b(plan.Width() / 2, plan.Height() / 2);
  std::vector<std::pair<TFloatPoint3D, TFloatPoint3D>> boxes;
  for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, a}}) {
    form.Windows().SetCurrent(0);
    dm.Run("acWinNew");
    EXPECT_EQ(form.Project().MouseMode(), MouseMode::NewWindow);
    QTest::mousePress(Box(), Qt::LeftButton, {}, from);
    QTest::mouseMove(Box(), (from + to) / 2);
    QTest::mouseRelease(Box(), Qt::LeftButton, {}, to);
    const TGraphWindow& v = form.Windows().Items(form.Windows().Count() - 1);
    EXPECT_EQ(v.Kind(), Projection::XY);
    boxes.emplace_back(v.View.MinPoint, v.View.MaxPoint);
  }
  ASSERT_EQ(form.Windows().Count(), 3);
  EXPECT_EQ(boxes[0].first.X, boxes[1].first.X);
  EXPECT_EQ(boxes[0].second.Y, boxes[1].second.Y);
  EXPECT_LT(boxes[0].first.X, boxes[0].second.X);
}

TEST_F(Desk, DraggingPastTheRightEdgeScrollsAndKeepsOneBand) {
  // A picture wider than the window.
  dm.Run("acViewZoomIn");
  dm.Run("acViewZoomIn");
  desk->resize(300, 300);
  desk->Repaint();
  QScrollBar* h = desk->ScrollBox()->horizontalScrollBar();
  ASSERT_GT(h->maximum(), 0);
  dm.Run("acWinNew");
  QTest::mousePress(Box(), Qt::LeftButton, {}, QPoint(20, 20));
  const int edge = desk->ScrollBox()->viewport()->width();
  QTest::mouseMove(Box(), QPoint(edge, 60));
  EXPECT_EQ(h->value(), 10);
  QTest::mouseMove(Box(), QPoint(edge + 10, 60));
  EXPECT_EQ(h->value(), 20);
  // Exactly one band is shown: the release erases it (draws it once more), which
  // leaves the picture as a fresh repaint at this scroll position paints it.
  const QImage withBand = desk->Picture();
  QTest::mouseRelease(Box(), Qt::LeftButton, {}, QPoint(edge + 10, 60));
  const QImage released = desk->Picture();
  EXPECT_NE(withBand, released);
  desk->Repaint();
  EXPECT_EQ(released, desk->Picture());
}

}  // namespace
}  // namespace tavir::calctest

namespace tavir::calctest {
namespace {

TEST_F(Desk, ActivationMakesTheViewCurrentWithItsCaptionAndGridMarks) {
  IsolinesWz();
  dm.Run("AcService_Create3D");
  ASSERT_EQ(form.Windows().Current(), 1);
  form.Windows().Items(0).Grid().SetStyle(1);
  desk->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(desk));
  QApplication::setActiveWindow(desk);
  QApplication::processEvents();
  EXPECT_EQ(form.Windows().Current(), 0);
  EXPECT_EQ(desk->StatusText(1), "Изолинии перемещений вдоль оси Z");
  EXPECT_TRUE(dm.Action("AcGrid_Cross")->isChecked());
}

TEST_F(Desk, ADeskKeepsClearOfTheMainStrip) {
  form.ShowAsStrip();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  // Clear of the strip's frame, not only of its client area.
  const int bottom = form.frameGeometry().bottom() + 1;
  desk->move(desk->x(), form.y());
  const int height = desk->height() + 20;
  desk->resize(desk->width() + 10, height);  // a resize runs the rule
  QApplication::processEvents();
  EXPECT_GE(desk->y(), bottom);
  EXPECT_EQ(desk->height(), std::max(100, height - form.frameGeometry().height()));
}

// Told the frame a window manager draws, the main strip stands as a maximised
// window, its title bar with the open project's name on the screen.
TEST_F(Desk, TheMainStripShowsItsWholeFrameOnceTheFrameIsTold) {
  form.ShowAsStrip();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ASSERT_TRUE(test::TellFrame(form));
  EXPECT_TRUE(test::StandsAsTopStrip(form));
  // Put where only its client area fits the screen's corner, it comes whole
  // onto the screen once its frame is told.
  const QRect area = desk->screen()->availableGeometry();
  desk->setGeometry(QRect(area.bottomRight() - QPoint(desk->width() - 1, desk->height() - 1), desk->size()));
  ASSERT_TRUE(test::TellFrame(*desk));
  EXPECT_TRUE(area.contains(desk->geometry().marginsAdded(test::kToldFrame)));
}

// A zoom repaints the picture once, for the visible part it leaves: the scroll
// bars that come or go with the new picture size do not make the next paint
// event draw the whole picture again, and that paint shows what the zoom drew.
TEST_F(Desk, AZoomRepaintsThePictureOnceForTheScrollBarsItBrings) {
  desk->resize(1500, 1100);
  desk->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(desk));
  QApplication::processEvents();
  for (const char* zoom : {"acViewZoomIn", "acViewZoomOut", "acViewZoomIn", "acViewZoomIn"}) {
    const QImage before = desk->Picture();
    const QSize pictureBefore = desk->PaintBox()->size();
    const long long drawings = desk->Drawings();
    dm.Run(zoom);
    EXPECT_NE(desk->Picture(), before) << zoom << ": the zoom shows the model anew";
    QApplication::processEvents();
    EXPECT_NE(desk->PaintBox()->size(), pictureBefore) << zoom;
    EXPECT_EQ(desk->Drawings(), drawings + 1) << zoom << ": the picture is drawn once";
    EXPECT_EQ(desk->Picture().size(), desk->ScrollBox()->viewport()->size().boundedTo(desk->PaintBox()->size()))
        << zoom << ": the picture covers the visible part";
  }
}

// Counts the windows of one name that are shown.
class ShowCounter : public QObject {
 public:
  explicit ShowCounter(QString name) : name_(std::move(name)) { QApplication::instance()->installEventFilter(this); }
  ~ShowCounter() override { QApplication::instance()->removeEventFilter(this); }
  int Count = 0;
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Show && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow() && o->objectName() == name_)
      ++Count;
    return false;
  }

 private:
  QString name_;
};

// After every command that changes the picture, the desk shows exactly the view
// as the library paints it onto a fresh canvas of the visible part; the isoline
// values prepared once are not prepared again (no progress box) by the repaints.
TEST_F(Desk, ZoomPanAndRepaintShowTheLibraryPictureWithoutPreparingTheValuesAgain) {
  desk->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(desk));
  ShowCounter boxes("InfoDlgForm");
  IsolinesWz();
  ASSERT_GE(boxes.Count, 1) << "the preparation shows its progress box";
  boxes.Count = 0;
  const std::vector<std::pair<const char*, std::function<void()>>> steps = {
      {"zoom in", [&] { dm.Run("acViewZoomIn"); }},
      {"page down", [&] { desk->ScrollBox()->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); }},
      {"page right", [&] { desk->ScrollBox()->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd); }},
      {"repaint", [&] { desk->Repaint(); }},
      {"zoom out", [&] { dm.Run("acViewZoomOut"); }},
  };
  for (const auto& [name, step] : steps) {
    step();
    QApplication::processEvents();
    const QImage shown = desk->Picture();
    BuiltInImageCanvas library(shown.size(), nullptr, &DrawBuiltInSymbol);
    library.SetOrigin({desk->ScrollBox()->horizontalScrollBar()->value(), desk->ScrollBox()->verticalScrollBar()->value()});
    DrawFailures failures;
    PaintResultView(form.Windows().Items(0), form.Scene(), library, failures);
    EXPECT_EQ(failures.Count(), 0) << name;
    EXPECT_EQ(shown, library.Image()) << name;
    EXPECT_GT(std::count_if(reinterpret_cast<const QRgb*>(shown.constBits()),
                            reinterpret_cast<const QRgb*>(shown.constBits()) + shown.sizeInBytes() / 4, IsolinePixel),
              0)
        << name << ": the isolines are drawn";
  }
  EXPECT_EQ(boxes.Count, 0) << "the values were prepared again";
}

}  // namespace
}  // namespace tavir::calctest

namespace tavir::calctest {
namespace {

// A section window closed with its title-bar button is hidden, not freed: the
// commands and the export act on the plan still on screen, and with no window
// shown they do nothing.
TEST_F(CalcFixture, ClosingAResultWindowLeavesTheCommandsToAShownOne) {
  ASSERT_TRUE(Open(Example("shell_spherical.tps")));
  Static();
  TDeskForm* plan = Desk(0);
  ASSERT_NE(plan, nullptr);
  plan->Repaint();
  dm.Run("AcService_Section");
  const TGraphWindow& planView = form.Windows().Items(0);
  const int y = planView.Height() / 2;
  QTest::mousePress(plan->PaintBox(), Qt::LeftButton, {}, QPoint(10, y));
  QTest::mouseMove(plan->PaintBox(), QPoint(planView.Width() / 3, y));
  QTest::mouseRelease(plan->PaintBox(), Qt::LeftButton, {}, QPoint(planView.Width() - 10, y));
  ASSERT_EQ(form.Windows().Count(), 2);
  TDeskForm* section = Desk(1);
  ASSERT_NE(section, nullptr);
  ASSERT_TRUE(section->isVisible());
  ASSERT_EQ(form.Windows().Current(), 1);
  form.Windows().Items(0).Grid().SetStyle(1);

  EXPECT_TRUE(section->close());
  EXPECT_FALSE(section->isVisible());
  EXPECT_EQ(form.Windows().Current(), 0);
  EXPECT_TRUE(dm.Action("AcGrid_Cross")->isChecked()) << "the grid marks are the plan's";

  const Extended planScale = planView.View.Scale.X;
  const Extended sectionScale = form.Windows().Items(1).View.Scale.X;
  dm.Run("acViewZoomIn");
  EXPECT_EQ(planView.View.Scale.X, planScale / 2);
  EXPECT_EQ(form.Windows().Items(1).View.Scale.X, sectionScale);
  dm.Run("AcGrid_Dot");
  EXPECT_FALSE(section->isVisible()) << "no command shows the closed window again";
  EXPECT_EQ(form.Windows().Items(0).Grid().Style, 0);

  const auto wmfPath = TempDir() / "shown.wmf";
  dialogs.ChooseFile("ExportDialog", wmfPath.string());
  dm.Run("acFileExport");
  ASSERT_TRUE(std::filesystem::exists(wmfPath));
  const std::vector<char> bytes = FileBytes(wmfPath.string());
  const auto wmf = testing_wmf::ReadWmf(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  ASSERT_EQ(wmf.Error, "");
  EXPECT_EQ(wmf.Right - wmf.Left, planView.Width()) << "the metafile is the plan on screen";
  EXPECT_EQ(wmf.Bottom - wmf.Top, planView.Height());

  // The last shown window closed: nothing left to act on.
  EXPECT_TRUE(plan->close());
  EXPECT_EQ(form.Windows().CurrentWindow(), nullptr);
  EXPECT_FALSE(dm.Action("acViewZoomIn")->isEnabled());
  EXPECT_FALSE(dm.Action("acFileExport")->isEnabled());
  const int exports = dialogs.Count("ExportDialog");
  dm.Run("acFileExport");
  dm.Run("acViewZoomIn");
  EXPECT_EQ(dialogs.Count("ExportDialog"), exports);
  EXPECT_EQ(planView.View.Scale.X, planScale / 2);
  EXPECT_FALSE(plan->isVisible());
  EXPECT_FALSE(section->isVisible());
  EXPECT_EQ(Errors(), 0);
}

}  // namespace
}  // namespace tavir::calctest
