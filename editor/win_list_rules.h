#pragma once
// The rules of the window list dialog ("Список окон") without its widgets.
#include <array>
#include <string>
#include <vector>

#include "model/records.h"

namespace tavir {

// A window's model box as the list shows it.
struct WindowBox {
  TFloatPoint3D Min, Max;
};

// "Главное окно" for window 0, "Окно №<i>" for the others.
std::string WindowListLine(int index);
// Xmin, Xmax, Ymin, Ymax, Zmin, Zmax in the general format with at most 10
// significant digits (an exponent of at least 4 digits).
std::array<std::string, 6> WindowBoundTexts(const WindowBox& box);
// The splitter's minimum size: a panel never shrinks to it or below, so neither
// side can collapse to nothing.
inline constexpr int kWinListSplitterMin = 150;
int SplitterSize(int requested, int minimum = kWinListSplitterMin);

}  // namespace tavir
