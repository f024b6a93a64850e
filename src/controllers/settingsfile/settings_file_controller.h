// The commands on the settings file as a whole: deleting it and going back to the
// built-in settings, and the folder the program starts in.
#pragma once

#include <QString>

#include "platform/setting_key.h"
#include "ui/controller.h"

namespace haruvi::controllers {

class SettingsFileController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "settings file";
  static constexpr auto kInitFolderName = platform::Str(kOwner, "InitFolder", "InitFolderName", "", platform::KeyRule::MaxBytes, 0, 4096);

  explicit SettingsFileController(ui::WindowContext& ctx, QObject* parent = nullptr);
  std::vector<platform::KeyInfo> Keys() const override { return {kInitFolderName.info}; }

  // The start folder the user chose, empty when none.
  QString InitFolder() const;

  void Minifileclear1Click();
  void MinitdirectryClick();
};

}  // namespace haruvi::controllers
