#pragma once
// The programs' own mouse cursors, loaded by name from the resources
// (":/cursors/NAME.png", the hot spot in the picture's "HotSpotX"/"HotSpotY" texts),
// and the screen's table of custom cursor slots filled from them at start-up.
#include <QCursor>
#include <QString>
#include <map>
#include <vector>

namespace tavir {

class MessageService;

struct CursorSlot {
  int Slot;
  const char* Name;     // resource name
  const char* Warning;  // shown when it does not load
};

// Slots 1..5 serve both programs; slot 6 only the analysis program.
const std::vector<CursorSlot>& CursorSlots();
inline constexpr int kEditorCursorSlots = 5;
inline constexpr int kViewerCursorSlots = 6;

// The cursor of that name; one that does not load gives a warning (qWarning) and
// the arrow. `loaded` tells which happened.
QCursor LoadCursorByName(const QString& name, bool* loaded = nullptr);

class CursorTable {
 public:
  // Loads the first `count` slots in table order. Each one that does not load shows
  // its warning ("Предупреждение", OK) when messages are given and keeps the arrow.
  void Load(int count, MessageService* messages);
  void Load(const std::vector<CursorSlot>& table, MessageService* messages);
  // The slot's cursor; the arrow for a slot that is empty or did not load.
  QCursor Cursor(int slot) const;
  bool Loaded(int slot) const { return cursors_.count(slot) != 0; }

 private:
  std::map<int, QCursor> cursors_;
};

}  // namespace tavir
