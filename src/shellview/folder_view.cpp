#include "shellview/folder_view.h"
#include "bridge/disk_path.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include <QFileIconProvider>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalBlocker>

#include "shellview/listing.h"

namespace haruvi::shellview {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;
constexpr int kLoadedRole = Qt::UserRole + 2;
constexpr int kNameRole = Qt::UserRole + 3;  // the name as FromDisk gives it (the text is for showing)
constexpr int kProgramRole = Qt::UserRole + 4;  // an executable file, not a folder



QStringList Components(const QString& path) {
  return path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

}  // namespace

TFolderView::TFolderView(QWidget* parent) : QTreeWidget(parent) {
  setObjectName(QStringLiteral("FolderView1"));
  setHeaderHidden(true);
  setColumnCount(1);
  setIndentation(19);
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  // Deep folders scroll sideways instead of eliding their names.
  header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  header()->setStretchLastSection(false);
  setContextMenuPolicy(Qt::CustomContextMenu);
  // F2 renames the selected folder (the root and the items' other ways to edit, no).
  setEditTriggers(QAbstractItemView::EditKeyPressed);
  connect(this, &QTreeWidget::itemChanged, this, &TFolderView::OnRenamed);
  connect(this, &QTreeWidget::itemExpanded, this, &TFolderView::LoadChildren);
  connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    QString path = item ? item->data(0, kPathRole).toString() : QString();
    if (item && item->data(0, kProgramRole).toBool()) {
      emit ProgramChosen(path);
      return;
    }
    if (path == current_) return;
    previous_ = current_;
    current_ = path;
    emit FolderChanged(path);
  });
  connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
    QTreeWidgetItem* item = itemAt(p);
    if (!item || item == topLevelItem(0)) return;
    setCurrentItem(item);  // right-click selects
    emit ContextMenuRequested(viewport()->mapToGlobal(p), item->data(0, kPathRole).toString());
  });
  Rebuild();
}

QTreeWidgetItem* TFolderView::MakeNode(const QString& name, const QString& path) {
  static QFileIconProvider provider;
  static const QIcon icon = provider.icon(QFileIconProvider::Folder);
  auto* node = new QTreeWidgetItem(QStringList{name == QLatin1String("/") ? name : bridge::DisplayName(name)});
  node->setData(0, kNameRole, name);
  node->setIcon(0, icon);
  node->setData(0, kPathRole, path);
  node->setData(0, kLoadedRole, false);
  if (path != QLatin1String("/")) node->setFlags(node->flags() | Qt::ItemIsEditable);
  // A chooser of programs cannot tell without listing whether a folder holds any: every
  // folder may open, and one that holds nothing loses its button when opened.
  node->setChildIndicatorPolicy(programs_ || HasSubfolder(bridge::ToDisk(path))
                                    ? QTreeWidgetItem::ShowIndicator
                                    : QTreeWidgetItem::DontShowIndicator);
  return node;
}

void TFolderView::SetListsPrograms(bool on) {
  programs_ = on;
  setEditTriggers(on ? QAbstractItemView::NoEditTriggers : QAbstractItemView::EditKeyPressed);
  Rebuild();
}

void TFolderView::Rebuild() {
  QSignalBlocker block(this);
  clear();
  QTreeWidgetItem* root = MakeNode(QStringLiteral("/"), QStringLiteral("/"));
  addTopLevelItem(root);
  root->setExpanded(true);
  LoadChildren(root);
  current_.clear();
}

void TFolderView::LoadChildren(QTreeWidgetItem* node) {
  if (!node || node->data(0, kLoadedRole).toBool()) return;
  node->setData(0, kLoadedRole, true);
  std::vector<FileEntry> subs;
  ListSubfolders(bridge::ToDisk(node->data(0, kPathRole).toString()), subs);
  QList<QTreeWidgetItem*> children;
  for (const FileEntry& e : subs) children << MakeNode(bridge::FromDisk(e.name), bridge::FromDisk(e.path));
  if (programs_) {
    static QFileIconProvider provider;
    static const QIcon icon = provider.icon(QFileIconProvider::File);
    std::vector<FileEntry> entries;
    ListFolder(bridge::ToDisk(node->data(0, kPathRole).toString()), entries);
    std::sort(entries.begin(), entries.end(), [](const FileEntry& a, const FileEntry& b) { return a.name < b.name; });
    for (const FileEntry& e : entries) {
      if (e.is_dir || !IsProgramFile(e.path)) continue;
      const QString name = bridge::FromDisk(e.name);
      auto* file = new QTreeWidgetItem(QStringList{bridge::DisplayName(name)});
      file->setIcon(0, icon);
      file->setData(0, kNameRole, name);
      file->setData(0, kPathRole, bridge::FromDisk(e.path));
      file->setData(0, kLoadedRole, true);
      file->setData(0, kProgramRole, true);
      file->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
      children << file;
    }
  }
  node->addChildren(children);
  if (children.isEmpty()) node->setChildIndicatorPolicy(QTreeWidgetItem::DontShowIndicator);
}

