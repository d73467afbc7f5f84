// A test fake: DialogsByName (lives with the tests and benchmarks, never in a program).
#pragma once

#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMetaObject>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/dialog_runner.h"

namespace tavir {

// A file dialog answered as a user types a name into its name field and confirms;
// cancelled when it has no such field.
inline std::function<int(QDialog&)> TypedFileName(const std::string& path) {
  return [path](QDialog& d) {
    auto* edit = d.findChild<QLineEdit*>("fileNameEdit");
    if (edit == nullptr) {
      d.reject();
      return d.result();
    }
    edit->setText(QString::fromStdString(path));
    QMetaObject::invokeMethod(&d, "accept", Qt::DirectConnection);
    return d.result();
  };
}

// Stands in for the user at every modal dialog: a handler by the dialog's
// objectName answers; a dialog without one is cancelled. Every dialog is recorded.
class DialogsByName {
 public:
  using Handler = std::function<int(QDialog&)>;
  DialogsByName()
      : interceptor_([this](QDialog& d) {
          Seen.push_back(d.objectName().toStdString());
          auto it = Handlers.find(d.objectName().toStdString());
          if (it == Handlers.end()) return static_cast<int>(QDialog::Rejected);
          return it->second(d);
        }) {}
  DialogsByName(const DialogsByName&) = delete;
  DialogsByName& operator=(const DialogsByName&) = delete;

  // The file dialogs take this name and confirm.
  void ChooseFile(const std::string& dialogName, const std::string& path) {
    Handlers[dialogName] = [path](QDialog& d) {
      auto& f = static_cast<QFileDialog&>(d);
      f.selectFile(QString::fromStdString(path));
      QMetaObject::invokeMethod(&f, "accept", Qt::DirectConnection);
      return f.result();
    };
  }
  // Presses OK (the dialog's own checks run).
  void Accept(const std::string& dialogName, std::function<void(QDialog&)> fill = {}) {
    Handlers[dialogName] = [fill](QDialog& d) {
      if (fill) fill(d);
      d.accept();
      return d.result();
    };
  }
  int Count(const std::string& dialogName) const {
    int n = 0;
    for (const auto& s : Seen) n += s == dialogName ? 1 : 0;
    return n;
  }

  std::map<std::string, Handler> Handlers;
  std::vector<std::string> Seen;

 private:
  ScopedDialogInterceptor interceptor_;
};

}  // namespace tavir
