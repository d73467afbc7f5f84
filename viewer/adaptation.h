#pragma once
// Thickness and shell-rise adaptation: the settings, and the per-shell and
// per-surface steps that the adaptation loop of the analysis project drives.
//
// Each layer's thickness is moved half-way towards the thickness at which the
// element's strain energy density equals the layer's target density
// (0.4 R)² / (2 E); each surface's rise is moved half-way towards C times itself.
// Undefined quantities never become a division by zero or NaN: a layer whose
// target density is not positive and finite (E = 0, R = 0) or an element without
// volume keeps its thickness; a negative energy ratio (round-off) counts as 0; an
// unchanged rise has converged.
#include <cstdint>
#include <string>

#include "analysis/band_matrix.h"
#include "analysis/result_objects.h"
#include "model/project.h"
#include "model/shell_surfaces.h"
#include "platform/extended.h"
#include "platform/services.h"

namespace tavir {

class TAdaptParams {
 public:
  bool DeleteElements = false;  // edited in the dialog, read by no computation
  bool AdaptFlight = false;
  bool AdaptThickness = true;
  Extended MinThickness = 0;    // edited in the dialog, read by no computation
  Extended Precision = 1.0L;    // percent
  std::int32_t FlightDirection = 2;  // 1 along X, 2 along Y, any other both
  bool RefreshView = true;

  void SetDeleteElements(bool v) { DeleteElements = v; }
  void SetAdaptFlight(bool v) { AdaptFlight = v; }
  void SetAdaptThickness(bool v) { AdaptThickness = v; }
  void SetMinThickness(Extended v) { MinThickness = v; }
  void SetPrecision(Extended v) { Precision = v; }
  void SetFlightDirection(std::int32_t v) { FlightDirection = v; }
  void SetRefreshView(bool v) { RefreshView = v; }

  void Assign(const TAdaptParams& source);
  bool operator==(const TAdaptParams&) const = default;
};

// The check of the adaptation dialog's OK, also made by the adaptation itself:
// the precision must be a finite number above 0 (the volume change is never
// below 0, so the loop could not end). Empty when the settings can be used, else
// the Russian message.
std::string CheckAdaptParams(const TAdaptParams& params);
inline constexpr const char* kBadAdaptPrecisionText =
    "Точность адаптации должна быть положительным числом (в процентах)!";

// (0.4 R)² / (2 E) of a material; 0 when it is not a positive finite number
// (no material, E <= 0).
Extended TargetEnergyDensity(const TPhisicalCharsLinear* material);

// ---- one shell ----
Extended ShellArea(const TMLResultShell& shell);       // a × b for a rectangle (type 1), else 0
Extended ShellThickness(const TMLResultShell& shell);  // Σ layer thicknesses
Extended ShellInitialThickness(const TMLResultShell& shell);
Extended ShellVolume(const TMLResultShell& shell);
void PrepareAdaptation(TMLResultShell& shell);
// U = q · (K q) / 2 from the element's 20 values; 0 (nothing stored) for an empty
// vector or an element matrix that is not 20 × 20.
Extended StrainEnergy(TMLResultShell& shell, const std::vector<Extended>& vector);
// The stored energy over the volume; 0 without volume.
Extended EnergyDensity(const TMLResultShell& shell);
// The thickness step of every layer, in stack order (each sees the volume with
// the layers already changed).
void AdaptLayerThickness(TMLResultShell& shell);

// ---- the element list (shells only) ----
void PrepareAdaptation(TFinElements& elements, ProgressObserver* progress = nullptr);
void UpdateThicknesses(TFinElements& elements, const std::vector<Extended>& vector);
Extended TotalVolume(const TFinElements& elements);
Extended MaxVolume(const TFinElements& elements);
Extended MaxThickness(const TFinElements& elements);
Extended MinThickness(const TFinElements& elements);  // 1E4096 without shells

// ---- surfaces ----
// f' = (f + C f) / 2; converged when the change |(f - f') × 100 / min(|f|, |f'|)|
// is below Precision, or when the rise did not change.
bool RiseConverged(Extended f, Extended fNew, Extended precision);
bool AdaptParaboloidRise(TElipticParabolloid& surface, std::int32_t direction, Extended precision, Extended c);
// SetF also derives the radius and the curvatures again.
bool AdaptSphereRise(TSphere& surface, Extended precision, Extended c);
// Every paraboloid and sphere in list order; true when all converged (and for an
// empty list). A surface that has not converged does not stop the others.
bool AdaptRise(TShellFunctions& surfaces, std::int32_t direction, Extended precision, Extended c);

// One rise step of every surface as AdaptRise makes it, with what it left: the
// surfaces whose rise has not converged, and the first whose new rise (or the
// radius or curvature derived from it) is no usable number: zero, subnormal or
// not finite. A model with such a surface cannot be analysed again.
struct RiseStepResult {
  bool Converged = true;
  std::vector<std::int32_t> Unconverged;  // positions in the surface list
  std::int32_t Unsound = -1;              // -1: every new rise is usable
};
RiseStepResult AdaptRiseStep(TShellFunctions& surfaces, std::int32_t direction, Extended precision, Extended c);

// The parameters and curvatures of every surface, to put back when a rise step
// has left a rise that cannot be used.
class SurfaceSnapshot {
 public:
  explicit SurfaceSnapshot(const TShellFunctions& surfaces);
  void Restore(TShellFunctions& surfaces) const;

 private:
  struct Saved {
    std::vector<Extended> Params;
    Extended Kx = 0, Ky = 0, Kxy = 0;
  };
  std::vector<Saved> saved_;
};

// The layer thicknesses of every shell, to put back when a thickness step has left
// a shell that cannot be analysed.
class ThicknessSnapshot {
 public:
  explicit ThicknessSnapshot(const TFinElements& elements);
  void Restore(TFinElements& elements) const;

 private:
  std::vector<Extended> thicknesses_;  // every layer of every shell, in list order
};

// "поверхность № 1 (сфера)": how messages name a surface (position from 0).
std::string SurfaceName(const TShellFunctions& surfaces, std::int32_t position);

// The rise coefficient (W / V0 / u*0)^(1/3); 1 (no change) when V0 or u*0 is not
// positive finite, the ratio clamped at 0.
Extended RiseCoefficient(Extended energy, Extended volume, Extended targetDensity);
// (W / u*0)^(1/3) with the same guards (0 for an undefined ratio).
Extended EnergyMeasure(Extended energy, Extended targetDensity);
// |(V1 - V0) / min(|V0|, |V1|) × 100|; 0 for equal volumes, +inf when one is 0.
Extended VolumeChange(Extended v0, Extended v1);

// W = F · (K F) / 2; 0 when the matrix or the vector is missing or they differ in size.
Extended PotentialEnergy(const BandMatrix& matrix, const std::vector<Extended>& vector);

}  // namespace tavir
