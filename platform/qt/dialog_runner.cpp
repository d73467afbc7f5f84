#include "platform/qt/dialog_runner.h"

#include "platform/qt/window_place.h"

namespace tavir {
namespace {
// One GUI thread: the innermost interceptor, or none.
ScopedDialogInterceptor* gInnermost = nullptr;
int gRunning = 0;

struct RunningDialog {
  RunningDialog() { ++gRunning; }
  ~RunningDialog() { --gRunning; }
  RunningDialog(const RunningDialog&) = delete;
  RunningDialog& operator=(const RunningDialog&) = delete;
};
}  // namespace

int DialogRunner::Run(QDialog& dialog) {
  const RunningDialog running;
  // Placed before anyone sees it, so that an interceptor finds it where it opens.
  PlaceOnOpening(dialog);
  if (ScopedDialogInterceptor* active = gInnermost) {
    // Dialogs opened while the interceptor works (a message box from a refused
    // check) come back to the same interceptor: no real modal loop ever starts.
    ++active->count_;
    return active->interceptor_(dialog);
  }
  return dialog.exec();
}

bool DialogRunner::Intercepted() { return gInnermost != nullptr; }

int DialogRunner::Running() { return gRunning; }

ScopedDialogInterceptor::ScopedDialogInterceptor(DialogRunner::Interceptor interceptor)
    : interceptor_(std::move(interceptor)), outer_(gInnermost) {
  gInnermost = this;
}

ScopedDialogInterceptor::~ScopedDialogInterceptor() { gInnermost = outer_; }

}  // namespace tavir
