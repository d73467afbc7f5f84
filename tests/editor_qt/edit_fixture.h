#pragma once
// The editor as its entry builds it, driven headless by command and widget names:
// the model dialogs are scripted through their seam, message boxes and the other
// dialogs through DialogScript.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "editor/qt/edit_desk_form.h"
#include "editor/qt/edit_program.h"
#include "editor/qt/editor_forms.h"
#include "model/model_ui_dialogs.h"
#include "platform_qt/dialog_script.h"
#include "fakes/scripted_model_dialogs.h"
#include "scratch_folder.h"

namespace tavir::test {

// The folders the running test asked for; they go when its fixture goes.
inline std::vector<std::unique_ptr<ScratchFolder>>& TestFolders() {
  static std::vector<std::unique_ptr<ScratchFolder>> folders;
  return folders;
}

// A new empty folder at every call, removed when the test ends.
inline std::filesystem::path TempDir(const std::string& name) {
  TestFolders().push_back(std::make_unique<ScratchFolder>("tavir-editqt-" + name));
  return TestFolders().back()->Path();
}

inline std::vector<char> FileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Pixels of a picture that are not white, or of one colour.
inline int NonWhitePixels(const QImage& picture) {
  int n = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if ((picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) ++n;
  return n;
}
inline int PixelsOf(const QImage& picture, QRgb colour) {
  int n = 0;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x)
      if ((picture.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++n;
  return n;
}

class EditorFixture : public ::testing::Test {
 protected:
  ~EditorFixture() override { TestFolders().clear(); }
  void SetUp() override { StartProgram(); }
  // The program as its entry builds it; anew when one runs already.
  void StartProgram() {
    if (program) {
      program.reset();
      QApplication::processEvents();
    }
    program = std::make_unique<TEditorProgram>(&modelDialogs);
    exits = 0;
    program->Commands().ExitProgram = [this] { ++exits; };
    program->Show();
  }
  void TearDown() override {
    // Boxes nobody scripted were answered by their default button: none expected.
    for (const DialogScript::Box& b : stray.Boxes)
      ADD_FAILURE() << "unexpected box \"" << b.Title.toStdString() << "\": " << b.Text.toStdString();
    program.reset();
    QApplication::processEvents();
  }

  TDM_Main& Dm() { return program->Commands(); }
  EditorCommands& Commands() { return Dm().Commands(); }
  TEditSupervisor& Supervisor() { return program->MainForm().Supervisor(); }
  TVelEditorProject& Project() { return program->MainForm().Project(); }
  TRSForm& Main() { return program->MainForm(); }
  QAction* Action(const char* name) { return Dm().Action(name); }
  void Run(const char* name) { ASSERT_TRUE(Dm().Run(name)) << name; }

  // New project with the region from (0,0,0) to (x, y, z): both questions answered,
  // and with `keep` the question whether to save the changed project first.
  void NewTask(double x, double y, double z = 10, DialogScript* outer = nullptr,
               QMessageBox::StandardButton keep = QMessageBox::NoButton) {
    std::optional<DialogScript> local;
    if (outer == nullptr) local.emplace();
    DialogScript& script = outer != nullptr ? *outer : *local;
    script.Answers.push_back(QMessageBox::Ok);
    if (keep != QMessageBox::NoButton) script.Answers.push_back(keep);
    script.Dialogs.push_back([x, y, z](QDialog& d) {
      auto& dlg = static_cast<TNewTaskDlg&>(d);
      EXPECT_EQ(dlg.objectName(), "NewTaskDlg");
      dlg.Coord[0]->setText("0");
      dlg.Coord[1]->setText("0");
      dlg.Coord[2]->setText("0");
      dlg.Coord[3]->setText(QString::number(x));
      dlg.Coord[4]->setText(QString::number(y));
      dlg.Coord[5]->setText(QString::number(z));
      dlg.accept();
      return dlg.result();
    });
    Run("acFileNew");
  }

  // The mesh dialog's answer: unit steps, nx by ny elements.
  static DivideDialogValues UnitMesh(int nx, int ny) {
    DivideDialogValues v;
    v.StepX = 1;
    v.StepY = 1;
    v.Nx = nx;
    v.Ny = ny;
    return v;
  }

  // A 6 x 4 plate meshed into 6 x 4 unit rectangles by a frame.
  void MeshedPlate() {
    NewTask(6, 4);
    Run("acPlaneRectangle");
    Run("acModeFrame");
    modelDialogs.DivideAnswers.push_back(UnitMesh(6, 4));
    Drag(0, 0, 6, 4);
  }

  TMainDesk* Desk(int index = -1) { return Dm().DeskOf(index < 0 ? Supervisor().CurrentWindow : index); }

  // The pixel of a model point in a window (plan projection).
  QPoint Pixel(double x, double y, int index = 0) {
    const TEditorWindow& w = Commands().Windows().Items(index);
    const TPoint p = w.View().FloatPointToPoint(w.View().PlanePoint(x, y, 0));
    return {p.X, p.Y};
  }

  void Click(double x, double y, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    TMainDesk* desk = Desk();
    ASSERT_NE(desk, nullptr);
    const QPoint p = Pixel(x, y, Supervisor().CurrentWindow);
    desk->MouseDown(Qt::LeftButton, p, mods);
    desk->MouseUp(Qt::LeftButton, p, mods);
  }

  // A band dragged from one model point to another.
  void Drag(double x1, double y1, double x2, double y2) {
    TMainDesk* desk = Desk();
    ASSERT_NE(desk, nullptr);
    const QPoint a = Pixel(x1, y1, Supervisor().CurrentWindow);
    const QPoint b = Pixel(x2, y2, Supervisor().CurrentWindow);
    desk->MouseDown(Qt::LeftButton, a, Qt::NoModifier);
    desk->MouseMove((a + b) / 2, Qt::NoModifier);
    desk->MouseMove(b, Qt::NoModifier);
    desk->MouseUp(Qt::LeftButton, b, Qt::NoModifier);
  }

  // A file dialog answered with a path.
  static DialogScript::Handler FileAnswer(const std::string& path) {
    return [path](QDialog& d) {
      auto& f = static_cast<QFileDialog&>(d);
      f.selectFile(QString::fromStdString(path));
      QMetaObject::invokeMethod(&f, "accept", Qt::DirectConnection);
      return f.result();
    };
  }

  // Answers what no test script takes, so that no modal loop ever blocks.
  DialogScript stray;
  ScriptedModelDialogs modelDialogs;
  std::unique_ptr<TEditorProgram> program;
  int exits = 0;
};

}  // namespace tavir::test
