#include "platform/qt/info_dlg.h"

#include <QApplication>
#include <QStyle>
#include <limits>

#include "platform/qt/qt_convert.h"
#include "platform/qt/window_place.h"

namespace tavir {
namespace {

constexpr int kClientWidth = 354;
constexpr int kClientHeight = 111;

void SetBarFrom(ProgressBar* bar, long long position, long long maximum) {
  // A bar counts in int; larger counts are shown in proportion.
  long long divisor = 1;
  while (maximum / divisor > std::numeric_limits<int>::max()) divisor *= 2;
  bar->SetRange(0, static_cast<int>(std::max(0LL, maximum / divisor)));
  bar->SetPosition(static_cast<int>(std::max(0LL, position / divisor)));
}

void Caption(QLabel* label, const QString& text) {
  label->setText(text);
  if (label->isVisible()) label->repaint();
}

}  // namespace

TInfoDlgForm::TInfoDlgForm(QWidget* parent)
    : QDialog(parent),
      Lbl_Current(new QLabel(this)),
      PrgBar_Current(new ProgressBar(this)),
      Lbl_Total(new QLabel(this)),
      PrgBar_Total(new ProgressBar(this)) {
  setObjectName(QStringLiteral("InfoDlgForm"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setFixedSize(kClientWidth, kClientHeight);
  Lbl_Current->setObjectName(QStringLiteral("Lbl_Current"));
  PrgBar_Current->setObjectName(QStringLiteral("PrgBar_Current"));
  Lbl_Total->setObjectName(QStringLiteral("Lbl_Total"));
  PrgBar_Total->setObjectName(QStringLiteral("PrgBar_Total"));
  // Top to bottom: caption, bar, caption, bar, with the platform's margins.
  constexpr int kLeft = 8;
  constexpr int kWidth = kClientWidth - 2 * kLeft;
  Lbl_Current->setGeometry(kLeft, 6, kWidth, 20);
  PrgBar_Current->setGeometry(kLeft, 28, kWidth, 18);
  Lbl_Total->setGeometry(kLeft, 58, kWidth, 20);
  PrgBar_Total->setGeometry(kLeft, 80, kWidth, 18);
}

void TInfoDlgForm::SetCurrentCaption(const QString& text) { Caption(Lbl_Current, text); }
void TInfoDlgForm::SetTotalCaption(const QString& text) { Caption(Lbl_Total, text); }

void TInfoDlgForm::ShowModeless(bool stayOnTop) {
  setModal(false);
  setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
  CentreOnScreen(*this);
  show();
  raise();
  repaint();
}

void TInfoDlgForm::SetBar(long long position, long long maximum) { SetBarFrom(PrgBar_Current, position, maximum); }
void TInfoDlgForm::SetLabel(const std::string& text) { SetCurrentCaption(ToQString(text)); }
void TInfoDlgForm::SetBar2(long long position, long long maximum) { SetBarFrom(PrgBar_Total, position, maximum); }
void TInfoDlgForm::SetLabel2(const std::string& text) { SetTotalCaption(ToQString(text)); }

void TInfoDlgForm::Pump() { QApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace tavir
