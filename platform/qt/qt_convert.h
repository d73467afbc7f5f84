#pragma once
// Conversions between the platform's plain values and Qt's: colours ($00BBGGRR)
// and UTF-8 texts. Only the Qt layer converts; everything below it keeps plain types.
#include <QColor>
#include <QString>
#include <string>
#include <string_view>

#include "platform/geometry.h"

namespace tavir {

inline QColor ToQColor(RgbColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }
inline RgbColor FromQColor(const QColor& c) {
  return RGBColor(static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
                  static_cast<std::uint8_t>(c.blue()));
}

inline QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }

}  // namespace tavir
