#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QTest>

#include "fakes/paint_counter.h"
#include "platform/qt/info_dlg.h"

namespace tavir {
namespace {

TEST(TInfoDlgForm, HasTwoCaptionsAndTwoBarsRunningFromZeroToHundred) {
  TInfoDlgForm form;
  EXPECT_EQ(form.size(), QSize(354, 111));
  for (const char* name : {"Lbl_Current", "PrgBar_Current", "Lbl_Total", "PrgBar_Total"})
    EXPECT_NE(form.findChild<QWidget*>(name), nullptr) << name;
  EXPECT_LT(form.Lbl_Current->geometry().top(), form.PrgBar_Current->geometry().top());
  EXPECT_LT(form.PrgBar_Current->geometry().bottom(), form.Lbl_Total->geometry().top());
  EXPECT_LT(form.Lbl_Total->geometry().bottom(), form.PrgBar_Total->geometry().top());
  EXPECT_LE(form.PrgBar_Total->geometry().bottom(), 111);
  for (ProgressBar* bar : {form.PrgBar_Current, form.PrgBar_Total}) {
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), 100);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
  }
}

TEST(TInfoDlgForm, StepItWrapsPastTheMaximum) {
  TInfoDlgForm form;
  ProgressBar* bar = form.PrgBar_Total;
  bar->SetRange(0, 50);
  bar->SetStep(20);
  bar->SetPosition(40);
  bar->StepIt();
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_EQ(bar->value(), 10) << "the bar shows the wrapped position";
  bar->StepIt();
  EXPECT_EQ(bar->value(), 30);
}

TEST(TInfoDlgForm, PaintsEveryChangeInsideASynchronousLoop) {
  TInfoDlgForm form;
  form.ShowModeless(true);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  QApplication::processEvents();
  PaintCounter bar, label;
  form.PrgBar_Current->installEventFilter(&bar);
  form.Lbl_Current->installEventFilter(&label);
  // The work loop never returns to the event loop.
  for (int i = 0; i < 5; ++i) {
    form.SetLabel("Шаг " + std::to_string(i));
    form.PrgBar_Current->StepIt();
  }
  EXPECT_GE(bar.Count, 5);
  EXPECT_GE(label.Count, 5);
  EXPECT_EQ(form.PrgBar_Current->value(), 50);
  EXPECT_EQ(form.Lbl_Current->text(), QString("Шаг 4"));
}

TEST(TInfoDlgForm, ObserverCallsDriveTheTwoBars) {
  TInfoDlgForm form;
  ProgressObserver& observer = form;
  observer.SetLabel("Подготовка узлов");
  observer.SetBar(3, 12);
  observer.SetLabel2("Всего");
  observer.SetBar2(1, 4);
  EXPECT_EQ(form.Lbl_Current->text(), QString("Подготовка узлов"));
  EXPECT_EQ(form.PrgBar_Current->maximum(), 12);
  EXPECT_EQ(form.PrgBar_Current->value(), 3);
  EXPECT_EQ(form.Lbl_Total->text(), QString("Всего"));
  EXPECT_EQ(form.PrgBar_Total->maximum(), 4);
  EXPECT_EQ(form.PrgBar_Total->value(), 1);
  observer.SetBar(6000000000LL, 12000000000LL);
  EXPECT_EQ(form.PrgBar_Current->value() * 2, form.PrgBar_Current->maximum()) << "counts beyond int in proportion";
}

// A work that reports every one of many items is not slowed by painting each:
// the bar is painted when a pixel of it moves and no faster than a person sees,
// its end at once; a caption or Pump() shows where it stands.
TEST(TInfoDlgForm, ObserverPaintsABarOnlyWhenItVisiblyMovesAndShowsItsEnd) {
  TInfoDlgForm form;
  form.ShowModeless();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QApplication::processEvents();
  PaintCounter bar;
  form.PrgBar_Current->installEventFilter(&bar);
  ProgressObserver& observer = form;
  constexpr long long kItems = 200000;
  QElapsedTimer clock;
  clock.start();
  observer.SetBar(0, kItems);
  for (long long i = 1; i <= kItems; ++i) observer.SetBar(i, kItems);
  const long long limit = 3 + clock.elapsed() / TInfoDlgForm::kRepaintInterval.count();
  EXPECT_LE(bar.Count, limit) << "painted " << bar.Count << " times in " << clock.elapsed() << " ms";
  EXPECT_EQ(form.PrgBar_Current->value(), kItems) << "the end is shown at once";

  observer.SetBar(0, 1000);
  observer.SetBar(437, 1000);
  observer.SetLabel("Следующий этап");
  EXPECT_EQ(form.PrgBar_Current->value(), 437) << "a new caption shows where the bar stands";
  observer.SetBar2(0, 1000);
  observer.SetBar2(611, 1000);
  observer.Pump();
  EXPECT_EQ(form.PrgBar_Total->value(), 611) << "Pump shows where the bar stands";
}

// Reports that come slower than the repaint interval are each painted at once.
TEST(TInfoDlgForm, ObserverPaintsSlowReportsAtOnce) {
  TInfoDlgForm form;
  form.ShowModeless();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  ProgressObserver& observer = form;
  observer.SetBar(0, 10);
  for (int i = 1; i < 4; ++i) {
    QTest::qSleep(static_cast<int>(TInfoDlgForm::kRepaintInterval.count()) + 10);
    observer.SetBar(i, 10);
    EXPECT_EQ(form.PrgBar_Current->value(), i);
  }
}

TEST(TInfoDlgForm, CyrillicCaptionsFitAndArePictured) {
  TInfoDlgForm form;
  const QString current = "Подготовка данных для построения изолиний...";
  const QString total = "Вычисление средних толщин в узлах сетки";
  form.SetCurrentCaption(current);
  form.SetTotalCaption(total);
  form.PrgBar_Current->SetPosition(40);
  form.PrgBar_Total->SetPosition(70);
  form.ShowModeless();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  for (QLabel* label : {form.Lbl_Current, form.Lbl_Total}) {
    const QFontMetrics fm(label->font());
    EXPECT_LE(fm.horizontalAdvance(label->text()), label->contentsRect().width()) << label->objectName().toStdString();
    EXPECT_LE(fm.height(), label->contentsRect().height()) << label->objectName().toStdString();
  }
  ASSERT_TRUE(QDir().mkpath(TAVIR_PICTURES));
  EXPECT_TRUE(form.grab().save(QString(TAVIR_PICTURES) + "/info_dlg.png"));
}

}  // namespace
}  // namespace tavir
