// The shown file changing on disk: the window notices (a watch on the file), says so on
// the status bar and reads it again on "ファイルを読み直す" keeping the place; with
// "末尾を追う" on, a file that changes is read again at once and shown at its end, as a
// log viewer follows a log.
#pragma once

#include <memory>

#include "platform/file_watch.h"
#include "platform/setting_key.h"
#include "ui/controller.h"

class QAction;
class QSocketNotifier;
class QTimer;

namespace haruvi::controllers {

class FollowController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "follow";
  static constexpr auto kMenuFollow = platform::Bool(kOwner, "Menu", "Mfollow", "0");

  explicit FollowController(ui::WindowContext& ctx, QObject* parent = nullptr);
  ~FollowController() override;

  void initset() override;
  void iniload() override;
  void inisave() override;
  std::vector<platform::KeyInfo> Keys() const override { return {kMenuFollow.info}; }

  // Reads the shown file again: at the same line, or at its end while following.
  void MrereadClick();
  void MfollowClick();
  // What the watch saw, handled (the window calls it from the watch's notifier; tests
  // call it directly).
  void FileChanged();

 private:
  void WatchShown();
  void Reread(bool at_end);

  platform::FileWatch watch_;
  QSocketNotifier* notifier_ = nullptr;
  QTimer* settle_ = nullptr;  // many writes in a burst make one re-read
  QAction* follow_ = nullptr;
  bool changed_ = false;      // the file changed since it was shown
};

}  // namespace haruvi::controllers
