#pragma once
// The supervisor's stored settings (every field of the settings block but the
// current window, which follows the windows) set from one record of values, so
// that a test names only the values it wants other than the defaults. The
// defaults differ from a new supervisor's in every field.
#include <array>
#include <cstdint>

#include "model/supervisor.h"

namespace tavir::testing {

// A load whose components Px .. Mz are base + 1 .. base + 6.
inline TForceRecord Force(Extended base) {
  TForceRecord f;
  for (int i = 1; i <= 6; ++i) f.SetComponent(i, base + i);
  return f;
}

// Grouped as the supervisor holds them.
struct StoredSettings {
  struct TaskValues {
    std::uint8_t EvulKind = 1;
    std::uint8_t Statement = 3;
    std::uint8_t Dimension = 2;
    Extended Precision = 0.005L;
  };
  struct GridValues {
    Extended StepX = 0.5L, StepY = 0.25L, StepZ = 2;
    std::int32_t NSX = 7, NSY = 8, NSZ = 9;
    RgbColor Color = 0x00FF00;
    std::uint8_t Style = 2, Place = 0, ShowGrid = 1, SnapToGrid = 1;
  };
  // What a new element, support or load gets.
  struct NewItemValues {
    tavir::InputMode Input = tavir::InputMode::FrameSelection;
    TFixation Fixation{1, 0, 1, 0, 0, 1};
    tavir::ElementType Type = tavir::ElementType::Triangle;
    std::int32_t MaterialIndex = 4;
    TForceRecord ConcForce = Force(1.0L / 3);
    TForceRecord DispForce = Force(-1.0L / 7);
  };

  std::uint8_t ReservedA = 0xA1;
  std::uint8_t ReservedB = 0xB2;
  std::int32_t ReservedC = -123456;
  TaskValues Task;
  GridValues Grid;
  // The region box: X1, Y1, Z1 of the minimum corner, X2, Y2, Z2 of the maximum.
  std::array<Extended, 6> Region{-1, -2, -3, 10, 20, 30};
  NewItemValues New;
  std::int32_t ReservedD = 0x11223344;
  std::int32_t ReservedE = -2;
  ElementKind Kind = ElementKind::Plate;
  std::int32_t Direction = 1;
};

inline void SetStoredSettings(TEditSupervisor& s, const StoredSettings& v) {
  s.SetReservedA(v.ReservedA);
  s.SetReservedB(v.ReservedB);
  s.SetReservedC(v.ReservedC);
  s.Task.SetEvulKind(v.Task.EvulKind);
  s.Task.SetStatement(v.Task.Statement);
  s.Task.SetDimension(v.Task.Dimension);
  s.Task.SetPrecision(v.Task.Precision);
  s.Grid.SetStepX(v.Grid.StepX);
  s.Grid.SetStepY(v.Grid.StepY);
  s.Grid.SetStepZ(v.Grid.StepZ);
  s.Grid.SetNSX(v.Grid.NSX);
  s.Grid.SetNSY(v.Grid.NSY);
  s.Grid.SetNSZ(v.Grid.NSZ);
  s.Grid.SetColor(v.Grid.Color);
  s.Grid.SetStyle(v.Grid.Style);
  s.Grid.SetPlace(v.Grid.Place);
  s.Grid.SetShowGrid(v.Grid.ShowGrid);
  s.Grid.SetSnapToGrid(v.Grid.SnapToGrid);
  s.SetRegionX1(v.Region[0]);
  s.SetRegionY1(v.Region[1]);
  s.SetRegionZ1(v.Region[2]);
  s.SetRegionX2(v.Region[3]);
  s.SetRegionY2(v.Region[4]);
  s.SetRegionZ2(v.Region[5]);
  s.SetInputMode(v.New.Input);
  s.SetDefFixation(v.New.Fixation);
  s.SetElementType(v.New.Type);
  s.SetMaterialIndex(v.New.MaterialIndex);
  s.SetDefConcForce(v.New.ConcForce);
  s.SetDefDispForce(v.New.DispForce);
  s.ReservedD = v.ReservedD;
  s.ReservedE = v.ReservedE;
  s.SetElemKind(v.Kind);
  s.SetDefDirection(v.Direction);
}

}  // namespace tavir::testing
