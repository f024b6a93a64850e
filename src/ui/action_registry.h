// The window's commands by name. Each controller declares its actions here (name,
// caption, "short|long" hint, handler, check mark) and may place them (ui/placement.h);
// menus, tool buttons, key commands and user menus find them by the item's name. An
// unknown name is a programming error: Get() throws, so a misspelled name fails at
// start-up or in a test, never silently.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

#include "ui/placement.h"

class QAction;

namespace haruvi::ui {

class UnknownAction : public std::logic_error {
 public:
  explicit UnknownAction(const QString& name);
};

struct ActionItem {
  const char* name;     // the menu item's name: "Mwordwrap"
  const char* caption;  // "右で折り返す(&R)"
  const char* hint;     // "折り返し|テキストを右端で折り返します。"
  bool checkable = false;
};

class ActionRegistry : public QObject {
  Q_OBJECT

 public:
  explicit ActionRegistry(QObject* parent = nullptr);

  // Declares a command. A second declaration of a name throws.
  QAction* Declare(const ActionItem& item, std::function<void()> handler);
  // A command whose work comes with a later part of the program: shown, disabled.
  QAction* DeclarePending(const ActionItem& item);
  // A setting only: a check mark other commands read when they run.
  QAction* DeclareSwitch(const ActionItem& item);
  // A pop-up twin: runs the same handler and keeps the same check mark both ways.
  QAction* Twin(const QString& main_name, const QString& twin_name);
  // The command a twin copies; empty for a command that is no twin.
  QString TwinOf(const QString& name) const;

  // The action of that name; throws UnknownAction.
  QAction* Get(const QString& name) const;
  bool Contains(const QString& name) const;
  bool Checked(const QString& name) const;
  void SetChecked(const QString& name, bool on);
  // Runs the command of that name as its menu item would.
  void Trigger(const QString& name);
  QStringList Names() const;

  // States where a declared command shows. Its pop-up copy and its button's command must
  // be declared already; a second place for a command throws.
  void Place(Placement place);
  // Every place, in the order the controllers placed them.
  const std::vector<Placement>& Placements() const { return placements_; }

 private:
  QAction* Make(const ActionItem& item);
  std::map<QString, QAction*> actions_;
  std::vector<Placement> placements_;
  std::map<QString, QString> twins_;  // twin -> its main command
};

}  // namespace haruvi::ui
