#pragma once
// What the program benchmarks share: the models they open (written with the
// project's own code, as a user's editor would write them), a message service
// that answers every box with OK and prints it; the modal dialogs are answered by
// the tests' DialogsByName.
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <QApplication>

#include "fakes/dialogs_by_name.h"
#include "platform/extended.h"
#include "platform/services.h"
#include "viewer/qt/calc_desks.h"
#include "viewer/qt/dm_main_out.h"
#include "viewer/qt/rs_output.h"

namespace tavir::bench {

using Clock = std::chrono::steady_clock;

// Seconds from `from` to now.
inline double SecondsSince(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }
// Runs the work once and gives its time in seconds.
inline double TimeOnce(const std::function<void()>& work) {
  const auto t0 = Clock::now();
  work();
  return SecondsSince(t0);
}

class PrintedMessages : public MessageService {
 public:
  MsgResult Show(MsgKind, const std::string&, const std::string& text, MsgButtons) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
    ++Count;
    return MsgResult::Ok;
  }
  int Count = 0;
};

// Message boxes of that name are answered with their OK button.
void AnswerOk(DialogsByName& answers, const std::string& boxName);
// The new task dialog takes the region from (x1, y1, -5) to (x2, y2, 5) and OK.
void AnswerNewTask(DialogsByName& answers, Extended x1, Extended y1, Extended x2, Extended y2);

// The analysis program as apps/tavir_calc.cpp composes it.
struct CalcProgram {
  PrintedMessages messages;
  DialogsByName answers;
  TDM_OutMain dm{messages};
  TRSFormOut form{dm, messages};
  CalcProgram() { form.ShowAsStrip(); }
  TViewerProject& Project() { return *dm.Context().Project; }
  // The desk of the first view.
  TDeskForm* Desk() { return form.Desks().DeskOfView(0); }
  bool Open(const std::string& path) {
    answers.ChooseFile("OpenDialog", path);
    const bool ok = dm.Run("acFileOpen");
    Settle();
    return ok && Project().Knots().Count() > 0;
  }
  // Everything the open left to paint is painted before the clock starts.
  static void Settle() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::sendPostedEvents();
      QApplication::processEvents();
    }
  }
};

class QuietStatus : public CalcStatus {};

// The square steel plate of N × N shells (2 × 2, 0.1 thick, simply supported,
// under uniform pressure), written once per run into the temporary folder.
std::string PlateFile(int n);
// A sample project of examples/ by name.
std::string ExampleFile(const std::string& name);

std::vector<std::uint8_t> FileBytes(const std::string& path);

}  // namespace tavir::bench
