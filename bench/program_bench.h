#pragma once
// What the program benchmarks share: the models they open (written with the
// project's own code, as a user's editor would write them), a message service
// that answers every box with OK and prints it; the modal dialogs are answered by
// the tests' DialogsByName.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fakes/dialogs_by_name.h"
#include "platform/extended.h"
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

// Message boxes of that name are answered with their OK button.
void AnswerOk(DialogsByName& answers, const std::string& boxName);
// The new task dialog takes the region from (x1, y1, -5) to (x2, y2, 5) and OK.
void AnswerNewTask(DialogsByName& answers, Extended x1, Extended y1, Extended x2, Extended y2);

// The square steel plate of N × N shells (2 × 2, 0.1 thick, simply supported,
// under uniform pressure), written once per run into the temporary folder.
std::string PlateFile(int n);
// A sample project of examples/ by name.
std::string ExampleFile(const std::string& name);

std::vector<std::uint8_t> FileBytes(const std::string& path);

}  // namespace tavir::bench
