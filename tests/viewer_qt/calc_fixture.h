#pragma once
// The analysis program's command module and main form without a display, with
// scripted messages and dialogs, and helpers that drive them by command name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTextLayout>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/services.h"
#include "viewer/qt/calc_desks.h"
#include "platform/qt/dialog_runner.h"
#include "viewer/qt/calc_status.h"
#include "viewer/qt/dm_main_out.h"
#include "viewer/qt/rs_output.h"
#include "viewer/qt/view_dialogs.h"
#include "fakes/dialogs_by_name.h"
#include "fakes/scripted_messages.h"
#include "scratch_folder.h"

namespace tavir::calctest {

inline std::string Example(const std::string& name) { return std::string(TAVIR_EXAMPLES) + "/" + name; }

inline std::vector<std::string> ExampleNames() {
  return {"plate_simply_supported.tps", "plate_clamped.tps", "shell_spherical.tps", "shell_two_materials.tps"};
}

// The running test's folder, made new at its first use; it goes when the fixture goes.
inline std::optional<ScratchFolder>& TestFolder() {
  static std::optional<ScratchFolder> folder;
  return folder;
}

inline std::filesystem::path TempDir() {
  if (!TestFolder()) TestFolder().emplace("tavir-calc");
  return TestFolder()->Path();
}

inline std::vector<char> FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<char>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

using DialogScript = DialogsByName;

class CalcFixture : public ::testing::Test {
 protected:
  // The status window of a computation pumps at every stage point and progress
  // step and shows at once, however short the computation: the tests see every
  // stage. The default timing has tests of its own.
  CalcFixture() : dm(msgs), form(dm, msgs) { dm.StatusSeam().Timing = PumpTiming::EveryPump(); }
  ~CalcFixture() override {
    dm.StatusSeam().OnPump = nullptr;
    dm.StatusSeam().Now = nullptr;
    dm.StatusSeam().Timing = PumpTiming{};
    TestFolder().reset();
  }

  bool Open(const std::string& path) {
    dialogs.ChooseFile("OpenDialog", path);
    return dm.Run("acFileOpen");
  }
  void Static() { dm.Run("AcSolve_StaticCalculate"); }
  void IsolinesWz() {
    dialogs.Accept("IsoParams_Form");
    dm.Run("Ac_IsoLineWz");
  }
  TDeskForm* Desk(int view) { return form.Desks().DeskOfView(view); }
  int Errors() const {
    int n = 0;
    for (const auto& m : msgs.Shown) n += m.Kind == MsgKind::Error ? 1 : 0;
    return n;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& m : msgs.Shown) t.push_back(m.Text);
    return t;
  }
  static TStatusForm* VisibleStatusForm() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* s = qobject_cast<TStatusForm*>(w); s != nullptr && s->isVisible()) return s;
    return nullptr;
  }

  ScriptedMessages msgs;
  DialogScript dialogs;
  TDM_OutMain dm;
  TRSFormOut form;
};

// Whether the grid draws the cell's text in full: the item view elides a text
// wider than the cell less its text margins, and clips a cell the viewport cuts.
inline ::testing::AssertionResult CellReadable(QTableWidget& grid, int row, int col) {
  const QTableWidgetItem* item = grid.item(row, col);
  const QRect cell = grid.visualItemRect(item);
  const int margin = grid.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grid) + 1;
  // Measured as the view lays the text out before it decides to elide it.
  QTextLayout layout(item->text(), grid.font());
  layout.beginLayout();
  QTextLine textLine = layout.createLine();
  textLine.setLineWidth(1e6);
  layout.endLayout();
  const qreal need = textLine.naturalTextWidth();
  const QFontMetricsF fm(grid.font());
  const QRect shown = grid.viewport()->rect();
  if (need > cell.width() - 2 * margin || fm.height() > cell.height() || !shown.contains(cell))
    return ::testing::AssertionFailure() << "\"" << item->text().toStdString() << "\" needs " << need << " of "
                                         << cell.width() - 2 * margin << " px, cell (" << cell.x() << ", " << cell.y()
                                         << ") " << cell.width() << " x " << cell.height() << " in " << shown.width()
                                         << " x " << shown.height();
  return ::testing::AssertionSuccess();
}

// Pixels of the isoline pens (positive levels red, negative blue).
inline bool IsolinePixel(QRgb c) {
  const int r = qRed(c), g = qGreen(c), b = qBlue(c);
  return g == 0 && ((r == 255 && b == 0) || (r == 0 && b == 255));
}

}  // namespace tavir::calctest
