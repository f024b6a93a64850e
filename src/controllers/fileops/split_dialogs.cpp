#include "controllers/fileops/split_dialogs.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "bridge/disk_path.h"
#include "controllers/fileops/op_runner.h"
#include "ui/history_combo.h"
#include "fileops/split_merge.h"
#include "platform/history.h"
#include "platform/ini_file.h"
#include "ui/shown_text.h"
#include "ui/messages.h"

namespace haruvi::controllers {

TForm17::TForm17(platform::IniFile& ini, const QString& path, std::int64_t size, QWidget* parent)
    : QDialog(parent), ini_(ini), path_(path), size_(size) {
  setObjectName(QStringLiteral("Form17"));
  setWindowTitle(QStringLiteral("ﾌｧｲﾙの分割"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("分割するサイズを指定して下さい。"), this));
  layout->addWidget(new QLabel(bridge::DisplayName(path), this));
  Label3 = new QLabel(size < 0 ? QString() : Grouped(static_cast<qulonglong>(size)) + QStringLiteral(" byte"), this);
  layout->addWidget(Label3);
  auto* group = new QGroupBox(QStringLiteral("サイズ"), this);
  auto* radios = new QVBoxLayout(group);
  RGdiv = new QButtonGroup(this);
  int id = 0;
  for (const char* item : {"1.44M", "1.25M", "720K", "640K", "任意ｻｲｽﾞ"}) {
    auto* b = new QRadioButton(QString::fromUtf8(item), group);
    RGdiv->addButton(b, id++);
    radios->addWidget(b);
  }
  layout->addWidget(group);
  CBdiv = ui::NewHistoryCombo(this);
  layout->addWidget(CBdiv);
  Label4 = new QLabel(this);
  layout->addWidget(Label4);
  layout->addWidget(new QLabel(QStringLiteral("作成するﾌｧｲﾙ"), this));
  LBdiv = new QListWidget(this);
  layout->addWidget(LBdiv);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  BitBtn1 = buttons->button(QDialogButtonBox::Ok);
  BitBtn1->setAutoDefault(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &TForm17::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);

  for (const std::string& h : platform::LoadHistory(ini_, "DIV")) history_ << QString::fromStdString(h);
  CBdiv->addItems(history_);
  RGdiv->button(0)->setChecked(true);
  CBdiv->setEditText(QStringLiteral("1457664"));
  connect(RGdiv, &QButtonGroup::idClicked, this, [this](int i) {
    CBdiv->setEditText(QString::number(kSizes[i]));
    Preview();
  });
  CBdiv->lineEdit()->installEventFilter(this);
  Preview();
}

void TForm17::Preview() {
  const std::uint64_t size = size_ < 0 ? 0 : static_cast<std::uint64_t>(size_);
  const std::uint64_t count = fileops::PreviewCount(size, CBdiv->currentText().toStdString());
  Label4->setText(QString::number(count) + QStringLiteral(" 個に分割"));
  LBdiv->clear();
  const std::string disk = bridge::ToDisk(path_);
  // Past what a split may make the list would only repeat names: it shows none.
  for (std::uint64_t i = 1; i <= count && count <= fileops::kMaxPieces; ++i)
    LBdiv->addItem(bridge::DisplayName(bridge::FromDisk(fileops::PieceName(disk, i))).section(QLatin1Char('/'), -1));
  LBdiv->addItem(bridge::DisplayName(bridge::FromDisk(fileops::WithExtension(disk, ".bat"))).section(QLatin1Char('/'), -1));
}

void TForm17::CBdivEnter() {
  const std::uint64_t size = size_ < 0 ? 0 : static_cast<std::uint64_t>(size_);
  const std::uint64_t count = fileops::PreviewCount(size, CBdiv->currentText().toStdString());
  if (count > fileops::kMaxPieces) {
    ui::Warn(this, QString::number(count) + QStringLiteral("個のﾌｧｲﾙに分割できません。"));
    LBdiv->clear();
    CBdiv->setFocus();
    return;
  }
  Preview();
  BitBtn1->setFocus();
}

bool TForm17::eventFilter(QObject* watched, QEvent* event) {
  if (watched == CBdiv->lineEdit() && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      CBdivEnter();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TForm17::accept() {
  result_ = CBdiv->currentText();
  std::vector<std::string> list;
  for (const QString& h : history_) list.push_back(h.toStdString());
  list = platform::UpdatedHistory(std::move(list), result_.toStdString());
  platform::SaveHistory(ini_, "DIV", list, {.count = "DriveCount", .item = "Items_", .limit = 10});
  QDialog::accept();
}

TForm18::TForm18(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form18"));
  setWindowTitle(QStringLiteral("ファイルの分割"));
  auto* layout = new QVBoxLayout(this);
  Label1 = new QLabel(this);
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setRange(0, 100);
  Label2 = new QLabel(this);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  connect(cancel, &QPushButton::clicked, this, &TForm18::reject);
  layout->addWidget(Label1);
  layout->addWidget(ProgressBar1);
  layout->addWidget(Label2);
  layout->addWidget(cancel, 0, Qt::AlignCenter);
}

void TForm18::reject() { cancelled = true; }

TForm20::TForm20(const QString& folder, const QStringList& captions, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form20"));
  setWindowTitle(QStringLiteral("ファイル結合"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(bridge::DisplayName(folder), this));
  Lfiles = new QLabel(QString::number(captions.size()) + QStringLiteral("個のファイル"), this);
  layout->addWidget(Lfiles);
  auto* list_label = new QLabel(QStringLiteral("結合するファイルリスト-結合順(&I)"), this);
  layout->addWidget(list_label);
  auto* row = new QHBoxLayout;
  ListBox1 = new QListWidget(this);
  list_label->setBuddy(ListBox1);  // the letter moves the focus to the list (and is underlined)
  for (const QString& c : captions) {
    auto* item = new QListWidgetItem(bridge::DisplayName(c), ListBox1);
    item->setData(Qt::UserRole, c);
  }
  if (ListBox1->count()) ListBox1->setCurrentRow(0);
  row->addWidget(ListBox1, 1);
  auto* side = new QVBoxLayout;
  auto* up = new QPushButton(QStringLiteral("上へ"), this);
  auto* down = new QPushButton(QStringLiteral("下へ"), this);
  auto* del = new QPushButton(QStringLiteral("削除"), this);
  connect(up, &QPushButton::clicked, this, &TForm20::MoveUp);
  connect(down, &QPushButton::clicked, this, &TForm20::MoveDown);
  connect(del, &QPushButton::clicked, this, &TForm20::Remove);
  side->addWidget(up);
  side->addWidget(down);
  side->addWidget(del);
  side->addStretch();
  row->addLayout(side);
  layout->addLayout(row);
  auto* name_label = new QLabel(QStringLiteral("結合先ファイル名(&T)"), this);
  layout->addWidget(name_label);
  Edit1 = new QLineEdit(this);
  name_label->setBuddy(Edit1);
  layout->addWidget(Edit1);
  Label4 = new QLabel(QStringLiteral("結合情報"), this);
  layout->addWidget(Label4);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  BitBtn1 = buttons->button(QDialogButtonBox::Ok);
  BitBtn1->setEnabled(false);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  connect(Edit1, &QLineEdit::textChanged, this, [this](const QString& text) {
    BitBtn1->setEnabled(!text.isEmpty());
    const QString bat = bridge::FromDisk(fileops::WithExtension(bridge::ToDisk(text), ".bat"));
    Label4->setText(text.isEmpty() ? QStringLiteral("結合情報")
                                   : QStringLiteral("結合情報は ") + bat + QStringLiteral(" に記録されます。"));
  });
}

void TForm20::MoveUp() {
  const int r = ListBox1->currentRow();
  if (r <= 0) return;
  ListBox1->insertItem(r - 1, ListBox1->takeItem(r));
  ListBox1->setCurrentRow(r - 1);
}

void TForm20::MoveDown() {
  const int r = ListBox1->currentRow();
  if (r < 0 || r + 1 >= ListBox1->count()) return;
  ListBox1->insertItem(r + 1, ListBox1->takeItem(r));
  ListBox1->setCurrentRow(r + 1);
}

void TForm20::Remove() {
  const int r = ListBox1->currentRow();
  if (r < 0) return;
  delete ListBox1->takeItem(r);
  Lfiles->setText(QString::number(ListBox1->count()) + QStringLiteral("個のﾌｧｲﾙ"));
}

QStringList TForm20::Entries() const {
  QStringList out;
  for (int i = 0; i < ListBox1->count(); ++i) out << ListBox1->item(i)->data(Qt::UserRole).toString();
  return out;
}

}  // namespace haruvi::controllers
