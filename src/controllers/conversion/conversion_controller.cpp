#include "controllers/conversion/conversion_controller.h"

#include <sys/stat.h>

#include <QAction>
#include <QMenu>
#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/disk_path.h"
#include "encoding/char_code.h"
#include "encoding/crlf_lines.h"
#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "ui/messages.h"
#include "viewer/file_display.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

using Handler = void (ConversionController::*)();

struct Item {
  ui::ActionItem action;
  const char* twin;  // the pop-up copy
  Handler handler;
};

// The submenu's items in menu order; the first nine are enabled by the detected code.
const Item kItems[] = {
    {{"Mtojis1", "文字コード自動変換(&A)", "文字コード(T)|文字コード変換をします。"}, nullptr,
     &ConversionController::Mtojis1Click},
    {{"Mjistosjis", "JIS->Shift+JIS(&J)", "JIS->Shift+JIS|JISをShift+JISに変換します。"}, "Mjistosjis3",
     &ConversionController::MjistosjisClick},
    {{"Meuctosjis", "EUC->Shift+JIS(&E)", "EUC->Shift+JIS|EUCをShift+JISに変換します。"}, "Meuctosjis3",
     &ConversionController::MeuctosjisClick},
    {{"Msjistojis1", "Shift+JIS->JIS(&I)", "Shift+JIS->JIS|Shift+JISをJISに変換します。"}, "Msjistojis2",
     &ConversionController::Msjistojis1Click},
    {{"Meuctojis1", "EUC->JIS(&U)", "EUC->JIS|EUCをJISに変換します。"}, "Meuctojis2",
     &ConversionController::Meuctojis1Click},
    {{"Msjistoeuc1", "Shift+JIS->EUC(&C)", "Shift+JIS->EUC|Shift+JISをEUCに変換します。"}, "Msjistoeuc2",
     &ConversionController::Msjistoeuc1Click},
    {{"Mjistoeuc1", "JIS->EUC(&S)", "JIS->EUC|JISをEUCに変換します。"}, "Mjistoeuc2",
     &ConversionController::Mjistoeuc1Click},
    {{"Mbase641", "->Base64(&B)", "->Base64|Base64に変換します。"}, "MBase642", &ConversionController::Mbase641Click},
    {{"Mmailheader1", "->Mailヘッダー形式(&M)", "->Mailヘッダー形式|メールヘッダーの形式に変換します。"},
     "Mmailheader2", &ConversionController::Mmailheader1Click},
    {{"Mbase64D1", "Base64->", "Base64->|Base64を元に戻します。"}, "Mbase64D2", &ConversionController::Mbase64D1Click},
    {{"MmailheaderD1", "Mailヘッダー形式->", "Mailヘッダー形式->|メールヘッダーの形式を元に戻します。"},
     "MmailheaderD2", &ConversionController::MmailheaderD1Click},
    {{"Municode1", "->Unicode", "->Unicode|uuencodeの形式に変換します。"}, "Municode2",
     &ConversionController::Municode1Click},
    {{"MUnicodeD1", "Unicode->", "Unicode->|uuencodeの形式を元に戻します。"}, "MUnicodeD2",
     &ConversionController::MUnicodeD1Click},
    {{"Mbinhex1", "->BinHex", "->BinHex|BinHexの形式に変換します。"}, "Mbinhex2", &ConversionController::Mbinhex1Click},
    {{"MBinHexD1", "BinHex->", "BinHex->|BinHexの形式を元に戻します。"}, "MBinHexD2",
     &ConversionController::MBinHexD1Click},
};
constexpr int kFitted = 9;

