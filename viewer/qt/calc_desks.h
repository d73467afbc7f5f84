#pragma once
// The desk windows of the result views: the collection has one made (hidden) for
// every view it creates and destroyed with the view.
#include <QCursor>
#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "viewer/graph_windows.h"
#include "viewer/qt/desk_form.h"

namespace tavir {

class CalcDesks : public QObject, public GraphDeskHost {
  Q_OBJECT
 public:
  using CursorOfSlot = std::function<QCursor(int slot)>;
  CalcDesks(MessageService& messages, const ImageProvider* images, CursorOfSlot cursors);
  ~CalcDesks() override;

  // Set once the collection and the scene exist, before the first view.
  void Attach(TGraphWindows& windows, ResultScene& scene, ResultDeskClient& client);
  void SetMainForm(QWidget* main) { mainForm_ = main; }

  // GraphDeskHost
  DeskHandle CreateDesk(const TGraphWindow& view) override;
  void DestroyDesk(DeskHandle desk) override;
  void ShowDesk(DeskHandle desk) override;
  bool DeskShown(DeskHandle desk) const override;
  void ShowDeskCleared(DeskHandle desk) override;
  void RepaintDesk(DeskHandle desk) override;
  void SetDeskCursor(DeskHandle desk, int slot) override;
  void SetDeskStatusText(DeskHandle desk, int panel, const std::string& text) override;

  TDeskForm* Find(DeskHandle desk) const;
  // The desk of a view (nullptr for no such view).
  TDeskForm* DeskOfView(int index) const;
  void SetInputEnabled(bool enabled);
  // While a computation runs the repaint message only marks a desk: it is drawn
  // when the window next paints (a few dozen times a second at most). Switching
  // it off repaints every desk that was asked to at once.
  void SetRepaintsDeferred(bool deferred);
  void HideAll();
  int Count() const { return static_cast<int>(desks_.size()); }

 signals:
  void DeskActivated(TDeskForm* desk);
  void DeskClosed(TDeskForm* desk);

 private:
  MessageService& messages_;
  const ImageProvider* images_;
  CursorOfSlot cursors_;
  TGraphWindows* windows_ = nullptr;
  ResultScene* scene_ = nullptr;
  ResultDeskClient* client_ = nullptr;
  QPointer<QWidget> mainForm_;
  std::map<DeskHandle, std::unique_ptr<TDeskForm>> desks_;
  DeskHandle next_ = 1;
  bool inputEnabled_ = true;
  bool repaintsDeferred_ = false;
  std::set<DeskHandle> repaintsAsked_;
};

}  // namespace tavir
