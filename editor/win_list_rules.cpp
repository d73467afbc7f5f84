#include "editor/win_list_rules.h"

#include "platform/numtext.h"

namespace tavir {

std::string WindowListLine(int index) {
  if (index == 0) return "Главное окно";
  return "Окно №" + std::to_string(index);
}

std::array<std::string, 6> WindowBoundTexts(const WindowBox& box) {
  const auto text = [](Extended v) { return FormatGeneral(v, 10, 4); };
  return {text(box.Min.X), text(box.Max.X), text(box.Min.Y), text(box.Max.Y), text(box.Min.Z), text(box.Max.Z)};
}

int SplitterSize(int requested, int minimum) { return requested <= minimum ? minimum + 1 : requested; }

}  // namespace tavir