// "Unicode変換(&U)", whatever the detected code.
const Item kUnicodeItems[] = {
    {{"Msjistoutf8", "Shift+JIS->UTF-8", "Shift+JIS->UTF-8|Shift+JISをUTF-8に変換します。"}, "Msjistoutf82",
     &ConversionController::Msjistoutf8Click},
    {{"Mutf8tosjis", "UTF-8->Shift+JIS", "UTF-8->Shift+JIS|UTF-8をShift+JISに変換します。"}, "Mutf8tosjis2",
     &ConversionController::Mutf8tosjisClick},
    {{"Meuctoutf8", "EUC->UTF-8", "EUC->UTF-8|EUCをUTF-8に変換します。"}, "Meuctoutf82",
     &ConversionController::Meuctoutf8Click},
    {{"Mutf8toeuc", "UTF-8->EUC", "UTF-8->EUC|UTF-8をEUCに変換します。"}, "Mutf8toeuc2",
     &ConversionController::Mutf8toeucClick},
    {{"Mjistoutf8", "JIS->UTF-8", "JIS->UTF-8|JISをUTF-8に変換します。"}, "Mjistoutf82",
     &ConversionController::Mjistoutf8Click},
    {{"Mutf8tojis", "UTF-8->JIS", "UTF-8->JIS|UTF-8をJISに変換します。"}, "Mutf8tojis2",
     &ConversionController::Mutf8tojisClick},
    {{"Mutf16toutf8", "UTF-16->UTF-8", "UTF-16->UTF-8|UTF-16をUTF-8に変換します。"}, "Mutf16toutf82",
     &ConversionController::Mutf16toutf8Click},
    {{"Mutf8toutf16", "UTF-8->UTF-16", "UTF-8->UTF-16|UTF-8をUTF-16 (BOM付き)に変換します。"}, "Mutf8toutf162",
     &ConversionController::Mutf8toutf16Click},
};

// Which of the nine fit a code: auto, JIS->SJIS, EUC->SJIS, SJIS->JIS, EUC->JIS,
// SJIS->EUC, JIS->EUC, Base64, mail header.
std::array<bool, kFitted> FitFor(encoding::TCharCode code) {
  switch (code) {
    case encoding::ccAscii: return {1, 1, 1, 1, 1, 1, 1, 1, 1};
    case encoding::ccBinary: return {};
    case encoding::ccJis83:
    case encoding::ccJis78: return {1, 1, 0, 0, 0, 0, 1, 1, 1};
    case encoding::ccEuc: return {1, 0, 1, 0, 1, 0, 0, 1, 1};
    case encoding::ccSjis: return {1, 0, 0, 1, 0, 1, 0, 1, 1};
    case encoding::ccEucOrSjis: return {1, 0, 1, 1, 1, 1, 0, 1, 1};
  }
  return {};
}

// The encoders exist to carry any file, binary ones included: they read its bytes as
// they are. Reading it as lines would end it at the first NUL byte and turn lone CRs and
// LFs into CR LF, so the decoded file would not be the file.
bool ReadsBytesAsTheyAre(encoding::TCodingOp op) {
  return op == encoding::coBase64Encode || op == encoding::coUuEncode || op == encoding::coBinHexEncode;
}

// The Unicode items that fit a text's form: each converts from it (or into UTF-8's
// neighbours from UTF-8).
std::vector<std::string_view> UnicodeItemsFor(encoding::TextForm form, encoding::TCharCode code) {
  switch (form) {
    case encoding::TextForm::Utf8:
    case encoding::TextForm::Utf8Bom: return {"Mutf8tosjis", "Mutf8toeuc", "Mutf8tojis", "Mutf8toutf16"};
    case encoding::TextForm::Utf16Le:
    case encoding::TextForm::Utf16Be: return {"Mutf16toutf8"};
    case encoding::TextForm::EucJp: return {"Meuctoutf8"};
    case encoding::TextForm::Jis: return {"Mjistoutf8"};
    case encoding::TextForm::Legacy: break;
  }
  switch (code) {
    case encoding::ccAscii: return {"Msjistoutf8", "Meuctoutf8", "Mjistoutf8"};
    case encoding::ccJis83:
    case encoding::ccJis78: return {"Mjistoutf8"};
    case encoding::ccEuc: return {"Meuctoutf8"};
    case encoding::ccSjis: return {"Msjistoutf8"};
    case encoding::ccEucOrSjis: return {"Msjistoutf8", "Meuctoutf8"};
    case encoding::ccBinary: break;
  }
  return {};
}

}  // namespace

ConversionController::ConversionController(ui::WindowContext& ctx, QObject* parent) : Controller(ctx, parent) {
  ui::ActionRegistry& a = ctx.Actions();
  for (const Item& item : kItems) {
    QAction* action = a.Declare(item.action, [this, h = item.handler] { (this->*h)(); });
    if (item.twin) a.Twin(action->objectName(), QString::fromUtf8(item.twin));
    if (fitted_.size() < kFitted) fitted_.push_back(action);
  }
  for (const Item& item : kUnicodeItems) {
    a.Declare(item.action, [this, h = item.handler] { (this->*h)(); });
    a.Twin(QString::fromUtf8(item.action.name), QString::fromUtf8(item.twin));
  }
  // The pop-up's automatic item and the tool button have captions of their own.
  popup_auto_ = a.Declare({"Mtojis3", "自動変換(&A)", "文字コード(T)|文字コード変換をします。"}, [this] { Mtojis1Click(); });
  a.Declare({"ToolButton52", "文字コード", "文字コード(T)|文字コード変換をします。"}, [this] { Mtojis1Click(); });
}

