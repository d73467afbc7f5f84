#pragma once
// A box that shows a colour; clicking it picks another through the colour dialog.
#include <QAbstractButton>

#include "platform/geometry.h"

namespace tavir {

class ColorBox : public QAbstractButton {
  Q_OBJECT
 public:
  explicit ColorBox(QWidget* parent = nullptr);

  RgbColor Color() const { return color_; }
  void SetColor(RgbColor color);
  void SetDialogTitle(const QString& title) { title_ = title; }
  // Opens the colour dialog with the current colour; true when one was chosen.
  bool Pick();

  QSize sizeHint() const override { return {40, 21}; }

 signals:
  void colorChanged(tavir::RgbColor color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  RgbColor color_ = 0xFFFFFF;
  QString title_;
};

}  // namespace tavir
