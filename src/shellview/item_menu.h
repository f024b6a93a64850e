// The context menu of files and folders in the browsing views ("開く", the file commands,
// "プロパティ"),
// standing in for the desktop shell's menu, and the properties dialog it opens.
#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;

namespace haruvi::shellview {

// Builds the menu for `paths` (the first one is the item the menu is about).
// `open_folder` moves the views into a folder; files open with their default application.
// `commands` (the program's file commands, which act on the list's selection) stand
// between the two; a null entry is a separator.
QMenu* MakeItemMenu(QWidget* parent, const QStringList& paths,
                    const std::function<void(const QString&)>& open_folder, const QList<QAction*>& commands = {});

// Name, kind, location, size, times, permissions and owner of one item.
class PropertiesDialog : public QDialog {
  Q_OBJECT
 public:
  PropertiesDialog(const QString& path, QWidget* parent = nullptr);
};

}  // namespace haruvi::shellview
