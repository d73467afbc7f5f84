#pragma once
// Choosing a colour with the standard colour dialog, run through DialogRunner
// (tests answer it by setting the dialog's current colour and accepting).
#include <QString>
#include <QWidget>
#include <optional>

#include "platform/geometry.h"

namespace tavir {

class ColorPicker {
 public:
  // The chosen colour, or nothing when the user cancels.
  static std::optional<RgbColor> Pick(QWidget* parent, RgbColor initial, const QString& title = QString());
};

}  // namespace tavir
