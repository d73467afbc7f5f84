#pragma once
// What the program benchmarks share: the models they open (written with the
// project's own code, as a user's editor would write them), a message service
// that answers every box with OK and prints it, and a stand-in for the user at
// the modal dialogs (the file dialogs choose a file, the parameter dialogs press OK).
#include <QDialog>
#include <QFileDialog>
#include <QMetaObject>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/qt/dialog_runner.h"
#include "platform/services.h"

namespace tavir::bench {

class PrintedMessages : public MessageService {
 public:
  MsgResult Show(MsgKind, const std::string&, const std::string& text, MsgButtons) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
    ++Count;
    return MsgResult::Ok;
  }
  int Count = 0;
};

// Every modal dialog is answered by the handler of its objectName; one without a
// handler is cancelled.
class DialogAnswers {
 public:
  DialogAnswers()
      : interceptor_([this](QDialog& d) {
          auto it = handlers_.find(d.objectName().toStdString());
          if (it == handlers_.end()) return static_cast<int>(QDialog::Rejected);
          return it->second(d);
        }) {}
  DialogAnswers(const DialogAnswers&) = delete;
  DialogAnswers& operator=(const DialogAnswers&) = delete;

  void ChooseFile(const std::string& dialogName, const std::string& path) {
    handlers_[dialogName] = [path](QDialog& d) {
      auto& f = static_cast<QFileDialog&>(d);
      f.selectFile(QString::fromStdString(path));
      QMetaObject::invokeMethod(&f, "accept", Qt::DirectConnection);
      return f.result();
    };
  }
  // Presses OK; `pressed`, when given, runs right after (a benchmark starts its
  // clock there: the time the user spends in a dialog is not the program's).
  void Accept(const std::string& dialogName, std::function<void()> pressed = {}) {
    handlers_[dialogName] = [pressed](QDialog& d) {
      d.accept();
      if (pressed) pressed();
      return d.result();
    };
  }

 private:
  std::map<std::string, std::function<int(QDialog&)>> handlers_;
  ScopedDialogInterceptor interceptor_;
};

// The square steel plate of N × N shells (2 × 2, 0.1 thick, simply supported,
// under uniform pressure), written once per run into the temporary folder.
std::string PlateFile(int n);
// A sample project of examples/ by name.
std::string ExampleFile(const std::string& name);

std::vector<std::uint8_t> FileBytes(const std::string& path);

}  // namespace tavir::bench
