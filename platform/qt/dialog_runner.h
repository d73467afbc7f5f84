#pragma once
// Every modal dialog of both programs is run through here, so that headless tests
// can take the dialog instead of a real modal loop: an interceptor gets the
// filled dialog, may fill or click it, and returns the modal result.
#include <QDialog>
#include <functional>

namespace tavir {

class DialogRunner {
 public:
  using Interceptor = std::function<int(QDialog& dialog)>;

  // Places the dialog (PlaceOnOpening), shows it modally and returns its result (QDialog::Accepted = 1 for OK,
  // QDialog::Rejected = 0; message boxes read their clicked button instead).
  // With an interceptor installed, the innermost one answers instead, also for
  // dialogs opened while it works.
  static int Run(QDialog& dialog);

  static bool Intercepted();
  // How many dialogs are being run now (nested ones count each).
  static int Running();
};

// Installs an interceptor for its lifetime; nested ones stack, the innermost answers.
class ScopedDialogInterceptor {
 public:
  explicit ScopedDialogInterceptor(DialogRunner::Interceptor interceptor);
  ~ScopedDialogInterceptor();
  ScopedDialogInterceptor(const ScopedDialogInterceptor&) = delete;
  ScopedDialogInterceptor& operator=(const ScopedDialogInterceptor&) = delete;
  // How many dialogs this interceptor has answered.
  int Count() const { return count_; }

 private:
  friend class DialogRunner;
  DialogRunner::Interceptor interceptor_;
  ScopedDialogInterceptor* outer_;
  int count_ = 0;
};

}  // namespace tavir
