#include "shellview/file_view.h"
#include "bridge/disk_path.h"

#include <QDesktopServices>
#include <QPainter>
#include <QPen>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QHash>
#include <QHeaderView>
#include <QListView>
#include <QMimeData>
#include <QMimeDatabase>
#include <QStackedLayout>
#include <QTreeView>
#include <QUrl>
#include <algorithm>
#include <filesystem>

namespace haruvi::shellview {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;
constexpr int kRowRole = Qt::UserRole + 2;
constexpr int kNameRole = Qt::UserRole + 3;  // the name as FromDisk gives it (the text is for showing)


// The icon theme's picture for the item's MIME type, cached by type.
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

}  // namespace

QStringList FileListModel::mimeTypes() const { return {QStringLiteral("text/uri-list")}; }

QMimeData* FileListModel::mimeData(const QModelIndexList& indexes) const {
  QList<QUrl> urls;
  for (const QModelIndex& i : indexes)
    if (i.column() == 0) urls << QUrl::fromLocalFile(i.data(kPathRole).toString());
  auto* data = new QMimeData;
  data->setUrls(urls);
  return data;
}

TFileView::TFileView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FileView1"));
  model_ = new FileListModel(0, 4, this);
  model_->setHorizontalHeaderLabels(
      {QStringLiteral("名前"), QStringLiteral("ｻｲｽﾞ"), QStringLiteral("ﾌｧｲﾙの種類"),
       QStringLiteral("更新日時")});
  selection_ = new QItemSelectionModel(model_, this);

  list_ = new QListView(this);
  details_ = new QTreeView(this);
  for (QAbstractItemView* v : {static_cast<QAbstractItemView*>(list_),
                               static_cast<QAbstractItemView*>(details_)}) {
    v->setModel(model_);
    v->setSelectionModel(selection_);
    v->setSelectionMode(QAbstractItemView::ExtendedSelection);
    v->setSelectionBehavior(QAbstractItemView::SelectRows);  // whole items in every style
    v->setEditTriggers(QAbstractItemView::EditKeyPressed);
    v->setContextMenuPolicy(Qt::CustomContextMenu);
    v->setDragDropMode(QAbstractItemView::DragOnly);
    v->setDragEnabled(false);
    connect(v, &QAbstractItemView::activated, this, &TFileView::OnActivated);
    connect(v, &QWidget::customContextMenuRequested, this, [this, v](const QPoint& p) {
      emit ContextMenuRequested(v->viewport()->mapToGlobal(p));
    });
    connect(v, &QAbstractItemView::entered, this, [this](const QModelIndex& i) {
      if (hot_track_ && i.isValid())
        selection_->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
  }
  details_->setRootIsDecorated(false);
  details_->setUniformRowHeights(true);
  details_->setAllColumnsShowFocus(true);
  details_->header()->setSectionsClickable(true);
  details_->header()->setSortIndicatorShown(false);
  for (int c = 0; c < 4; ++c) details_->setColumnWidth(c, 120);
  model_->horizontalHeaderItem(1)->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  connect(details_->header(), &QHeaderView::sectionClicked, this, &TFileView::ColumnClick);

  stack_ = new QStackedLayout(this);
  stack_->setContentsMargins(0, 0, 0, 0);
  stack_->addWidget(list_);
  stack_->addWidget(details_);

  connect(selection_, &QItemSelectionModel::selectionChanged, this, [this] {
    if (!rebuilding_) emit Change(SelectedPath(), true);
  });
  connect(model_, &QStandardItemModel::itemChanged, this, &TFileView::OnRenamed);
  SetViewStyle(ViewStyle::List);
}

bool TFileView::SetFolder(const QString& folder) {
  std::vector<FileEntry> listed;
  if (!ListFolder(bridge::ToDisk(folder), listed)) {
    emit ListFailed(folder);
    return false;
  }
  folder_ = folder;
  entries_.clear();
  for (FileEntry& e : listed)
    if (MaskAccepts(e, mask_)) entries_.push_back(std::move(e));
  types_.assign(entries_.size(), QString());
  for (size_t i = 0; i < entries_.size(); ++i) types_[i] = TypeName(entries_[i]);
  directions_ = {1, 1, 1, 1};
  Rebuild();
  emit Change(SelectedPath(), false);
  return true;
}

bool TFileView::Fill() { return folder_.isEmpty() ? false : SetFolder(folder_); }

QString TFileView::TypeName(const FileEntry& e) const {
  static QMimeDatabase mime;
  if (e.is_dir) return QStringLiteral("ファイル フォルダー");
  QMimeType t = mime.mimeTypeForFile(bridge::FromDisk(e.path), QMimeDatabase::MatchExtension);
  QString name = t.comment();
  if (name.isEmpty()) name = t.name();
  return name.left(80);
}

void TFileView::Rebuild() {
  rebuilding_ = true;
  selection_->clear();
  model_->removeRows(0, model_->rowCount());
  QList<QList<QStandardItem*>> rows;
  for (size_t i = 0; i < entries_.size(); ++i) {
    const FileEntry& e = entries_[i];
    const QString lossless = bridge::FromDisk(e.name);
    auto* name = new QStandardItem(IconFor(e), bridge::DisplayName(lossless));
    name->setData(lossless, kNameRole);
    name->setData(bridge::FromDisk(e.path), kPathRole);
    name->setData(static_cast<int>(i), kRowRole);
    name->setEditable(true);
    name->setDragEnabled(true);
    auto* size = new QStandardItem(e.has_info && !e.is_dir ? QString::fromStdString(SizeText(e.size)) : QString());
    size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* type = new QStandardItem(types_[i]);
    auto* time = new QStandardItem(e.has_info ? QString::fromStdString(TimeText(e.mtime)) : QString());
    for (QStandardItem* it : {size, type, time}) it->setEditable(false);
    model_->appendRow({name, size, type, time});
  }
  rebuilding_ = false;
  FitListGrid();
}

const FileEntry* TFileView::EntryAt(int row) const {
  if (row < 0 || row >= model_->rowCount()) return nullptr;
  int i = model_->item(row, 0)->data(kRowRole).toInt();
  return &entries_[static_cast<size_t>(i)];
}

QModelIndexList TFileView::SelectedNames() const {
  // Column 0 of every row that has any cell selected, in row order.
  QModelIndexList rows;
  for (const QModelIndex& i : selection_->selectedIndexes())
    if (i.column() == 0) rows << i;
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  return rows;
}

QStringList TFileView::SelectedPaths() const {
  QStringList paths;
  QModelIndexList rows = SelectedNames();
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  for (const QModelIndex& i : rows) paths << i.data(kPathRole).toString();
  return paths;
}

QString TFileView::SelectedPath() const {
  QStringList p = SelectedPaths();
  return p.isEmpty() ? QString() : p.front();
}

int TFileView::SelectedCount() const { return static_cast<int>(SelectedNames().size()); }

bool TFileView::SelectedIsFolder() const {
  QModelIndexList rows = SelectedNames();
  if (rows.isEmpty()) {
    QModelIndex cur = selection_->currentIndex();
    if (!cur.isValid()) return false;
    rows << cur;
  }
  std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
  const FileEntry* e = EntryAt(rows.front().row());
  return e && e->is_dir;
}

QStringList TFileView::Captions() const {
  QStringList names;
  for (int r = 0; r < model_->rowCount(); ++r) names << model_->item(r, 0)->data(kNameRole).toString();
  return names;
}

int TFileView::SelectByCaption(const QString& name) {
  QItemSelection sel;
  int first = -1;
  for (int r = 0; r < model_->rowCount(); ++r) {
    if (model_->item(r, 0)->data(kNameRole).toString().compare(name, Qt::CaseInsensitive) == 0) {
      sel.select(model_->index(r, 0), model_->index(r, 3));
      if (first < 0) first = r;
    }
  }
  if (first < 0) return 0;
  selection_->setCurrentIndex(model_->index(first, 0), QItemSelectionModel::NoUpdate);
  selection_->select(sel, QItemSelectionModel::ClearAndSelect);
  CurrentView()->scrollTo(model_->index(first, 0));
  return static_cast<int>(sel.size());
}

void TFileView::SelectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) return;
  selection_->setCurrentIndex(model_->index(row, 0),
                              QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TFileView::ClearSelection() { selection_->clearSelection(); }

void TFileView::FitListGrid() {
  // List and small-icon styles lay names out in columns as wide as the longest name.
  if (style_ != ViewStyle::List && style_ != ViewStyle::SmallIcons) return;
  const QFontMetrics m(list_->font());
  int widest = 40;
  for (int r = 0; r < model_->rowCount(); ++r)
    widest = std::max(widest, m.horizontalAdvance(model_->item(r, 0)->text()));
  widest = std::min(widest, 400);
  list_->setGridSize(QSize(widest + 16 + 12, std::max(18, m.height() + 4)));
}

void TFileView::SetViewStyle(ViewStyle style) {
  style_ = style;
  if (style == ViewStyle::Details) {
    stack_->setCurrentWidget(details_);
    return;
  }
  stack_->setCurrentWidget(list_);
  switch (style) {
    case ViewStyle::LargeIcons:
      list_->setViewMode(QListView::IconMode);
      list_->setIconSize(QSize(32, 32));
      list_->setGridSize(QSize(88, 64));
      list_->setFlow(QListView::LeftToRight);
      list_->setWrapping(true);
      list_->setWordWrap(true);
      break;
    case ViewStyle::SmallIcons:
      list_->setViewMode(QListView::ListMode);
      list_->setIconSize(QSize(16, 16));
      list_->setFlow(QListView::LeftToRight);
      list_->setWrapping(true);
      break;
    default:
      list_->setViewMode(QListView::ListMode);
      list_->setIconSize(QSize(16, 16));
      list_->setFlow(QListView::TopToBottom);
      list_->setWrapping(true);
      break;
  }
  list_->setMovement(QListView::Static);
  list_->setResizeMode(QListView::Adjust);
  FitListGrid();
}

void TFileView::SortEntries(int column, int direction, bool names_as_text) {
  // Reorder entries_ (with their type names) and rebuild, keeping the selection by path.
  QStringList selected = SelectedPaths();
  std::vector<size_t> order(entries_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  auto text = [&](size_t i) -> QString {
    const FileEntry& e = entries_[i];
    switch (column) {
      case 1: return e.has_info && !e.is_dir ? QString::fromStdString(SizeText(e.size)) : QString();
      case 2: return types_[i];
      case 3: return e.has_info ? QString::fromStdString(TimeText(e.mtime)) : QString();
      default: return bridge::FromDisk(e.name);
    }
  };
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    int c = (column == 0 && !names_as_text) ? CompareItems(entries_[a], entries_[b])
                        : QString::localeAwareCompare(text(a), text(b));
    c = (c > 0) - (c < 0);
    return c * direction < 0;
  });
  std::vector<FileEntry> e2;
  std::vector<QString> t2;
  for (size_t i : order) {
    e2.push_back(std::move(entries_[i]));
    t2.push_back(std::move(types_[i]));
  }
  entries_.swap(e2);
  types_.swap(t2);
  Rebuild();
  QItemSelection sel;
  for (int r = 0; r < model_->rowCount(); ++r)
    if (selected.contains(model_->item(r, 0)->data(kPathRole).toString()))
      sel.select(model_->index(r, 0), model_->index(r, 3));
  rebuilding_ = true;
  selection_->select(sel, QItemSelectionModel::ClearAndSelect);
  rebuilding_ = false;
}

