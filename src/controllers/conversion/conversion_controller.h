// The code conversions of "文字コード変換(&J)": `fileconvert` reads the selected file,
// applies one numbered conversion or coding and shows the result (the label blue); the
// submenus enable the conversions that fit the code detected in the pane when they open.
#pragma once

#include <QString>
#include <vector>

#include "encoding/jis_convert.h"
#include "ui/controller.h"

class QAction;
class QMenu;

namespace haruvi::controllers {

class ConversionController : public ui::Controller {
  Q_OBJECT

 public:
  explicit ConversionController(ui::WindowContext& ctx, QObject* parent = nullptr);

  // Nothing is kept between runs: each conversion starts again from the file.
  std::vector<platform::KeyInfo> Keys() const override { return {}; }

  // The main menu's "文字コード変換(&J)" and the pop-up's copy (PopupMenu3).
  void WatchMenus(QMenu* codes, QMenu* popup_codes);

  void fileconvert(encoding::TCodingOp op);
  void Mcodehenkan1Click();
  void Mcodehenkan2Click();

  void MjistosjisClick();
  void MeuctosjisClick();
  void Msjistojis1Click();
  void Meuctojis1Click();
  void Msjistoeuc1Click();
  void Mjistoeuc1Click();
  void Mbase641Click();
  void Mmailheader1Click();
  void Mbase64D1Click();
  void Municode1Click();
  void MUnicodeD1Click();
  void Mbinhex1Click();
  void MBinHexD1Click();
  void MmailheaderD1Click();
  void Mtojis1Click();

 private:
  // The nine items whose enabling follows the detected code, in the order of the table
  // that enables them; the pop-up's copies follow their main items.
  void EnableByCode();
  void EnableAll();

  std::vector<QAction*> fitted_;  // Mtojis1, Mjistosjis, ... Mmailheader1
  QAction* popup_auto_ = nullptr;  // Mtojis3, captioned apart from Mtojis1
};

}  // namespace haruvi::controllers
