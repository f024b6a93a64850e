// The context menu of files and folders in the browsing views ("開く", "プロパティ"),
// standing in for the desktop shell's menu, and the properties dialog it opens.
#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

class QMenu;

namespace haruvi::shellview {

// Builds the menu for `paths` (the first one is the item the menu is about).
// `open_folder` moves the views into a folder; files open with their default application.
QMenu* MakeItemMenu(QWidget* parent, const QStringList& paths,
                    const std::function<void(const QString&)>& open_folder);

// Name, kind, location, size, times, permissions and owner of one item.
class PropertiesDialog : public QDialog {
  Q_OBJECT
 public:
  PropertiesDialog(const QString& path, QWidget* parent = nullptr);
};

}  // namespace haruvi::shellview
