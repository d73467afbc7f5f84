#include "platform/qt/cursors.h"

#include <QImage>
#include <QPixmap>
#include <QtGlobal>

#include "platform/services.h"

// The resources of a static library must be registered by hand.
static void InitCursorResources() { Q_INIT_RESOURCE(cursors); }

namespace tavir {

const std::vector<CursorSlot>& CursorSlots() {
  static const std::vector<CursorSlot> table = {
      {1, "NEWWINCURSOR", "Курсор \"Новое окно\" не загружен!"},
      {2, "SETFORCECURSOR", "Курсор \"Сосредоточенные усилия\" не загружен!"},
      {3, "SETDISPFORCECURSOR", "Курсор \"Распределенная нагрузка\" не загружен!"},
      {4, "SETRESTCURSOR", "Курсор \"Установка опор\" не загружен!"},
      {5, "SETSURFACE", "Курсор \"Поверхность оболочки\" не загружен!"},
      {6, "NEWSECTION", "Курсор \"Сечение\" не загружен!"},
  };
  return table;
}

QCursor LoadCursorByName(const QString& name, bool* loaded) {
  static const bool registered = (InitCursorResources(), true);
  (void)registered;
  QImage picture(QStringLiteral(":/cursors/%1.png").arg(name));
  if (loaded != nullptr) *loaded = !picture.isNull();
  if (picture.isNull()) {
    qWarning("Cursor %s not found; the arrow is used", qPrintable(name));
    return QCursor(Qt::ArrowCursor);
  }
  bool okX = false;
  bool okY = false;
  int x = picture.text(QStringLiteral("HotSpotX")).toInt(&okX);
  int y = picture.text(QStringLiteral("HotSpotY")).toInt(&okY);
  if (!okX || x < 0 || x >= picture.width()) x = picture.width() / 2;
  if (!okY || y < 0 || y >= picture.height()) y = picture.height() / 2;
  return QCursor(QPixmap::fromImage(picture), x, y);
}

void CursorTable::Load(int count, MessageService* messages) {
  std::vector<CursorSlot> table;
  for (const CursorSlot& s : CursorSlots())
    if (s.Slot <= count) table.push_back(s);
  Load(table, messages);
}

void CursorTable::Load(const std::vector<CursorSlot>& table, MessageService* messages) {
  for (const CursorSlot& s : table) {
    bool loaded = false;
    QCursor cursor = LoadCursorByName(QString::fromLatin1(s.Name), &loaded);
    if (loaded) {
      cursors_[s.Slot] = cursor;
    } else {
      cursors_.erase(s.Slot);
      if (messages != nullptr) messages->Warning(s.Warning);
    }
  }
}

QCursor CursorTable::Cursor(int slot) const {
  const auto it = cursors_.find(slot);
  return it == cursors_.end() ? QCursor(Qt::ArrowCursor) : it->second;
}

}  // namespace tavir
