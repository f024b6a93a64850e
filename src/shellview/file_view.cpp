#include "shellview/file_view.h"

#include "bridge/disk_path.h"
#include "bridge/programs.h"
#include "shellview/file_list_model.h"

#include <QDesktopServices>
#include <QHeaderView>
#include <QListView>
#include <QStackedLayout>
#include <QStyle>
#include <QTreeView>
#include <QUrl>
#include <algorithm>
#include <filesystem>

namespace haruvi::shellview {
namespace {

constexpr int kPathRole = FileListModel::kPathRole;
constexpr int kNameRole = FileListModel::kNameRole;

}  // namespace

TFileView::TFileView(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FileView1"));
  model_ = new FileListModel(this);
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
    v->setDragEnabled(true);  // whether a drag starts is the model's call (shell drags, Shift)
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
  connect(details_->header(), &QHeaderView::sectionClicked, this, &TFileView::ColumnClick);

  stack_ = new QStackedLayout(this);
  stack_->setContentsMargins(0, 0, 0, 0);
  stack_->addWidget(list_);
  stack_->addWidget(details_);

  connect(selection_, &QItemSelectionModel::selectionChanged, this, [this] {
    if (!rebuilding_) emit Change(SelectedPath(), true);
  });
  connect(model_, &FileListModel::RenameRequested, this, &TFileView::OnRenameRequested);
  list_->setUniformItemSizes(true);  // a folder of 200,000 names lays out without measuring each
  SetViewStyle(ViewStyle::List);
}

bool TFileView::SetFolder(const QString& folder) {
  std::vector<FileEntry> listed;
  if (!ListFolder(bridge::ToDisk(folder), listed)) {
    emit ListFailed(folder);
    return false;
  }
  folder_ = folder;
  std::vector<FileEntry> kept;
  kept.reserve(listed.size());
  for (FileEntry& e : listed)
    if (MaskAccepts(e, mask_)) kept.push_back(std::move(e));
  directions_ = {1, 1, 1, 1};
  rebuilding_ = true;
  selection_->clear();
  model_->Reset(std::move(kept));
  rebuilding_ = false;
  FitListGrid();
  emit Change(SelectedPath(), false);
  return true;
}

bool TFileView::Fill() { return folder_.isEmpty() ? false : SetFolder(folder_); }

int TFileView::Count() const { return model_->rowCount(); }

const FileEntry* TFileView::EntryAt(int row) const {
  if (row < 0 || row >= model_->rowCount()) return nullptr;
  return &model_->Entries()[static_cast<size_t>(row)];
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
  names.reserve(model_->rowCount());
  for (const FileEntry& e : model_->Entries()) names << bridge::FromDisk(e.name);
  return names;
}

int TFileView::SelectByCaption(const QString& name, Qt::CaseSensitivity cs) {
  QItemSelection sel;
  int first = -1;
  for (int r = 0; r < model_->rowCount(); ++r) {
    if (bridge::FromDisk(model_->Entries()[static_cast<size_t>(r)].name).compare(name, cs) == 0) {
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
  // Measured on the longest names only: a huge folder is not measured name by name.
  const QFontMetrics m(list_->font());
  const std::vector<FileEntry>& entries = model_->Entries();
  std::vector<size_t> longest(entries.size());
  for (size_t i = 0; i < longest.size(); ++i) longest[i] = i;
  const size_t probe = std::min<size_t>(longest.size(), 64);
  std::partial_sort(longest.begin(), longest.begin() + static_cast<std::ptrdiff_t>(probe), longest.end(),
                    [&](size_t a, size_t b) { return entries[a].name.size() > entries[b].name.size(); });
  int widest = 40;
  for (size_t k = 0; k < probe; ++k)
    widest = std::max(widest, m.horizontalAdvance(bridge::DisplayName(bridge::FromDisk(entries[longest[k]].name))));
  widest = std::min(widest, 400);
  // The cell holds the icon and the name, each with the style's focus margins on both
  // sides and the gap between them: counted from the style, so no name is cut short.
  const int margin = list_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
  const int cell = list_->iconSize().width() + widest + 4 * margin + 2 * list_->spacing() + 8;
  list_->setGridSize(QSize(cell, std::max(list_->iconSize().height() + 2, m.height() + 4)));
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
  // Reorders the entries and lists them again, keeping the selection by path.
  const QStringList selected = SelectedPaths();
  const std::vector<FileEntry>& entries = model_->Entries();
  std::vector<size_t> order(entries.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::vector<QString> keys;
  if (column != 0 || names_as_text) {
    keys.resize(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      const FileEntry& e = entries[i];
      switch (column) {
        case 1: keys[i] = e.has_info && !e.is_dir ? QString::fromStdString(SizeText(e.size)) : QString(); break;
        case 2: keys[i] = model_->TypeOf(static_cast<int>(i)); break;
        case 3: keys[i] = e.has_info ? QString::fromStdString(TimeText(e.mtime)) : QString(); break;
        default: keys[i] = bridge::FromDisk(e.name); break;
      }
    }
  }
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    int c = keys.empty() ? CompareItems(entries[a], entries[b]) : QString::localeAwareCompare(keys[a], keys[b]);
    c = (c > 0) - (c < 0);
    return c * direction < 0;
  });
  std::vector<FileEntry> sorted;
  sorted.reserve(order.size());
  for (size_t i : order) sorted.push_back(entries[i]);
  rebuilding_ = true;
  selection_->clear();
  model_->Reset(std::move(sorted));
  QItemSelection sel;
  for (int r = 0; r < model_->rowCount(); ++r)
    if (selected.contains(bridge::FromDisk(model_->Entries()[static_cast<size_t>(r)].path)))
      sel.select(model_->index(r, 0), model_->index(r, 3));
  selection_->select(sel, QItemSelectionModel::ClearAndSelect);
  rebuilding_ = false;
  FitListGrid();
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

void TFileView::SetDragEnabled(bool on) { model_->SetShellDrag(on); }

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
  else if (!bridge::OpenWithDesktop(bridge::FromDisk(e->path), Folder(), nullptr))
    emit OpenFailed(bridge::FromDisk(e->path));
}

void TFileView::OnRenameRequested(int row, const QString& wanted) {
  const FileEntry* current = EntryAt(row);
  if (!current || wanted == bridge::DisplayName(bridge::FromDisk(current->name))) return;
  FileEntry e = *current;
  const std::string new_name = bridge::ToDisk(wanted);
  std::error_code ec;
  const std::filesystem::path target = std::filesystem::path(e.path).parent_path() / new_name;
  // Never over an existing name, never out of the folder; a refused name shows the old one.
  bool ok = !wanted.isEmpty() && !wanted.contains(QLatin1Char('/')) &&
            !std::filesystem::exists(std::filesystem::symlink_status(target, ec));
  if (ok) {
    std::filesystem::rename(e.path, target, ec);
    ok = !ec;
  }
  if (!ok) return;
  e.name = new_name;
  e.path = target.string();
  model_->Renamed(row, std::move(e));
  emit Change(SelectedPath(), false);  // what names the old file shows the new name
}

}  // namespace haruvi::shellview
