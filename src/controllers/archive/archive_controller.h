// The archive commands of "書庫(&L)": the LHA commands over the LHA library's direct
// binding (unpack, create, list, extended list, unpack without folders, the listing shown
// on selection) and the general commands over the archiver component (unpack, list,
// create) for every format a library handles.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "archive/lha_binding.h"
#include "platform/setting_key.h"
#include "ui/controller.h"

struct HaruviProgress;

namespace haruvi::controllers {

class ArchiveController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "archive";
  // The histories of the two name prompts (their items are written by the prompt).
  static constexpr auto kLhaPackCount = platform::Int(kOwner, "LHApack", "DriveCount", "0");
  static constexpr auto kArcPackCount = platform::Int(kOwner, "ARCpack", "DriveCount", "0");

  explicit ArchiveController(ui::WindowContext& ctx, QObject* parent = nullptr);
  std::vector<platform::KeyInfo> Keys() const override { return {kLhaPackCount.info, kArcPackCount.info}; }

  void MlhaUClick();
  void MlhaPClick();
  void MlhalistClick();
  void Mlha_VClick();
  void Mlha_EClick();
  void MlhashowClick();
  void Marcunpack1Click();
  void Marclist1Click();
  void MarcmakeClick();

  // The selection's listing instead of its bytes, when "LHA書庫内容表示" is on and the
  // file is an LHA archive; false when the caller is to show the file as usual.
  bool PreviewSelection();
  void ShowLhaListing(const char* word = "l");

  // The LHA library's version read at start; 0 when it is absent.
  std::uint32_t LhaVersion() const { return lha_.Version(); }

  // The unpacking target folder for an archive, or nothing on Cancel: the file commands'
  // target dialog TForm2; tests replace it.
  std::function<std::optional<QString>(const QString& archive)> ChooseTarget;
  // The target dialog's "上書きする" as last answered: files of the target that the
  // archive also holds are replaced. ChooseTarget sets it (a test's replacement may too).
  bool UnpackOverwrites = false;
  // The name prompts (caption, prompt, history section, initial text); tests replace it.
  std::function<std::optional<QString>(const QString&, const QString&, const std::string&, const QString&)> AskName;

 private:
  void LhaUnpack(const char* word);
  std::optional<QString> DefaultChooseTarget(const QString& archive);
  QString Quoted() const;
  std::string Quoted(const QString& path) const;
  void Warn(const QString& text);
  // Runs `work` on a worker thread while the window keeps painting (user input waits);
  // past a moment the progress window says what is going on, with how far the work has
  // come and a Cancel button that sets `progress`'s cancel when the work reports into
  // one. Exceptions come back here.
  template <typename Work>
  auto WhileWorking(const QString& what, const QString& path, Work work, HaruviProgress* progress = nullptr)
      -> decltype(work());

  archive::LhaBinding lha_;
};

}  // namespace haruvi::controllers
