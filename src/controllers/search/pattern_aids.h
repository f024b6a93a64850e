// The 28 pattern-aid buttons of TForm25 and TForm9 in their three groups ("正規表現",
// "エスケープシークエンス", "キャラクタセット"): each inserts its text at the caret of the
// focused combo box, or puts "^" before / "$" after the whole text.
#pragma once

#include <QString>
#include <functional>

class QComboBox;
class QWidget;

namespace haruvi::controllers {

struct PatternAid {
  const char* name;      // "SBS1"
  const char* caption;   // "[ - ]"
  const char* text;      // inserted
  int caret_bytes;       // caret after the insertion point, in Shift_JIS bytes
  const char* hint;      // "short|long", empty for none
  enum Kind { Insert, Head, Tail } kind = Insert;
};

// The buttons' table in group order.
const PatternAid* PatternAids(int* count);

// Applies an aid to a combo box's text with the selection [start, start+length) (in
// characters); returns the new text and sets `caret`.
QString ApplyPatternAid(const PatternAid& aid, const QString& text, int start, int length, int* caret);

// Builds the three groups on `panel`; a button acts on the combo box `focused` returns
// (nothing when it returns nullptr).
void AddPatternAids(QWidget* panel, const std::function<QComboBox*()>& focused);

}  // namespace haruvi::controllers
