// The code conversions of "文字コード変換(&J)": `fileconvert` reads the selected file,
// applies one numbered conversion or coding and shows the result (the label blue); the
// submenus enable the conversions that fit the code detected in the pane when they open.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "encoding/jis_convert.h"
#include "encoding/unicode_convert.h"
#include "ui/controller.h"
#include "viewer/byte_buffer.h"

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

  // The Unicode conversions of "Unicode変換(&U)": the selected file's bytes as they are,
  // converted, shown in the pane in the form they now are; what the target cannot hold
  // is counted and said.
  void unicodeconvert(encoding::UnicodeOp op);
  void Msjistoutf8Click();
  void Mutf8tosjisClick();
  void Meuctoutf8Click();
  void Mutf8toeucClick();
  void Mjistoutf8Click();
  void Mutf8tojisClick();
  void Mutf16toutf8Click();
  void Mutf8toutf16Click();

 private:
  // The nine items whose enabling follows the detected code, in the order of the table
  // that enables them; the pop-up's copies follow their main items.
  void EnableByCode();
  void EnableAll();
  std::optional<viewer::ByteBuffer> ReadSelected(std::string* error);

  std::vector<QAction*> fitted_;  // Mtojis1, Mjistosjis, ... Mmailheader1
  QAction* popup_auto_ = nullptr;  // Mtojis3, captioned apart from Mtojis1
};

}  // namespace haruvi::controllers
