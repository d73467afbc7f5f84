#include "viewer/adaptation.h"

#include <algorithm>
#include <cmath>

#include "analysis/matrix.h"
#include "viewer/knot_values.h"

namespace tavir {

std::string CheckAdaptParams(const TAdaptParams& params) {
  if (!std::isfinite(params.Precision) || !(params.Precision > 0)) return kBadAdaptPrecisionText;
  return "";
}

namespace {
constexpr Extended kOneThird = 1.0L / 3.0L;

bool PositiveFinite(Extended v) { return std::isfinite(v) && v > 0; }
}  // namespace

void TAdaptParams::Assign(const TAdaptParams& source) {
  SetPrecision(source.Precision);
  SetAdaptThickness(source.AdaptThickness);
  SetAdaptFlight(source.AdaptFlight);
  SetDeleteElements(source.DeleteElements);
  SetMinThickness(source.MinThickness);
  SetFlightDirection(source.FlightDirection);
  SetRefreshView(source.RefreshView);
}

Extended TargetEnergyDensity(const TPhisicalCharsLinear* material) {
  if (material == nullptr || !PositiveFinite(material->E)) return 0;
  const Extended s = 0.4L * material->R;
  const Extended u = s * s / (2 * material->E);
  return PositiveFinite(u) ? u : 0;
}

Extended ShellArea(const TMLResultShell& shell) {
  if (shell.ElementType != ElementType::Rectangle || shell.Knots.size() < 4) return 0;
  const TEditorKnot* k0 = shell.Knots[0];
  const TEditorKnot* k1 = shell.Knots[1];
  const TEditorKnot* k3 = shell.Knots[3];
  if (k0 == nullptr || k1 == nullptr || k3 == nullptr) return 0;
  return (k3->X - k0->X) * (k1->Y - k0->Y);
}

Extended ShellThickness(const TMLResultShell& shell) {
  Extended t = 0;
  for (std::int32_t j = 0; j < shell.Layers.Count(); ++j)
    if (auto layer = shell.Layers.Layer(j)) t += layer->Thickness;
  return t;
}

Extended ShellInitialThickness(const TMLResultShell& shell) {
  Extended t = 0;
  for (Extended v : shell.InitialThicknesses) t += v;
  return t;
}

Extended ShellVolume(const TMLResultShell& shell) { return ShellThickness(shell) * ShellArea(shell); }

void PrepareAdaptation(TMLResultShell& shell) {
  const std::size_t n = static_cast<std::size_t>(shell.Layers.Count());
  shell.TargetDensity.assign(n, 0);
  shell.InitialThicknesses.assign(n, 0);
  for (std::size_t j = 0; j < n; ++j) {
    auto layer = shell.Layers.Layer(static_cast<std::int32_t>(j));
    if (!layer) continue;
    const auto material = layer->Material();
    shell.TargetDensity[j] = TargetEnergyDensity(material.get());
    shell.InitialThicknesses[j] = layer->Thickness;
  }
}

Extended StrainEnergy(TMLResultShell& shell, const std::vector<Extended>& vector) {
  if (vector.empty() || shell.Stiffness.Rows() != 20 || shell.Stiffness.Cols() != 20 || shell.Knots.size() < 4)
    return 0;
  TFloatVector q(20, 0);
  for (int m = 0; m < 4; ++m) {
    const TResultKnot* k = AsResultKnot(shell.Knots[static_cast<std::size_t>(m)]);
    if (k == nullptr) return 0;
    for (int d = 0; d < 5; ++d) {
      const std::int64_t eq = static_cast<std::int64_t>(k->Number) * 5 + d;
      if (eq < 0 || static_cast<std::uint64_t>(eq) >= vector.size()) return 0;
      q[static_cast<std::size_t>(d * 4 + m)] = vector[static_cast<std::size_t>(eq)];
    }
  }
  TFloatVector kq(20, 0);
  MatrixVectorMultiply(shell.Stiffness, q, kq);
  const Extended u = VectorDotProduct(q, kq) / 2;
  shell.LastStrainEnergy = u;
  return u;
}

Extended EnergyDensity(const TMLResultShell& shell) {
  const Extended v = ShellVolume(shell);
  if (!PositiveFinite(v)) return 0;
  return shell.LastStrainEnergy / v;
}

void AdaptLayerThickness(TMLResultShell& shell) {
  for (std::int32_t j = 0; j < shell.Layers.Count(); ++j) {
    auto layer = shell.Layers.Layer(j);
    if (!layer) continue;
    const std::size_t jj = static_cast<std::size_t>(j);
    const Extended target = jj < shell.TargetDensity.size() ? shell.TargetDensity[jj] : 0;
    // Without a target or a volume the density ratio means nothing: keep the layer.
    if (!PositiveFinite(target) || !PositiveFinite(ShellVolume(shell))) continue;
    Extended r = EnergyDensity(shell) / target;
    if (!std::isfinite(r)) continue;
    if (r < 0) r = 0;  // a negative energy is round-off of a zero one
    const Extended t = layer->Thickness;
    layer->SetThickness((t + t * std::pow(r, kOneThird)) / 2);
  }
}

void PrepareAdaptation(TFinElements& elements, ProgressObserver* progress) {
  const long long count = elements.Count();
  if (progress) progress->SetBar(0, count);
  long long step = 0;
  for (const auto& e : elements.Items()) {
    if (TMLResultShell* s = AsResultShell(e.get())) PrepareAdaptation(*s);
    if (progress) progress->SetBar(++step, count);
  }
}

void UpdateThicknesses(TFinElements& elements, const std::vector<Extended>& vector) {
  for (const auto& e : elements.Items()) {
    if (TMLResultShell* s = AsResultShell(e.get())) {
      StrainEnergy(*s, vector);
      AdaptLayerThickness(*s);
    }
  }
}

Extended TotalVolume(const TFinElements& elements) {
  Extended v = 0;
  for (const auto& e : elements.Items())
    if (const TMLResultShell* s = AsResultShell(e.get())) v += ShellVolume(*s);
  return v;
}

Extended MaxVolume(const TFinElements& elements) {
  Extended v = 0;
  for (const auto& e : elements.Items())
    if (const TMLResultShell* s = AsResultShell(e.get())) v = std::max(v, ShellVolume(*s));
  return v;
}

Extended MaxThickness(const TFinElements& elements) {
  Extended v = 0;
  for (const auto& e : elements.Items())
    if (const TMLResultShell* s = AsResultShell(e.get())) v = std::max(v, ShellThickness(*s));
  return v;
}

Extended MinThickness(const TFinElements& elements) {
  Extended v = 1E4096L;
  for (const auto& e : elements.Items())
    if (const TMLResultShell* s = AsResultShell(e.get())) v = std::min(v, ShellThickness(*s));
  return v;
}

bool RiseConverged(Extended f, Extended fNew, Extended precision) {
  if (f == fNew) return true;
  const Extended m = std::min(std::fabs(f), std::fabs(fNew));
  if (!(m > 0)) return false;
  const Extended change = std::fabs((f - fNew) * 100 / m);
  return precision > change;
}

namespace {
Extended NewRise(Extended f, Extended c) { return (f + c * f) / 2; }
}  // namespace

bool AdaptParaboloidRise(TElipticParabolloid& surface, std::int32_t direction, Extended precision, Extended c) {
  auto stepX = [&] {
    const Extended f = surface.GetF1();
    const Extended g = NewRise(f, c);
    surface.SetF1(g);
    return RiseConverged(f, g, precision);
  };
  auto stepY = [&] {
    const Extended f = surface.GetF2();
    const Extended g = NewRise(f, c);
    surface.SetF2(g);
    return RiseConverged(f, g, precision);
  };
  if (direction == 1) return stepX();
  if (direction == 2) return stepY();
  const bool x = stepX();
  const bool y = stepY();
  return x && y;
}

bool AdaptSphereRise(TSphere& surface, Extended precision, Extended c) {
  const Extended f = surface.GetF();
  const Extended g = NewRise(f, c);
  surface.SetF(g);
  return RiseConverged(f, g, precision);
}

namespace {

bool UsableRise(Extended f) { return std::isnormal(f); }

bool UsableCurvatures(const TBaseShellFuncs& s) {
  return std::isfinite(s.Kx) && std::isfinite(s.Ky) && std::isfinite(s.Kxy);
}

}  // namespace

RiseStepResult AdaptRiseStep(TShellFunctions& surfaces, std::int32_t direction, Extended precision, Extended c) {
  RiseStepResult result;
  const auto& items = surfaces.Items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    TBaseShellFuncs* s = items[i].get();
    bool converged = true;
    bool usable = true;
    if (s->Kind == kShellParaboloid) {
      auto* p = dynamic_cast<TElipticParabolloid*>(s);
      if (p == nullptr) continue;
      converged = AdaptParaboloidRise(*p, direction, precision, c);
      usable = (direction == 2 || UsableRise(p->GetF1())) && (direction == 1 || UsableRise(p->GetF2()));
    } else if (s->Kind == kShellSphere) {
      auto* p = dynamic_cast<TSphere*>(s);
      if (p == nullptr) continue;
      converged = AdaptSphereRise(*p, precision, c);
      usable = UsableRise(p->GetF()) && std::isfinite(p->GetR());
    } else {
      continue;
    }
    const auto position = static_cast<std::int32_t>(i);
    if (!converged) {
      result.Converged = false;
      result.Unconverged.push_back(position);
    }
    if ((!usable || !UsableCurvatures(*s)) && result.Unsound < 0) result.Unsound = position;
  }
  return result;
}

