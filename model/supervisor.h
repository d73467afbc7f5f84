#pragma once
// The editor's settings and current state: the mouse modes, what new elements,
// supports and loads get, the task's region box, the current editing window, and
// the owned options, task, settings grid and default layer stack. The project file
// stores most of it as the 186-byte settings block.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/elements.h"
#include "model/grid.h"
#include "model/records.h"
#include "model/settings.h"
#include "platform/binstream.h"
#include "platform/extended.h"

namespace tavir {

// The editor settings block of the project file (offsets 4..189).
inline constexpr std::size_t kSettingsBlockBytes = 186;
constexpr int kSpareStringCount = 10;

class TBCSupervisor {
 public:
  virtual ~TBCSupervisor() = default;

  // The reserved fields mean nothing to the editor; they are kept as a file held them.
  std::uint8_t ReservedA = 0;
  std::uint8_t ReservedB = 0;
  std::int32_t ReservedC = 0;
  std::int32_t WindowCount = 0;
  std::int32_t CurrentWindow = -1;
  // 0 edit, 1 element input, 2 supports, 3 new window, 4 distributed load,
  // 5 concentrated load, 6 support displacement, 11 shell surface.
  tavir::WorkMode WorkMode = tavir::WorkMode::Edit;

  void SetReservedA(std::uint8_t v) { ReservedA = v; }
  void SetReservedB(std::uint8_t v) { ReservedB = v; }
  void SetReservedC(std::int32_t v) { ReservedC = v; }
  void SetWindowCount(std::int32_t v) { WindowCount = v; }
  void SetCurrentWindow(std::int32_t v) { CurrentWindow = v; }
  void SetWorkMode(tavir::WorkMode v) { WorkMode = v; }
  // Spare strings 1..10; any other index reads empty and is ignored.
  std::string GetSpareString(int index) const;
  void SetSpareString(int index, const std::string& v);

  // The reserved fields, the window state, the spare strings and the work mode.
  void Assign(const TBCSupervisor& source);

 private:
  std::array<std::string, kSpareStringCount> spare_{};
};

class TEditSupervisor : public TBCSupervisor {
 public:
  TEditSupervisor() = default;
  TEditSupervisor(const TEditSupervisor&) = delete;
  TEditSupervisor& operator=(const TEditSupervisor&) = delete;

  // The task's region box: minimum corner (1), maximum corner (2).
  Extended RegionX1 = 0, RegionY1 = 0, RegionZ1 = 0;
  Extended RegionX2 = 0, RegionY2 = 0, RegionZ2 = 0;
  // 0 pick, 1 by knots, 2 by grid, 3 by frame, 4 supports, 5 frame selection.
  tavir::InputMode InputMode = tavir::InputMode::Pick;
  TFixation DefFixation{};       // all free
  tavir::ElementType ElementType = tavir::ElementType::Rectangle;  // of new elements
  std::int32_t MaterialIndex = 0;
  TForceRecord DefConcForce;
  TForceRecord DefDispForce;
  std::int32_t ReservedD = 0;
  std::int32_t ReservedE = 0;
  ElementKind ElemKind = ElementKind::Shell;
  std::int32_t DefDirection = 0;  // 0 right or down, 1 left or up

  TBCDataEditor Options;
  TTask Task;
  TGrid Grid;
  TGeometricElement DefLayers;  // never stored

  void SetInputMode(tavir::InputMode v) { InputMode = v; }
  void SetElementType(tavir::ElementType v) { ElementType = v; }
  void SetElemKind(ElementKind v) { ElemKind = v; }
  void SetMaterialIndex(std::int32_t v) { MaterialIndex = v; }
  void SetDefDirection(std::int32_t v) { DefDirection = v; }
  void SetDefFixation(const TFixation& v) { DefFixation = v; }
  void SetDefConcForce(const TForceRecord& v) { DefConcForce = v; }
  void SetDefDispForce(const TForceRecord& v) { DefDispForce = v; }
  void SetRegionX1(Extended v) { RegionX1 = v; }
  void SetRegionY1(Extended v) { RegionY1 = v; }
  void SetRegionZ1(Extended v) { RegionZ1 = v; }
  void SetRegionX2(Extended v) { RegionX2 = v; }
  void SetRegionY2(Extended v) { RegionY2 = v; }
  void SetRegionZ2(Extended v) { RegionZ2 = v; }

  // The commands that put the command set into the state of the current task, in
  // the order they run: "acModeEdit", the analysis kind, then the dimension's
  // element type and dimension commands.
  std::vector<std::string> ApplyTaskActions() const;

  // Every field the settings block stores, from another supervisor (the default
  // loads whole). Opening a file reads into a copy made with this and copies back
  // only when the whole file was read.
  void CopySettingsFrom(const TEditSupervisor& source);

  // The settings block, 186 bytes. Reading refuses a short block before changing
  // anything; of each default load only the first 4 bytes (the low half of Px's
  // significand) are stored and replaced. The work mode, the window count, the
  // spare strings, the options and the default layers are not stored.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

// The action names for a task (see TEditSupervisor::ApplyTaskActions).
std::vector<std::string> TaskActionNames(const TBCTask& task);

}  // namespace tavir
