// Pictures of the analysis program's windows for a person to look at: the main
// window, a result view with isolines of the simply supported plate, the status
// window while a computation runs, and every dialog. Written into the pictures
// folder (tools/pictures.sh runs only these).
#include <QDir>
#include <QPixmap>
#include <QScrollArea>
#include <QTest>

#include "calc_fixture.h"
#include "editor/qt/shared/grid_dialog.h"

namespace tavir::calctest {
namespace {

QString PicturePath(const char* name) {
  QDir().mkpath(TAVIR_PICTURES);
  return QString(TAVIR_PICTURES) + "/calc_" + name + ".png";
}

void Save(QWidget& w, const char* name) {
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QApplication::processEvents();
  const QPixmap p = w.grab();
  ASSERT_FALSE(p.isNull());
  EXPECT_TRUE(p.save(PicturePath(name))) << name;
}

using Pictures = CalcFixture;

TEST_F(Pictures, MainWindowAndIsolinesOfThePlate) {
  form.resize(1100, 80);
  Save(form, "main_window");
  ASSERT_TRUE(Open(Example("plate_simply_supported.tps")));
  auto seen = std::make_shared<bool>(false);
  dm.StatusSeam().OnPump = [seen](CalcStatusWindow& s) {
    if (*seen || s.Form() == nullptr || s.Form()->CurrentStage() != 3) return;
    *seen = true;
    Save(*s.Form(), "status_window");
  };
  Static();
  EXPECT_TRUE(*seen);
  IsolinesWz();
  TDeskForm* desk = Desk(0);
  ASSERT_NE(desk, nullptr);
  const TGraphWindow& view = form.Windows().Items(0);
  desk->resize(view.Width() + 40, view.Height() + 70);
  desk->Repaint();
  EXPECT_TRUE(desk->Picture().save(PicturePath("isolines_picture")));
  Save(*desk, "result_view");
}

TEST_F(Pictures, FileDialogs) {
  auto grab = [](const char* name) {
    return [name](QDialog& d) {
      d.resize(760, 440);
      Save(d, name);
      d.hide();
      return static_cast<int>(QDialog::Rejected);
    };
  };
  dialogs.Handlers["OpenDialog"] = grab("open_dialog");
  dm.Run("acFileOpen");
  ASSERT_TRUE(Open(Example("plate_clamped.tps")));
  dialogs.Handlers["ExportDialog"] = grab("export_dialog");
  dm.Run("acFileExport");
  EXPECT_EQ(dialogs.Count("ExportDialog"), 1);
}

TEST_F(Pictures, Dialogs) {
  TIsoParams_Form iso;
  TIsoParamsRec r;
  r.Kind = ResultKind::Wz;
  r.MinValue = -0.0123;
  r.MaxValue = 0;
  r.StepCount = 10;
  r.Step = 0.00123;
  r.LabelStep = 3;
  iso.GetIsoParams(r);
  Save(iso, "iso_params");
  TDrawModesForm modes;
  modes.SetState(DrawModesFromFlags(0x440C, 2));
  Save(modes, "draw_modes");
  TStressPosForm stress;
  stress.SetLayerCount(3);
  stress.GetStressPos(0);
  Save(stress, "stress_pos");
  TScaleForm scale(msgs);
  Save(scale, "scale");
  TAdaptParsDlg adapt(msgs);
  adapt.GetAdaptParams();
  adapt.SetHasSurfaces(true);
  Save(adapt, "adapt_params");
  TGridDialog grid(msgs);
  grid.Grid.SetStepX(1);
  grid.Grid.SetStepY(1);
  grid.SetMaxPoint(FloatPoint3D(10, 10, 10));
  grid.SetProjection(Projection::XY);
  grid.RefreshControls();
  Save(grid, "grid_dialog");
  TStatusForm status({});
  status.FirstStage();
  status.SetCell(1, 7, "3");
  Save(status, "status_form");
}

}  // namespace
}  // namespace tavir::calctest
