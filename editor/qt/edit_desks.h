#pragma once
// The desk forms of the editing windows: the collection creates, shows, hides and
// destroys them by handle. A destroyed desk is hidden and deleted later without a
// close event, so that clearing the windows never asks anything and an event
// still queued for the form finds it detached.
#include <QCursor>
#include <QPointer>
#include <functional>
#include <map>

#include "editor/edit_windows.h"
#include "editor/qt/edit_desk_form.h"

namespace tavir {

class ImageProvider;
class EditorCommands;

class EditDesks : public EditDeskHost {
 public:
  using CursorOf = std::function<QCursor(int slot)>;
  EditDesks(DeskEvents& events, const ImageProvider* images, CursorOf cursors);
  ~EditDesks() override;

  // The command module the desks act on; set before the first desk is made.
  void Attach(EditorCommands* commands) { commands_ = commands; }
  void SetMainForm(QWidget* main) { mainForm_ = main; }

  TMainDesk* Desk(DeskHandle handle) const;
  // Every desk form still alive, in handle order.
  std::vector<TMainDesk*> All() const;
  void HideAll();

  // EditDeskHost
  DeskHandle CreateDesk(const TWorkWindow& window) override;
  void DestroyDesk(DeskHandle desk) override;
  void ShowDesk(DeskHandle desk) override;
  void HideDesk(DeskHandle desk) override;
  void SetDeskCaption(DeskHandle desk, const std::string& caption) override;
  void SetDeskCursor(DeskHandle desk, DeskCursor cursor) override;

 private:
  DeskEvents& events_;
  const ImageProvider* images_;
  CursorOf cursors_;
  EditorCommands* commands_ = nullptr;
  QPointer<QWidget> mainForm_;
  DeskHandle next_ = 1;
  std::map<DeskHandle, QPointer<TMainDesk>> desks_;
};

}  // namespace tavir
