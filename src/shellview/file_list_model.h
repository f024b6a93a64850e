// The file list's model: a table over the listed entries that works out what it shows
// (display names, sizes, kinds, icons) only for the rows a view asks about, so a folder of
// 200,000 files lists at once and costs little more than its entries.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

#include "shellview/listing.h"

namespace haruvi::shellview {

class FileListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  static constexpr int kPathRole = Qt::UserRole + 1;  // the full path, FromDisk form
  static constexpr int kNameRole = Qt::UserRole + 3;  // the name, FromDisk form (the text is for showing)

  explicit FileListModel(QObject* parent = nullptr);

  // Takes a folder's entries in the order to show them.
  void Reset(std::vector<FileEntry> entries);
  const std::vector<FileEntry>& Entries() const { return entries_; }
  FileEntry& EntryAt(int row) { return entries_[static_cast<size_t>(row)]; }
  // The kind column's text of a row (worked out once, when first wanted).
  const QString& TypeOf(int row) const;
  // The entry renamed on disk: the row shows the new name.
  void Renamed(int row, FileEntry entry);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // An edit of a name asks for a rename; the view decides whether it happened.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QModelIndexList& indexes) const override;
  // Drags of the selected files to other programs ("ドラッグ&&ドロップ使用"); a drag with
  // Shift alone held is the list's own (onto the folder tree) and starts either way.
  void SetShellDrag(bool on) { shell_drag_ = on; }

 signals:
  void RenameRequested(int row, const QString& wanted);

 private:
  bool shell_drag_ = false;
  std::vector<FileEntry> entries_;
  mutable std::vector<QString> types_;  // empty until first wanted
};

// The icon theme's picture for an entry's kind (with a link emblem for links), cached.
QIcon IconFor(const FileEntry& e);
// The kind column's text: the MIME database's comment for the name, folders named so.
QString TypeNameOf(const FileEntry& e);

}  // namespace haruvi::shellview
