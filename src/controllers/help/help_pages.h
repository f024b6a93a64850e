// The help pages made from the program itself: every command as the menus hold it (its
// caption, what it does, its letter key, shortcut and tool button, whether it is a check
// setting), and the keys. Read from the window's menus, tool bars and key menu, so the
// pages cannot drift from the program; a test compares them with the installed pages.
#pragma once

#include <QString>
#include <map>

class QWidget;

namespace haruvi::ui {
class ActionRegistry;
}

namespace haruvi::controllers::help {

// File name ("commands.html", "keys.html") -> the page's HTML, for the window `window`
// (its menu bar and key pop-up menu) and the commands of `actions`.
std::map<QString, QString> GeneratedPages(QWidget& window, const ui::ActionRegistry& actions);

}  // namespace haruvi::controllers::help
