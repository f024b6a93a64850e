#include "dialogs/folder_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <QStandardPaths>
#include <sys/stat.h>
#include <unistd.h>

#include "bridge/disk_path.h"
#include "shellview/folder_view.h"
#include "shellview/listing.h"

namespace haruvi::dialogs {

bool TForm4::NamesProgram(const QString& text) {
  const QString name = text.trimmed();
  if (name.isEmpty()) return false;
  if (!name.contains(QLatin1Char('/'))) return !QStandardPaths::findExecutable(name).isEmpty();
  return shellview::IsProgramFile(bridge::ToDisk(name));
}

TForm4::TForm4(const QString& caption, const QString& prompt, QWidget* parent, Choose choose) : QDialog(parent) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(caption);
  resize(420, 460);
  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(prompt, this);
  Edit1 = new QLineEdit(this);
  Label2 = new QLabel(QStringLiteral("以前の設定："), this);
  FolderTree = new shellview::TFolderView(this);
  if (choose == Choose::Program) FolderTree->SetListsPrograms(true);
  FolderTree->setObjectName(QStringLiteral("FolderTreeViewEx1"));
  layout->addWidget(Label1);
  layout->addWidget(Edit1);
  layout->addWidget(Label2);
  layout->addWidget(FolderTree, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  OkButton = buttons->button(QDialogButtonBox::Ok);
  OkButton->setEnabled(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  if (choose == Choose::Program) {
    connect(FolderTree, &shellview::TFolderView::ProgramChosen, this, [this](const QString& path) { Edit1->setText(path); });
    auto follow = [this] { OkButton->setEnabled(NamesProgram(Edit1->text())); };
    connect(Edit1, &QLineEdit::textChanged, this, follow);
    follow();
  } else {
    connect(FolderTree, &shellview::TFolderView::FolderChanged, this,
            [this](const QString& path) { Edit1->setText(path); });
  }
}

void TForm4::SetPrevious(const QString& value) {
  if (value.isEmpty()) {
    Edit1->clear();
    return;
  }
  Edit1->setText(value);
  Label2->setText(QStringLiteral("以前の設定:") + value);
  FolderTree->blockSignals(true);
  FolderTree->SelectPath(value);  // failures are ignored
  FolderTree->ExpandSelected();
  FolderTree->blockSignals(false);
}

QString TForm4::Text() const { return Edit1->text(); }

}  // namespace haruvi::dialogs
