#include "ui/action_registry.h"

#include <QAction>

namespace haruvi::ui {
namespace {

// "short|long": the short part becomes the tool tip, the long part the status text.
void SetHint(QAction* a, const QString& hint) {
  const qsizetype bar = hint.indexOf(QLatin1Char('|'));
  a->setToolTip(bar >= 0 ? hint.left(bar) : hint);
  a->setStatusTip(bar >= 0 ? hint.mid(bar + 1) : hint);
}

}  // namespace

UnknownAction::UnknownAction(const QString& name)
    : std::logic_error("no action named " + name.toStdString()) {}

ActionRegistry::ActionRegistry(QObject* parent) : QObject(parent) {}

QAction* ActionRegistry::Make(const ActionItem& item) {
  const QString name = QString::fromUtf8(item.name);
  if (actions_.count(name)) throw std::logic_error("action declared twice: " + name.toStdString());
  auto* a = new QAction(QString::fromUtf8(item.caption), this);
  a->setObjectName(name);
  a->setCheckable(item.checkable);
  SetHint(a, QString::fromUtf8(item.hint));
  actions_.emplace(name, a);
  return a;
}

QAction* ActionRegistry::Declare(const ActionItem& item, std::function<void()> handler) {
  QAction* a = Make(item);
  connect(a, &QAction::triggered, this, [h = std::move(handler)] { h(); });
  return a;
}

QAction* ActionRegistry::DeclarePending(const ActionItem& item) {
  QAction* a = Make(item);
  a->setEnabled(false);
  return a;
}

QAction* ActionRegistry::DeclareSwitch(const ActionItem& item) {
  ActionItem s = item;
  s.checkable = true;
  return Make(s);
}

QAction* ActionRegistry::Twin(const QString& main_name, const QString& twin_name) {
  QAction* main = Get(main_name);
  if (actions_.count(twin_name)) throw std::logic_error("action declared twice: " + twin_name.toStdString());
  auto* t = new QAction(main->text(), this);
  t->setObjectName(twin_name);
  t->setCheckable(main->isCheckable());
  t->setChecked(main->isChecked());
  t->setEnabled(main->isEnabled());
  t->setToolTip(main->toolTip());
  t->setStatusTip(main->statusTip());
  if (main->isCheckable()) {
    // Triggering the twin toggles the main item, whose handler then runs once.
    connect(t, &QAction::triggered, main, [main, t](bool) {
      t->setChecked(!t->isChecked());
      main->trigger();
    });
    connect(main, &QAction::toggled, t, &QAction::setChecked);
  } else {
    connect(t, &QAction::triggered, main, &QAction::trigger);
  }
  connect(main, &QAction::changed, t, [main, t] {
    t->setText(main->text());
    t->setEnabled(main->isEnabled());
  });
  actions_.emplace(twin_name, t);
  twins_.emplace(twin_name, main_name);
  return t;
}

QString ActionRegistry::TwinOf(const QString& name) const {
  auto it = twins_.find(name);
  return it == twins_.end() ? QString() : it->second;
}

QAction* ActionRegistry::Get(const QString& name) const {
  auto it = actions_.find(name);
  if (it == actions_.end()) throw UnknownAction(name);
  return it->second;
}

bool ActionRegistry::Contains(const QString& name) const { return actions_.count(name) != 0; }

bool ActionRegistry::Checked(const QString& name) const { return Get(name)->isChecked(); }

void ActionRegistry::SetChecked(const QString& name, bool on) { Get(name)->setChecked(on); }

void ActionRegistry::Trigger(const QString& name) { Get(name)->trigger(); }

void ActionRegistry::Place(Placement place) {
  const QString action = QString::fromUtf8(place.action);
  Get(action);
  if (!place.popup.isEmpty()) Get(place.popup);
  if (place.button.bar != 0) Get(QString::fromUtf8(place.ButtonAction()));
  for (const Placement& p : placements_)
    if (action == QString::fromUtf8(p.action)) throw std::logic_error("action placed twice: " + action.toStdString());
  placements_.push_back(std::move(place));
}

QStringList ActionRegistry::Names() const {
  QStringList names;
  for (const auto& [name, a] : actions_) names << name;
  return names;
}

}  // namespace haruvi::ui
