#include "ui/history_combo.h"

#include <QComboBox>
#include <QCompleter>
#include <QLineEdit>
#include <QStringList>

namespace haruvi::ui {

QComboBox* NewHistoryCombo(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  TypedTextOnly(combo);
  return combo;
}

void TypedTextOnly(QComboBox* combo) {
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);  // the history decides the order, not the box
  // A completer over nothing: it never completes, and being case-sensitive it makes the
  // box's own match on Enter exact, so "abc" stays "abc" with "ABC" in the history.
  auto* none = new QCompleter(QStringList(), combo);
  none->setCaseSensitivity(Qt::CaseSensitive);
  combo->setCompleter(none);
}

}  // namespace haruvi::ui
