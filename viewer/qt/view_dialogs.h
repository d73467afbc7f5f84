#pragma once
// The result view dialogs (isoline parameters, draw modes, stress position, scale)
// and the adaptation parameters dialog. Each is made for one use, filled, run
// modally through ExecModal and read back on OK.
#include <QDialog>
#include <cstdint>

#include "viewer/adaptation.h"
#include "viewer/iso_levels.h"
#include "viewer/viewer_commands.h"
#include "viewer/viewer_project.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QButtonGroup;

namespace tavir {

class TFloatEdit;
class RadioGroup;
class UpDown;

// The title of the isoline dialog by quantity (the kind 0 text for any other).
const char* IsoTitleText(ResultKind kind);
// The up-down position a stored count is shown at: 1 when below 1, 32766 above.
int ClampUpDown(std::int32_t value);

class TIsoParams_Form : public QDialog {
  Q_OBJECT
 public:
  explicit TIsoParams_Form(QWidget* parent = nullptr);
  void GetIsoParams(const TIsoParamsRec& params);
  TIsoParamsRec SetIsoParams() const;

 private:
  void Edit_NumStepsChange();

  TIsoParamsRec params_;
  QLabel* titleTop_;
  QLabel* titleBottom_;
  TFloatEdit* min_;
  TFloatEdit* max_;
  TFloatEdit* step_;
  QLineEdit* numStepsEdit_;
  UpDown* numSteps_;
  QLineEdit* thickLineEdit_;
  UpDown* thickLine_;
};

class TDrawModesForm : public QDialog {
  Q_OBJECT
 public:
  explicit TDrawModesForm(QWidget* parent = nullptr);
  // Every box and the colour count from the state.
  void SetState(const TDrawModesState& state);
  // Read back after OK.
  const TDrawModesState& State() const { return state_; }

 protected:
  void done(int r) override;

 private:
  TDrawModesState state_;
  std::vector<QCheckBox*> boxes_;
  QSpinBox* numCol_;
};

class DrawModesByDialog : public DrawModesDialog {
 public:
  explicit DrawModesByDialog(QWidget* parent) : parent_(parent) {}
  bool Execute(TDrawModesState& state) override;

 private:
  QWidget* parent_;
};

class TStressPosForm : public QDialog {
  Q_OBJECT
 public:
  explicit TStressPosForm(QWidget* parent = nullptr);
  void SetLayerCount(std::int32_t n);
  void GetStressPos(std::uint8_t pos);
  // The fibre chosen (read after OK): 0 top, 1 middle (also with none chosen), 2 bottom.
  std::uint8_t StressPos() const { return stressPos_; }
  std::int32_t LayerNumber() const;

 protected:
  void done(int r) override;

 private:
  std::int32_t layerCount_ = 0;
  std::uint8_t stressPos_ = 0;
  RadioGroup* group_;
  QSpinBox* layer_;
};

inline constexpr const char* kZeroScaleText = "Масштаб не может быть равен 0!";

class TScaleForm : public QDialog {
  Q_OBJECT
 public:
  explicit TScaleForm(MessageService& messages, QWidget* parent = nullptr);
  Extended Value() const;

 protected:
  void done(int r) override;

 private:
  MessageService& messages_;
  TFloatEdit* scale_;
};

inline constexpr const char* kBadPrecisionText = "Процент точности должен быть больше нуля!";

class TAdaptParsDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TAdaptParsDlg(MessageService& messages, QWidget* parent = nullptr);
  TAdaptParams AdaptParams;
  void GetAdaptParams();
  // Enables and checks the rise controls when the project has shell surfaces.
  void SetHasSurfaces(bool surfaces);

 protected:
  void done(int r) override;

 private:
  void SetAdaptParams();

  MessageService& messages_;
  QCheckBox* thickness_;
  QCheckBox* flight_;
  QCheckBox* deleteElements_;
  TFloatEdit* minThickness_;
  QSpinBox* flightCount_;
  QCheckBox* refresh_;
  TFloatEdit* precision_;
};

class StressPosByDialog : public StressPosDialog {
 public:
  explicit StressPosByDialog(QWidget* parent) : parent_(parent) {}
  std::optional<TStressPosChoice> Execute(std::int32_t layerCount, Fibre stressPos) override;

 private:
  QWidget* parent_;
};

// The adaptation settings asked through TAdaptParsDlg.
class AdaptParamsByDialog : public AdaptParamsDialog {
 public:
  AdaptParamsByDialog(MessageService& messages, QWidget* parent) : messages_(messages), parent_(parent) {}
  bool Execute(TAdaptParams& params, bool hasSurfaces) override;

 private:
  MessageService& messages_;
  QWidget* parent_;
};

// The isoline levels asked through TIsoParams_Form.
class IsoParamsByDialog : public IsoParamsDialog {
 public:
  explicit IsoParamsByDialog(QWidget* parent) : parent_(parent) {}
  bool Execute(TIsoParamsRec& params) override;

 private:
  QWidget* parent_;
};

}  // namespace tavir
