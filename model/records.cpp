#include "model/records.h"

namespace tavir {

Extended TForceRecord::Component(int i) const {
  switch (i) {
    case 1: return Px;
    case 2: return Py;
    case 3: return Pz;
    case 4: return Mx;
    case 5: return My;
    case 6: return Mz;
    default: return 0;
  }
}

void TForceRecord::SetComponent(int i, Extended v) {
  switch (i) {
    case 1: Px = v; break;
    case 2: Py = v; break;
    case 3: Pz = v; break;
    case 4: Mx = v; break;
    case 5: My = v; break;
    case 6: Mz = v; break;
    default: break;
  }
}

bool TForceRecord::IsZero() const {
  return Px == 0 && Py == 0 && Pz == 0 && Mx == 0 && My == 0 && Mz == 0;
}

TFloatPoint FloatPoint(Extended x, Extended y) {
  TFloatPoint p;
  p.X = x;
  p.Y = y;
  return p;
}

TFloatPoint3D FloatPoint3D(Extended x, Extended y, Extended z) {
  TFloatPoint3D p;
  p.X = x;
  p.Y = y;
  p.Z = z;
  return p;
}

void ReadSlot(BinaryReader& r, Extended& v, SlotPadding& pad) {
  v = r.ReadExtended();
  r.ReadBytes(pad.data(), pad.size());
}

void WriteSlot(BinaryWriter& w, Extended v, const SlotPadding& pad) {
  w.WriteExtended(v);
  w.WriteBytes(pad.data(), pad.size());
}

TFloatPoint ReadFloatPoint(BinaryReader& r) {
  TFloatPoint p;
  ReadSlot(r, p.X, p.PadX);
  ReadSlot(r, p.Y, p.PadY);
  return p;
}

void WriteFloatPoint(BinaryWriter& w, const TFloatPoint& p) {
  WriteSlot(w, p.X, p.PadX);
  WriteSlot(w, p.Y, p.PadY);
}

TFloatPoint3D ReadFloatPoint3D(BinaryReader& r) {
  TFloatPoint3D p;
  ReadSlot(r, p.X, p.PadX);
  ReadSlot(r, p.Y, p.PadY);
  ReadSlot(r, p.Z, p.PadZ);
  return p;
}

void WriteFloatPoint3D(BinaryWriter& w, const TFloatPoint3D& p) {
  WriteSlot(w, p.X, p.PadX);
  WriteSlot(w, p.Y, p.PadY);
  WriteSlot(w, p.Z, p.PadZ);
}

TFixation ReadFixation(BinaryReader& r) {
  TFixation f{};
  r.ReadBytes(f.data(), f.size());
  return f;
}

void WriteFixation(BinaryWriter& w, const TFixation& f) { w.WriteBytes(f.data(), f.size()); }

TForceRecord ReadForceRecord(BinaryReader& r) {
  TForceRecord f;
  f.Px = r.ReadExtended();
  f.Py = r.ReadExtended();
  f.Pz = r.ReadExtended();
  f.Mx = r.ReadExtended();
  f.My = r.ReadExtended();
  f.Mz = r.ReadExtended();
  return f;
}

void WriteForceRecord(BinaryWriter& w, const TForceRecord& f) {
  w.WriteExtended(f.Px);
  w.WriteExtended(f.Py);
  w.WriteExtended(f.Pz);
  w.WriteExtended(f.Mx);
  w.WriteExtended(f.My);
  w.WriteExtended(f.Mz);
}

}  // namespace tavir
