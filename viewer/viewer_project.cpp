#include "viewer/viewer_project.h"

#include <exception>
#include <new>
#include <stdexcept>

namespace tavir {

std::unique_ptr<TEditorKnot> ResultModelFactory::MakeKnot() const { return std::make_unique<TResultKnot>(); }

std::unique_ptr<TMLEditorElement> ResultModelFactory::MakePlate(ElementType elementType,
                                                                const std::shared_ptr<TPhisPropRodNL>& material) const {
  return std::make_unique<TMLResultPlate>(elementType, material);
}

std::unique_ptr<TMLEditorShell> ResultModelFactory::MakeShell(ElementType elementType,
                                                              const std::shared_ptr<TPhisPropRodNL>& material) const {
  return std::make_unique<TMLResultShell>(elementType, material);
}

std::shared_ptr<const ModelFactory> MakeResultModelFactory() {
  static const std::shared_ptr<const ModelFactory> factory = std::make_shared<ResultModelFactory>();
  return factory;
}

class TViewerProject::BusyGuard {
 public:
  explicit BusyGuard(TViewerProject& p) : p_(p) { p_.busy_ = true; }
  ~BusyGuard() { p_.busy_ = false; }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  TViewerProject& p_;
};

namespace {

// A project without any item: the analysis program keeps no default material.
std::unique_ptr<TVelEditorProject> EmptyModel(const std::shared_ptr<const ModelFactory>& factory, ModelUi* ui) {
  auto p = std::make_unique<TVelEditorProject>(factory, ui);
  p->Materials().FreeAll();
  p->SetFileName("");
  return p;
}

void Renumber(TFinKnots& knots) {
  for (std::int32_t i = 0; i < knots.Count(); ++i)
    if (TResultKnot* k = AsResultKnot(knots.At(i))) k->SetNumber(i);
}

}  // namespace

TViewerProject::TViewerProject(MessageService& messages, ViewerHooks* hooks, ModelUi* ui)
    : messages_(messages), hooks_(hooks), ui_(ui), factory_(MakeResultModelFactory()),
      model_(EmptyModel(factory_, ui)), run_(*model_, messages), values_(*model_, run_, display_),
      adaptation_(*model_, run_, AdaptParams, messages, breakFlag_,
                  {[this] { values_.ThicknessesChanged(); },
                   [this] {
                     if (hooks_) hooks_->RepaintCurrentView();
                   }}) {}

TViewerProject::~TViewerProject() = default;

TResultKnot* TViewerProject::KnotAt(std::int32_t i) const { return AsResultKnot(model_->Knots().At(i)); }

// ---- loading ----

namespace {

[[noreturn]] void ThrowOutOfMemory(const std::string& fileName) {
  throw std::runtime_error(std::string(kOutOfMemoryText) + " для чтения файла " + fileName +
                           ". Открытый проект не изменен.");
}

}  // namespace

bool TViewerProject::LoadProjectFile(const std::string& fileName) {
  if (busy_) return false;
  BusyGuard busy(*this);  // the material chooser may run events while the file is read
  try {
    // Everything is read into a fresh model first; any fault leaves this one untouched.
    auto candidate = EmptyModel(factory_, ui_);
    AnalysisWindowData window;
    if (!ReadAnalysisProject(fileName, *candidate, window, messages_)) return false;
    return AdoptModel(candidate, window, ProjectNameOf(fileName));
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(fileName);
  }
}

bool TViewerProject::LoadProjectBytes(const std::vector<std::uint8_t>& bytes, const std::string& fileName) {
  if (busy_) return false;
  BusyGuard busy(*this);
  try {
    auto candidate = EmptyModel(factory_, ui_);
    AnalysisWindowData window;
    ReadAnalysisProjectBytes(bytes, *candidate, window);
    return AdoptModel(candidate, window, fileName);
  } catch (const std::bad_alloc&) {
    ThrowOutOfMemory(fileName);
  }
}

bool TViewerProject::AdoptModel(std::unique_ptr<TVelEditorProject>& candidate, const AnalysisWindowData& window,
                                const std::string& fileName) {
  // What may still allocate comes before the first change of this project.
  std::string name = fileName;
  std::optional<AnalysisWindowData> first = window;
  candidate->SetFileName(fileName);
  Renumber(candidate->Knots());

  DropResults();
  display_.IsoVisible = false;
  model_->Swap(*candidate);
  fileName_.swap(name);
  display_.Layer = -1;
  firstWindow_.swap(first);
  candidate.reset();  // the previous model's items go now
  if (hooks_) {
    hooks_->ProjectCleared();
    hooks_->RunAction(kViewerModeAction);
    hooks_->WindowLoaded(window);
  }
  return true;
}

bool TViewerProject::LoadResultsFile(const std::string& fileName) {
  (void)fileName;
  return false;
}

void TViewerProject::DropResults() {
  // The buffers stay allocated for the next analysis; only the contents go.
  // Whether isolines are shown is the user's choice and outlives a new solve: the
  // dropped knot values are prepared again by the next repaint.
  run_.Drop();
  values_.Drop();
}

bool TViewerProject::Clear() {
  if (busy_) return false;
  DropResults();
  display_.IsoVisible = false;
  run_.Free();
  auto empty = EmptyModel(factory_, ui_);
  model_->Swap(*empty);
  empty.reset();
  display_.Layer = -1;
  if (hooks_) {
    hooks_->ProjectCleared();
    hooks_->RunAction(kViewerModeAction);
  }
  return true;
}

// ---- the computations ----

bool TViewerProject::PrepareSystem() {
  // A refused model keeps the results it had; from here on they are gone.
  if (!run_.Check()) return false;
  DropResults();
  return run_.Allocate();
}

void TViewerProject::Fail(CalcStatus& status, const std::string& message) {
  // Partial results are never shown: the displacements of a failed run are dropped.
  DropResults();
  display_.IsoVisible = false;
  status.HideStatus();
  messages_.Error(message);
  if (hooks_) hooks_->RepaintAllViews();
}

void TViewerProject::Finish(CalcStatus& status) {
  status.HideStatus();
  values_.Drop();
  run_.MarkSolved();
  if (hooks_) hooks_->RepaintAllViews();
}

// Both computations run in this frame: the system allocated, the status window
// shown, their own stages, then the stresses of their last solve; a stage that
// fails ends it with its message and no results.
template <class Stages>
bool TViewerProject::Compute(CalcStatus& status, Stages&& stages) {
  if (!PrepareSystem()) return false;
  status.ShowStatus();
  try {
    stages();
    run_.CalcStresses();
  } catch (const std::bad_alloc&) {
    Fail(status, OutOfMemoryAnalysisText());
    return false;
  } catch (const std::exception& e) {
    Fail(status, e.what());
    return false;
  }
  Finish(status);
  return true;
}

bool TViewerProject::StaticCalculate(CalcStatus& status) {
  if (busy_) return false;
  BusyGuard busy(*this);
  return Compute(status, [&] { run_.StaticStages(status); });
}

bool TViewerProject::Adaptation(AdaptParamsDialog& dialog, CalcStatus& status) {
  if (busy_) return false;
  BusyGuard busy(*this);  // the dialog runs events too
  if (!adaptation_.AskParams(dialog)) return false;
  return Compute(status, [&] { adaptation_.Run(status); });
}

}  // namespace tavir
