// The analysis program driven by command names, as a user would: open, analyse,
// isolines, export; refused files, a singular model, Break.
#include <QScrollArea>
#include <QScrollBar>
#include <QRadioButton>
#include <QTest>
#include <algorithm>

#include "calc_fixture.h"
#include "platform/qt/radio_group.h"
#include "platform/wmf_canvas.h"
#include "platform/wmf_reader.h"
#include "viewer/isolines.h"
#include "viewer/example_models.h"
#include "wmf2svg.h"
#include "fakes/scripted_messages.h"

namespace tavir::calctest {
namespace {

class EndToEnd : public CalcFixture, public ::testing::WithParamInterface<std::string> {};

// Every row the status window highlighted while it was shown, and its texts.
struct StatusSeen {
  std::vector<int> Stages;
  std::vector<QString> Column0;
};

TEST_P(EndToEnd, OpenAnalyseIsolinesExport) {
  auto seen = std::make_shared<StatusSeen>();
  dm.StatusSeam().OnPump = [seen](CalcStatusWindow& s) {
    TStatusForm* f = s.Form();
    if (f == nullptr || !f->isVisible()) return;
    if (seen->Stages.empty() || seen->Stages.back() != f->CurrentStage()) seen->Stages.push_back(f->CurrentStage());
    if (seen->Column0.empty())
      for (int r = 0; r < TStatusForm::kRows; ++r) seen->Column0.push_back(f->Cell(0, r));
  };
  ASSERT_TRUE(Open(Example(GetParam())));
  EXPECT_EQ(form.windowTitle().toStdString(),
            std::string(kCalcMainCaption) + " [" + GetParam() + "]");
  ASSERT_EQ(form.Windows().Count(), 1);
  ASSERT_NE(Desk(0), nullptr);
  EXPECT_TRUE(Desk(0)->isVisible());

  Static();
  EXPECT_EQ(Errors(), 0) << (msgs.Shown.empty() ? "" : msgs.Shown.back().Text);
  EXPECT_TRUE(form.Project().HasResults());
  EXPECT_EQ(seen->Stages, (std::vector<int>{1, 2, 3, 5}));
  ASSERT_EQ(seen->Column0.size(), 12u);
  EXPECT_EQ(seen->Column0[0], "Текущий процесс");
  EXPECT_EQ(seen->Column0[3], "Решение системы уравнений");
  EXPECT_EQ(seen->Column0[11], "На предыдущей итерации:");
  EXPECT_EQ(VisibleStatusForm(), nullptr) << "the status window is closed after the analysis";
  EXPECT_TRUE(dm.Action("acFileOpen")->isEnabled());

  IsolinesWz();
  EXPECT_EQ(dialogs.Count("IsoParams_Form"), 1);
  EXPECT_TRUE(form.Project().IsoVisible());
  EXPECT_EQ(Desk(0)->StatusText(1).toStdString(), "");  // until the desk is activated
  const QImage picture = Desk(0)->Picture();
  int isolinePixels = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) isolinePixels += IsolinePixel(picture.pixel(x, y)) ? 1 : 0;
  EXPECT_GT(isolinePixels, 50);