QString TFolderView::SelectedPath() const {
  QTreeWidgetItem* item = currentItem();
  return item ? item->data(0, kPathRole).toString() : QString();
}

bool TFolderView::SelectPath(const QString& path) {
  if (path.isEmpty() || !path.startsWith(QLatin1Char('/'))) return false;
  QTreeWidgetItem* node = topLevelItem(0);
  if (!node) return false;
  for (const QString& part : Components(path)) {
    LoadChildren(node);
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < node->childCount() && !next; ++i)
      if (node->child(i)->data(0, kNameRole).toString() == part) next = node->child(i);
    if (!next) {
      // A folder made since its parent was listed joins the tree now.
      const QString parent = node->data(0, kPathRole).toString();
      const QString child_path = (parent == QLatin1String("/") ? QString() : parent) + QLatin1Char('/') + part;
      struct stat st {};
      if (::stat(bridge::ToDisk(child_path).c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
      next = MakeNode(part, child_path);
      node->addChild(next);
    }
    node->setExpanded(true);
    node = next;
  }
  setCurrentItem(node);
  ShowName(node);
  return true;
}

void TFolderView::ShowName(QTreeWidgetItem* item) {
  scrollToItem(item);
  // The view scrolls only up and down to an item; a deep one is indented past a narrow
  // column, so it is brought sideways too, its icon and name at the left edge.
  const int column_width = header()->sectionSize(0);
  if (column_width <= viewport()->width()) return;
  doItemsLayout();
  const QRect r = visualItemRect(item);
  QScrollBar* h = horizontalScrollBar();
  const int left = r.left() + h->value();
  if (r.left() < 0 || r.left() > viewport()->width() / 2) h->setValue(std::max(0, left - indentation()));
}

void TFolderView::RenameSelected() {
  QTreeWidgetItem* item = currentItem();
  if (item && item != topLevelItem(0)) editItem(item, 0);
}

void TFolderView::OnRenamed(QTreeWidgetItem* item, int column) {
  if (renaming_ || !item || column != 0 || item == topLevelItem(0) || !item->parent()) return;
  const QString old_path = item->data(0, kPathRole).toString();
  const QString old_name = bridge::DisplayName(item->data(0, kNameRole).toString());
  const QString wanted = item->text(0);
  if (wanted == old_name) return;
  const std::filesystem::path from = bridge::ToDisk(old_path);
  const std::filesystem::path to = from.parent_path() / bridge::ToDisk(wanted);
  std::error_code ec;
  // Never over an existing name, never out of the folder.
  bool ok = !wanted.isEmpty() && !wanted.contains(QLatin1Char('/')) && wanted != QLatin1String(".") &&
            wanted != QLatin1String("..") && !std::filesystem::exists(std::filesystem::symlink_status(to, ec));
  if (ok) {
    std::filesystem::rename(from, to, ec);
    ok = !ec;
  }
  renaming_ = true;
  if (!ok) {
    item->setText(0, old_name);  // the old name is shown again
    renaming_ = false;
    return;
  }
  const QString new_path = bridge::FromDisk(to.string());
  item->setData(0, kPathRole, new_path);
  item->setData(0, kNameRole, bridge::FromDisk(to.filename().string()));
  // The children's paths are under the old name: list them again when next expanded.
  qDeleteAll(item->takeChildren());
  item->setData(0, kLoadedRole, false);
  item->setChildIndicatorPolicy(HasSubfolder(to.string()) ? QTreeWidgetItem::ShowIndicator
                                                          : QTreeWidgetItem::DontShowIndicator);
  renaming_ = false;
  if (currentItem() == item) {
    previous_ = current_;
    current_ = new_path;
    emit FolderChanged(new_path);
  }
}

void TFolderView::ExpandSelected() {
  if (QTreeWidgetItem* item = currentItem(); item && !item->isExpanded()) {
    item->setExpanded(true);
    ShowName(item);
  }
}

}  // namespace haruvi::shellview
