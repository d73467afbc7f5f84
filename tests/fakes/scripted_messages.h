// A test fake: ScriptedMessages (lives with the tests, never in a program).
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/services.h"

namespace tavir {

// Records every message and answers from a script (Ok when the script is empty).
class ScriptedMessages : public MessageService {
 public:
  struct Entry {
    MsgKind Kind;
    std::string Caption;
    std::string Text;
    MsgButtons Buttons;
  };
  MsgResult Show(MsgKind kind, const std::string& caption, const std::string& text, MsgButtons buttons) override {
    Shown.push_back({kind, caption, text, buttons});
    if (Answers.empty()) return MsgResult::Ok;
    const MsgResult r = Answers.front();
    Answers.pop_front();
    return r;
  }
  std::vector<Entry> Shown;
  std::deque<MsgResult> Answers;
};

}  // namespace tavir
