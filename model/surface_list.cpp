#include "model/surface_list.h"

#include <string>
#include <utility>

namespace tavir {

namespace {
const char* const kUnknownShellKind = "Файл поврежден: неизвестный вид поверхности оболочки (";

// Smallest file size of one surface, so that a count is checked against the bytes
// left before anything is made.
// Int16 kind of a surface whose record follows: at least its own header.
constexpr std::size_t kMinShellEntryBytes = 2;
}  // namespace

TEditorShellEP* TShellFunctions::Add(std::unique_ptr<TEditorShellEP> shell) { return Append(std::move(shell)); }

TEditorSphere* TShellFunctions::Add(std::unique_ptr<TEditorSphere> shell) { return Append(std::move(shell)); }


TBaseShellFuncs* TShellFunctions::FirstContaining(Extended x, Extended y) const {
  for (const auto& s : items_) {
    if (const TEditorShellEP* p = AsParaboloid(s.get())) {
      if (p->Contains(x, y)) return s.get();
    } else if (const TEditorSphere* sp = AsSphere(s.get())) {
      if (sp->Contains(x, y)) return s.get();
    }
  }
  return nullptr;
}

Extended TShellFunctions::GetZ(Extended x, Extended y) {
  TBaseShellFuncs* s = FirstContaining(x, y);
  if (s == nullptr) return 0;
  if (TEditorShellEP* p = AsParaboloid(s)) return p->GetZ(x, y);
  return AsSphere(s)->GetZ(x, y);
}

Extended TShellFunctions::GetKx(Extended x, Extended y) const {
  const TBaseShellFuncs* s = FirstContaining(x, y);
  return s != nullptr ? s->Kx : 0;
}

Extended TShellFunctions::GetKy(Extended x, Extended y) const {
  TBaseShellFuncs* s = FirstContaining(x, y);
  if (s == nullptr) return 0;
  // A sphere's two curvatures are one.
  return AsSphere(s) != nullptr ? s->Kx : s->Ky;
}

void TShellFunctions::Draw(Canvas& canvas) const {
  for (const auto& s : items_) {
    if (const TEditorShellEP* p = AsParaboloid(s.get())) {
      if (p->Visible != 0) p->Draw(canvas);
    } else if (const TEditorSphere* sp = AsSphere(s.get())) {
      if (sp->Visible != 0) sp->Draw(canvas);
    }
  }
}

void TShellFunctions::CalcScreenRects(const TViewTransform& window) {
  for (const auto& s : items_) {
    if (TEditorShellEP* p = AsParaboloid(s.get())) p->CalcScreenRect(window);
    else if (TEditorSphere* sp = AsSphere(s.get())) sp->CalcScreenRect(window);
  }
}

void TShellFunctions::UpdateVisible(const TViewTransform& window) {
  for (const auto& s : items_) {
    if (TEditorShellEP* p = AsParaboloid(s.get())) p->CheckVisible(window);
    else if (TEditorSphere* sp = AsSphere(s.get())) sp->CheckVisible(window);
  }
}

void TShellFunctions::LoadFromStream(BinaryReader& r) {
  const std::int32_t count = r.ReadCount(kMinShellEntryBytes);
  std::vector<std::unique_ptr<TBaseShellFuncs>> shells;
  shells.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    const std::int16_t kind = r.ReadInt16();
    if (kind == kShellParaboloid) {
      std::unique_ptr<TEditorShellEP> p = factory_->MakeParaboloid();
      p->SetOrigin(FloatPoint3D(0, 0, 0));
      p->SetPlane(kShellPlaneXY);
      p->SetParams(0, 0, 0, 0);
      p->SetColor(255);
      p->LoadFromStream(r);
      shells.push_back(std::move(p));
    } else if (kind == kShellSphere) {
      std::unique_ptr<TEditorSphere> s = factory_->MakeSphere();
      s->SetOrigin(FloatPoint3D(0, 0, 0));
      s->SetPlane(kShellPlaneXY);
      s->SetParams(0, 0);
      s->SetColor(255);
      s->LoadFromStream(r);
      shells.push_back(std::move(s));
    } else {
      // The editor writes no other kind; what a file holds after one is unknown.
      throw EFormatError(std::string(kUnknownShellKind) + std::to_string(kind) + ").");
    }
  }
  items_ = std::move(shells);
}

void TShellFunctions::SaveToStream(BinaryWriter& w) const {
  // Only paraboloids and spheres are ever held (Add takes nothing else).
  std::int32_t count = 0;
  for (const auto& s : items_)
    if (AsParaboloid(s.get()) != nullptr || AsSphere(s.get()) != nullptr) ++count;
  w.WriteInt32(count);
  for (const auto& s : items_) {
    if (const TEditorShellEP* p = AsParaboloid(s.get())) {
      w.WriteInt16(kShellParaboloid);
      p->SaveToStream(w);
    } else if (const TEditorSphere* sp = AsSphere(s.get())) {
      w.WriteInt16(kShellSphere);
      sp->SaveToStream(w);
    }
  }
}

}  // namespace tavir
