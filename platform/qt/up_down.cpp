#include "platform/qt/up_down.h"

#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/numtext.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

UpDown::UpDown(QWidget* parent) : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  up_->setObjectName(QStringLiteral("Up"));
  down_->setObjectName(QStringLiteral("Down"));
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    b->setFixedWidth(16);
  }
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  connect(up_, &QToolButton::clicked, this, &UpDown::StepUp);
  connect(down_, &QToolButton::clicked, this, &UpDown::StepDown);
}

void UpDown::SetAssociate(QLineEdit* edit) {
  if (associate_ != nullptr) associate_->removeEventFilter(this);
  associate_ = edit;
  if (associate_ != nullptr) {
    associate_->installEventFilter(this);
    associate_->setText(QString::number(position_));
  }
}

void UpDown::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  SetPosition(position_);
}

int UpDown::Position() const {
  if (associate_ != nullptr)
    if (const auto shown = ParseInt(ToUtf8(associate_->text()))) return std::clamp(*shown, min_, max_);
  return position_;
}

void UpDown::SetPosition(int position) {
  const int p = std::clamp(position, min_, max_);
  const bool changed = p != position_;
  position_ = p;
  if (associate_ != nullptr) associate_->setText(QString::number(position_));
  if (changed) emit positionChanged(position_);
}

void UpDown::StepBy(int delta) {
  const long long next = static_cast<long long>(Position()) + delta;
  if (wrap_ && next > max_)
    SetPosition(min_);
  else if (wrap_ && next < min_)
    SetPosition(max_);
  else
    SetPosition(static_cast<int>(std::clamp<long long>(next, min_, max_)));
}

bool UpDown::eventFilter(QObject* watched, QEvent* event) {
  // The event type first: while the box is being destroyed it still sends events,
  // and comparing it with the guarded pointer would cast an object half gone.
  if (event->type() == QEvent::KeyPress && watched == associate_ && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up) {
      StepUp();
      return true;
    }
    if (key == Qt::Key_Down) {
      StepDown();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace tavir
