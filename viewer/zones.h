#pragma once
// The colour pictures of a plan view: layer zones and zone fills of the shells,
// whose colour grows with a per-element quantity. Knots, supports, loads and the
// elements themselves are drawn by the model's own routines (TEditorKnot::Draw,
// TEditorSupport::Draw, TEditorConcentrateForce::Draw, TMLEditorElement::Draw),
// which the analysis program shares with the editor; distributed loads draw nothing.
#include <cstdint>
#include <vector>

#include "analysis/result_objects.h"
#include "platform/canvas.h"
#include "viewer/adaptation.h"  // ShellThickness, ShellInitialThickness, ShellVolume

namespace tavir {

// The screen polygon of an element: three knots for type 0, four for types 1 to
// 3; empty for other types, for a knot array shorter than that or holding nil.
std::vector<TPoint> ElementScreenPolygon(const TMLEditorElement& element);

// The layer-zone picture of one shell (layer i's brush, or the stack's for i < 0);
// a rectangle shows its first layer's thickness as text. Nothing for an invisible
// shell or an empty layer stack.
void DrawZone(const TMLResultShell& shell, Canvas& canvas, std::int32_t layerIndex);
// One-sided scale: white for 0 to pure red at |Value| = |Max|. Nothing when
// |Value| > |Max| or a value is not a number.
void FillByValue(const TMLResultShell& shell, Canvas& canvas, Extended value, Extended max);
// Two-sided scale around Initial: red toward Max, blue toward Min. Nothing unless
// Min <= Current <= Max, Min <= Max and Initial is near neither Min nor Max.
void FillByScale(const TMLResultShell& shell, Canvas& canvas, Extended current, Extended initial, Extended min,
                 Extended max);

// The loops over the shells: layer zones with the stacks' brushes, and the fills
// by colour count (1: volume against the largest volume; 2: thickness against its
// initial value between the smallest and the largest thickness; other counts
// draw nothing).
void DrawLayerZones(Canvas& canvas, const std::vector<const TMLResultShell*>& shells);
void DrawZones(Canvas& canvas, const std::vector<const TMLResultShell*>& shells, std::int32_t colorCount);

}  // namespace tavir