void TFileView::ColumnClick(int column) {
  if (column < 0 || column > 3) return;
  directions_[static_cast<size_t>(column)] = -directions_[static_cast<size_t>(column)];
  SortEntries(column, directions_[static_cast<size_t>(column)], false);
}

void TFileView::SortBy(int code) {
  int direction = code >= 90 ? -1 : 1;
  int column = code % 90;
  if (column < 0 || column > 3) return;
  // The dialog compares every column as text, names included; directions stay as they are.
  SortEntries(column, direction, true);
}

int TFileView::ColumnWidth(int column) const { return details_->columnWidth(column); }

void TFileView::SetColumnWidth(int column, int width) {
  if (column < 0 || column > 3) return;
  if (width == -1) details_->resizeColumnToContents(column);
  else if (width == -2) details_->setColumnWidth(column, details_->header()->sectionSizeHint(column));
  else if (width >= 0) details_->setColumnWidth(column, width);
}

void TFileView::FitColumns(int first, int last) {
  for (int c = first; c <= last; ++c) details_->resizeColumnToContents(c);
}

void TFileView::SetHotTrack(bool on) {
  hot_track_ = on;
  list_->setMouseTracking(on);
  details_->setMouseTracking(on);
}

void TFileView::SetDragEnabled(bool on) {
  list_->setDragEnabled(on);
  details_->setDragEnabled(on);
}

