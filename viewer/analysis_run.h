#pragma once
// The stages of one analysis of the open model: the check of the model, the band
// matrix and load vector (allocated here and reused from run to run; the analysis
// core only fills and reads them), the assembly, the loads and supports, the
// solve, the potential energy and the layer stresses.
//
// The run knows nothing of windows: it reports through a ProgressObserver (the
// status window's stage rows and bar) and shows its refusals through the message
// service. A stage that fails throws; what a failed computation leaves is for its
// caller to decide.
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/band_matrix.h"
#include "model/project.h"
#include "platform/extended.h"
#include "platform/services.h"

namespace tavir {

// The status window of a computation: shown at the start, hidden at the end
// (also when it fails), stage rows 1..11 and cells of columns 1 and 2.
class CalcStatus : public ProgressObserver {
 public:
  virtual void ShowStatus() {}
  virtual void HideStatus() {}
};

// Stage rows of the status window.
inline constexpr int kStageStiffness = 1;     // "Формирование матрицы жесткости"
inline constexpr int kStageLoads = 2;         // "Формирование вектора нагрузки"
inline constexpr int kStageSolve = 3;         // "Решение системы уравнений"
inline constexpr int kStageEnergy = 4;        // "Вычисление потенциальной энергии"
inline constexpr int kStageStresses = 5;      // "Вычисление напряжений"
inline constexpr int kRowIteration = 7;       // "Итерация:"
inline constexpr int kRowCurrent = 10;        // "На текущей итерации:"
inline constexpr int kRowPrevious = 11;       // "На предыдущей итерации:"

inline constexpr const char* kNoShellsText = "В модели нет оболочечных элементов: расчет невозможен!";
inline constexpr const char* kNoKnotsText = "В модели нет узлов: расчет невозможен!";
// Every allocation failure of loading and analysis starts with this text.
inline constexpr const char* kOutOfMemoryText = "Недостаточно памяти";
std::string OutOfMemoryAnalysisText();

// The supports and loads that the analysis cannot place: a support or a
// concentrated load without its knot, a distributed load without its element (the
// file named none, or a position outside the list). They stay in the model and
// the file; the warning names each by its position in its list and the knot or
// element number the file gave, and counts them. Empty when every item is placed.
struct UnplacedItem {
  std::int32_t Position = 0;    // in its own list
  std::int32_t Reference = -1;  // the knot or element position the file named
  bool operator==(const UnplacedItem&) const = default;
};
struct UnplacedItems {
  std::vector<UnplacedItem> Supports, ConcForces, DispForces;
  bool Empty() const { return Supports.empty() && ConcForces.empty() && DispForces.empty(); }
  std::size_t Count() const { return Supports.size() + ConcForces.size() + DispForces.size(); }
};
UnplacedItems FindUnplacedItems(const TVelEditorProject& model);
std::string UnplacedItemsText(const UnplacedItems& items);

class AnalysisRun {
 public:
  // The model is the project's (its lists are swapped, never replaced); its knots
  // must carry their list positions as numbers.
  AnalysisRun(TVelEditorProject& model, MessageService& messages) : model_(model), messages_(messages) {}
  AnalysisRun(const AnalysisRun&) = delete;
  AnalysisRun& operator=(const AnalysisRun&) = delete;

  // The size of the system and the checks of the model, each refusal with its
  // message (a model without knots or shells, a shell that cannot be analysed; the
  // supports and loads left out are a warning). A refused model keeps the results
  // of the last run.
  bool Check();
  // A zero band and load vector of the checked size, no results until the next
  // computation ends; a refusal (too large, no memory) says so and drops them.
  bool Allocate();
  // The contents go; the buffers stay allocated for the next run.
  void Drop();
  // The contents and the buffers go.
  void Free();

  // The stiffness (element matrices computed again), the loads and supports, then
  // the solve, each in its stage row. The load stage's bar goes on from where the
  // assembly left it, or starts again from 0 (each iteration of the adaptation).
  void AssembleAndSolve(ProgressObserver& status, bool restartLoadBar);
  // The static analysis up to its stresses: assembly, loads, solve, then the
  // stress row (the potential-energy row is passed over).
  void StaticStages(ProgressObserver& status);
  // The second band of the adaptation (the solve destroys the first), assembled
  // from the element matrices of the last assembly, without loads or supports.
  void AssembleEnergyBand(ProgressObserver& status);
  // W = F · (K F) / 2 of the displacements with the second band.
  Extended SolvedEnergy() const { return PotentialEnergy(energyStiffness_); }
  Extended PotentialEnergy(const BandMatrix& matrix) const;
  // The layer stresses of every shell from the displacements; throws when a
  // displacement or a stress is no usable number.
  void CalcStresses();
  // A zero band and load vector of the same size again, for the next iteration.
  void Restart();
  // The computation that used this run has ended well: the vector holds its
  // displacements.
  void MarkSolved() { solved_ = true; }

  // Whether displacements of the current model exist (a finished computation).
  bool HasResults() const { return solved_ && !loadVector_.empty(); }
  const std::vector<Extended>& LoadVector() const { return loadVector_; }
  const BandMatrix& Stiffness() const { return stiffness_; }
  std::int32_t BandWidth() const { return bandWidth_; }
  std::int32_t EquationCount() const { return equationCount_; }
  // Concentrated and distributed loads, supports and the lists read as counts.
  long long LoadItemCount() const;

 private:
  bool CheckShells();
  void WarnUnplacedItems();
  bool CheckResults(std::string& message) const;
  void Assemble(BandMatrix& matrix, bool recompute, ProgressObserver& status);
  void AddLoadsAndSupports(ProgressObserver& status, long long position);

  TVelEditorProject& model_;
  MessageService& messages_;
  BandMatrix stiffness_;
  BandMatrix energyStiffness_;  // the adaptation's second band (the solver destroys the first)
  std::vector<Extended> loadVector_;
  bool solved_ = false;  // loadVector_ holds the displacements of a finished computation
  std::int32_t bandWidth_ = 0;
  std::int32_t equationCount_ = 0;
};

}  // namespace tavir
