// A test fake: PaintCounter counts the paint events of the widgets it filters.
#pragma once

#include <QEvent>
#include <QObject>

namespace tavir {

class PaintCounter : public QObject {
 public:
  int Count = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++Count;
    return false;
  }
};

}  // namespace tavir
