#include "model/supervisor.h"

#include <cstring>

namespace tavir {

namespace {

// The stored part of a default load: the first 4 of its 60 bytes, which are the
// low half of the significand of Px.
constexpr std::size_t kStoredForceBytes = 4;

void WriteForceHead(BinaryWriter& w, const TForceRecord& f) {
  std::uint8_t px[kExtendedBytes];
  EncodeExtended(f.Px, px);
  w.WriteBytes(px, kStoredForceBytes);
}

void ReplaceForceHead(TForceRecord& f, const std::uint8_t head[kStoredForceBytes]) {
  std::uint8_t px[kExtendedBytes];
  EncodeExtended(f.Px, px);
  std::memcpy(px, head, kStoredForceBytes);
  f.Px = DecodeExtended(px);
}

}  // namespace

// ---- TBCSupervisor ----

std::string TBCSupervisor::GetSpareString(int index) const {
  if (index < 1 || index > kSpareStringCount) return {};
  return spare_[static_cast<std::size_t>(index - 1)];
}

void TBCSupervisor::SetSpareString(int index, const std::string& v) {
  if (index < 1 || index > kSpareStringCount) return;
  spare_[static_cast<std::size_t>(index - 1)] = v;
}

void TBCSupervisor::Assign(const TBCSupervisor& source) {
  if (&source == this) return;
  SetReservedA(source.ReservedA);
  SetReservedB(source.ReservedB);
  SetReservedC(source.ReservedC);
  SetWindowCount(source.WindowCount);
  SetCurrentWindow(source.CurrentWindow);
  for (int i = 1; i <= kSpareStringCount; ++i) SetSpareString(i, source.GetSpareString(i));
  SetWorkMode(source.WorkMode);
}

// ---- TEditSupervisor ----

std::vector<std::string> TaskActionNames(const TBCTask& task) {
  std::vector<std::string> names{"acModeEdit"};
  switch (task.EvulKind) {
    case 0: names.emplace_back("acEvulStatic"); break;
    case 1: names.emplace_back("acEvulDinamic"); break;
    default: break;
  }
  switch (task.Dimension) {
    case 0:
      names.emplace_back("ac2DTriangle");
      names.emplace_back("acDimension_2D");
      break;
    case 1:
      names.emplace_back("ac3DCube");
      names.emplace_back("acDimension_3D");
      break;
    case 2:
      names.emplace_back("acPlaneRectangle");
      names.emplace_back("acDimension_Planes");
      break;
    default: break;
  }
  return names;
}

std::vector<std::string> TEditSupervisor::ApplyTaskActions() const { return TaskActionNames(Task); }

void TEditSupervisor::CopySettingsFrom(const TEditSupervisor& s) {
  if (&s == this) return;
  ReservedA = s.ReservedA;
  ReservedB = s.ReservedB;
  ReservedC = s.ReservedC;
  CurrentWindow = s.CurrentWindow;
  Task.Assign(s.Task);
  Grid.Assign(s.Grid);
  RegionX1 = s.RegionX1;
  RegionY1 = s.RegionY1;
  RegionZ1 = s.RegionZ1;
  RegionX2 = s.RegionX2;
  RegionY2 = s.RegionY2;
  RegionZ2 = s.RegionZ2;
  InputMode = s.InputMode;
  DefFixation = s.DefFixation;
  ElementType = s.ElementType;
  MaterialIndex = s.MaterialIndex;
  DefConcForce = s.DefConcForce;
  DefDispForce = s.DefDispForce;
  ReservedD = s.ReservedD;
  ReservedE = s.ReservedE;
  ElemKind = s.ElemKind;
  DefDirection = s.DefDirection;
}

void TEditSupervisor::SaveToStream(BinaryWriter& w) const {
  w.WriteByte(ReservedA);
  w.WriteByte(ReservedB);
  w.WriteInt32(ReservedC);
  w.WriteInt32(CurrentWindow);
  Options.SaveToStream(w);
  Task.SaveToStream(w);
  Grid.SaveToStream(w);
  w.WriteExtended(RegionX1);
  w.WriteExtended(RegionY1);
  w.WriteExtended(RegionZ1);
  w.WriteExtended(RegionX2);
  w.WriteExtended(RegionY2);
  w.WriteExtended(RegionZ2);
  w.WriteByte(CodeByte(InputMode));
  WriteFixation(w, DefFixation);
  w.WriteByte(CodeByte(ElementType));
  w.WriteInt32(MaterialIndex);
  WriteForceHead(w, DefConcForce);
  WriteForceHead(w, DefDispForce);
  w.WriteInt32(ReservedD);
  w.WriteInt32(ReservedE);
  w.WriteByte(CodeByte(ElemKind));
  w.WriteInt32(DefDirection);
  w.WriteByte(0);
}

void TEditSupervisor::LoadFromStream(BinaryReader& r) {
  // The whole block is there before any field changes, so a short one changes nothing.
  r.Require(kSettingsBlockBytes);
  ReservedA = r.ReadByte();
  ReservedB = r.ReadByte();
  ReservedC = r.ReadInt32();
  CurrentWindow = r.ReadInt32();
  Options.LoadFromStream(r);
  Task.LoadFromStream(r);
  Grid.LoadFromStream(r);
  RegionX1 = r.ReadExtended();
  RegionY1 = r.ReadExtended();
  RegionZ1 = r.ReadExtended();
  RegionX2 = r.ReadExtended();
  RegionY2 = r.ReadExtended();
  RegionZ2 = r.ReadExtended();
  InputMode = CodeOfByte<tavir::InputMode>(r.ReadByte());  // kept as read
  DefFixation = ReadFixation(r);
  ElementType = CodeOfByte<tavir::ElementType>(r.ReadByte());  // kept as read
  MaterialIndex = r.ReadInt32();
  std::uint8_t head[kStoredForceBytes];
  r.ReadBytes(head, kStoredForceBytes);
  ReplaceForceHead(DefConcForce, head);
  r.ReadBytes(head, kStoredForceBytes);
  ReplaceForceHead(DefDispForce, head);
  ReservedD = r.ReadInt32();
  ReservedE = r.ReadInt32();
  ElemKind = CodeOfByte<ElementKind>(r.ReadByte());  // kept as read
  DefDirection = r.ReadInt32();
  r.ReadByte();
}

}  // namespace tavir
