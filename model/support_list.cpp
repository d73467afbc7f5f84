#include "model/support_list.h"

#include <utility>

namespace tavir {

TEditorSupport* TEditorSupports::Add(std::unique_ptr<TEditorSupport> support) { return Append(std::move(support)); }

std::int32_t TEditorSupports::IndexOfKnot(const TEditorKnot* knot) const {
  return IndexOfRef(&TEditorSupport::Knot, knot);
}

void TEditorSupports::Draw(Canvas& canvas) const {
  for (const auto& s : items_)
    if (s->Visible != 0 && s->Knot != nullptr) s->Draw(canvas);
}

void TEditorSupports::UpdateVisible() {
  for (const auto& s : items_) s->SetVisible(s->Knot != nullptr ? s->Knot->Visible : 0);
}

void TEditorSupports::LoadFromStream(BinaryReader& r, const KnotIndex& knots) {
  const std::int32_t count = r.ReadCount(kSupportRecordBytes);
  std::vector<std::unique_ptr<TEditorSupport>> supports;
  supports.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    std::unique_ptr<TEditorSupport> support = factory_->MakeSupport();
    support->Fixation = TFixation{2, 2, 2, 2, 2, 2};
    support->Knot = nullptr;
    support->LoadFromStream(r, knots);
    supports.push_back(std::move(support));
  }
  items_ = std::move(supports);
}

void TEditorSupports::SaveToStream(BinaryWriter& w, const KnotIndex& knots) const {
  w.WriteInt32(Count());
  for (const auto& s : items_) s->SaveToStream(w, knots);
}

}  // namespace tavir
