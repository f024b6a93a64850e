#include "controllers/usermenu/app_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "bridge/disk_path.h"
#include "shellview/folder_view.h"
#include "controllers/usermenu/usermenu_controller.h"
#include "platform/command_line.h"
#include "ui/messages.h"

namespace haruvi::controllers {
namespace {

// Whether the program a registered command line names is there: a path to a file, or
// a bare name found on the search path. The line may carry arguments after it.
bool ProgramExists(const std::string& line) {
  const platform::CommandLine cl = platform::SplitCommandLine(line);
  if (!cl.error.empty()) return false;
  const QString program = bridge::FromDisk(cl.words[0]);
  if (program.contains(QLatin1Char('/'))) return bridge::Exists(program) && !bridge::IsFolder(program);
  return !QStandardPaths::findExecutable(program).isEmpty();
}

}  // namespace

TForm22::TForm22(UserMenuController& menus, platform::IniFile& ini, QWidget* parent)
    : QDialog(parent), menus_(menus), ini_(ini) {
  setObjectName(QStringLiteral("Form22"));
  setWindowTitle(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの設定"));
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝをﾌﾙﾊﾟｽで指定して下さい。"), this), 0, 0, 1, 2);
  Edit1 = new QLineEdit(this);
  grid->addWidget(Edit1, 1, 0, 1, 2);
  grid->addWidget(new QLabel(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝの場所"), this), 2, 0);
  // Folders and the executable files in them (the desktop's counterpart of ".exe").
  // The program's own tree: every name by its bytes, from "/" down, with each folder's
  // programs (the desktop's counterpart of ".exe").
  ShellTree = new shellview::TFolderView(this);
  ShellTree->setObjectName(QStringLiteral("ShellTree"));
  ShellTree->SetListsPrograms(true);
  grid->addWidget(ShellTree, 3, 0);
  auto* right = new QVBoxLayout;
  right->addWidget(new QLabel(QStringLiteral("表示する名前を入力して下さい。"), this));
  Edit2 = new QLineEdit(this);
  right->addWidget(Edit2);
  ListBox1 = new QListWidget(this);
  right->addWidget(ListBox1, 1);
  grid->addLayout(right, 3, 1);
  auto* buttons = new QVBoxLayout;
  BNew = new QPushButton(QStringLiteral("新規登録(&N)"), this);
  BUpdate = new QPushButton(QStringLiteral("更新(&A)"), this);
  BUp = new QPushButton(QStringLiteral("上へ(&U)"), this);
  BDown = new QPushButton(QStringLiteral("下へ(&D)"), this);
  BDelete = new QPushButton(QStringLiteral("削除(&E)"), this);
  BClose = new QPushButton(QStringLiteral("閉じる"), this);
  for (QPushButton* b : {BNew, BUpdate, BUp, BDown, BDelete}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(BClose);
  grid->addLayout(buttons, 3, 2);

  connect(Edit1, &QLineEdit::textEdited, this, &TForm22::Edit1Change);
  connect(ShellTree, &shellview::TFolderView::ProgramChosen, this, &TForm22::TreeClick);
  connect(ListBox1, &QListWidget::itemClicked, this, &TForm22::ListBox1Click);
  connect(BNew, &QPushButton::clicked, this, &TForm22::NewClick);
  connect(BUpdate, &QPushButton::clicked, this, &TForm22::UpdateClick);
  connect(BUp, &QPushButton::clicked, this, &TForm22::UpClick);
  connect(BDown, &QPushButton::clicked, this, &TForm22::DownClick);
  connect(BDelete, &QPushButton::clicked, this, &TForm22::DeleteClick);
  connect(BClose, &QPushButton::clicked, this, &QDialog::accept);

  BNew->setEnabled(false);
  BUpdate->setEnabled(false);
  // Only entries whose program is still there are taken.
  for (const platform::ExeEntry& e : platform::ReadExeList(ini_)) {
    if (!ProgramExists(e.file)) continue;
    list_.push_back(e);
    ListBox1->addItem(bridge::FromDisk(e.name));
  }
}

TForm22::~TForm22() { FormClose(); }

void TForm22::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TForm22::Edit1Change() {
  const bool any = !Edit1->text().isEmpty();
  BNew->setEnabled(any);
  BUpdate->setEnabled(any);
}

void TForm22::TreeClick(const QString& path) {
  Edit1->setText(path);
  Edit2->setText([&path] {
    const QString name = bridge::DisplayName(bridge::FileName(path));
    const qsizetype dot = name.indexOf(QLatin1Char('.'), 1);
    return dot > 0 ? name.left(dot) : name;
  }());
  Edit1Change();
}

void TForm22::ListBox1Click() {
  const int i = ListBox1->currentRow();
  if (i < 0 || i >= int(list_.size())) return;
  Edit1->setText(bridge::FromDisk(list_[i].file));
  Edit2->setText(bridge::FromDisk(list_[i].name));
  {
    const QSignalBlocker quiet(ShellTree);  // showing the entry is no choice of the user's
    ShellTree->SelectPath(Edit1->text());
  }
  BUpdate->setEnabled(true);
}

void TForm22::NewClick() {
  const std::string file = bridge::ToDisk(Edit1->text());
  if (!ProgramExists(file)) {
    ui::Warn(this, Edit1->text() + QStringLiteral(" は設定できませんでした。"));
    return;
  }
  list_.push_back({file, bridge::ToDisk(Edit2->text())});
  ListBox1->addItem(Edit2->text());
  menus_.exemenuadd(Edit2->text(), int(list_.size()));
}

void TForm22::UpdateClick() {
  const int i = ListBox1->currentRow();
  if (i < 0 || i >= int(list_.size())) return;
  list_[i] = {bridge::ToDisk(Edit1->text()), bridge::ToDisk(Edit2->text())};
  ListBox1->item(i)->setText(Edit2->text());
  menus_.exemenuupdate(Edit2->text(), i);
}

void TForm22::Exchange(int a, int b) {
  std::swap(list_[a], list_[b]);
  const QString ta = ListBox1->item(a)->text();
  ListBox1->item(a)->setText(ListBox1->item(b)->text());
  ListBox1->item(b)->setText(ta);
}

void TForm22::UpClick() {
  const int i = ListBox1->currentRow();
  if (i <= 0 || i >= int(list_.size())) return;
  Exchange(i - 1, i);
  ListBox1->setCurrentRow(i - 1);
  menus_.exemenuup(i);
}

void TForm22::DownClick() {
  const int i = ListBox1->currentRow();
  if (i < 0 || i + 1 >= int(list_.size())) return;
  Exchange(i, i + 1);
  ListBox1->setCurrentRow(i + 1);
  menus_.exemenudown(i);
}

void TForm22::DeleteClick() {
  const int i = ListBox1->currentRow();
  if (i < 0 || i >= int(list_.size())) return;
  list_.erase(list_.begin() + i);
  delete ListBox1->takeItem(i);
  menus_.exemenudel(i);
  ListBox1->setCurrentRow(i - 1);  // none when the first was removed
  Edit1->clear();
  Edit2->clear();
}

void TForm22::FormClose() {
  if (written_) return;
  written_ = true;
  if (!platform::WriteExeList(ini_, list_))
    ui::Warn(this, QStringLiteral("アプリケーションの設定を保存できませんでした。"));
}

}  // namespace haruvi::controllers
