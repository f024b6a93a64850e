#include "controllers/toolbar/tool_button_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>


namespace haruvi::controllers {
namespace {

constexpr int kNameRole = Qt::UserRole;

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

TForm21::TForm21(platform::Settings& settings, std::vector<toolbar::ToolButtonInfo> bar_buttons, QWidget* parent)
    : QDialog(parent), settings_(settings), buttons_(std::move(bar_buttons)) {
  setObjectName(QStringLiteral("Form21"));
  setWindowTitle(QStringLiteral("ツールボタンの設定"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("表示するツールボタンを選択して下さい。"), this));
  PageControl1 = new QTabWidget(this);
  CLB1 = new QListWidget(PageControl1);
  CLB1->setObjectName(QStringLiteral("CLB1"));
  CLB2 = new QListWidget(PageControl1);
  CLB2->setObjectName(QStringLiteral("CLB2"));
  PageControl1->addTab(CLB1, QStringLiteral("メイン"));
  PageControl1->addTab(CLB2, QStringLiteral("ビュー"));
  PageControl1->setCurrentIndex(0);
  layout->addWidget(PageControl1, 1);
  auto* buttons = new QHBoxLayout;
  Button1 = new QPushButton(QStringLiteral("全て表示(&A)"), this);
  BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
  BitBtn2 = new QPushButton(QStringLiteral("キャンセル"), this);
  BitBtn1->setDefault(true);
  buttons->addWidget(Button1);
  buttons->addStretch(1);
  buttons->addWidget(BitBtn1);
  buttons->addWidget(BitBtn2);
  layout->addLayout(buttons);
  connect(Button1, &QPushButton::clicked, this, &TForm21::Button1Click);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm21::BitBtn1Click);
  connect(BitBtn2, &QPushButton::clicked, this, &TForm21::BitBtn2Click);

  // Dividers have keys too, but the dialog never shows nor writes them.
  for (const toolbar::ToolButtonInfo& b : buttons_) {
    if (b.divider()) continue;
    auto* item = new QListWidgetItem(Q(b.entry), b.bar == 1 ? CLB1 : CLB2);
    item->setData(kNameRole, Q(b.name));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(settings_.Read(toolbar::ButtonKey(b), true) ? Qt::Checked : Qt::Unchecked);
  }
}

void TForm21::Button1Click() {
  for (QListWidget* list : {CLB1, CLB2})
    for (int i = 0; i < list->count(); ++i) list->item(i)->setCheckState(Qt::Checked);
}

void TForm21::BitBtn1Click() {
  for (QListWidget* list : {CLB1, CLB2}) {
    for (int i = 0; i < list->count(); ++i) {
      const QString name = list->item(i)->data(kNameRole).toString();
      for (const toolbar::ToolButtonInfo& b : buttons_)
        if (Q(b.name) == name && (b.bar == 1) == (list == CLB1))
          settings_.Write(toolbar::ButtonKey(b), list->item(i)->checkState() == Qt::Checked);
    }
  }
  accept();
}

void TForm21::BitBtn2Click() { reject(); }

}  // namespace haruvi::controllers
