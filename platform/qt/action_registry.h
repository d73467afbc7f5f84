#pragma once
// Commands by name: each action is a QAction whose objectName is the command's
// name, with its handler. Run(name) calls the handler itself, so code can execute
// a command that is disabled (a disabled QAction ignores trigger()).
#include <QAction>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <map>
#include <utility>
#include <vector>

namespace tavir {

class MessageService;

class ActionRegistry : public QObject {
  Q_OBJECT
 public:
  using Handler = std::function<void()>;

  explicit ActionRegistry(QObject* parent = nullptr);

  // Creates the action (owned by the registry). An action without a handler is laid
  // out and does nothing. A checkable action with autoCheck false keeps its check
  // mark when the user triggers it: the handler sets it. Adding a name twice throws.
  QAction* Add(const QString& name, const QString& caption, Handler handler = {}, bool checkable = false,
               bool autoCheck = false);
  void SetHandler(const QString& name, Handler handler);

  QAction* Find(const QString& name) const;  // nullptr when unknown
  QAction& Get(const QString& name) const;   // throws std::out_of_range when unknown
  bool Contains(const QString& name) const { return Find(name) != nullptr; }
  std::vector<QAction*> Actions() const;     // in the order they were added

  // Calls the handler whatever the enabled state (an auto-check action toggles
  // first, as a click would). Exceptions reach the caller. Unknown name: throws.
  void Run(const QString& name);

  void SetEnabled(const QString& name, bool enabled) { Get(name).setEnabled(enabled); }
  bool IsEnabled(const QString& name) const { return Get(name).isEnabled(); }
  void SetChecked(const QString& name, bool checked);
  bool IsChecked(const QString& name) const { return Get(name).isChecked(); }
  void SetVisible(const QString& name, bool visible) { Get(name).setVisible(visible); }
  bool IsVisible(const QString& name) const { return Get(name).isVisible(); }

  // Where a user-triggered command's failure is shown ("Ошибка"): no exception
  // crosses the event loop. Without a service the failure goes to qWarning.
  void SetMessages(MessageService* messages) { messages_ = messages; }

 private:
  struct Entry {
    QAction* Action = nullptr;
    Handler Run;
    bool AutoCheck = false;
  };
  void Triggered(const QString& name, bool checked);

  std::map<QString, Entry> entries_;
  std::vector<QAction*> order_;
  MessageService* messages_ = nullptr;
};

// While a long computation runs in the GUI thread, its pumped events must not
// start another command: disables every action of the registry and puts back
// each one's own enabled state at the end (also when the computation throws).
// Enable or disable commands after the guard ends: what is set while it holds
// is put back.
class BusyGuard {
 public:
  explicit BusyGuard(ActionRegistry& registry);
  ~BusyGuard();
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  std::vector<std::pair<QPointer<QAction>, bool>> saved_;
};

}  // namespace tavir
