#include "platform/qt/action_registry.h"

#include <QSignalBlocker>
#include <QtGlobal>
#include <stdexcept>

#include "platform/services.h"

namespace tavir {

ActionRegistry::ActionRegistry(QObject* parent) : QObject(parent) {}

QAction* ActionRegistry::Add(const QString& name, const QString& caption, Handler handler, bool checkable,
                             bool autoCheck) {
  if (entries_.count(name) != 0) throw std::logic_error("Команда уже есть: " + name.toStdString());
  auto* action = new QAction(caption, this);
  action->setObjectName(name);
  action->setCheckable(checkable);
  entries_[name] = Entry{action, std::move(handler), autoCheck};
  order_.push_back(action);
  connect(action, &QAction::triggered, this, [this, name](bool checked) { Triggered(name, checked); });
  return action;
}

void ActionRegistry::SetHandler(const QString& name, Handler handler) {
  Get(name);
  entries_[name].Run = std::move(handler);
}

QAction* ActionRegistry::Find(const QString& name) const {
  const auto it = entries_.find(name);
  return it == entries_.end() ? nullptr : it->second.Action;
}

QAction& ActionRegistry::Get(const QString& name) const {
  QAction* a = Find(name);
  if (a == nullptr) throw std::out_of_range("Нет команды " + name.toStdString());
  return *a;
}

std::vector<QAction*> ActionRegistry::Actions() const { return order_; }

void ActionRegistry::SetChecked(const QString& name, bool checked) {
  QAction& a = Get(name);
  if (!a.isCheckable()) a.setCheckable(true);
  a.setChecked(checked);
}

void ActionRegistry::Run(const QString& name) {
  QAction& action = Get(name);
  const Entry& e = entries_.at(name);
  if (e.AutoCheck && action.isCheckable()) action.setChecked(!action.isChecked());
  if (e.Run) {
    const Handler handler = e.Run;  // the handler may replace itself
    handler();
  }
}

void ActionRegistry::Triggered(const QString& name, bool checked) {
  const auto it = entries_.find(name);
  if (it == entries_.end()) return;
  Entry& e = it->second;
  // QAction toggled its check mark before emitting; a command that sets its own
  // mark gets the state it had before the click.
  if (e.Action->isCheckable() && !e.AutoCheck) {
    const QSignalBlocker block(e.Action);
    e.Action->setChecked(!checked);
  }
  if (!e.Run) return;
  const Handler handler = e.Run;
  try {
    handler();
  } catch (const std::exception& ex) {
    if (messages_ != nullptr)
      messages_->Error(ex.what());
    else
      qWarning("%s: %s", qPrintable(name), ex.what());
  }
}

BusyGuard::BusyGuard(ActionRegistry& registry) {
  for (QAction* a : registry.Actions()) {
    saved_.emplace_back(a, a->isEnabled());
    a->setEnabled(false);
  }
}

BusyGuard::~BusyGuard() {
  for (auto& [action, enabled] : saved_)
    if (action != nullptr) action->setEnabled(enabled);
}

}  // namespace tavir
