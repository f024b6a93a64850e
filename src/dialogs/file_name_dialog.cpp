#include "dialogs/file_name_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "bridge/disk_path.h"
#include "shellview/folder_view.h"
#include "shellview/listing.h"
#include "shellview/path_edit.h"

namespace haruvi::dialogs {
namespace {

constexpr int kPathRole = Qt::UserRole + 1;
constexpr int kFolderRole = Qt::UserRole + 2;

bool AskOverwrite(QWidget* parent, const QString& path) {
  if (FileNameDialog::confirm_overwrite) return FileNameDialog::confirm_overwrite(parent, path);
  return QMessageBox::question(parent, QStringLiteral("上書きの確認"),
                               bridge::DisplayName(path) + QStringLiteral(" は既に存在します。\n上書きしますか？"),
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

}  // namespace

QString NameInFolder(const QString& folder, const QString& name) {
  const QString n = bridge::ExpandHome(name);
  return n.startsWith(QLatin1Char('/')) ? n : bridge::Join(folder, n);
}

QString AskFileName(QWidget* parent, FileNameDialog::Mode mode, const QString& caption, const QString& start,
                    const QStringList& filters, const QString& suffix) {
  FileNameDialog dialog(mode, caption, parent);
  dialog.SetFilters(filters, suffix);
  const bool folder = start.isEmpty() || bridge::IsFolder(start);
  dialog.SetStart(folder ? start : bridge::FolderOf(start), folder ? QString() : bridge::FileName(start));
  return dialog.exec() == QDialog::Accepted ? dialog.Path() : QString();
}

FileNameDialog::FileNameDialog(Mode mode, const QString& caption, QWidget* parent) : QDialog(parent), mode_(mode) {
  setObjectName(QStringLiteral("FileNameDialog"));
  setWindowTitle(caption);
  resize(640, 440);
  auto* layout = new QVBoxLayout(this);
  auto* split = new QSplitter(this);
  tree_ = new shellview::TFolderView(split);
  files_ = new QListWidget(split);
  files_->setObjectName(QStringLiteral("Files"));
  split->setStretchFactor(1, 1);
  layout->addWidget(split, 1);
  auto* form = new QFormLayout;
  name_ = new shellview::PathEdit(this);
  name_->setObjectName(QStringLiteral("Name"));
  kinds_ = new QComboBox(this);
  form->addRow(QStringLiteral("ファイル名(&N):"), name_);
  form->addRow(QStringLiteral("ファイルの種類(&T):"), kinds_);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  ok_->setText(mode == Mode::Save ? QStringLiteral("保存(&S)") : QStringLiteral("開く(&O)"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &FileNameDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  connect(tree_, &shellview::TFolderView::FolderChanged, this, [this](const QString& f) { ShowFolder(f); });
  connect(files_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (!item->data(kFolderRole).toBool()) name_->SetPath(bridge::FileName(item->data(kPathRole).toString()));
  });
  connect(files_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
    const QString path = item->data(kPathRole).toString();
    if (item->data(kFolderRole).toBool()) {
      if (!tree_->SelectPath(path)) ShowFolder(path);
      return;
    }
    name_->SetPath(bridge::FileName(path));
    accept();
  });
  connect(kinds_, &QComboBox::currentIndexChanged, this, [this] { ShowFolder(folder_); });
}

void FileNameDialog::SetFilters(const QStringList& filters, const QString& suffix) {
  const QSignalBlocker quiet(kinds_);
  kinds_->clear();
  kinds_->addItems(filters);
  suffix_ = suffix;
}

QString FileNameDialog::Filter() const { return kinds_->currentText(); }

void FileNameDialog::SetStart(const QString& folder, const QString& name) {
  {
    const QSignalBlocker quiet(tree_);
    tree_->SelectPath(folder);
  }
  ShowFolder(folder);
  if (!name.isEmpty()) name_->SetPath(name);
  name_->setFocus();
  name_->selectAll();
}

QStringList FileNameDialog::Patterns() const {
  // "テキスト (*.txt)" -> {".TXT"}; "(*)" or no pattern keeps every file.
  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\(([^)]*)\\)")).match(Filter());
  QStringList out;
  if (!m.hasMatch()) return out;
  for (const QString& p : m.captured(1).split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
    if (p == QLatin1String("*") || p == QLatin1String("*.*")) return {};
    if (p.startsWith(QLatin1String("*."))) out << p.mid(1).toUpper();
  }
  return out;
}

void FileNameDialog::ShowFolder(const QString& folder) {
  folder_ = folder;
  files_->clear();
  std::vector<shellview::FileEntry> entries;
  shellview::ListFolder(bridge::ToDisk(folder), entries);
  std::sort(entries.begin(), entries.end(),
            [](const shellview::FileEntry& a, const shellview::FileEntry& b) { return shellview::CompareItems(a, b) < 0; });
  std::vector<std::string> mask;
  for (const QString& p : Patterns()) mask.push_back(p.toStdString());
  for (const shellview::FileEntry& e : entries) {
    if (!e.is_dir && !shellview::MaskAccepts(e, mask)) continue;
    const QString path = bridge::FromDisk(e.path);
    auto* item = new QListWidgetItem(bridge::DisplayName(bridge::FromDisk(e.name)) +
                                     (e.is_dir ? QStringLiteral("/") : QString()), files_);
    item->setData(kPathRole, path);
    item->setData(kFolderRole, e.is_dir);
  }
}

void FileNameDialog::accept() {
  const QString name = name_->Path();
  if (name.isEmpty()) return;
  QString path = NameInFolder(folder_, name);
  if (bridge::IsFolder(path)) {  // a folder's name opens the folder, as in every file dialog
    if (!tree_->SelectPath(path)) ShowFolder(path);
    name_->clear();
    return;
  }
  if (mode_ == Mode::Open) {
    if (!bridge::Exists(path)) {
      QMessageBox::warning(this, windowTitle(), bridge::DisplayName(path) + QStringLiteral(" が見つかりません。"));
      return;
    }
  } else {
    if (!suffix_.isEmpty() && bridge::Suffix(path).isEmpty() && !bridge::Exists(path))
      path += QLatin1Char('.') + suffix_;
    if (!bridge::IsFolder(bridge::FolderOf(path))) {
      QMessageBox::warning(this, windowTitle(),
                           bridge::DisplayName(bridge::FolderOf(path)) + QStringLiteral(" というフォルダーはありません。"));
      return;
    }
    if (bridge::Exists(path) && !AskOverwrite(this, path)) return;
  }
  chosen_ = path;
  QDialog::accept();
}

}  // namespace haruvi::dialogs
