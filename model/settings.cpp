#include "model/settings.h"

namespace tavir {

namespace {
// Held for the whole run: the defaults of the two unit-name tables.
const std::array<const char*, TBCDataEditor::kUnitCount> kDefaultLengthUnits = {"см", "м", "мм", "", "", "", "", "", "", ""};
const std::array<const char*, TBCDataEditor::kUnitCount> kDefaultForceUnits = {"кН", "МН", "Н", "кг", "т", "", "", "", "", ""};

bool ValidUnitIndex(int i) { return i >= 0 && i < TBCDataEditor::kUnitCount; }
}  // namespace

void TBCDataEditor::SetDefaults() {
  UserName = "NoNameUser";
  FileListNumber = 4;
  ConfirmReduce = 1;
  UserKind = 1;
  GraphicsMode = 1;
  Contur = 1;
  OfferProperty = 1;
  SaveBAK = 0;
  AutoSave = 0;
  AutoSaveInterval = 10;
  WorkDir.clear();
  AutoLoadDir.clear();
  LibraryDir.clear();
  Draft = 0;
  PrintAbout = 0;
  PrintUserName = 1;
  PrintRemark = 1;
  PrintGrid = 0;
  PrintTaskData = 0;
  DeleteDegenerate = 1;
  DeletePutOn = 1;
  DeleteCrossing = 1;
  DeleteUncorrect = 1;
  MarkUncorrect = 1;
  ControlKnots = 1;
  ControlElements = 1;
  Notify = 1;
  for (int i = 0; i < kUnitCount; ++i) {
    UnitNames[kLengthUnitsAt + i] = kDefaultLengthUnits[i];
    UnitNames[kForceUnitsAt + i] = kDefaultForceUnits[i];
  }
  UnitNames[kCurrentLengthAt] = "м";
  UnitNames[kCurrentForceAt] = "кН";
}

void TBCDataEditor::Assign(const TBCDataEditor& s) {
  if (&s == this) return;
  UserName = s.UserName;
  FileListNumber = s.FileListNumber;
  ConfirmReduce = s.ConfirmReduce;
  UserKind = s.UserKind;
  GraphicsMode = s.GraphicsMode;
  Contur = s.Contur;
  OfferProperty = s.OfferProperty;
  SaveBAK = s.SaveBAK;
  AutoSave = s.AutoSave;
  AutoSaveInterval = s.AutoSaveInterval;
  WorkDir = s.WorkDir;
  AutoLoadDir = s.AutoLoadDir;
  LibraryDir = s.LibraryDir;
  Draft = s.Draft;
  PrintAbout = s.PrintAbout;
  PrintUserName = s.PrintUserName;
  PrintRemark = s.PrintRemark;
  PrintGrid = s.PrintGrid;
  PrintTaskData = s.PrintTaskData;
  DeleteDegenerate = s.DeleteDegenerate;
  DeletePutOn = s.DeletePutOn;
  DeleteCrossing = s.DeleteCrossing;
  DeleteUncorrect = s.DeleteUncorrect;
  MarkUncorrect = s.MarkUncorrect;
  ControlKnots = s.ControlKnots;
  ControlElements = s.ControlElements;
  Notify = s.Notify;
  for (int i = 0; i < kUnitCount; ++i) {
    SetLengthUnitName(i, s.GetLengthUnitName(i));
    SetForceUnitName(i, s.GetForceUnitName(i));
  }
  SetLengthUnit(s.GetLengthUnit());
  SetForceUnit(s.GetForceUnit());
}

std::string TBCDataEditor::GetLengthUnitName(int i) const {
  return ValidUnitIndex(i) ? UnitNames[kLengthUnitsAt + i] : std::string();
}

void TBCDataEditor::SetLengthUnitName(int i, const std::string& name) {
  if (ValidUnitIndex(i)) UnitNames[kLengthUnitsAt + i] = name;
}

std::string TBCDataEditor::GetForceUnitName(int i) const {
  return ValidUnitIndex(i) ? UnitNames[kForceUnitsAt + i] : std::string();
}

void TBCDataEditor::SetForceUnitName(int i, const std::string& name) {
  if (ValidUnitIndex(i)) UnitNames[kForceUnitsAt + i] = name;
}

void TBCDataEditor::LoadFromStream(BinaryReader& r) { (void)r.ReadByte(); }

void TBCDataEditor::SaveToStream(BinaryWriter& w) const { w.WriteByte(0); }

void TBCTask::Assign(const TBCTask& s) {
  EvulKind = s.EvulKind;
  Statement = s.Statement;
  Dimension = s.Dimension;
  Precision = s.Precision;
}

void TTask::SetDefaults() {
  EvulKind = 0;
  Statement = 0;
  Dimension = 2;
  Precision = DefaultPrecision;
}

void TTask::LoadFromStream(BinaryReader& r) {
  // Check the whole record first so that a short one changes nothing.
  r.Require(kTaskRecordBytes);
  EvulKind = r.ReadByte();
  Statement = r.ReadByte();
  Dimension = r.ReadByte();
  Precision = r.ReadExtended();
}

void TTask::SaveToStream(BinaryWriter& w) const {
  w.WriteByte(EvulKind);
  w.WriteByte(Statement);
  w.WriteByte(Dimension);
  w.WriteExtended(Precision);
}

}  // namespace tavir
