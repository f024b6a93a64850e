#include "shellview/combo_view.h"
#include "bridge/disk_path.h"

#include <QDir>
#include <QFileIconProvider>
#include <QPainter>
#include <QStandardPaths>
#include <QStyledItemDelegate>

#include "platform/mounts.h"

namespace haruvi::shellview {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;
constexpr int kLevelRole = Qt::UserRole + 2;
constexpr int kPathEntryRole = Qt::UserRole + 3;

// Indents each entry of the open list by 10 pixels per level.
class IndentDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem o = option;
    o.rect.adjust(10 * index.data(kLevelRole).toInt(), 0, 0, 0);
    QStyledItemDelegate::paint(painter, o, index);
  }
};

bool Under(const QString& path, const QString& folder) {
  if (folder == QLatin1String("/")) return path.startsWith(QLatin1Char('/'));
  return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

}  // namespace

TComboView::TComboView(QWidget* parent) : QComboBox(parent) {
  setObjectName(QStringLiteral("ComboView1"));
  setItemDelegate(new IndentDelegate(this));
  setMaxVisibleItems(8);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(4);
  AddFixed();
  connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int i) {
    if (!updating_) emit FolderChosen(PathAt(i));
  });
}

void TComboView::AddFixed() {
  QFileIconProvider icons;
  const QIcon folder = icons.icon(QFileIconProvider::Folder);
  const QIcon drive = icons.icon(QFileIconProvider::Drive);
  auto add = [&](const QIcon& icon, const QString& text, const QString& path, int level) {
    addItem(icon, text);
    setItemData(count() - 1, path, kPathRole);
    setItemData(count() - 1, level, kLevelRole);
  };
  // The home folder by its bytes ($HOME), as every other path of the views.
  const QString home = bridge::HomeFolder();
  const QString home_name = bridge::DisplayName(bridge::FileName(home));
  add(folder, home_name.isEmpty() ? bridge::DisplayName(home) : home_name, home, 0);
  const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
  if (!desktop.isEmpty() && desktop != home && bridge::IsFolder(desktop))
    add(folder, bridge::FileName(desktop), desktop, 1);
  for (const platform::Mount& m : platform::RealMounts()) {
    QString p = bridge::FromDisk(m.path);
    add(drive, bridge::DisplayName(p), p, 1);
  }
}

QString TComboView::PathAt(int index) const { return itemData(index, kPathRole).toString(); }
int TComboView::LevelAt(int index) const { return itemData(index, kLevelRole).toInt(); }

void TComboView::ShowPath(const QString& folder) {
  updating_ = true;
  // Drop the path entries of the previous folder.
  for (int i = count() - 1; i >= 0; --i)
    if (itemData(i, kPathEntryRole).toBool()) removeItem(i);
  int exact = -1;
  int holder = -1;
  for (int i = 0; i < count(); ++i) {
    QString p = PathAt(i);
    if (p == folder) exact = i;
    if (Under(folder, p) && LevelAt(i) >= 1 &&
        (holder < 0 || p.size() > PathAt(holder).size()))
      holder = i;
  }
  if (exact < 0 && holder >= 0) {
    QFileIconProvider icons;
    const QIcon icon = icons.icon(QFileIconProvider::Folder);
    QString base = PathAt(holder);
    QString rest = folder.mid(base == QLatin1String("/") ? 1 : base.size() + 1);
    int at = holder + 1;
    int level = LevelAt(holder) + 1;
    QString path = base == QLatin1String("/") ? QString() : base;
    for (const QString& part : rest.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
      path += QLatin1Char('/') + part;
      insertItem(at, icon, bridge::DisplayName(part));
      setItemData(at, path, kPathRole);
      setItemData(at, level, kLevelRole);
      setItemData(at, true, kPathEntryRole);
      exact = at;
      ++at;
      ++level;
    }
  }
  if (exact >= 0) setCurrentIndex(exact);
  updating_ = false;
}

}  // namespace haruvi::shellview
