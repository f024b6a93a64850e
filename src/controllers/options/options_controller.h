// The settings menu's switches that other features read when they run: archive listing
// on selection, showing the target folder after a file command, the completion
// messages, no selection at close, backups when saving, Esc closing the window.
#pragma once

#include "platform/setting_key.h"
#include "ui/controller.h"

class QAction;
class QMenu;

namespace haruvi::controllers {

class OptionsController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "options";
  static constexpr auto kMenuLhashow = platform::Bool(kOwner, "Menu", "Mlhashow", "0");
  static constexpr auto kMenuTodiropen = platform::Bool(kOwner, "Menu", "Mtodiropen", "0");
  static constexpr auto kMenuDialogdisp = platform::Bool(kOwner, "Menu", "Mdialogdisp1", "1");
  static constexpr auto kMenuCloseinitview = platform::Bool(kOwner, "Menu", "Mcloseinitview1", "1");
  static constexpr auto kMenuBackup = platform::Bool(kOwner, "Menu", "Mbackup1", "1");
  static constexpr auto kMenuEscExit = platform::Bool(kOwner, "Menu", "MescExit", "1");

  explicit OptionsController(ui::WindowContext& ctx, QObject* parent = nullptr);

  void initset() override;
  void iniload() override;
  void inisave() override;
  std::vector<platform::KeyInfo> Keys() const override;

  // The pop-up settings menu shows the main menu's check marks when it opens.
  void WatchMenu(QMenu* popup_option);
  void Moption2Click();
  void Mdialogdisp1Click();
  void Mcloseinitview1Click();

 private:
  struct Switch {
    const platform::BoolKey* key;
    QAction* action;
  };
  std::vector<Switch> switches_;
};

}  // namespace haruvi::controllers
