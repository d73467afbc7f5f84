#pragma once
// A small model with one item of every kind, built in code, for the project and
// project-file tests.
#include <cstdint>
#include <memory>
#include <vector>

#include "model/project.h"

namespace tavir::testing {

inline ViewTransform PlanWindow() {
  ViewTransform w;
  w.MinPoint = FloatPoint3D(-1, -1, -5);
  w.MaxPoint = FloatPoint3D(4, 2, 5);
  w.Scale = FloatPoint(0.01L, 0.01L);
  w.Projection = Projection::XY;
  w.Width = 500;
  w.Height = 300;
  return w;
}

// A plan window over [0, 10] x [0, 10] at 100 pixels per unit, so that the model
// point (x, y) is the pixel (100 x, 1000 - 100 y), with the grid step along every axis.
inline ViewTransform GridPlanWindow(Extended step = 1) {
  ViewTransform w;
  w.MinPoint = FloatPoint3D(0, 0, 0);
  w.MaxPoint = FloatPoint3D(10, 10, 10);
  w.Scale = FloatPoint(0.01L, 0.01L);
  w.Projection = Projection::XY;
  w.Width = 1000;
  w.Height = 1000;
  w.Grid.StepX = step;
  w.Grid.StepY = step;
  w.Grid.StepZ = step;
  return w;
}

inline TForceRecord Force(Extended px, Extended py, Extended pz, Extended mx, Extended my, Extended mz) {
  TForceRecord f;
  f.Px = px;
  f.Py = py;
  f.Pz = pz;
  f.Mx = mx;
  f.My = my;
  f.Mz = mz;
  return f;
}

// Knots 0..3 go round the shell rectangle [0, 2] x [0, 1] (lower-left, upper-left,
// upper-right, lower-right); knot 4 at (3, 0) closes the plate triangle 3-4-2.
// Materials: "Сталь С300" and "Бетон В25". The shell has two layers (steel,
// concrete), the plate one (concrete). Supports on knots 0 and 4, a point load on
// knot 2, a distributed load on the plate, a paraboloid under the shell and a
// sphere away from every knot.
struct SampleModel {
  TEditorKnot* K[5] = {};
  TMLEditorShell* Shell = nullptr;
  TMLEditorElement* Plate = nullptr;
  std::shared_ptr<TPhisPropRodNL> Steel, Concrete;
  TEditorShellEP* Paraboloid = nullptr;
  TEditorSphere* Sphere = nullptr;

  explicit SampleModel(TVelEditorProject& p) {
    Steel = p.Materials().Material(0);
    Concrete = p.Materials().AddMaterial("Бетон В25");
    Concrete->SetE(3.0e6L);
    Concrete->SetMu(0.2L);
    Concrete->SetDiagramma(1);
    Concrete->SetFi(45);

    K[0] = p.Knots().AddKnot(0, 0, 0);
    K[1] = p.Knots().AddKnot(0, 1, 0);
    K[2] = p.Knots().AddKnot(2, 1, 0);
    K[3] = p.Knots().AddKnot(2, 0, 0);
    K[4] = p.Knots().AddKnot(3, 0, 0);

    auto shell = p.Factory()->MakeShell(ElementType::Rectangle, Steel);
    shell->Knots = {K[0], K[1], K[2], K[3]};
    shell->Layers.AddLayerByName("Слой бетона", Concrete)->SetThickness(0.1L);
    shell->Layers.Brush = CanvasBrush{0x00FF00, BrushStyle::Cross};
    Shell = static_cast<TMLEditorShell*>(p.Elements().Add(std::move(shell)));

    auto plate = p.Factory()->MakePlate(ElementType::Triangle, Concrete);
    plate->Knots = {K[3], K[4], K[2]};
    Plate = p.Elements().Add(std::move(plate));

    auto s0 = p.Factory()->MakeSupport();
    s0->Knot = K[0];
    s0->Fixation = TFixation{1, 1, 1, 0, 0, 0};
    s0->Direction = 1;
    p.Supports().Add(std::move(s0));
    auto s4 = p.Factory()->MakeSupport();
    s4->Knot = K[4];
    s4->Fixation = TFixation{1, 1, 1, 1, 1, 0};
    p.Supports().Add(std::move(s4));

    auto cf = p.Factory()->MakeConcForce();
    cf->Knot = K[2];
    cf->SetForce(Force(0, 0, -10, 1.5L, 0, 0));
    p.ConcForces().Add(std::move(cf));

    auto df = p.Factory()->MakeDispForce();
    df->Element = Plate;
    df->SetForce(Force(0, 0, -2, 0, 0, 0));
    df->SetOption1(1);
    df->SetOption2(2);
    p.DispForces().Add(std::move(df));

    auto ep = p.Factory()->MakeParaboloid();
    ep->SetOrigin(FloatPoint3D(0, 0, 0));
    ep->SetParams(2, 1, 0.1L, 0.05L);
    Paraboloid = p.ShellFuncs().Add(std::move(ep));

    auto sp = p.Factory()->MakeSphere();
    sp->SetOrigin(FloatPoint3D(10, 10, 0));
    sp->SetParams(4, 0.5L);
    Sphere = p.ShellFuncs().Add(std::move(sp));
  }
};

inline std::vector<std::uint8_t> ListBytes(TVelEditorProject& p) {
  BinaryWriter w;
  p.SaveToStream(w);
  return w.Take();
}

}  // namespace tavir::testing
