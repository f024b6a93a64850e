// The editable combo box of every prompt with a history: the text it returns is the
// text the user typed. The history is a list to pick from (a click on the arrow, or
// Alt+Down), never a completion of what is being typed.
#pragma once

class QComboBox;
class QWidget;

namespace haruvi::ui {

// A new editable combo box of that kind.
QComboBox* NewHistoryCombo(QWidget* parent);
// Makes an editable combo box one: no inline completion, no entry added by Enter, and
// Enter or leaving the box never trades the typed text for an entry differing in case.
void TypedTextOnly(QComboBox* combo);

}  // namespace haruvi::ui
