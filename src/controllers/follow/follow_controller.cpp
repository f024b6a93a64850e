#include "controllers/follow/follow_controller.h"

#include <QAction>
#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>

#include "bridge/disk_path.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"
#include "ui/shown_text.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {

FollowController::FollowController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  a.Declare({"Mreread", "ファイルを読み直す(&L)", "読み直し|表示中のファイルをディスクから読み直します。"},
            [this] { MrereadClick(); })
      ->setShortcut(QKeySequence(Qt::Key_F5));
  follow_ = a.Declare({"Mfollow", "末尾を追う(&E)", "末尾を追う|ファイルが書き足されると読み直して末尾を表示します。", true},
                      [this] { MfollowClick(); });
  follow_->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F5));
  settle_ = new QTimer(this);
  settle_->setSingleShot(true);
  settle_->setInterval(100);
  connect(settle_, &QTimer::timeout, this, &FollowController::FileChanged);
  if (watch_.Descriptor() >= 0) {
    notifier_ = new QSocketNotifier(watch_.Descriptor(), QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
      if (!settle_->isActive()) settle_->start();
    });
  }
  connect(&ctx.Text(), &ui::ShownText::FileShown, this, &FollowController::WatchShown);
}

FollowController::~FollowController() = default;

void FollowController::initset() { follow_->setChecked(false); }
void FollowController::iniload() { follow_->setChecked(ctx().Settings().Read(kMenuFollow)); }
void FollowController::inisave() { ctx().Settings().Write(kMenuFollow, follow_->isChecked()); }

void FollowController::WatchShown() {
  changed_ = false;
  watch_.Watch(ctx().Text().SourcePath());  // what was queued for the old text goes
}

void FollowController::FileChanged() {
  const unsigned events = watch_.TakeEvents();
  const std::string path = watch_.Path().empty() ? ctx().Text().SourcePath() : watch_.Path();
  if (events == platform::FileWatch::None && !changed_) return;
  ui::ShownText& text = ctx().Text();
  // The text moved on (another file, a listing): the watch has nothing more to say.
  if (path.empty() || text.SourcePath() != path) {
    watch_.Stop();
    return;
  }
  // A file saved by renaming a new one over it is another file: watched again by name.
  if (events & platform::FileWatch::Replaced) watch_.Watch(path);
  changed_ = true;
  const bool as_loaded = text.Origin() == ui::TextOrigin::File || text.Origin() == ui::TextOrigin::FileAgain;
  if (follow_->isChecked() && as_loaded && !text.Unsaved()) {
    Reread(true);
    return;
  }
  ctx().Status().SetText(4, QStringLiteral("ファイルが変更されました: ") + bridge::DisplayName(bridge::FileName(bridge::FromDisk(path))) +
                                QStringLiteral(" (F5 で読み直します)"));
}

void FollowController::MrereadClick() { Reread(follow_->isChecked()); }

void FollowController::MfollowClick() {
  if (follow_->isChecked() && changed_) Reread(true);
}

void FollowController::Reread(bool at_end) {
  ui::ShownText& text = ctx().Text();
  const std::string path = text.SourcePath();
  if (path.empty()) return;
  if (bridge::ToDisk(ctx().SelectedPath()) != path) {
    ctx().Status().SetText(4, QStringLiteral("読み直すファイルが選択されていません"));
    return;
  }
  viewer::TextPane& pane = text.View();
  const std::size_t top = pane.FirstVisibleLine();
  const std::size_t caret_line = pane.LineOfOffset(pane.Caret());
  // Changed text is asked about first by the display, which reads the file again.
  ctx().filedisp();
  if (text.SourcePath() != path) return;  // the user kept the changed text
  changed_ = false;
  ctx().Status().SetText(4, QString());
  if (at_end) {
    text.EnsureWhole();
    const std::size_t length = pane.TextLength();
    pane.MoveCaretTo(length > 0 ? length - 1 : 0);  // a file cut short is shown to its end, never past it
    return;
  }
  text.ShowLineAtTop(static_cast<std::int64_t>(top) + 1);
  const std::size_t last = pane.LineCount() > 0 ? pane.LineCount() - 1 : 0;
  pane.MoveCaretTo(pane.OffsetOfLine(std::min(caret_line, last)));
}

}  // namespace haruvi::controllers
