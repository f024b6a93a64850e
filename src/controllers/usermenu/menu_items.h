// The numbered items of a user menu: caption "&" + number + " " + text, hint = text,
// tag (the item's data) = number, and the exchange of two items' texts.
#pragma once

#include <QString>
#include <functional>

class QAction;
class QMenu;

namespace haruvi::controllers::usermenu {

// Appends an item; `run` gets the item's tag when it is chosen.
QAction* AddItem(QMenu* menu, const QString& text, int number, const std::function<void(int)>& run);
void DeleteItem(QMenu* menu, int index);
// Sets the text of the item at `index` and its caption for its position.
void UpdateItem(QMenu* menu, const QString& text, int index);
// Exchanges the texts of the items at `a` and `b`, rebuilds both captions for their
// positions and renumbers every tag 1, 2, 3... in menu order. Out of range: nothing.
void ExchangeItems(QMenu* menu, int a, int b);
// The item's own text (without its number).
QString ItemText(const QAction* item);

}  // namespace haruvi::controllers::usermenu
