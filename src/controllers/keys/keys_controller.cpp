#include "controllers/keys/keys_controller.h"

#include <QAction>
#include <QMenu>
#include <vector>

#include "controllers/keys/key_table.h"
#include "shellview/file_view.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {

KeysController::KeysController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  auto on = [this](void (KeysController::*handler)()) { return [this, handler] { (this->*handler)(); }; };
  a.Declare({"Mf", "&F テキストの検索", "検索|テキストを検索します。"}, on(&KeysController::MfClick));
  a.Declare({"Myy", "&\\ ルートフォルダーに移動", "ルートフォルダー|ルートフォルダーに移動します。"},
            on(&KeysController::MyyClick));
  a.Declare({"Mye", "Enter サブディレクトリを開く", "開く|サブディレクトリを開きます。"}, on(&KeysController::MyeClick));
  a.Declare({"Myb", "BS 一つ上のディレクトリへ移動", "上へ|一つ上のディレクトリへ移動します。"},
            on(&KeysController::MybClick));
  a.Declare({"Myh", "HOME 一番上のファイル", "一番上|一番上のファイルを選択します。"}, on(&KeysController::MyhClick));
  a.Declare({"Myc", "&；　LHA書庫内容表示切替", "LHA書庫内容表示|LHA書庫内容表示を切り替えます。"},
            on(&KeysController::MycClick));
  a.Declare({"Mz", "&Z メニューを表示/終了", "メニュー|キーのメニューを表示します。"}, on(&KeysController::MzClick));
}

bool KeysController::FileView1KeyPress(const QString& text) {
  if (text.size() != 1 && !(text.size() == 2 && text.at(0).isHighSurrogate())) return false;
  const std::vector<keys::KeyCommand> table = keys::KeyCommands(ctx().Actions().Placements());
  const keys::KeyCommand* key = keys::FindKey(table, text.toStdString());
  if (!key) return false;
  QAction* action = ctx().Actions().Get(QString::fromUtf8(key->action.data(), qsizetype(key->action.size())));
  // A command that is off just now (no library, nothing to act on) leaves the key inert.
  if (action->isEnabled()) action->trigger();
  return true;
}

void KeysController::FillKeyMenu(QMenu* menu) {
  menu_ = menu;
  QAction* head = menu->actions().isEmpty() ? nullptr : menu->actions().front();
  ui::ActionRegistry& reg = ctx().Actions();
  auto entry = [&](const QString& caption, const QString& name) {
    // The entry runs the key's command by name and is off while that command is.
    QAction* target = reg.Get(name);
    auto* e = new QAction(caption, menu);
    e->setObjectName(QStringLiteral("Key") + name);
    e->setEnabled(target->isEnabled());
    connect(target, &QAction::changed, e, [e, target] { e->setEnabled(target->isEnabled()); });
    connect(e, &QAction::triggered, this, [this, name] { ctx().Actions().Trigger(name); });
    menu->insertAction(head, e);
  };
  for (const keys::KeyCommand& k : keys::KeyCommands(reg.Placements())) {
    const QString name = QString::fromUtf8(k.entry_action.data(), qsizetype(k.entry_action.size()));
    if (name == QStringLiteral("Mz")) {
      // Chosen from the open menu it only closes it (the menu closes by itself).
      auto* e = new QAction(QString::fromUtf8(k.entry.data(), qsizetype(k.entry.size())), menu);
      e->setObjectName(QStringLiteral("KeyMz"));
      menu->insertAction(head, e);
      continue;
    }
    if (name == QStringLiteral("Myy") || name == QStringLiteral("Myc") || name == QStringLiteral("Mf")) {
      menu->insertAction(head, reg.Get(name));
      continue;
    }
    entry(QString::fromUtf8(k.entry.data(), qsizetype(k.entry.size())), name);
  }
  const char* const icons[] = {"&1 大きいアイコンで表示", "&2 小さいアイコンで表示", "&3 一覧で表示", "&4 詳細で表示"};
  for (int i = 0; i < 4; ++i) entry(QString::fromUtf8(icons[i]), QStringLiteral("Micon%1").arg(i + 1));
  for (const char* name : {"Mye", "Myb", "Myh"}) menu->insertAction(head, reg.Get(QString::fromUtf8(name)));
  // Deleting for good belongs to the file commands, which a window may lack.
  if (reg.Contains(QStringLiteral("Myd"))) menu->insertAction(head, reg.Get(QStringLiteral("Myd")));
  entry(QStringLiteral("F3 下へ検索"), QStringLiteral("MserchNext"));
  entry(QStringLiteral("SHIFT+F3 上へ検索"), QStringLiteral("Mserchnextup1"));
  menu->insertSeparator(head);
  // Choosing it closes the menu, which any choice does.
  menu->addAction(QStringLiteral("メニューを閉じる(&Z)"))->setObjectName(QStringLiteral("Mclose"));
}

void KeysController::MfClick() {
  if (ctx().Text().View().IsEmpty()) return;
  ctx().Actions().Trigger(QStringLiteral("Mserch"));
}

void KeysController::MyyClick() { ctx().Actions().Trigger(QStringLiteral("Mrootfolder")); }

void KeysController::MyeClick() {
  shellview::TFileView& files = ctx().Files();
  if (files.Count() == 0 || !files.SelectedIsFolder()) return;
  ctx().MoveToFolder(files.SelectedPath());
  {
    ui::QuietGuard quiet(ctx());
    files.SelectRow(0);
  }
  ctx().folderinfo();
}

void KeysController::MybClick() { ctx().Actions().Trigger(QStringLiteral("ToolButton55")); }

void KeysController::MyhClick() { ctx().Files().SelectRow(0); }

void KeysController::MycClick() {
  ui::ActionRegistry& a = ctx().Actions();
  a.SetChecked(QStringLiteral("Mlhashow"), !a.Checked(QStringLiteral("Mlhashow")));
  if (a.Checked(QStringLiteral("Mlhashow"))) a.Trigger(QStringLiteral("Mlhalist"));
}

void KeysController::MzClick() {
  if (!menu_) return;
  if (menu_->isVisible()) {
    menu_->close();
    return;
  }
  // Over the file list's panel, a quarter down the window (client coordinates).
  QWidget* window = ctx().Window();
  const int x = ctx().Files().mapTo(window, QPoint(0, 0)).x();
  const int y = window->height() / 4;
  menu_->popup(window->mapToGlobal(QPoint(x, y)));
}

}  // namespace haruvi::controllers
