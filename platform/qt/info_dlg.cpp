#include "platform/qt/info_dlg.h"

#include <QApplication>
#include <QStyle>
#include <algorithm>
#include <limits>

#include "platform/qt/qt_convert.h"
#include "platform/qt/window_place.h"

namespace tavir {
namespace {

constexpr int kClientWidth = 354;
constexpr int kClientHeight = 111;

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
      PrgBar_Total(new ProgressBar(this)),
      current_{PrgBar_Current},
      total_{PrgBar_Total} {
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

// A new caption begins a stage: the bars show where the last one ended.
void TInfoDlgForm::SetCurrentCaption(const QString& text) {
  ShowPending();
  Caption(Lbl_Current, text);
}
void TInfoDlgForm::SetTotalCaption(const QString& text) {
  ShowPending();
  Caption(Lbl_Total, text);
}

void TInfoDlgForm::ShowModeless(bool stayOnTop) {
  setModal(false);
  setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
  CentreOnScreen(*this);
  show();
  raise();
  repaint();
}

void TInfoDlgForm::Feed(BarFeed& feed, long long position, long long maximum) {
  // A bar counts in int; larger counts are shown in proportion.
  long long divisor = 1;
  while (maximum / divisor > std::numeric_limits<int>::max()) divisor *= 2;
  feed.Maximum = static_cast<int>(std::max(0LL, maximum / divisor));
  feed.Position = static_cast<int>(std::clamp(position / divisor, 0LL, static_cast<long long>(feed.Maximum)));
  const ProgressBar& bar = *feed.Bar;
  const bool edge = feed.Position == 0 || feed.Position == feed.Maximum;
  if (bar.Min() == 0 && bar.Max() == feed.Maximum && !edge) {
    if (feed.Position == bar.Position()) {
      feed.Pending = false;
      return;
    }
    // Reports closer together than a person sees wait; of the others the bar
    // itself paints only those that move a pixel of it.
    if (std::chrono::steady_clock::now() - feed.Shown < kRepaintInterval) {
      feed.Pending = true;
      return;
    }
  }
  Show(feed);
}

void TInfoDlgForm::Show(BarFeed& feed) {
  // Each call paints the bar: only what changed is set.
  if (feed.Bar->Min() != 0 || feed.Bar->Max() != feed.Maximum) feed.Bar->SetRange(0, feed.Maximum);
  if (feed.Bar->Position() != feed.Position) feed.Bar->SetPosition(feed.Position);
  feed.Pending = false;
  feed.Shown = std::chrono::steady_clock::now();
}

void TInfoDlgForm::ShowPending() {
  for (BarFeed* feed : {&current_, &total_})
    if (feed->Pending) Show(*feed);
}

void TInfoDlgForm::SetBar(long long position, long long maximum) { Feed(current_, position, maximum); }
void TInfoDlgForm::SetLabel(const std::string& text) { SetCurrentCaption(ToQString(text)); }
void TInfoDlgForm::SetBar2(long long position, long long maximum) { Feed(total_, position, maximum); }
void TInfoDlgForm::SetLabel2(const std::string& text) { SetTotalCaption(ToQString(text)); }

void TInfoDlgForm::Pump() {
  ShowPending();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace tavir
