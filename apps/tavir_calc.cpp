// TavirCalc: the analysis program. The composition root creates the program's
// global objects in their order (command module, main form, which creates the
// analysis project and the result views, then the two-bar progress box) and frees
// them in the reverse order.
#include <QApplication>
#include <memory>

#include "platform/qt/info_dlg.h"
#include "platform/qt/locale_setup.h"
#include "platform/qt/message_box.h"
#include "viewer/qt/dm_main_out.h"
#include "viewer/qt/rs_output.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(tavir::kCalcAppTitle));
  tavir::ApplyLocaleDecimalSeparator();
  tavir::InstallRussianQtTexts();

  tavir::QtMessageService messages;
  auto DM_OutMain = std::make_unique<tavir::TDM_OutMain>(messages);
  auto RSFormOut = std::make_unique<tavir::TRSFormOut>(*DM_OutMain, messages);
  messages.SetParent(RSFormOut.get());
  auto InfoDlgForm = std::make_unique<tavir::TInfoDlgForm>();
  InfoDlgForm->setObjectName("InfoDlgForm");
  RSFormOut->SetInfoDlg(InfoDlgForm.get());

  RSFormOut->ShowAsStrip();
  const int rc = QApplication::exec();

  RSFormOut->SetInfoDlg(nullptr);
  InfoDlgForm.reset();
  RSFormOut.reset();  // frees the analysis project, then the result views
  DM_OutMain.reset();
  return rc;
}