bool AdaptRise(TShellFunctions& surfaces, std::int32_t direction, Extended precision, Extended c) {
  return AdaptRiseStep(surfaces, direction, precision, c).Converged;
}

SurfaceSnapshot::SurfaceSnapshot(const TShellFunctions& surfaces) {
  for (const auto& s : surfaces.Items()) saved_.push_back({s->Params, s->Kx, s->Ky, s->Kxy});
}

void SurfaceSnapshot::Restore(TShellFunctions& surfaces) const {
  const auto& items = surfaces.Items();
  for (std::size_t i = 0; i < items.size() && i < saved_.size(); ++i) {
    items[i]->Params = saved_[i].Params;
    items[i]->Kx = saved_[i].Kx;
    items[i]->Ky = saved_[i].Ky;
    items[i]->Kxy = saved_[i].Kxy;
  }
}

ThicknessSnapshot::ThicknessSnapshot(const TFinElements& elements) {
  for (const auto& e : elements.Items())
    if (const TMLResultShell* s = AsResultShell(e.get()))
      for (std::int32_t j = 0; j < s->Layers.Count(); ++j)
        if (auto layer = s->Layers.Layer(j)) thicknesses_.push_back(layer->Thickness);
}

void ThicknessSnapshot::Restore(TFinElements& elements) const {
  std::size_t next = 0;
  for (const auto& e : elements.Items())
    if (TMLResultShell* s = AsResultShell(e.get()))
      for (std::int32_t j = 0; j < s->Layers.Count() && next < thicknesses_.size(); ++j)
        if (auto layer = s->Layers.Layer(j)) layer->SetThickness(thicknesses_[next++]);
}

