// The replace dialog's layout; see replace_dialog.h.
#include "controllers/search/replace_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace haruvi::controllers {

ReplaceDialog::ReplaceDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ReplaceDialog1"));
  setWindowTitle(QStringLiteral("置換"));
  setModal(false);
  auto* v = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  FindText = new QLineEdit(this);
  ReplaceText = new QLineEdit(this);
  form->addRow(QStringLiteral("検索する文字列(&N):"), FindText);
  form->addRow(QStringLiteral("置換後の文字列(&P):"), ReplaceText);
  v->addLayout(form);
  WholeWord = new QCheckBox(QStringLiteral("単語単位で探す(&W)"), this);
  MatchCase = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
  v->addWidget(WholeWord);
  v->addWidget(MatchCase);
  auto* row = new QHBoxLayout;
  auto* find = new QPushButton(QStringLiteral("次を検索(&F)"), this);
  auto* one = new QPushButton(QStringLiteral("置換して次に(&R)"), this);
  auto* all = new QPushButton(QStringLiteral("すべて置換(&A)"), this);
  auto* close = new QPushButton(QStringLiteral("キャンセル"), this);
  for (QPushButton* b : {find, one, all, close}) row->addWidget(b);
  v->addLayout(row);
  connect(find, &QPushButton::clicked, this, [this] { if (OnFind) OnFind(); });
  connect(one, &QPushButton::clicked, this, [this] { if (OnReplace) OnReplace(false); });
  connect(all, &QPushButton::clicked, this, [this] { if (OnReplace) OnReplace(true); });
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

}  // namespace haruvi::controllers
