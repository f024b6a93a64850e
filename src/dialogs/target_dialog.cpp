#include "dialogs/target_dialog.h"

#include <QApplication>
#include <algorithm>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "bridge/disk_path.h"
#include "platform/history.h"
#include "platform/ini_file.h"
#include "shellview/folder_view.h"
#include "ui/history_combo.h"

namespace haruvi::dialogs {

TForm2::TForm2(platform::IniFile& ini, QWidget* parent) : QDialog(parent), ini_(ini) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("ファイル操作"));
  setWindowFlag(Qt::Tool);
  setWindowIcon(QApplication::windowIcon());
  resize(460, 520);
  auto* layout = new QVBoxLayout(this);
  LDirectory = new QLabel(this);
  FolderView1 = new shellview::TFolderView(this);
  FolderView1->setObjectName(QStringLiteral("FolderView1"));
  FolderView1->setRootIsDecorated(false);
  auto* group = new QGroupBox(QStringLiteral("ファイル操作(&F)"), this);
  auto* radios = new QHBoxLayout(group);
  RGfile = new QButtonGroup(this);
  int id = 0;
  for (const char* item : {"コピー", "移動", "解凍"}) {
    auto* b = new QRadioButton(QString::fromUtf8(item), group);
    b->setEnabled(false);  // shows the operation; the caller chose it
    RGfile->addButton(b, id++);
    radios->addWidget(b);
  }
  Lfiles = new QLabel(this);
  Memo1 = new QPlainTextEdit(this);
  Memo1->setReadOnly(true);
  Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* label2 = new QLabel(QStringLiteral("操作先ディレクトリ(&T)"), this);
  CBdir = ui::NewHistoryCombo(this);
  CBdir->setObjectName(QStringLiteral("CBdir"));
  label2->setBuddy(CBdir);
  CBoverwrite = new QCheckBox(QStringLiteral("上書きする(&O)"), this);
  CBoverwrite->setObjectName(QStringLiteral("CBoverwrite"));
  CBoverwrite->hide();
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &TForm2::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(LDirectory);
  layout->addWidget(FolderView1, 1);
  layout->addWidget(group);
  layout->addWidget(Lfiles);
  layout->addWidget(Memo1);
  layout->addWidget(label2);
  layout->addWidget(CBdir);
  layout->addWidget(CBoverwrite);
  layout->addWidget(buttons);
  setTabOrder(CBdir, FolderView1);
  CBdir->setFocus();
  // The tree is where a folder is chosen: a dozen rows at least, in the desktop's font;
  // the list of files a few lines, scrolled.
  const int row = FolderView1->fontMetrics().height() + 4;
  FolderView1->setMinimumHeight(row * 12);
  Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 4 + 2 * Memo1->frameWidth() + 8);
  resize(std::max(460, sizeHint().width()), std::max(520, sizeHint().height()));

  for (const std::string& h : platform::LoadHistory(ini_, "File", {.count = "ToFileCount"})) history_ << bridge::FromDisk(h);
  CBdir->addItems(history_);
  connect(FolderView1, &shellview::TFolderView::FolderChanged, this, [this](const QString& path) {
    CBdir->setEditText(path);
    LDirectory->setText(bridge::DisplayName(path));
    if (QTreeWidgetItem* item = FolderView1->currentItem()) FolderView1->scrollToItem(item);
  });
}

void TForm2::Preset(const QString& folder, Operation op, const QString& files_text, const QStringList& sources) {
  FolderView1->blockSignals(true);
  FolderView1->SelectPath(folder);
  FolderView1->blockSignals(false);
  CBdir->setEditText(folder);
  LDirectory->setText(bridge::DisplayName(folder));
  if (QAbstractButton* b = RGfile->button(op)) b->setChecked(true);
  CBoverwrite->setVisible(op == kUnpack);
  Lfiles->setText(files_text);
  QStringList shown;
  for (const QString& s : sources) shown << bridge::DisplayName(s);
  Memo1->setPlainText(shown.join(QLatin1Char('\n')));
}

void TForm2::accept() {
  answer_ = CBdir->currentText();
  std::vector<std::string> list;
  for (const QString& h : history_) list.push_back(bridge::ToDisk(h));
  list = platform::UpdatedHistory(std::move(list), bridge::ToDisk(answer_));
  platform::SaveHistory(ini_, "File", list, {.count = "ToFileCount", .item = "Items_", .limit = kHistoryKept});
  QDialog::accept();
}

std::optional<QString> AskTargetFolder(platform::IniFile& ini, QWidget* parent, const QString& folder,
                                       TForm2::Operation op, const QString& files_text, const QStringList& sources,
                                       bool* overwrite) {
  TForm2 dialog(ini, parent);
  dialog.Preset(folder, op, files_text, sources);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  if (overwrite) *overwrite = dialog.CBoverwrite->isChecked();
  return dialog.Answer();
}

}  // namespace haruvi::dialogs
