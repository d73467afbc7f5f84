#pragma once
// The desk windows of the result views, one per view of the collection, made when
// the collection first shows a view and closed when its view is gone.
#include <QCursor>
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "viewer/graph_windows.h"
#include "viewer/qt/desk_form.h"

namespace tavir {

class CalcDesks : public QObject, public GraphDeskHost {
  Q_OBJECT
 public:
  using CursorOfSlot = std::function<QCursor(int slot)>;
  CalcDesks(MessageService& messages, const ImageProvider* images, CursorOfSlot cursors);
  ~CalcDesks() override;

  // Set once the collection and the scene exist.
  void Attach(TGraphWindows& windows, ResultScene& scene, ResultDeskClient& client);
  void SetMainForm(QWidget* main) { mainForm_ = main; }

  // GraphDeskHost
  void ShowDesk(DeskHandle desk) override;
  void SetDeskCursor(DeskHandle desk, int slot) override;

  // The desk of a view (made on demand; nullptr for no such view).
  TDeskForm* DeskOfView(int index);
  TDeskForm* Find(DeskHandle desk) const;
  // Closes the desks whose views the collection no longer holds.
  void Sync();
  void RepaintView(int index);
  void RepaintAll();
  void SetInputEnabled(bool enabled);
  int Count() const { return static_cast<int>(desks_.size()); }

 signals:
  void DeskActivated(TDeskForm* desk);

 private:
  TDeskForm* Make(DeskHandle desk);

  MessageService& messages_;
  const ImageProvider* images_;
  CursorOfSlot cursors_;
  TGraphWindows* windows_ = nullptr;
  ResultScene* scene_ = nullptr;
  ResultDeskClient* client_ = nullptr;
  QPointer<QWidget> mainForm_;
  std::map<DeskHandle, std::unique_ptr<TDeskForm>> desks_;
  bool inputEnabled_ = true;
};

}  // namespace tavir
