#include "platform/qt/color_picker.h"

#include <QColorDialog>

#include "platform/qt/dialog_runner.h"
#include "platform/qt/qt_convert.h"

namespace tavir {

std::optional<RgbColor> ColorPicker::Pick(QWidget* parent, RgbColor initial, const QString& title) {
  QColorDialog dialog(ToQColor(initial), parent);
  dialog.setObjectName(QStringLiteral("ColorDialog"));
  if (!title.isEmpty()) dialog.setWindowTitle(title);
  if (DialogRunner::Run(dialog) != QDialog::Accepted) return std::nullopt;
  // Read the current colour: a dialog accepted by code has no "selected" one yet.
  const QColor chosen = dialog.selectedColor().isValid() ? dialog.selectedColor() : dialog.currentColor();
  return FromQColor(chosen);
}

}  // namespace tavir
