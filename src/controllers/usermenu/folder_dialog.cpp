#include "controllers/usermenu/folder_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "bridge/disk_path.h"
#include "shellview/folder_view.h"
#include "controllers/usermenu/usermenu_controller.h"
#include "platform/user_lists.h"
#include "ui/messages.h"

namespace haruvi::controllers {

TForm23::TForm23(UserMenuController& menus, platform::IniFile& ini, QWidget* parent)
    : QDialog(parent), menus_(menus), ini_(ini) {
  setObjectName(QStringLiteral("Form23"));
  setWindowTitle(QStringLiteral("登録ﾌｫﾙﾀﾞｰの設定"));
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("ﾌｫﾙﾀﾞｰをﾌﾙﾊﾟｽで指定して下さい。"), this), 0, 0, 1, 2);
  Edit1 = new QLineEdit(this);
  grid->addWidget(Edit1, 1, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("ﾌｫﾙﾀﾞｰの場所"), this), 2, 0);
  grid->addWidget(new QLabel(QStringLiteral("登録ﾌｫﾙﾀﾞｰ"), this), 2, 1);
  // The program's own tree: every name by its bytes, from "/" down.
  ShellTree = new shellview::TFolderView(this);
  ShellTree->setObjectName(QStringLiteral("ShellTree"));
  grid->addWidget(ShellTree, 3, 0);
  ListBox1 = new QListWidget(this);
  grid->addWidget(ListBox1, 3, 1);
  auto* buttons = new QVBoxLayout;
  BNew = new QPushButton(QStringLiteral("新規登録(&N)"), this);
  BUp = new QPushButton(QStringLiteral("上へ(&U)"), this);
  BDown = new QPushButton(QStringLiteral("下へ(&D)"), this);
  BDelete = new QPushButton(QStringLiteral("削除(&E)"), this);
  BClose = new QPushButton(QStringLiteral("閉じる"), this);
  for (QPushButton* b : {BNew, BUp, BDown, BDelete}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(BClose);
  grid->addLayout(buttons, 3, 2);

  connect(Edit1, &QLineEdit::textEdited, this, &TForm23::Edit1Change);
  connect(ShellTree, &shellview::TFolderView::FolderChanged, this, &TForm23::TreeClick);
  connect(ListBox1, &QListWidget::itemClicked, this, &TForm23::ListBox1Click);
  connect(BNew, &QPushButton::clicked, this, &TForm23::NewClick);
  connect(BUp, &QPushButton::clicked, this, &TForm23::UpClick);
  connect(BDown, &QPushButton::clicked, this, &TForm23::DownClick);
  connect(BDelete, &QPushButton::clicked, this, &TForm23::DeleteClick);
  connect(BClose, &QPushButton::clicked, this, &QDialog::accept);

  BNew->setEnabled(false);
  BDelete->setEnabled(false);
  list_ = platform::ReadFolderList(ini_);  // empty entries included
  Refill();
}

TForm23::~TForm23() { FormClose(); }

void TForm23::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TForm23::Refill() {
  ListBox1->clear();
  for (const std::string& f : list_) ListBox1->addItem(bridge::FromDisk(f));
}

void TForm23::Edit1Change() { BNew->setEnabled(!Edit1->text().isEmpty()); }

void TForm23::TreeClick(const QString& path) {
  Edit1->setText(path);
  Edit1Change();
}

void TForm23::ListBox1Click() {
  const int i = ListBox1->currentRow();
  if (i < 0 || i >= int(list_.size())) return;
  BNew->setEnabled(true);
  BDelete->setEnabled(true);
  Edit1->setText(bridge::FromDisk(list_[i]));
  {
    const QSignalBlocker quiet(ShellTree);  // showing the entry is no choice of the user's
    ShellTree->SelectPath(Edit1->text());
  }
}

void TForm23::NewClick() {
  const std::string path = bridge::ToDisk(Edit1->text());
  if (path.empty()) return;
  for (const std::string& f : list_)
    if (f == path) return;  // the same folder twice is ignored
  list_.push_back(path);
  Refill();
  menus_.foldermenuadd(Edit1->text(), int(list_.size()));
}

void TForm23::UpClick() {
  const int i = ListBox1->currentRow();
  if (i <= 0 || i >= int(list_.size())) return;
  std::swap(list_[i - 1], list_[i]);
  Refill();
  ListBox1->setCurrentRow(i - 1);
  menus_.foldermenuup(i);
}

void TForm23::DownClick() {
  const int i = ListBox1->currentRow();
  if (i < 0 || i + 1 >= int(list_.size())) return;
  std::swap(list_[i], list_[i + 1]);
  Refill();
  ListBox1->setCurrentRow(i + 1);
  menus_.foldermenudown(i);
}

void TForm23::DeleteClick() {
  const int i = ListBox1->currentRow();
  if (i < 0 || i >= int(list_.size())) return;
  list_.erase(list_.begin() + i);
  Refill();
  menus_.foldermenudel(i);
  ListBox1->setCurrentRow(i - 1);
  Edit1->clear();
}

void TForm23::FormClose() {
  if (written_) return;
  written_ = true;
  if (!platform::WriteFolderList(ini_, list_))
    ui::Warn(this, QStringLiteral("登録フォルダーの設定を保存できませんでした。"));
}

}  // namespace haruvi::controllers
