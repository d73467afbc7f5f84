// A rubber band begun while the result desk's picture waits for its repaint (a
// computation's refresh, a resize): the picture is made current before the band
// goes into it, so the waiting paint does not wipe the band and the band's own
// erasing leaves no trace of it.
#include <QApplication>
#include <QTest>

#include "calc_fixture.h"

namespace tavir::calctest {
namespace {

using DeskBand = CalcFixture;

TEST_F(DeskBand, ABandBegunOnAPictureThatWaitsForItsRepaintOutlivesThePaintAndLeavesNoTrace) {
  ASSERT_TRUE(Open(Example("plate_simply_supported.tps")));
  Static();
  dm.Run("AcService_Section");
  TDeskForm* desk = Desk(0);
  ASSERT_NE(desk, nullptr);
  desk->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(desk));
  desk->Repaint();
  QApplication::processEvents();
  const QImage clean = desk->Picture();

  desk->RepaintLater();  // the picture now waits for the next paint
  const long long drawings = desk->Drawings();
  QWidget* box = desk->PaintBox();
  QTest::mousePress(box, Qt::LeftButton, {}, QPoint(20, 30));
  QTest::mouseMove(box, QPoint(120, 90));
  QApplication::processEvents();  // the waiting paint
  EXPECT_EQ(desk->Drawings(), drawings + 1) << "drawn once, before the band";
  EXPECT_NE(desk->Picture(), clean) << "the band is still shown after the paint";

  QTest::mouseMove(box, QPoint(20, 30));  // back to the anchor: the band erased
  QApplication::processEvents();
  EXPECT_EQ(desk->Picture(), clean) << "erasing the band leaves the picture as it was";
  QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(20, 30));
  EXPECT_EQ(desk->Picture(), clean);
  EXPECT_EQ(form.Project().MouseMode(), MouseMode::View);
}

}  // namespace
}  // namespace tavir::calctest
