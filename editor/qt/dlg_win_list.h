#pragma once
// "Список окон": the project's editing windows with the box of the one selected.
// The dialog only chooses: the caller makes the chosen window current and shows
// it after the dialog has returned.
#include <QDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <array>
#include <optional>
#include <vector>

#include "editor/win_list_rules.h"

namespace tavir {

class TWinListDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TWinListDlg(std::vector<WindowBox> windows, QWidget* parent = nullptr);

  void ShowWindowBounds();
  // The chosen line's window; nothing when no line is chosen.
  std::optional<int> Selected() const;

  QWidget* WorkPanel = nullptr;
  QListWidget* WinListBox = nullptr;
  QSplitter* Splitter = nullptr;
  QScrollArea* ViewScrollBox = nullptr;
  // Lbl_WinXmin, Lbl_WinXmax, Lbl_WinYmin, Lbl_WinYmax, Lbl_WinZmin, Lbl_WinZmax.
  std::array<QLabel*, 6> Lbl_Win{};
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
  QPushButton* HelpBtn = nullptr;

 private:
  std::vector<WindowBox> windows_;
};

// The window chosen on OK (or by a double click); nothing after Cancel.
std::optional<int> RunWinListDialog(std::vector<WindowBox> windows, QWidget* parent = nullptr);

}  // namespace tavir
