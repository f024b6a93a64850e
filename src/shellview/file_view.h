// TFileView: the file list of one folder in four styles (large icons, small icons, list,
// details), with the extension mask, column sorting, opening, renaming and dragging.
// One model serves an icon/list view and a details view; only one is shown at a time.
#pragma once

#include <QModelIndexList>
#include <QWidget>
#include <array>
#include <vector>

#include "shellview/listing.h"

class QListView;
class QTreeView;
class QStackedLayout;
class QItemSelectionModel;
class QAbstractItemView;

namespace haruvi::shellview {

enum class ViewStyle { LargeIcons = 1, SmallIcons = 2, List = 3, Details = 4 };

class FileListModel;

class TFileView : public QWidget {
  Q_OBJECT

 public:
  explicit TFileView(QWidget* parent = nullptr);

  // Lists `folder`; false (and nothing changed) when it cannot be listed.
  bool SetFolder(const QString& folder);
  QString Folder() const { return folder_; }
  // Re-reads the current folder.
  bool Fill();

  // Full path of the first selected item, or empty.
  QString SelectedPath() const;
  QStringList SelectedPaths() const;
  int SelectedCount() const;
  int Count() const;
  const FileEntry* EntryAt(int row) const;
  bool SelectedIsFolder() const;
  QStringList Captions() const;
  // Selects every item whose caption equals `name`, without regard to case unless asked;
  // returns how many.
  int SelectByCaption(const QString& name, Qt::CaseSensitivity cs = Qt::CaseInsensitive);
  void SelectRow(int row);
  void ClearSelection();

  void SetMask(const std::vector<std::string>& mask) { mask_ = mask; }
  const std::vector<std::string>& Mask() const { return mask_; }

  void SetViewStyle(ViewStyle style);
  ViewStyle Style() const { return style_; }

  // Column click: flip the column's direction and sort by it.
  void ColumnClick(int column);
  // The sort dialog's answer: 0-3 ascending by name/size/type/time, 90-93 descending.
  void SortBy(int code);
  int Direction(int column) const { return directions_[static_cast<size_t>(column)]; }

  // Column widths of the details style (columns 1-3); -1 fits contents, -2 fits header.
  int ColumnWidth(int column) const;
  void SetColumnWidth(int column, int width);
  void FitColumns(int first, int last);

  void SetHotTrack(bool on);
  bool HotTrack() const { return hot_track_; }
  void SetDragEnabled(bool on);
  void SetFileFont(const QFont& font);

  // The view that has the keyboard focus in the current style.
  QAbstractItemView* CurrentView() const;
  void RenameSelected();

 signals:
  // Every change of the list's items or selection (a new folder, a selection change).
  void Change(const QString& selected_path, bool state_change);
  // A folder item was opened (double click, Enter): the tree should move there.
  void FolderOpened(const QString& path);
  void ListFailed(const QString& folder);
  // No application could open a file item (no opener installed for its kind).
  void OpenFailed(const QString& path);
  void ContextMenuRequested(const QPoint& global_pos);

 private:
  QModelIndexList SelectedNames() const;
  void FitListGrid();
  void SortEntries(int column, int direction, bool names_as_text);
  void OnActivated(const QModelIndex& index);
  void OnRenameRequested(int row, const QString& wanted);
  void OpenItem(int row);

  QString folder_;
  std::vector<std::string> mask_;
  std::array<int, 4> directions_{1, 1, 1, 1};
  ViewStyle style_ = ViewStyle::List;
  bool hot_track_ = false;
  bool rebuilding_ = false;

  FileListModel* model_;
  QItemSelectionModel* selection_;
  QListView* list_;
  QTreeView* details_;
  QStackedLayout* stack_;
};

}  // namespace haruvi::shellview
