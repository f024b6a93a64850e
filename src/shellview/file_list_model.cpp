#include "shellview/file_list_model.h"

#include <QFileIconProvider>
#include <QGuiApplication>
#include <QHash>
#include <QMimeData>
#include <QMimeDatabase>
#include <QPainter>
#include <QPen>
#include <QUrl>
#include <algorithm>

#include "bridge/disk_path.h"
#include "bridge/path_mime.h"

namespace haruvi::shellview {
namespace {

// The icon with the link emblem in its lower left corner, at the sizes the styles use.
QIcon WithLinkEmblem(const QIcon& base) {
  static const QIcon emblem = QIcon::fromTheme(QStringLiteral("emblem-symbolic-link"));
  QIcon out;
  for (int size : {16, 20, 32, 48}) {
    QPixmap pm = base.pixmap(size, size);
    QPainter p(&pm);
    const int e = std::max(8, size / 2);
    if (!emblem.isNull()) {
      p.drawPixmap(0, size - e, emblem.pixmap(e, e));
    } else {  // no theme emblem: a small arrow on white
      p.fillRect(0, size - e, e, e, Qt::white);
      p.setPen(QPen(Qt::black, std::max(1, e / 8)));
      p.drawLine(e / 4, size - e / 4, e - e / 4, size - e + e / 4);
      p.drawLine(e - e / 4, size - e + e / 4, e / 2, size - e + e / 4);
      p.drawLine(e - e / 4, size - e + e / 4, e - e / 4, size - e / 2);
    }
    out.addPixmap(pm);
  }
  return out;
}

}  // namespace

QIcon IconFor(const FileEntry& e) {
  static QFileIconProvider provider;
  static const QIcon folder = provider.icon(QFileIconProvider::Folder);
  static const QIcon file = provider.icon(QFileIconProvider::File);
  static QHash<QString, QIcon> by_type;
  static QMimeDatabase mime;
  QString key = e.is_dir ? QStringLiteral("/folder") : QString();
  if (!e.is_dir) key = mime.mimeTypeForFile(bridge::FromDisk(e.path), QMimeDatabase::MatchExtension).name();
  if (e.is_link) key += QStringLiteral("+link");
  auto it = by_type.find(key);
  if (it == by_type.end()) {
    QIcon icon = folder;
    if (!e.is_dir) {
      const QMimeType t = mime.mimeTypeForName(key.section(QLatin1Char('+'), 0, 0));
      icon = QIcon::fromTheme(t.iconName(), QIcon::fromTheme(t.genericIconName(), file));
    }
    if (e.is_link) icon = WithLinkEmblem(icon);
    it = by_type.insert(key, icon);
  }
  return *it;
}


QString TypeNameOf(const FileEntry& e) {
  static QMimeDatabase mime;
  if (e.is_dir) return QStringLiteral("ファイル フォルダー");
  const QMimeType t = mime.mimeTypeForFile(bridge::FromDisk(e.path), QMimeDatabase::MatchExtension);
  QString name = t.comment();
  if (name.isEmpty()) name = t.name();
  return name.left(80);
}

FileListModel::FileListModel(QObject* parent) : QAbstractTableModel(parent) {}

void FileListModel::Reset(std::vector<FileEntry> entries) {
  beginResetModel();
  entries_ = std::move(entries);
  types_.assign(entries_.size(), QString());
  endResetModel();
}

const QString& FileListModel::TypeOf(int row) const {
  QString& t = types_[static_cast<size_t>(row)];
  if (t.isEmpty()) t = TypeNameOf(entries_[static_cast<size_t>(row)]);
  return t;
}

void FileListModel::Renamed(int row, FileEntry entry) {
  entries_[static_cast<size_t>(row)] = std::move(entry);
  types_[static_cast<size_t>(row)].clear();
  emit dataChanged(index(row, 0), index(row, 3));
}

int FileListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int FileListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 4; }

QVariant FileListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const FileEntry& e = entries_[static_cast<size_t>(index.row())];
  switch (role) {
    case kPathRole: return bridge::FromDisk(e.path);
    case kNameRole: return bridge::FromDisk(e.name);
    case Qt::DisplayRole:
    case Qt::EditRole:
      switch (index.column()) {
        case 0: return bridge::DisplayName(bridge::FromDisk(e.name));
        case 1: return e.has_info && !e.is_dir ? QString::fromStdString(SizeText(e.size)) : QString();
        case 2: return TypeOf(index.row());
        default: return e.has_info ? QString::fromStdString(TimeText(e.mtime)) : QString();
      }
    case Qt::DecorationRole:
      return index.column() == 0 ? QVariant(IconFor(e)) : QVariant();
    case Qt::TextAlignmentRole:
      return index.column() == 1 ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    default: return {};
  }
}

QVariant FileListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  if (role == Qt::TextAlignmentRole && section == 1) return int(Qt::AlignRight | Qt::AlignVCenter);
  if (role != Qt::DisplayRole) return {};
  switch (section) {
    case 0: return QStringLiteral("名前");
    case 1: return QStringLiteral("ｻｲｽﾞ");
    case 2: return QStringLiteral("ﾌｧｲﾙの種類");
    default: return QStringLiteral("更新日時");
  }
}

Qt::ItemFlags FileListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() == 0) f |= Qt::ItemIsEditable | Qt::ItemIsDragEnabled;
  return f;
}

bool FileListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.column() != 0) return false;
  emit RenameRequested(index.row(), value.toString());
  return true;
}

QStringList FileListModel::mimeTypes() const { return {QStringLiteral("text/uri-list")}; }

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const {
  // No drag at all unless drags are on or Shift alone is held (the list's own drag).
  if (!shell_drag_ && QGuiApplication::queryKeyboardModifiers() != Qt::ShiftModifier) return nullptr;
  // file: URLs with the names' bytes percent-encoded, whatever their code.
  QStringList paths;
  for (const QModelIndex& i : indexes)
    if (i.column() == 0) paths << i.data(kPathRole).toString();
  return bridge::PathsMimeData(paths);
}

}  // namespace haruvi::shellview
