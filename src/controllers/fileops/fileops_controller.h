// The file commands of "ファイル(&F)": copy, move, delete (to the trash or for good),
// rename, duplicate, attributes, make folder, format and disk copy (refused: the system
// has its own tools), drag copy onto a folder node, files dropped on the window, saving
// the names shown, copying a path, split and merge. The work is fileops' (TSHFOP, split
// and merge), run through an OpRunner so the window never freezes.
#pragma once

#include <QStringList>
#include <array>
#include <functional>
#include <optional>

#include "dialogs/target_dialog.h"
#include "fileops/shfop.h"
#include "platform/setting_key.h"
#include "ui/controller.h"

class QEvent;

namespace haruvi::controllers {

class FileOpsController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "fileops";

  explicit FileOpsController(ui::WindowContext& ctx, QObject* parent = nullptr);

  void MfilecopyClick();
  void MfilemoveClick();
  void MfiledeleteClick();
  void MydClick();
  void MrenameClick();
  void MfilefukiseiClick();
  void MpropatyClick();
  void MmkdirClick();
  void MformatClick();
  void Mdiskcopy1Click();
  void MfoldersaveClick();
  void Mfilenamesave1Click();
  void Mfilenamesave2Click();
  void Mfilenamecopy1Click();
  void MfiledivClick();
  void MfilemergeClick();
  // Dragging from the file list onto a folder node: only the file list is accepted.
  bool FolderView1DragOver(bool from_file_view) const { return from_file_view; }
  // The drop on the node of `target` (the folder's path).
  void FolderView1DragDrop(const QString& target, bool from_file_view);
  // Files dropped on the window from another program.
  void DropFiles(const QStringList& paths);

  const fileops::TSHFOP& SHFOP1() const { return shfop_; }

  // The dialogs' answers without dialogs (tests answer them; nullptr opens the dialog).
  struct Prompts {
    std::function<std::optional<QString>(dialogs::TForm2::Operation, const QStringList& sources)> target;
    std::function<std::optional<QString>(const QString& caption, const QString& prompt, const QString& initial)> text;
    std::function<bool(const QString& question)> confirm;
    std::function<QString(const QString& title, const QString& name)> save_name;
    std::function<QString(const QString& path, qint64 size)> split_size;  // TForm17's result
    // TForm20: the joining order and the target name, or nullopt for Cancel.
    std::function<std::optional<std::pair<QStringList, QString>>(const QStringList& captions)> merge;
    // TForm5: R, A, S, H as checked on OK, or nullopt for Cancel.
    std::function<std::optional<std::array<bool, 4>>(const std::array<bool, 4>& now)> attributes;
  };
  static inline Prompts prompts;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool CurrentIsFile() const;
  bool Checked(const char* name) const;
  std::optional<QString> AskText(const QString& caption, const QString& prompt, const QString& initial);
  bool Confirm(const QString& question);
  // Runs the engine; on failure says `failure` with the problems the engine listed.
  bool RunShfop(const QString& failure_hint);
  // Asks for the target folder and runs the prepared operation there (nothing when it is
  // the shown folder); nullopt when the question was cancelled. The sources are cleared.
  std::optional<QString> RunToTarget(dialogs::TForm2::Operation op, const QStringList& selected,
                                     const QString& failure_hint, bool* ok);
  void SaveLines(const QString& title, const QStringList& lines, bool report);
  void ReportProblems(const QString& headline);

  fileops::TSHFOP shfop_;
};

}  // namespace haruvi::controllers
