#include "platform/qt/color_box.h"

#include <QPainter>
#include <QStyleOptionFrame>

#include "platform/qt/color_picker.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

ColorBox::ColorBox(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QAbstractButton::clicked, this, [this] { Pick(); });
}

void ColorBox::SetColor(RgbColor color) {
  color &= 0xFFFFFFu;
  if (color == color_) return;
  color_ = color;
  update();
  emit colorChanged(color_);
}

bool ColorBox::Pick() {
  const auto chosen = ColorPicker::Pick(this, color_, title_);
  if (!chosen) return false;
  SetColor(*chosen);
  return true;
}

void ColorBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect r = rect().adjusted(0, 0, -1, -1);
  p.fillRect(r, palette().color(QPalette::Window));
  p.setPen(hasFocus() ? palette().color(QPalette::Highlight) : palette().color(QPalette::Dark));
  p.setBrush(isEnabled() ? ToQColor(color_) : palette().color(QPalette::Window));
  p.drawRect(r.adjusted(2, 2, -2, -2));
}

}  // namespace tavir
