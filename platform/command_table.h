#pragma once
// Commands by name as a table: each row names a command, its handler and the rules
// that decide when it may start. Both programs find, enable and run their commands
// through such a table, so a name is looked up, checked and carried out the same
// way everywhere. Rows are constant data: a table over a constexpr array is checked
// while it compiles (two rows of one name do not build).
#include <concepts>
#include <cstddef>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>

namespace tavir {

// When a command may start.
struct CommandRules {
  bool Checkable = false;  // shows a check mark
  bool NeedsView = false;  // acts on the current view: refused without one
  bool WhileBusy = false;  // may start while a computation runs (a command the program runs itself)
};

struct CommandStatus {
  bool HasView = false;  // a view to act on exists
  bool Busy = false;     // a computation runs
};

// A handler: a member function of the target, or a function given the target and
// the command's name (one function for a group of commands). Empty: the command
// is laid out and carries out nothing.
template <class T>
class CommandHandler {
 public:
  using Target = T;
  using Method = void (T::*)();
  using Function = void (*)(T&, std::string_view name);

  constexpr CommandHandler() = default;
  constexpr CommandHandler(std::nullptr_t) {}
  constexpr CommandHandler(Method method) : method_(method) {}
  template <class F>
    requires std::is_convertible_v<F, Function>
  constexpr CommandHandler(F function) : function_(function) {}

  constexpr explicit operator bool() const { return method_ != nullptr || function_ != nullptr; }
  void operator()(T& target, std::string_view name) const {
    if (method_ != nullptr)
      (target.*method_)();
    else if (function_ != nullptr)
      function_(target, name);
  }

 private:
  Method method_ = nullptr;
  Function function_ = nullptr;
};

// The least a row holds; a program's rows may carry more (captions, shortcuts).
template <class T>
struct CommandRow {
  std::string_view Name;
  CommandHandler<T> Handler;
  CommandRules Rules{};
};

template <class Row>
concept CommandTableRow = requires(const Row& r) {
  { r.Name } -> std::convertible_to<std::string_view>;
  { r.Rules } -> std::convertible_to<CommandRules>;
  typename decltype(r.Handler)::Target;
};

// A view of the rows, which outlive it.
template <CommandTableRow Row>
class CommandTable {
 public:
  using Target = typename decltype(Row::Handler)::Target;

  // Two rows of one name are a fault of the program and are refused.
  constexpr explicit CommandTable(std::span<const Row> rows) : rows_(rows) {
    for (std::size_t i = 0; i < rows_.size(); ++i)
      for (std::size_t j = i + 1; j < rows_.size(); ++j)
        if (rows_[i].Name == rows_[j].Name)
          throw std::logic_error("Команда " + std::string(rows_[i].Name) + " задана дважды");
  }

  constexpr std::span<const Row> Rows() const { return rows_; }

  // The row of a name; nullptr for a name the table does not have.
  constexpr const Row* Find(std::string_view name) const {
    for (const Row& r : rows_)
      if (r.Name == name) return &r;
    return nullptr;
  }
  constexpr bool Known(std::string_view name) const { return Find(name) != nullptr; }
  constexpr bool HasHandler(std::string_view name) const {
    const Row* r = Find(name);
    return r != nullptr && static_cast<bool>(r->Handler);
  }

  // Whether the command may start in the status. A command without a handler (or
  // a name the table does not have) carries out nothing and is never refused.
  constexpr bool Enabled(std::string_view name, const CommandStatus& status) const {
    const Row* r = Find(name);
    if (r == nullptr || !r->Handler) return true;
    if (status.Busy && !r->Rules.WhileBusy) return false;
    return !r->Rules.NeedsView || status.HasView;
  }

  // Runs the command's handler on the target, whatever its enabled state: false
  // for a name the table does not have.
  bool Run(Target& target, std::string_view name) const {
    const Row* r = Find(name);
    if (r == nullptr) return false;
    r->Handler(target, r->Name);
    return true;
  }

 private:
  std::span<const Row> rows_;
};

}  // namespace tavir
