// Moving and filtering the views without the tree: the drive dialog, a typed folder with
// its history, the extension mask with its history, and the selected file's properties.
#pragma once

#include <QString>

#include "platform/setting_key.h"
#include "ui/controller.h"

class QAction;

namespace haruvi::controllers {

class ChoiceController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "choice";
  // The histories ("#entry#" items and their count) of the two prompts.
  static constexpr auto kFolderSetCount = platform::Int(kOwner, "FolderSet", "DriveCount", "0");
  static constexpr auto kExtCount = platform::Int(kOwner, "Ext", "DriveCount", "0");

  explicit ChoiceController(ui::WindowContext& ctx, QObject* parent = nullptr);
  std::vector<platform::KeyInfo> Keys() const override { return {kFolderSetCount.info, kExtCount.info}; }

  // Moves the views to `target` (selecting `select`, or the first item), going back to
  // `previous` when it cannot be shown. False when the move failed.
  bool Jump(const QString& target, const QString& previous, const QString& select = {});

  void MdrivemClick();
  void MfoldermClick();
  void MmaskClick();
  void Mfileproperty1Click();

  // The mask the answer of "拡張子の指定" gives: "*" or nothing clears it.
  static std::vector<std::string> MaskOfAnswer(const QString& answer);

 private:
  void ShowMask(const QString& answer);
  QAction* mask_;
};

}  // namespace haruvi::controllers
