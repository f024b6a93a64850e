// TForm7, the "dir" listing with options.
#include "controllers/system/dir_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "bridge/disk_path.h"
#include "systools/dir_options.h"
#include "ui/history_combo.h"

namespace haruvi::controllers {

TForm7::TForm7(const QString& folder, const std::vector<std::string>& history, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(QStringLiteral("dirｺﾏﾝﾄﾞ結果表示"));
  auto* layout = new QVBoxLayout(this);
  CBpath = ui::NewHistoryCombo(this);
  CBpath->setObjectName(QStringLiteral("CBpath"));
  for (const std::string& h : history) CBpath->addItem(bridge::FromDisk(h));
  CBpath->setEditText(folder);
  layout->addWidget(CBpath);

  Tree = new QTreeView(this);
  auto* model = new QFileSystemModel(Tree);
  model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
  model->setRootPath(QStringLiteral("/"));
  Tree->setModel(model);
  for (int c = 1; c < model->columnCount(); ++c) Tree->hideColumn(c);
  Tree->setHeaderHidden(true);
  if (!folder.isEmpty()) Tree->setCurrentIndex(model->index(folder));
  connect(Tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this, model](const QModelIndex& index) {
            if (index.isValid()) CBpath->setEditText(model->filePath(index));
          });
  layout->addWidget(Tree, 1);

  auto* options = new QGridLayout;
  const auto combo = [&](const char* name, const std::vector<std::string>& items, int row, const char* caption) {
    auto* c = new QComboBox(this);
    c->setObjectName(QString::fromUtf8(name));
    for (const std::string& i : items) c->addItem(QString::fromStdString(i));
    options->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
    options->addWidget(c, row, 1);
    connect(c, &QComboBox::currentIndexChanged, this, &TForm7::Rebuild);
    return c;
  };
  CB2 = combo("CB2", systools::AttributeItems(), 0, "属性(/A)");
  CB3 = combo("CB3", systools::SortItems(), 1, "並び順(/O)");
  CB4 = new QCheckBox(QStringLiteral("ｻﾌﾞﾃﾞｨﾚﾄｸﾘも表示(/&S)"), this);
  CB4->setObjectName(QStringLiteral("CB4"));
  CB1 = new QCheckBox(QStringLiteral("小文字で表示(/&L)"), this);
  CB1->setObjectName(QStringLiteral("CB1"));
  options->addWidget(CB4, 2, 0, 1, 2);
  options->addWidget(CB1, 3, 0, 1, 2);
  layout->addLayout(options);
  auto* form = new QGroupBox(QStringLiteral("表示形式(&V)"), this);
  auto* form_layout = new QHBoxLayout(form);
  RG1 = new QButtonGroup(this);
  int id = 0;
  for (const char* item : {"標凖", "詳細(/V)", "名前のみ(/B)", "ワイド(/W)"}) {
    auto* b = new QRadioButton(QString::fromUtf8(item), form);
    RG1->addButton(b, id++);
    form_layout->addWidget(b);
  }
  RG1->button(0)->setChecked(true);
  layout->addWidget(form);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  layout->addWidget(Edit1);
  connect(CB4, &QCheckBox::toggled, this, &TForm7::Rebuild);
  connect(CB1, &QCheckBox::toggled, this, &TForm7::Rebuild);
  connect(RG1, &QButtonGroup::idClicked, this, &TForm7::Rebuild);
  connect(CBpath, &QComboBox::editTextChanged, this, &TForm7::Rebuild);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  Rebuild();
}

void TForm7::Rebuild() {
  systools::DirChoices c;
  c.attribute = CB2->currentIndex();
  c.sort = CB3->currentIndex();
  c.subfolders = CB4->isChecked();
  c.form = RG1->checkedId() < 0 ? 0 : RG1->checkedId();
  c.lower = CB1->isChecked();
  Edit1->setText(bridge::FromDisk(systools::DirCommandText(bridge::ToDisk(CBpath->currentText()), c)));
}

}  // namespace haruvi::controllers
