// The pattern-aid buttons; see pattern_aids.h.
#include "controllers/search/pattern_aids.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace haruvi::controllers {
namespace {

using A = PatternAid;

const PatternAid kAids[] = {
    {"SBS1", "[ - ]", "[-]", 1, "ｷｬﾗｸﾀｸﾗｽ|ｷｬﾗｸﾀｸﾗｽ：文字の種類の集合を示します。"},
    {"SBS2", "( )", "()", 1, "優先順位|優先順位を表示します。"},
    {"SBS9", "|", "|", 1, "選択|選択を示します。orに当たります。"},
    {"SBS3", "^　", "^", 0, "行頭|行頭を示します。行頭に入れます。", A::Head},
    {"SBS4", "$", "$", 0, "行末|行末を示します。", A::Tail},
    {"SBS5", ".", ".", 1, "1文字|任意の1文字を示します。"},
    {"SBS6", "*", "*", 1, "0回繰返し|前の文字の0回以上の繰り返しを示します。"},
    {"SBS7", "+", "+", 1, "1回～繰返し|直前の文字の1回以上の繰り返しを示します。"},
    {"SBS8", "?", "?", 1, "1文字有/無|直前の一文字が有るか無いかを示します。"},
    {"SBS10", "[^-]", "[^-]", 2, "以外|ｷｬﾗｸﾀｸﾗｽ以外を示します。"},
    {"SBE1", "\\n", "\\n", 2, "CR(10)|ｷｬﾘｯｼﾞﾘﾀｰﾝを示します。"},
    {"SBE2", "\\r", "\\r", 2, "LF(13)|ﾗｲﾝﾌｨｰﾄﾞを示します。"},
    {"SBE4", "\\b", "\\b", 2, "BS(8)|ﾊﾞｯｸｽﾍﾟｰｽを示します。"},
    {"SBE5", "\\t", "\\t", 2, "TAB(9)|ﾀﾌﾞを示します。"},
    {"SBE3", "\\x", "\\x", 2, "16進(1-4)|16進文字を示します。(1-4桁)"},
    {"SBE6", "\\", "\\", 1, "8進(1-6)|8進文字(1-6)桁を示します。"},
    {"SBE7", "&&", "&", 1, ""},
    {"SBL5", "[a-z]", "[a-z]", 5, "英小(1ﾊﾞｲﾄ)|英小文字(1ﾊﾞｲﾄ)を示します。"},
    {"SBL7", "[A-Z]", "[A-Z]", 5, "英大文字(1ﾊﾞｲﾄ)|英大文字(1ﾊﾞｲﾄ)を示します。"},
    {"SBL8", "[a-zA-Z]", "[a-zA-Z]", 8, "英文字(1ﾊﾞｲﾄ)|英文字（1ﾊﾞｲﾄ）を示します。"},
    {"SBL3", "[a-zA-Zａ-ｚＡ-Ｚ]", "[a-zA-Zａ-ｚＡ-Ｚ]", 18, "ｱﾙﾌｧﾍﾞｯﾄ(1-2ﾊﾞｲﾄ)|ｱﾙﾌｧﾍﾞｯﾄ(1-2ﾊﾞｲﾄ)を示します。"},
    {"SBL2", "[亜-龠]", "[亜-龠]", 7, "漢字|漢字のｷｬﾗｸﾀｸﾗｽを示します。"},
    {"SBL9", "[ａ-ｚ]", "[ａ-ｚ]", 7, "英小文字(2ﾊﾞｲﾄ)|英小文字(2ﾊﾞｲﾄ)を示します。"},
    {"SBL10", "[Ａ-Ｚ]", "[Ａ-Ｚ]", 7, "英大文字(2ﾊﾞｲﾄ)|英大文字(2ﾊﾞｲﾄ)を示します。"},
    {"SBL12", "[ａ-ｚＡ-Ｚ]", "[ａ-ｚＡ-Ｚ]", 12, "英文字(2ﾊﾞｲﾄ)|英文字(2ﾊﾞｲﾄ)を示します。"},
    {"SBL1", "[0-9]", "[0-9]", 5, "数字(1ﾊﾞｲﾄ)|数字(1ﾊﾞｲﾄ)のｷｬﾗｸﾀｸﾗｽを示します。"},
    {"SBL4", "[０-９]", "[０-９]", 7, "数字(2ﾊﾞｲﾄ)|数字(2ﾊﾞｲﾄ)を示します。"},
    {"SBL6", "[0-9０-９]", "[0-9０-９]", 10, "数字(1-2ﾊﾞｲﾄ)|数字(1-2ﾊﾞｲﾄ)を示します。"},
};

// Bytes a character takes in Shift_JIS: one for ASCII and half-width kana, else two.
int SjisBytes(QChar c) {
  const char16_t u = c.unicode();
  return (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
}

}  // namespace

const PatternAid* PatternAids(int* count) {
  *count = static_cast<int>(std::size(kAids));
  return kAids;
}

QString ApplyPatternAid(const PatternAid& aid, const QString& text, int start, int length, int* caret) {
  const QString ins = QString::fromUtf8(aid.text);
  if (aid.kind == PatternAid::Head) {
    *caret = 0;
    return ins + text;
  }
  if (aid.kind == PatternAid::Tail) {
    *caret = static_cast<int>(text.size() + ins.size());
    return text + ins;
  }
  QString out = text;
  out.replace(start, length, ins);
  int chars = 0;
  for (int bytes = 0; chars < ins.size() && bytes < aid.caret_bytes; ++chars) bytes += SjisBytes(ins[chars]);
  *caret = start + chars;
  return out;
}

void AddPatternAids(QWidget* panel, const std::function<QComboBox*()>& focused) {
  auto* row = new QHBoxLayout(panel);
  const struct {
    const char* title;
    int from, to;
  } groups[] = {{"正規表現", 0, 10}, {"エスケープシークエンス", 10, 17}, {"キャラクタセット", 17, 28}};
  for (const auto& g : groups) {
    auto* box = new QGroupBox(QString::fromUtf8(g.title), panel);
    auto* col = new QVBoxLayout(box);
    for (int i = g.from; i < g.to; ++i) {
      const PatternAid& aid = kAids[i];
      auto* b = new QToolButton(box);
      b->setObjectName(QString::fromUtf8(aid.name));
      b->setText(QString::fromUtf8(aid.caption));
      const QString hint = QString::fromUtf8(aid.hint);
      if (!hint.isEmpty()) {
        b->setToolTip(hint.section(QLatin1Char('|'), 0, 0));
        b->setStatusTip(hint.section(QLatin1Char('|'), 1));
      }
      b->setFocusPolicy(Qt::NoFocus);  // the combo box keeps the focus and its caret
      QObject::connect(b, &QToolButton::clicked, panel, [&aid, focused] {
        QComboBox* combo = focused();
        if (!combo || !combo->lineEdit()) return;
        QLineEdit* e = combo->lineEdit();
        const int start = e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
        const int length = e->hasSelectedText() ? static_cast<int>(e->selectedText().size()) : 0;
        int caret = 0;
        e->setText(ApplyPatternAid(aid, e->text(), start, length, &caret));
        e->setCursorPosition(caret);
      });
      col->addWidget(b);
    }
    row->addWidget(box);
  }
}

}  // namespace haruvi::controllers
