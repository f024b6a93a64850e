// The pattern-aid buttons: 28 of them with their hints, the caret counted in Shift_JIS
// bytes, "^" and "$" on the whole text, and a click with no combo box focused doing
// nothing.
#include "controllers/search/pattern_aids.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QToolButton>
#include <QWidget>

namespace haruvi::controllers {
namespace {

const PatternAid& Aid(const char* name) {
  int n = 0;
  const PatternAid* aids = PatternAids(&n);
  for (int i = 0; i < n; ++i)
    if (std::string_view(aids[i].name) == name) return aids[i];
  throw std::runtime_error(name);
}

TEST(PatternAids, InsertAtTheCaretAndPlaceItByBytes) {
  int n = 0;
  PatternAids(&n);
  EXPECT_EQ(n, 28);
  int caret = -1;
  EXPECT_EQ(ApplyPatternAid(Aid("SBS1"), QStringLiteral("ab"), 1, 0, &caret), QStringLiteral("a[-]b"));
  EXPECT_EQ(caret, 2);  // inside the brackets
  EXPECT_EQ(ApplyPatternAid(Aid("SBS10"), QStringLiteral("xyz"), 0, 3, &caret), QStringLiteral("[^-]"));
  EXPECT_EQ(caret, 2);  // after "[^", the selection replaced
  EXPECT_EQ(ApplyPatternAid(Aid("SBL2"), QString(), 0, 0, &caret), QStringLiteral("[亜-龠]"));
  EXPECT_EQ(caret, 5);  // 7 bytes: the whole text
  EXPECT_EQ(ApplyPatternAid(Aid("SBL3"), QString(), 0, 0, &caret).size(), caret);
  EXPECT_EQ(ApplyPatternAid(Aid("SBS3"), QStringLiteral("abc"), 2, 0, &caret), QStringLiteral("^abc"));
  EXPECT_EQ(caret, 0);
  EXPECT_EQ(ApplyPatternAid(Aid("SBS4"), QStringLiteral("abc"), 0, 0, &caret), QStringLiteral("abc$"));
  EXPECT_EQ(caret, 4);
  EXPECT_EQ(ApplyPatternAid(Aid("SBE7"), QString(), 0, 0, &caret), QStringLiteral("&"));
}

TEST(PatternAids, ButtonsCarryHintsAndNeedAFocusedComboBox) {
  QWidget panel;
  QComboBox combo;
  combo.setEditable(true);
  QComboBox* target = nullptr;
  AddPatternAids(&panel, [&] { return target; });
  auto* s5 = panel.findChild<QToolButton*>(QStringLiteral("SBS5"));
  ASSERT_NE(s5, nullptr);
  EXPECT_EQ(s5->toolTip(), QStringLiteral("1文字"));
  EXPECT_EQ(s5->statusTip(), QStringLiteral("任意の1文字を示します。"));
  EXPECT_EQ(panel.findChild<QToolButton*>(QStringLiteral("SBE7"))->text(), QStringLiteral("&&"));
  s5->click();  // no combo box focused: nothing
  EXPECT_EQ(combo.currentText(), QString());
  target = &combo;
  combo.setEditText(QStringLiteral("ab"));
  s5->click();
  EXPECT_EQ(combo.currentText(), QStringLiteral("ab."));
}

}  // namespace
}  // namespace haruvi::controllers
