// TavirEdit: the model editor.
#include <QApplication>

#include "editor/qt/edit_program.h"
#include "platform/qt/locale_setup.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  tavir::ApplyLocaleDecimalSeparator();
  tavir::InstallRussianQtTexts();
  tavir::TEditorProgram program;
  program.Show();
  return QApplication::exec();
}