std::string SurfaceName(const TShellFunctions& surfaces, std::int32_t position) {
  std::string name = "поверхность № " + std::to_string(position + 1);
  const auto& items = surfaces.Items();
  if (position >= 0 && static_cast<std::size_t>(position) < items.size()) {
    const std::int16_t kind = items[static_cast<std::size_t>(position)]->Kind;
    if (kind == kShellSphere) name += " (сфера)";
    else if (kind == kShellParaboloid) name += " (эллиптический параболоид)";
  }
  return name;
}

Extended RiseCoefficient(Extended energy, Extended volume, Extended targetDensity) {
  if (!PositiveFinite(volume) || !PositiveFinite(targetDensity) || !std::isfinite(energy)) return 1;
  Extended r = energy / volume / targetDensity;
  if (!std::isfinite(r)) return 1;
  if (r < 0) r = 0;
  return std::pow(r, kOneThird);
}

Extended EnergyMeasure(Extended energy, Extended targetDensity) {
  if (!PositiveFinite(targetDensity) || !std::isfinite(energy)) return 0;
  Extended r = energy / targetDensity;
  if (!std::isfinite(r) || r < 0) r = 0;
  return std::pow(r, kOneThird);
}

Extended VolumeChange(Extended v0, Extended v1) {
  if (v0 == v1) return 0;
  const Extended m = std::min(std::fabs(v0), std::fabs(v1));
  if (!(m > 0)) return HUGE_VALL;
  return std::fabs((v1 - v0) / m * 100);
}

Extended PotentialEnergy(const BandMatrix& matrix, const std::vector<Extended>& vector) {
  if (!matrix.IsAllocated() || vector.empty() || vector.size() != matrix.Size()) return 0;
  std::vector<Extended> kf(vector.size(), 0);
  BandMultiply(matrix, vector, kf);
  return VectorDotProduct(vector, kf) / 2;
}

}  // namespace tavir
