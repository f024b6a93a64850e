#include "controllers/usermenu/menu_items.h"

#include <QAction>
#include <QMenu>


namespace haruvi::controllers::usermenu {
namespace {

constexpr char kText[] = "userText";

// The caption keeps "&" in the text as a literal ampersand.
void Label(QAction* item, const QString& text, int position) {
  QString shown = text;
  shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
  item->setText(QStringLiteral("&%1 ").arg(position) + shown);
  item->setToolTip(text);
  item->setStatusTip(text);
  item->setProperty(kText, text);
}

}  // namespace

QAction* AddItem(QMenu* menu, const QString& text, int number, const std::function<void(int)>& run) {
  auto* item = new QAction(menu);
  Label(item, text, number);
  item->setData(number);
  QObject::connect(item, &QAction::triggered, menu, [item, run] { run(item->data().toInt()); });
  menu->addAction(item);
  return item;
}

void DeleteItem(QMenu* menu, int index) {
  const QList<QAction*> items = menu->actions();
  if (index < 0 || index >= items.size()) return;
  menu->removeAction(items[index]);
  items[index]->deleteLater();
}

void UpdateItem(QMenu* menu, const QString& text, int index) {
  const QList<QAction*> items = menu->actions();
  if (index < 0 || index >= items.size()) return;
  Label(items[index], text, index + 1);
}

void ExchangeItems(QMenu* menu, int a, int b) {
  const QList<QAction*> items = menu->actions();
  if (a < 0 || b < 0 || a >= items.size() || b >= items.size() || a == b) return;
  const QString ta = ItemText(items[a]);
  const QString tb = ItemText(items[b]);
  Label(items[a], tb, a + 1);
  Label(items[b], ta, b + 1);
  for (int i = 0; i < items.size(); ++i) items[i]->setData(i + 1);
}

QString ItemText(const QAction* item) { return item->property(kText).toString(); }

}  // namespace haruvi::controllers::usermenu
