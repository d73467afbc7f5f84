#pragma once
// The calculation status window: the stage table with the current stage
// highlighted, a progress bar, a status line and Break. It is shown without
// modality while a computation runs; Break, the Escape key and closing the window
// all only ask the computation to stop.
#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace tavir {

class ProgressBar;

class TStatusForm : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kRows = 12;
  static constexpr int kColumns = 3;

  explicit TStatusForm(std::function<void()> onBreak, QWidget* parent = nullptr);

  int CurrentStage() const { return currentStage_; }
  void FirstStage();
  // The next row, after 11 row 1 again.
  void NextStage();
  // Highlights row `row` (1..11) at once.
  void SelectStage(int row);
  void SetCell(int col, int row, const QString& text);
  QString Cell(int col, int row) const;
  void SetBar(long long position, long long maximum);
  void SetProcessText(const QString& text);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  // What the stage table's texts need: the widths of the stage column and of each
  // value column, and the row height, grid line included.
  struct TextRoom {
    int Stage = 0;
    int Value = 0;
    int Row = 0;
  };
  TextRoom NeededRoom() const;
  void Btn_BreakeClick();
  void Highlight();
  void FitGrids();

  std::function<void()> onBreak_;
  int currentStage_ = 0;
  QTabWidget* pages_;
  QTableWidget* process_;
  QTableWidget* info_;
  ProgressBar* bar_;
  QLabel* processLabel_;
  QPushButton* breakButton_;
};

}  // namespace tavir
