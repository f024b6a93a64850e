#include "controllers/toolbar/toolbar_controller.h"

#include <QAction>
#include <QIcon>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "controllers/toolbar/tool_button_dialog.h"
#include "ui/action_registry.h"

namespace haruvi::controllers {
namespace {

QString Q(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
QString Slot(int bar, const QString& name) { return QString::number(bar) + QLatin1Char('/') + name; }

}  // namespace

ToolbarController::ToolbarController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ctx.Actions().Declare({"Mtoolbarset", "ツールボタンの設定(&E)", "ツールボタンの設定|表示するツールボタンを設定します。"},
                        [this] { MtoolbarsetClick(); });
}

std::vector<toolbar::ToolButtonInfo> ToolbarController::Buttons() const {
  return toolbar::BarButtons(ctx().Actions().Placements());
}

std::vector<platform::KeyInfo> ToolbarController::Keys() const {
  std::vector<platform::KeyInfo> keys;
  for (const toolbar::ToolButtonInfo& b : Buttons()) keys.push_back(toolbar::ButtonKey(b).info);
  return keys;
}

void ToolbarController::FillBars() {
  Populate(ctx().MainToolBar(), 1);
  Populate(ctx().TextToolBar(), 2);
}

// Each button is an action of its own on the bar, so hiding it leaves the menu item of
// the same command alone; it mirrors the command's caption, hint, icon, state and check.
void ToolbarController::Populate(QToolBar& bar, int which) {
  for (const toolbar::ToolButtonInfo& b : Buttons()) {
    if (b.bar != which) continue;
    const QString name = Q(b.name);
    QAction* a;
    if (b.divider()) {
      a = bar.addSeparator();
    } else {
      QAction* target = ctx().Actions().Get(Q(b.action));
      a = new QAction(&bar);
      const QIcon theme = QIcon::fromTheme(Q(b.icon) + QStringLiteral("-symbolic"), QIcon::fromTheme(Q(b.icon)));
      auto mirror = [a, target, theme] {
        a->setText(target->text());
        a->setToolTip(target->toolTip());
        a->setStatusTip(target->statusTip());
        a->setEnabled(target->isEnabled());
        a->setCheckable(target->isCheckable());
        a->setChecked(target->isChecked());
        a->setIcon(theme.isNull() ? target->icon() : theme);
      };
      mirror();
      connect(target, &QAction::changed, a, mirror);
      connect(target, &QAction::toggled, a, &QAction::setChecked);
      const QString command = Q(b.action);
      connect(a, &QAction::triggered, this, [this, command] { ctx().Actions().Trigger(command); });
      bar.addAction(a);
    }
    if (b.divider()) a->setObjectName(name);
    a->setProperty("buttonName", name);
    if (auto* w = qobject_cast<QToolButton*>(bar.widgetForAction(a))) {
      w->setObjectName(name);
      if (a->icon().isNull()) w->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    buttons_[Slot(which, name)] = a;
  }
}

QAction* ToolbarController::Button(const QString& name) const {
  for (int bar : {1, 2}) {
    auto it = buttons_.find(Slot(bar, name));
    if (it != buttons_.end()) return it->second;
  }
  return nullptr;
}

void ToolbarController::iniload() {
  for (const toolbar::ToolButtonInfo& b : Buttons())
    SetButton(b.bar, Q(b.name), ctx().Settings().Read(toolbar::ButtonKey(b), true));
}

void ToolbarController::SetButton(int bar, const QString& button, bool visible) {
  auto it = buttons_.find(Slot(bar, button));
  if (it == buttons_.end()) return;
  it->second->setVisible(visible);
  QToolBar& tb = bar == 1 ? ctx().MainToolBar() : ctx().TextToolBar();
  tb.updateGeometry();
}

void ToolbarController::toolbtnset(const QString& button, bool visible) { SetButton(1, button, visible); }

void ToolbarController::toolbtnset2(const QString& button, bool visible) { SetButton(2, button, visible); }

void ToolbarController::MtoolbarsetClick() {
  ctx().Flags().worktext.clear();
  auto dialog = std::make_unique<TForm21>(ctx().Settings(), Buttons(), ctx().Window());
  if (dialog->exec() == QDialog::Accepted) {
    ctx().Flags().worktext = QStringLiteral("true");
    ApplyChosen();
  }
  dialog.reset();
  ctx().MainToolBar().update();
  ctx().TextToolBar().update();
}

void ToolbarController::ApplyChosen() {
  // The dialog wrote the keys; apply them in list order (dividers keep theirs).
  for (const toolbar::ToolButtonInfo& b : Buttons()) {
    if (b.divider()) continue;
    const bool on = ctx().Settings().Read(toolbar::ButtonKey(b), true);
    if (b.bar == 1) toolbtnset(Q(b.name), on);
    else toolbtnset2(Q(b.name), on);
  }
}

}  // namespace haruvi::controllers