void ConversionController::WatchMenus(QMenu* codes, QMenu* popup_codes) {
  if (codes) {
    connect(codes, &QMenu::aboutToShow, this, &ConversionController::Mcodehenkan1Click);
    connect(codes, &QMenu::aboutToHide, this, &ConversionController::EnableAll);
  }
  if (popup_codes) {
    connect(popup_codes, &QMenu::aboutToShow, this, &ConversionController::Mcodehenkan2Click);
    connect(popup_codes, &QMenu::aboutToHide, this, &ConversionController::EnableAll);
  }
}

void ConversionController::EnableByCode() {
  std::array<bool, kFitted> fit{};
  std::vector<std::string_view> unicode;
  const viewer::TextPane& pane = ctx().Text().View();
  if (!pane.IsEmpty()) {
    // The form the text is shown in says its code; only a text shown as its bytes is
    // looked at (an ISO-2022-JP text is held as EUC-JP, whose bytes would say "EUC").
    const encoding::TextForm form = pane.TextForm();
    const encoding::TCharCode code = form == encoding::TextForm::Jis     ? encoding::ccJis83
                                     : form == encoding::TextForm::EucJp ? encoding::ccEuc
                                     : encoding::IsUnicode(form)          ? encoding::ccBinary
                                                                          : encoding::DetectCharCode(pane.BytesView());
    fit = FitFor(code);
    // No Japanese code conversion reads a Unicode text: only the 7-bit codings apply.
    if (encoding::IsUnicode(form)) fit = {0, 0, 0, 0, 0, 0, 0, 1, 1};
    unicode = UnicodeItemsFor(form, code);
  }
  for (int i = 0; i < kFitted; ++i) fitted_[static_cast<size_t>(i)]->setEnabled(fit[static_cast<size_t>(i)]);
  popup_auto_->setEnabled(fit[0]);
  for (const Item& item : kUnicodeItems) {
    const bool on = std::find(unicode.begin(), unicode.end(), std::string_view(item.action.name)) != unicode.end();
    ctx().Actions().Get(QString::fromUtf8(item.action.name))->setEnabled(on);
  }
}

// Closed menus leave every item enabled, so the tool button, the key and the registry
// reach the commands whatever the menu last showed.
void ConversionController::EnableAll() {
  for (QAction* a : fitted_) a->setEnabled(true);
  popup_auto_->setEnabled(true);
  for (const Item& item : kUnicodeItems) ctx().Actions().Get(QString::fromUtf8(item.action.name))->setEnabled(true);
}

void ConversionController::Mcodehenkan1Click() { EnableByCode(); }

// The pop-up's copies follow their main items; this enables the main ones alike.
void ConversionController::Mcodehenkan2Click() { EnableByCode(); }

// The selected file's bytes; nullopt (and nothing said) when nothing regular is selected,
// or with *error set when reading failed.
std::optional<viewer::ByteBuffer> ConversionController::ReadSelected(std::string* error) {
  const std::string path = bridge::ToDisk(ctx().SelectedPath());
  struct stat st {};
  // Only a regular file is read: a FIFO or a device would block or never end.
  auto regular = [&] { return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode); };
  if (path.empty() || !regular()) return std::nullopt;
  // The converted file takes the place of the text: changes typed into it are asked about
  // (a save changes the file, so it is looked at again).
  if (!ctx().Text().MayLeave() || !regular()) return std::nullopt;
  std::optional<viewer::ByteBuffer> bytes = viewer::ReadWholeFile(path, static_cast<std::uint64_t>(st.st_size), error);
  return bytes;
}

