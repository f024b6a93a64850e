// Simple editing: switching the pane between viewing and simple edit, the clipboard and
// navigation commands of "編集(&E)" and the text tool bar, the caret's line and column on
// the text status bar, and handing the selected file to the editor or its application.
#pragma once

#include "platform/setting_key.h"
#include "ui/controller.h"

class QAction;
class QMenu;

namespace haruvi::controllers {

class EditController : public ui::Controller {
  Q_OBJECT

 public:
  static constexpr std::string_view kOwner = "edit";
  static constexpr auto kEditer = platform::Str(kOwner, "Editer", "Editer", "", platform::KeyRule::MaxBytes, 0, 4096);

  explicit EditController(ui::WindowContext& ctx, QObject* parent = nullptr);
  std::vector<platform::KeyInfo> Keys() const override { return {kEditer.info}; }
  void WatchMenu(QMenu* edit);

  void MediterRichClick();
  void Medit1Click();
  void McutClick();
  void Mcopy1Click();
  void MpastClick();
  void MtextdeleteClick();
  void MselectallClick();
  void MjumpClick();
  void Mlinetop1Click();
  void Mlinebottom1Click();
  void caretdisp();
  void MediterClick();
  void MfileexeClick();
  void MediterSetClick();

  // The line an answer of "指定行へジャンプ" goes to (from 0): no number is line 0, a number
  // past the end is the last line.
  static std::size_t JumpLine(const QString& answer, std::size_t line_count);

 private:
  void ShowMode(bool editing);
  void MarkChanged();
  QAction* mode_;
};

}  // namespace haruvi::controllers
