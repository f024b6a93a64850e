// The two tool bars' buttons and their configuration: each button runs its command by
// name through the registry, shows as its settings key says ("ToolBar1"/"ToolBar2",
// dividers included) and is chosen in the dialog TForm21 ("ツールボタンの設定(&E)").
#pragma once

#include <QString>
#include <map>

#include "controllers/toolbar/tool_buttons.h"
#include "ui/controller.h"

class QAction;
class QToolBar;

namespace haruvi::controllers {

class ToolbarController : public ui::Controller {
  Q_OBJECT

 public:
  explicit ToolbarController(ui::WindowContext& ctx, QObject* parent = nullptr);

  std::vector<platform::KeyInfo> Keys() const override;
  // Applies every button's key, dividers included.
  void iniload() override;
  // Puts the buttons on both bars (once both exist); the text bar's first button is the
  // window's own.
  void FillBars();

  void MtoolbarsetClick();
  // Shows or hides one button of ToolBar1 / ToolBar2 and lays the bar out anew.
  void toolbtnset(const QString& button, bool visible);
  void toolbtnset2(const QString& button, bool visible);
  // After the dialog's OK: every configurable button as its key now says.
  void ApplyChosen();

  // The bar's action of a button (nullptr before FillBars or for an unknown name).
  QAction* Button(const QString& name) const;
  // Every button of both bars, the placed commands' included (tool_buttons.h).
  std::vector<toolbar::ToolButtonInfo> Buttons() const;

 private:
  void Populate(QToolBar& bar, int which);
  void SetButton(int bar, const QString& button, bool visible);

  std::map<QString, QAction*> buttons_;  // "1/ToolButton36" -> its action on the bar
};

}  // namespace haruvi::controllers