void TFileView::SetFileFont(const QFont& font) {
  list_->setFont(font);
  details_->setFont(font);
  FitListGrid();
}

QAbstractItemView* TFileView::CurrentView() const {
  return style_ == ViewStyle::Details ? static_cast<QAbstractItemView*>(details_)
                                      : static_cast<QAbstractItemView*>(list_);
}

void TFileView::RenameSelected() {
  QModelIndex cur = selection_->currentIndex();
  if (cur.isValid()) CurrentView()->edit(model_->index(cur.row(), 0));
}

void TFileView::OnActivated(const QModelIndex& index) {
  if (index.isValid()) OpenItem(index.row());
}

void TFileView::OpenItem(int row) {
  const FileEntry* e = EntryAt(row);
  if (!e) return;
  if (e->is_dir) emit FolderOpened(bridge::FromDisk(e->path));
  else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(bridge::FromDisk(e->path))))
    emit OpenFailed(bridge::FromDisk(e->path));
}

void TFileView::OnRenamed(QStandardItem* item) {
  if (rebuilding_ || !item || item->column() != 0) return;
  int i = item->data(kRowRole).toInt();
  if (i < 0 || i >= static_cast<int>(entries_.size())) return;
  FileEntry& e = entries_[static_cast<size_t>(i)];
  QString wanted = item->text();
  QString old = bridge::DisplayName(bridge::FromDisk(e.name));
  if (wanted == old) return;
  std::string new_name = bridge::ToDisk(wanted);
  std::error_code ec;
  std::filesystem::path target = std::filesystem::path(e.path).parent_path() / new_name;
  bool ok = !wanted.isEmpty() && !wanted.contains(QLatin1Char('/')) &&
            !std::filesystem::exists(std::filesystem::symlink_status(target, ec));
  if (ok) {
    std::filesystem::rename(e.path, target, ec);
    ok = !ec;
  }
  rebuilding_ = true;
  if (ok) {
    e.name = new_name;
    e.path = target.string();
    item->setData(bridge::FromDisk(e.path), kPathRole);
    item->setData(bridge::FromDisk(e.name), kNameRole);
    rebuilding_ = false;
    emit Change(SelectedPath(), false);  // what names the old file shows the new name
    return;
  } else {
    item->setText(old);  // the old name is shown again
  }
  rebuilding_ = false;
}

}  // namespace haruvi::shellview
