// TFolderView: the folder tree from "/" down, children loaded on first expansion,
// hidden folders included, expand buttons only where a folder has sub-folders. A
// chooser of programs lists the executable files of each folder too.
#pragma once

#include <QTreeWidget>

namespace haruvi::shellview {

class TFolderView : public QTreeWidget {
  Q_OBJECT

 public:
  explicit TFolderView(QWidget* parent = nullptr);

  // Path of the selected node, or empty.
  QString SelectedPath() const;
  QString PreviousPath() const { return previous_; }
  // Expands the tree down to `path` and selects it; false when it is not a reachable folder.
  bool SelectPath(const QString& path);
  // Rebuilds the tree from the root, keeping nothing but the root expanded.
  void Rebuild();
  void ExpandSelected();
  // Starts renaming the selected folder in place (F2); the rename happens on disk.
  void RenameSelected();
  // Lists each folder's executable files after its sub-folders (a chooser of programs);
  // choosing one emits ProgramChosen instead of FolderChanged. Rebuilds the tree.
  void SetListsPrograms(bool on);

 signals:
  // The selection moved to another folder.
  void FolderChanged(const QString& path);
  void ContextMenuRequested(const QPoint& global_pos, const QString& path);
  // An executable file was chosen (SetListsPrograms).
  void ProgramChosen(const QString& path);

 private:
  QTreeWidgetItem* MakeNode(const QString& name, const QString& path);
  void LoadChildren(QTreeWidgetItem* node);
  // Scrolls `item` into view, sideways as well when the tree is wider than the view.
  void ShowName(QTreeWidgetItem* item);
  void OnRenamed(QTreeWidgetItem* item, int column);

  QString current_;
  QString previous_;
  bool renaming_ = false;
  bool programs_ = false;
};

}  // namespace haruvi::shellview