void ConversionController::unicodeconvert(encoding::UnicodeOp op) {
  using encoding::UnicodeOp;
  std::string error;
  std::size_t missing = 0;
  {
    ui::BusyCursor busy;
    try {
      std::optional<viewer::ByteBuffer> bytes = ReadSelected(&error);
      if (!bytes && error.empty()) return;
      if (bytes) {
        std::string result = encoding::ConvertUnicode(op, bytes->view(), &missing);
        encoding::TextForm form = encoding::TextForm::Legacy;
        if (op == UnicodeOp::kSjisToUtf8 || op == UnicodeOp::kEucToUtf8 || op == UnicodeOp::kJisToUtf8 ||
            op == UnicodeOp::kUtf16ToUtf8) {
          form = encoding::TextForm::Utf8;
        } else if (op == UnicodeOp::kUtf8ToUtf16) {
          // The pane holds UTF-16 in its UTF-8 form; saving writes UTF-16 again.
          form = encoding::TextForm::Utf16Le;
          result = encoding::Utf16ToPaneUtf8(result, true);
        }
        ctx().Text().Replace(std::move(result), ui::TextOrigin::Converted, form);
      }
    } catch (const std::bad_alloc&) {
      error = "out of memory";
    }
  }
  if (!error.empty()) {
    ui::Warn(ctx().Window(), QStringLiteral("ファイルを読み込めませんでした。\n%1\n%2")
                                 .arg(ctx().SelectedPath(), QString::fromLocal8Bit(error.c_str())));
  } else if (missing > 0) {
    ui::Inform(ctx().Window(), QStringLiteral("%1 文字は変換先の文字コードにないため、代わりの文字にしました。").arg(missing));
  }
}

void ConversionController::Msjistoutf8Click() { unicodeconvert(encoding::UnicodeOp::kSjisToUtf8); }
void ConversionController::Mutf8tosjisClick() { unicodeconvert(encoding::UnicodeOp::kUtf8ToSjis); }
void ConversionController::Meuctoutf8Click() { unicodeconvert(encoding::UnicodeOp::kEucToUtf8); }
void ConversionController::Mutf8toeucClick() { unicodeconvert(encoding::UnicodeOp::kUtf8ToEuc); }
void ConversionController::Mjistoutf8Click() { unicodeconvert(encoding::UnicodeOp::kJisToUtf8); }
void ConversionController::Mutf8tojisClick() { unicodeconvert(encoding::UnicodeOp::kUtf8ToJis); }
void ConversionController::Mutf16toutf8Click() { unicodeconvert(encoding::UnicodeOp::kUtf16ToUtf8); }
void ConversionController::Mutf8toutf16Click() { unicodeconvert(encoding::UnicodeOp::kUtf8ToUtf16); }

void ConversionController::fileconvert(encoding::TCodingOp op) {
  const QString selected = ctx().SelectedPath();
  std::string error;
  {
    ui::BusyCursor busy;
    try {
      std::optional<viewer::ByteBuffer> bytes = ReadSelected(&error);
      if (!bytes && error.empty()) return;
      if (bytes) {
        std::string_view text = bytes->view();
        std::string lines;
        if (!ReadsBytesAsTheyAre(op) && !encoding::IsJoinedWithCrLf(text))
          text = lines = encoding::JoinLinesWithCrLf(text);
        std::string result = encoding::ApplyCodingOp(op, text);
        ctx().Text().Replace(std::move(result), ui::TextOrigin::Converted, encoding::TextForm::Legacy);
        return;
      }
    } catch (const std::bad_alloc&) {
      error = "out of memory";
    }
  }
  // The pane keeps what it showed.
  ui::Warn(ctx().Window(), QStringLiteral("ファイルを読み込めませんでした。\n%1\n%2")
                               .arg(selected, QString::fromLocal8Bit(error.c_str())));
}

void ConversionController::MjistosjisClick() { fileconvert(encoding::coJisToSjis); }
void ConversionController::MeuctosjisClick() { fileconvert(encoding::coEucToSjis); }
void ConversionController::Msjistojis1Click() { fileconvert(encoding::coSjisToJis); }
void ConversionController::Meuctojis1Click() { fileconvert(encoding::coEucToJis); }
void ConversionController::Msjistoeuc1Click() { fileconvert(encoding::coSjisToEuc); }
void ConversionController::Mjistoeuc1Click() { fileconvert(encoding::coJisToEuc); }
void ConversionController::Mbase641Click() { fileconvert(encoding::coBase64Encode); }
void ConversionController::Mmailheader1Click() { fileconvert(encoding::coMimeHeaderEncode); }
void ConversionController::Mbase64D1Click() { fileconvert(encoding::coBase64Decode); }
void ConversionController::Municode1Click() { fileconvert(encoding::coUuEncode); }
void ConversionController::MUnicodeD1Click() { fileconvert(encoding::coUuDecode); }
void ConversionController::Mbinhex1Click() { fileconvert(encoding::coBinHexEncode); }
void ConversionController::MBinHexD1Click() { fileconvert(encoding::coBinHexDecode); }
void ConversionController::MmailheaderD1Click() { fileconvert(encoding::coMimeHeaderDecode); }
void ConversionController::Mtojis1Click() { fileconvert(encoding::coAutoToSjis); }

}  // namespace haruvi::controllers
