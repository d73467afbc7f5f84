#pragma once
// Up and down arrows that step an integer within bounds and write it into their
// associated edit box (the platform's up-down control): the arrows, and the up
// and down keys in the box, step from the number the box shows.
#include <QLineEdit>
#include <QPointer>
#include <QToolButton>
#include <QWidget>

namespace tavir {

class UpDown : public QWidget {
  Q_OBJECT
 public:
  explicit UpDown(QWidget* parent = nullptr);

  void SetAssociate(QLineEdit* edit);
  QLineEdit* Associate() const { return associate_; }
  // A maximum below the minimum is taken as the minimum; the position is kept inside.
  void SetRange(int min, int max);
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetIncrement(int increment) { increment_ = increment; }
  int Increment() const { return increment_; }
  // Stepping past a bound goes round to the other one.
  void SetWrap(bool wrap) { wrap_ = wrap; }

  // The number the associated box shows when it is an integer (kept within the
  // bounds), else the last position set.
  int Position() const;
  // Clamps into the bounds and writes the number into the associated box.
  void SetPosition(int position);
  void StepUp() { StepBy(increment_); }
  void StepDown() { StepBy(-increment_); }

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }

 signals:
  void positionChanged(int position);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void StepBy(int delta);

  QToolButton* up_;
  QToolButton* down_;
  QPointer<QLineEdit> associate_;
  int min_ = 0;
  int max_ = 100;
  int increment_ = 1;
  int position_ = 0;
  bool wrap_ = false;
};

}  // namespace tavir