  // A name without extension: the dialog appends the proposed "wmf".
  const auto stem = TempDir() / std::filesystem::path(GetParam()).stem();
  const auto wmf = std::filesystem::path(stem.string() + ".wmf");
  std::filesystem::remove(wmf);
  dialogs.ChooseFile("ExportDialog", stem.string());
  dm.Run("acFileExport");
  ASSERT_TRUE(std::filesystem::exists(wmf)) << wmf;
  const std::string svg = testing::Wmf2Svg(wmf);
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  std::size_t polygons = 0;
  for (auto at = svg.find("<polygon"); at != std::string::npos; at = svg.find("<polygon", at + 1)) ++polygons;
  // Every element is a polygon (support symbols add theirs).
  EXPECT_GE(polygons, static_cast<std::size_t>(form.Project().Elements().Count()));
  EXPECT_NE(svg.find("<text"), std::string::npos) << "isoline labels";
}

INSTANTIATE_TEST_SUITE_P(Examples, EndToEnd, ::testing::ValuesIn(ExampleNames()),
                         [](const auto& info) {
                           std::string n = info.param;
                           std::replace_if(n.begin(), n.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                           return n;
                         });

TEST_F(CalcFixture, IsolinesOfTheSymmetricPlateAreMirrorSymmetric) {
  ASSERT_TRUE(Open(Example("plate_simply_supported.tps")));
  Static();
  IsolinesWz();
  TDeskForm* desk = Desk(0);
  ASSERT_NE(desk, nullptr);
  // The whole picture in view, so the image is the picture itself.
  const TGraphWindow& view = form.Windows().Items(0);
  desk->resize(view.Width() + 60, view.Height() + 80);
  desk->Repaint();
  ASSERT_EQ(desk->ScrollBox()->horizontalScrollBar()->maximum(), 0);
  const QImage p = desk->Picture();
  ASSERT_EQ(p.width(), view.Width());
  // The plate lies in the middle of the view's box: x mirrors to W - x.
  auto hit = [&](int x, int y) {
    for (int dx = -2; dx <= 2; ++dx) {
      const int xx = x + dx;
      if (xx >= 0 && xx < p.width() && IsolinePixel(p.pixel(xx, y))) return true;
    }
    return false;
  };
  int total = 0, mirrored = 0;
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x)
      if (IsolinePixel(p.pixel(x, y))) {
        ++total;
        mirrored += hit(p.width() - x, y) ? 1 : 0;
      }
  ASSERT_GT(total, 100);
  EXPECT_GE(mirrored, total * 95 / 100) << mirrored << " of " << total;
}

TEST_F(CalcFixture, TruncatedFileLeavesModelViewsAndCaption) {
  ASSERT_TRUE(Open(Example("plate_simply_supported.tps")));
  Static();
  IsolinesWz();
  const QString caption = form.windowTitle();
  const int knots = form.Project().Knots().Count();
  const QImage before = Desk(0)->Picture();
  auto bytes = FileBytes(Example("plate_clamped.tps"));
  bytes.resize(bytes.size() / 2);
  const auto broken = TempDir() / "broken.tps";
  WriteBytes(broken, bytes);
  const int errors = Errors();

  Open(broken.string());
  ASSERT_EQ(Errors(), errors + 1);
  EXPECT_EQ(msgs.Shown.back().Caption, "Ошибка");
  EXPECT_EQ(form.windowTitle(), caption);
  EXPECT_EQ(form.Project().Knots().Count(), knots);
  EXPECT_TRUE(form.Project().HasResults());
  EXPECT_TRUE(form.Project().IsoVisible());
  EXPECT_EQ(form.Windows().Count(), 1);
  Desk(0)->Repaint();
  EXPECT_EQ(Desk(0)->Picture(), before);
}

TEST_F(CalcFixture, ExtensionInCapitalsIsRefused) {
  const auto upper = TempDir() / "PLATE.TPS";
  WriteBytes(upper, FileBytes(Example("plate_clamped.tps")));
  Open(upper.string());
  ASSERT_FALSE(msgs.Shown.empty());
  EXPECT_EQ(msgs.Shown.back().Text, kUnknownFormatText);
  EXPECT_EQ(msgs.Shown.back().Caption, "Ошибка");
  EXPECT_EQ(form.Windows().Count(), 0);
  EXPECT_EQ(form.windowTitle().toStdString(), std::string(kCalcMainCaption) + " []");
}

TEST_F(CalcFixture, CancelledOpenShowsEmptyBrackets) {
  dm.Run("acFileOpen");  // no handler for the dialog: cancelled
  EXPECT_EQ(dialogs.Count("OpenDialog"), 1);
  EXPECT_EQ(form.windowTitle().toStdString(), std::string(kCalcMainCaption) + " []");
}

// A plate without supports: the system is singular.
TEST_F(CalcFixture, ModelWithoutSupportsNamesKnotAndFreedom) {
  testing::EditorState e;
  TVelEditorProject& p = e.Project;
  const auto g = examples::BuildGrid(p, 2, 2, 2, 2, [](TGeometricElement& s, int, int) { examples::SetSingleLayer(s, 0.1L); });
  for (TMLEditorShell* s : g.Shells) examples::AddSurfaceLoad(p, s, -1);
  const auto file = TempDir() / "free_plate.tps";
  const auto bytes = examples::SaveWithWindow(e, 2, 2);
  WriteBytes(file, std::vector<char>(bytes.begin(), bytes.end()));
  ASSERT_TRUE(Open(file.string()));
  Static();
  ASSERT_EQ(Errors(), 1);
  const std::string text = msgs.Shown.back().Text;
  EXPECT_NE(text.find("узел "), std::string::npos) << text;
  EXPECT_NE(text.find("степень свободы"), std::string::npos) << text;
  EXPECT_FALSE(form.Project().HasResults());
  EXPECT_EQ(VisibleStatusForm(), nullptr);
  IsolinesWz();
  EXPECT_EQ(dialogs.Count("IsoParams_Form"), 0) << "no isolines without results";
  EXPECT_FALSE(form.Project().IsoVisible());
}

// A 10 x 10 simply supported plate: the deflection's maximum is 0, so the
// maximum level is the zero level. It is drawn once, and the exported view holds
// no label over another (each would hide the one under its white box).
TEST_F(CalcFixture, AZeroMaximumIsDrawnOnceAndNoExportedLabelCoversAnother) {
  const auto file = TempDir() / "plate10.tps";
  const auto bytes = examples::SimplySupportedPlate(10);
  WriteBytes(file, std::vector<char>(bytes.begin(), bytes.end()));
  ASSERT_TRUE(Open(file.string()));
  Static();
  ASSERT_EQ(Errors(), 0);
  IsolinesWz();
  ASSERT_EQ(form.Project().IsoParams().MaxValue, 0);

  const auto wmfPath = TempDir() / "plate10.wmf";
  dialogs.ChooseFile("ExportDialog", wmfPath.string());
  dm.Run("acFileExport");
  const std::vector<char> raw = FileBytes(wmfPath.string());
  const auto wmf = testing_wmf::ReadWmf(std::vector<std::uint8_t>(raw.begin(), raw.end()));
  ASSERT_EQ(wmf.Error, "");
  // The labels as the metafile canvas measured them when it placed them.
  WmfCanvas measure(1, 1);
  measure.Font.Size = 5;
  std::vector<LabelBox> boxes;
  int zeros = 0;
  for (const auto& r : wmf.Of(wmf::kTextOut)) {
    const std::size_t n = r.Word(0);
    const std::string text(r.Params.begin() + 2, r.Params.begin() + 2 + static_cast<std::ptrdiff_t>(n));
    const std::size_t at = (n + 1) / 2 + 1;
    const int y = r.Int(at), x = r.Int(at + 1);
    const PixelSize size = measure.TextExtent(text);
    boxes.push_back(LabelBox{x, y, std::int64_t{x} + size.Width, std::int64_t{y} + size.Height});
    zeros += text == IsoLabelText(0) ? 1 : 0;
  }
  ASSERT_GT(zeros, 0);
  ASSERT_GT(boxes.size(), static_cast<std::size_t>(zeros)) << "the other levels are labelled too";
  std::size_t overlapping = 0;
  for (std::size_t i = 0; i < boxes.size(); ++i)
    for (std::size_t j = i + 1; j < boxes.size(); ++j) overlapping += boxes[i].Overlaps(boxes[j]) ? 1 : 0;
  EXPECT_EQ(overlapping, 0u) << zeros << " zero labels of " << boxes.size();
  // The zero level is the only one labelled along the edges: at most one label
  // per edge element, not two.
  EXPECT_LE(zeros, 4 * 10);
}

TEST_F(CalcFixture, AdaptationStoppedWithBreak) {
  ASSERT_TRUE(Open(Example("shell_spherical.tps")));
  dialogs.Accept("AdaptParsDlg");
  int pumps = 0;
  dm.StatusSeam().OnPump = [&](CalcStatusWindow& s) {
    if (++pumps == 1 && s.Form() != nullptr) s.Form()->findChild<QPushButton*>("Btn_Breake")->click();
  };
  dm.Run("AcSolv_Adaptation");
  const auto t = Texts();
  ASSERT_GE(t.size(), 2u);
  EXPECT_EQ(t[t.size() - 2].rfind(kPotentialEnergyText, 0), 0u) << t[t.size() - 2];
  EXPECT_EQ(t.back(), kAdaptBrokenText);
  EXPECT_TRUE(form.Project().HasResults()) << "the stresses of the last iteration are computed";
  EXPECT_EQ(VisibleStatusForm(), nullptr);
}

TEST_F(CalcFixture, BreakStopsTheStaticAnalysis) {
  ASSERT_TRUE(Open(Example("plate_clamped.tps")));
  dm.StatusSeam().OnPump = [](CalcStatusWindow& s) {
    if (s.Form() != nullptr) QTest::keyClick(s.Form(), Qt::Key_Escape);
  };
  Static();
  ASSERT_FALSE(msgs.Shown.empty());
  EXPECT_EQ(msgs.Shown.back().Text, kCalcBrokenText);
  EXPECT_FALSE(form.Project().HasResults());
  EXPECT_EQ(VisibleStatusForm(), nullptr);
}

TEST_F(CalcFixture, ClosingTheMainWindowDuringAnAnalysisIsBreak) {
  ASSERT_TRUE(Open(Example("plate_clamped.tps")));
  form.show();
  bool closed = true;
  dm.StatusSeam().OnPump = [&](CalcStatusWindow&) { closed = form.close() && closed; };
  Static();
  EXPECT_FALSE(closed);
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(msgs.Shown.back().Text, kCalcBrokenText);
}

TEST_F(CalcFixture, CommandsAreDisabledWhileAComputationRuns) {
  ASSERT_TRUE(Open(Example("plate_clamped.tps")));
  int enabled = 0, pumps = 0;
  dm.StatusSeam().OnPump = [&](CalcStatusWindow&) {
    ++pumps;
    for (const QString& n : dm.ActionNames()) enabled += dm.Action(n)->isEnabled() ? 1 : 0;
    dm.Run("acFileOpen");
    dm.Run("AcSolve_StaticCalculate");
  };
  Static();
  EXPECT_GT(pumps, 0);
  EXPECT_EQ(enabled, 0);
  EXPECT_EQ(dialogs.Count("OpenDialog"), 1) << "only the first open ran";
  EXPECT_EQ(Errors(), 0);
  EXPECT_TRUE(form.Project().HasResults());
  EXPECT_TRUE(dm.Action("acFileOpen")->isEnabled());
}

TEST_F(CalcFixture, EveryCommandWithoutProjectOrViewDoesNothingHarmful) {
  // Every dialog is cancelled; nothing may fail or open a view. The two
  // computations only say why they cannot run.
  for (const QString& name : dm.ActionNames()) {
    EXPECT_TRUE(dm.Run(name)) << name.toStdString();
  }
  for (const auto& m : msgs.Shown) {
    if (m.Kind == MsgKind::Error) {
      EXPECT_EQ(m.Text, "В модели нет узлов: расчет невозможен!");
    }
  }
  EXPECT_LE(Errors(), 2);
  msgs.Shown.clear();
  EXPECT_EQ(form.Windows().Count(), 0);
  for (const char* n : {"AcGrid_Dot", "AcGrid_Show", "acViewZoomIn", "acViewZoomOut", "acViewScale",
                        "acViewActual", "AcGrid_Params", "acFileExport"})
    EXPECT_FALSE(dm.Action(n)->isEnabled()) << n;

  // A project without results: the same once more, with a view now.
  ASSERT_TRUE(Open(Example("plate_clamped.tps")));
  for (const char* n : {"acViewZoomIn", "acViewScale", "AcGrid_Show"}) EXPECT_TRUE(dm.Action(n)->isEnabled()) << n;
  for (const QString& name : dm.ActionNames()) {
    if (name == "acFileOpen" || name.startsWith("AcSolv")) continue;
    dm.Run(name);
  }
  EXPECT_EQ(Errors(), 0) << (msgs.Shown.empty() ? "" : msgs.Shown.back().Text);
}

TEST_F(CalcFixture, ARepaintFailureIsShownAfterThePaintEvent) {
  // A scene whose plan always fails.
  class FailingScene : public ResultScene {
   public:
    void UpdateScreen(const TGraphWindow&) override {
      throw std::runtime_error("сбой рисования " + std::to_string(++failures));
    }
    int failures = 0;
    void DrawPlan(Canvas&, DrawFailures&) override {}
    void PrepareSection() override {}
    void DrawSection(const TGraphWindow&, Canvas&, DrawFailures&) override {}
    const TSectionLine_2D& SectionLine() const override { return line; }
    TSectionLine_2D line;
  } scene;
  TGraphWindows windows(PixelSize{800, 600});
  windows.AddWindow(FloatPoint3D(0, 0, 0), 0xFFFFFF, Projection::XY, FloatPoint(0.01L, 0.01L), FloatPoint3D(2, 2, 2));
  TViewerProject project(msgs);
  ViewerScene client(project, windows);
  TDeskForm desk(windows, windows.Items(0).WorkDesk, scene, client, msgs, nullptr);
  desk.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&desk));
  QApplication::processEvents();
  const std::size_t before = msgs.Shown.size();
  const int failures = scene.failures;
  desk.Repaint();  // the repaint message: outside a paint event the failure is shown at once
  ASSERT_EQ(msgs.Shown.size(), before + 1);
  EXPECT_EQ(msgs.Shown.back().Text, "сбой рисования " + std::to_string(failures + 1));
  desk.ScrollBox()->resize(desk.ScrollBox()->size() + QSize(5, 5));  // the image no longer fits
  desk.PaintBox()->repaint();  // a paint event now
  ASSERT_EQ(scene.failures, failures + 2) << "the paint event painted";
  EXPECT_EQ(msgs.Shown.size(), before + 1) << "no message box inside the paint event";
  QApplication::processEvents();
  ASSERT_EQ(msgs.Shown.size(), before + 2);
  EXPECT_EQ(msgs.Shown.back().Text, "сбой рисования " + std::to_string(failures + 2));
  EXPECT_EQ(msgs.Shown.back().Caption, "Ошибка");
}

}  // namespace
}  // namespace tavir::calctest

