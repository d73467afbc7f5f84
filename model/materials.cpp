#include "model/materials.h"

namespace tavir {

void TPhisPropNL::Assign(const TPhisicalCharsLinear& source) {
  const auto* s = dynamic_cast<const TPhisPropNL*>(&source);
  if (s == nullptr || s == this) return;
  E = s->E;
  mu = s->mu;
  ro = s->ro;
  R = s->R;
  E1 = s->E1;
  A = s->A;
  k = s->k;
  EpsT = s->EpsT;
  Diagramma = s->Diagramma;
}

void TPhisPropRodNL::Assign(const TPhisicalCharsLinear& source) {
  TPhisPropNL::Assign(source);
  if (const auto* s = dynamic_cast<const TPhisPropRodNL*>(&source)) Fi = s->Fi;
}

void TPhisPropRodNL::LoadFromStream(BinaryReader& r) {
  r.Require(kMaterialRecordBytes);
  TPhisPropRodNL m;
  m.E = r.ReadExtended();
  m.mu = r.ReadExtended();
  m.ro = r.ReadExtended();
  m.R = r.ReadExtended();
  m.Fi = r.ReadExtended();
  m.EpsT = r.ReadExtended();
  m.Diagramma = r.ReadByte();
  m.E1 = r.ReadExtended();
  m.A = r.ReadExtended();
  m.k = r.ReadExtended();
  m.Reserved = r.ReadByte();
  *this = m;
}

void TPhisPropRodNL::SaveToStream(BinaryWriter& w) const {
  w.WriteExtended(E);
  w.WriteExtended(mu);
  w.WriteExtended(ro);
  w.WriteExtended(R);
  w.WriteExtended(Fi);
  w.WriteExtended(EpsT);
  w.WriteByte(Diagramma);
  w.WriteExtended(E1);
  w.WriteExtended(A);
  w.WriteExtended(k);
  w.WriteByte(Reserved);
}

}  // namespace tavir
