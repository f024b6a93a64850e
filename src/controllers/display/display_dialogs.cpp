#include "controllers/display/display_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

namespace haruvi::controllers {
namespace {

struct Charset {
  const char* name;
  int set;
};
constexpr Charset kCharsets[] = {
    {"ANSI", 0},          {"（標準）", 1},       {"標準記号", 2},
    {"Macintosh", 77},    {"日本語シフトJIS", 128}, {"ハングル（Wansung）", 129},
    {"ハングル（Johab）", 130}, {"漢字（簡体字中国語）", 134}, {"漢字（伝統的中国語）", 136},
    {"ギリシャ", 161},     {"トルコ", 162},         {"ベトナム", 163},
    {"ヘブライ", 177},     {"アラビア", 178},       {"バルト", 186},
    {"キリル", 204},       {"タイ", 222},           {"東欧諸国", 238},
    {"ｵﾍﾟﾚｰﾃｨﾝｸﾞｼｽﾃﾑｺｰﾄﾞ", 255},
};

}  // namespace

int TForm8::CharsetAt(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kCharsets))) return 128;
  return kCharsets[index].set;
}

TForm8::TForm8(int current_charset, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form8"));
  setWindowTitle(QStringLiteral("ﾃｷｽﾄ表示の文字種類の設定"));
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral("文字種類(&J)"), this);
  auto* inner = new QVBoxLayout(group);
  ComboBox1 = new QComboBox(group);
  for (const Charset& c : kCharsets) ComboBox1->addItem(QString::fromUtf8(c.name), c.set);
  const int at = ComboBox1->findData(current_charset);
  ComboBox1->setCurrentIndex(at >= 0 ? at : ComboBox1->findData(128));
  inner->addWidget(ComboBox1);
  layout->addWidget(group);
  layout->addWidget(new QLabel(QStringLiteral("外国語用フォントなどで表示がおかしいときは変更して下さい。"), this));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
  connect(ComboBox1, QOverload<int>::of(&QComboBox::activated), this,
          [this](int i) { emit CharsetChosen(CharsetAt(i)); });
}

TForm26::TForm26(bool stream, bool checked, int bytes, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Form26"));
  setWindowTitle(stream ? QStringLiteral("Stream読み込みの設定") : QStringLiteral("読み込み制限の設定"));
  auto* layout = new QVBoxLayout(this);
  CheckBox1 = new QCheckBox(stream ? QStringLiteral("Stream読み込みをする(&S)") : QStringLiteral("読み込み制限をする(&S)"), this);
  CheckBox1->setChecked(stream ? checked : true);
  CheckBox1->setEnabled(stream);
  Label1 = new QLabel(stream ? QStringLiteral("現在の設定： ") : QStringLiteral("設定解除は０バイト"), this);
  auto* row = new QHBoxLayout;
  SpinEdit1 = new QSpinBox(this);
  SpinEdit1->setRange(0, 2147483647);
  SpinEdit1->setSingleStep(1000);
  SpinEdit1->setValue(std::max(0, bytes));
  auto* unit = new QLabel(QStringLiteral("ﾊﾞｲﾄ(&B)"), this);
  unit->setBuddy(SpinEdit1);
  row->addWidget(SpinEdit1, 1);
  row->addWidget(unit);
  layout->addWidget(CheckBox1);
  layout->addWidget(Label1);
  layout->addLayout(row);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

bool TForm26::Checked() const { return CheckBox1->isChecked(); }
int TForm26::Bytes() const { return SpinEdit1->value(); }

}  // namespace haruvi::controllers
