#pragma once
// The program options and the task: two small settings objects that the editor
// supervisor owns and the settings and new-task dialogs edit on copies. New objects
// are zero-filled; the main form gives them their defaults with SetDefaults.
#include <array>
#include <cstdint>
#include <string>

#include "platform/binstream.h"
#include "platform/extended.h"

namespace tavir {

// The default precision of a task and the tolerance of the surfaces' visibility test.
inline constexpr Extended DefaultPrecision = 0.01L;

class TBCDataEditor {
 public:
  static constexpr int kUnitCount = 10;        // entries of each unit-name table
  static constexpr int kLengthUnitsAt = 0;     // UnitNames 0..9: length units
  static constexpr int kForceUnitsAt = 10;     // UnitNames 10..19: force units
  static constexpr int kCurrentLengthAt = 20;  // the current length unit
  static constexpr int kCurrentForceAt = 21;   // the current force unit

  std::string UserName;
  std::int32_t FileListNumber = 0;
  std::uint8_t ConfirmReduce = 0;
  std::uint8_t UserKind = 0;      // 0 novice, 1 professional, 2 expert
  std::uint8_t GraphicsMode = 0;  // 0 fast, 1 normal, 2 quality
  std::uint8_t Contur = 0;
  std::uint8_t OfferProperty = 0;
  std::uint8_t SaveBAK = 0;
  std::uint8_t AutoSave = 0;
  std::int32_t AutoSaveInterval = 0;  // minutes
  std::string WorkDir;
  std::string AutoLoadDir;
  std::string LibraryDir;
  std::uint8_t Draft = 0;
  std::uint8_t PrintAbout = 0;
  std::uint8_t PrintUserName = 0;
  std::uint8_t PrintRemark = 0;
  std::uint8_t PrintGrid = 0;
  std::uint8_t PrintTaskData = 0;
  std::uint8_t DeleteDegenerate = 0;
  std::uint8_t DeletePutOn = 0;
  std::uint8_t DeleteCrossing = 0;
  std::uint8_t DeleteUncorrect = 0;
  std::uint8_t MarkUncorrect = 0;
  std::uint8_t ControlKnots = 0;
  std::uint8_t ControlElements = 0;
  std::uint8_t Notify = 0;
  std::array<std::string, 22> UnitNames{};

  void SetDefaults();
  void Assign(const TBCDataEditor& source);

  void SetUserName(const std::string& v) { UserName = v; }
  void SetFileListNumber(std::int32_t v) { FileListNumber = v; }
  void SetConfirmReduce(std::uint8_t v) { ConfirmReduce = v; }
  void SetUserKind(std::uint8_t v) { UserKind = v; }
  void SetGraphicsMode(std::uint8_t v) { GraphicsMode = v; }
  void SetContur(std::uint8_t v) { Contur = v; }
  void SetOfferProperty(std::uint8_t v) { OfferProperty = v; }
  void SetSaveBAK(std::uint8_t v) { SaveBAK = v; }
  void SetAutoSave(std::uint8_t v) { AutoSave = v; }
  void SetAutoSaveInterval(std::int32_t v) { AutoSaveInterval = v; }
  void SetWorkDir(const std::string& v) { WorkDir = v; }
  void SetAutoLoadDir(const std::string& v) { AutoLoadDir = v; }
  void SetLibraryDir(const std::string& v) { LibraryDir = v; }
  void SetDraft(std::uint8_t v) { Draft = v; }
  void SetPrintAbout(std::uint8_t v) { PrintAbout = v; }
  void SetPrintUserName(std::uint8_t v) { PrintUserName = v; }
  void SetPrintRemark(std::uint8_t v) { PrintRemark = v; }
  void SetPrintGrid(std::uint8_t v) { PrintGrid = v; }
  void SetPrintTaskData(std::uint8_t v) { PrintTaskData = v; }
  void SetDeleteDegenerate(std::uint8_t v) { DeleteDegenerate = v; }
  void SetDeletePutOn(std::uint8_t v) { DeletePutOn = v; }
  void SetDeleteCrossing(std::uint8_t v) { DeleteCrossing = v; }
  void SetDeleteUncorrect(std::uint8_t v) { DeleteUncorrect = v; }
  void SetMarkUncorrect(std::uint8_t v) { MarkUncorrect = v; }
  void SetControlKnots(std::uint8_t v) { ControlKnots = v; }
  void SetControlElements(std::uint8_t v) { ControlElements = v; }
  void SetNotify(std::uint8_t v) { Notify = v; }

  // The current units, by name (the settings dialog passes the chosen list entry).
  void SetLengthUnit(const std::string& name) { UnitNames[kCurrentLengthAt] = name; }
  void SetForceUnit(const std::string& name) { UnitNames[kCurrentForceAt] = name; }
  const std::string& GetLengthUnit() const { return UnitNames[kCurrentLengthAt]; }
  const std::string& GetForceUnit() const { return UnitNames[kCurrentForceAt]; }

  // Entries 0..9 of the two unit-name tables. An index outside 0..9 reads as an
  // empty name and is ignored by the setters: it must never reach the other table
  // or the current units.
  std::string GetLengthUnitName(int i) const;
  void SetLengthUnitName(int i, const std::string& name);
  std::string GetForceUnitName(int i) const;
  void SetForceUnitName(int i, const std::string& name);

  // The options' whole share of the project file is one placeholder byte: read and
  // ignored, written as 0.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

class TBCTask {
 public:
  std::uint8_t EvulKind = 0;   // 0 static, 1 dynamic analysis
  std::uint8_t Statement = 0;  // bit 0 physical, bit 1 geometric nonlinearity
  std::uint8_t Dimension = 0;  // 0 two-dimensional, 1 three-dimensional, 2 plates and shells
  Extended Precision = 0;      // precision of input data

  void Assign(const TBCTask& source);
};

class TTask : public TBCTask {
 public:
  void SetDefaults();
  void SetEvulKind(std::uint8_t v) { EvulKind = v; }
  void SetStatement(std::uint8_t v) { Statement = v; }
  void SetDimension(std::uint8_t v) { Dimension = v; }
  void SetPrecision(Extended v) { Precision = v; }

  // Three bytes (kind, statement, dimension), then the 10-byte precision. A short
  // record raises FormatError and leaves the task as it was.
  void LoadFromStream(BinaryReader& r);
  void SaveToStream(BinaryWriter& w) const;
};

constexpr std::size_t kTaskRecordBytes = 13;

}  // namespace tavir