namespace tavir::calctest {
namespace {

// A Break, wherever in an iteration it lands, lets that iteration finish: the
// adaptation then ends as the Break's iteration left it, with the energy message,
// "Процесс адаптации прерван!" and the stresses of the last solve, exactly as a
// run that stops by itself after that many iterations.
TEST_F(CalcFixture, BreakInTheAdaptationFinishesTheIterationAndKeepsItsResults) {
  struct Case {
    int Stage;  // the stage row in which Break is pressed
    int Pump;   // at that stage's n-th pump
  };
  for (const Case c : {Case{3, 2}, Case{1, 1}, Case{4, 1}}) {
    SCOPED_TRACE(c.Stage);
    msgs.Shown.clear();
    ASSERT_TRUE(Open(Example("shell_spherical.tps")));
    const Extended riseBefore = form.Project().ShellsFuncs().At(0)->GetParam(1);
    dialogs.Accept("AdaptParsDlg");
    int pumps = 0;
    bool pressed = false;
    dm.StatusSeam().OnPump = [&](CalcStatusWindow& s) {
      if (pressed || s.Form() == nullptr || s.Form()->CurrentStage() != c.Stage) return;
      if (++pumps == c.Pump) {
        pressed = true;
        s.Form()->findChild<QPushButton*>("Btn_Breake")->click();
      }
    };
    dm.Run("AcSolv_Adaptation");
    dm.StatusSeam().OnPump = nullptr;
    ASSERT_TRUE(pressed);
    const auto texts = Texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[texts.size() - 2].rfind(kPotentialEnergyText, 0), 0u) << texts[texts.size() - 2];
    EXPECT_EQ(texts.back(), kAdaptBrokenText);
    EXPECT_EQ(Errors(), 0);
    ASSERT_TRUE(form.Project().HasResults()) << "the results of the finished iteration are kept";
    EXPECT_EQ(VisibleStatusForm(), nullptr);
    EXPECT_TRUE(dm.Action("acFileOpen")->isEnabled());

    // The same model through the library, stopped after one iteration.
    ScriptedMessages messages;
    TViewerProject library(messages);
    ASSERT_TRUE(library.LoadProjectFile(Example("shell_spherical.tps")));
    library.SetAdaptIterationLimit(1);
    struct AsGiven : AdaptParamsDialog {
      bool Execute(TAdaptParams&, bool) override { return true; }
    } dialog;
    CalcStatus quiet;
    ASSERT_TRUE(library.Adaptation(dialog, quiet));
    EXPECT_TRUE(library.LoadVector() == form.Project().LoadVector()) << "bit-identical to one whole iteration";
    const Extended riseAfter = form.Project().ShellsFuncs().At(0)->GetParam(1);
    EXPECT_NE(riseAfter, riseBefore);
    EXPECT_EQ(riseAfter, library.ShellsFuncs().At(0)->GetParam(1));
    const auto* shell = AsResultShell(form.Project().Elements().At(0));
    const auto* twin = AsResultShell(library.Elements().At(0));
    ASSERT_NE(shell, nullptr);
    ASSERT_NE(twin, nullptr);
    EXPECT_TRUE(shell->Stresses == twin->Stresses) << "stresses of the last solve";
  }
}

}  // namespace
}  // namespace tavir::calctest

namespace tavir::calctest {
namespace {

TEST_F(CalcFixture, StressIsolinesOfAChosenLayerAndFibre) {
  ASSERT_TRUE(Open(Example("shell_two_materials.tps")));
  Static();
  ASSERT_TRUE(form.Project().HasResults());
  dialogs.Accept("StressPosForm", [](QDialog& d) {
    d.findChild<RadioGroup*>("RadioGrp_StressPos")->SetItemIndex(2);
  });
  dialogs.Accept("IsoParams_Form");
  dm.Run("Ac_IsoLineSx");
  EXPECT_EQ(form.Project().IsoKind(), ResultKind::Sx);
  EXPECT_EQ(form.Project().StressPos(), Fibre::Lower);
  EXPECT_EQ(form.Project().Layer(), 0);
  EXPECT_TRUE(form.Project().IsoVisible());
  const QImage p = Desk(0)->Picture();
  int pixels = 0;
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x) pixels += IsolinePixel(p.pixel(x, y)) ? 1 : 0;
  EXPECT_GT(pixels, 50);
}

}  // namespace
}  // namespace tavir::calctest
