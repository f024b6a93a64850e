// Saving the pane's text: "名前を付けて保存" through the save dialog and "上書き保存" over
// the selected file, plain or rich text by the name's extension, with the backup NAME.$$$
// when "保存時バックアップ作成" is checked. The writing itself is fileops::SaveFile.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "platform/setting_key.h"
#include "encoding/text_form.h"
#include "ui/controller.h"

namespace haruvi::controllers {

class SaveController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "save";
  static constexpr auto kSaveName = platform::Str(kOwner, "File", "Save", "", platform::KeyRule::MaxBytes, 0, 4096);
  static constexpr auto kSaveDir = platform::Str(kOwner, "File", "Dir", "", platform::KeyRule::MaxBytes, 0, 4096);

  explicit SaveController(ui::WindowContext& ctx, QObject* parent = nullptr);
  std::vector<platform::KeyInfo> Keys() const override { return {kSaveName.info, kSaveDir.info}; }

  void MTsave1Click();
  void MToversave1Click();
  void fileinfo2();

  // Writes the pane's text to `target` (format by extension, backup as checked) in the
  // code or form `form` (the pane's own when not given); false after telling the user
  // why. Used by both commands.
  bool SaveTo(const QString& target, std::optional<encoding::TextForm> form = std::nullopt);
  // The save dialog's answers (tests answer them without a dialog): the name, and the
  // code picked beside it (nullopt: as the text was loaded).
  static inline std::function<QString(QWidget*, const QString& folder, const QString& name)> ask_name;
  static inline std::function<std::optional<encoding::TextForm>()> ask_form;
  // Saving over a file whose text is not the one shown asks first (tests answer it).
  enum class OverAnswer { Overwrite, SaveAs, Cancel };
  static inline std::function<OverAnswer(const QString& question)> ask_over;
};

}  // namespace haruvi::controllers
