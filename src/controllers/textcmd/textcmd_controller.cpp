// TextCmdController: the commands' actions and pop-up copies, the undo item and the frame
// the handlers start from. The handlers are in line_commands.cpp and column_commands.cpp.
#include "controllers/textcmd/textcmd_controller.h"

#include <QAction>
#include <QMenu>

#include "ui/shown_text.h"
#include "ui/action_registry.h"
#include "viewer/text_pane.h"

namespace haruvi::controllers {
namespace {

struct Item {
  ui::ActionItem action;
  void (TextCmdController::*handler)();
};

// Every command in menu order. Each has a pop-up copy named like it with "P" added.
const Item kItems[] = {
    {{"Mundo", "元に戻す(&U)", "元に戻す|テキスト処理を戻します。"}, &TextCmdController::MundoClick},
    {{"MLineSortU1", "昇順", "昇順|行を昇順に並び替えます。"}, &TextCmdController::MLineSortU1Click},
    {{"MLineSortD1", "降順", "降順|行を降順に並び替えます。"}, &TextCmdController::MLineSortD1Click},
    {{"MlinenoaddLeft1", "行頭", "行番号|行頭に行番号を追加します。"}, &TextCmdController::MlinenoaddLeft1Click},
    {{"MlinenoaddLeftc1", "行頭（，）", "行番号|行頭に行番号とカンマを追加します。"},
     &TextCmdController::MlinenoaddLeftc1Click},
    {{"MlinenoaddRight1", "行末", "行番号|行末に行番号を追加します。"}, &TextCmdController::MlinenoaddRight1Click},
    {{"MlinenoaddRightc1", "（，）行末", "行番号|行末にカンマと行番号を追加します。"},
     &TextCmdController::MlinenoaddRightc1Click},
    {{"Mrenban1", "連番を追加", "連番|行頭に書式を付けた連番を追加します。"}, &TextCmdController::Mrenban1Click},
    {{"Mreverse1", "文字列リバース", "リバース|各行の文字を逆の順に並べます。"}, &TextCmdController::Mreverse1Click},
    {{"Mupperlinecopy1", "行を下に複写", "行の複写|カーソルのある行を下に複写します。"},
     &TextCmdController::Mupperlinecopy1Click},
    {{"MinsertCR1", "改行", "桁位置で改行|指定した桁位置で行を改行します。"}, &TextCmdController::MinsertCR1Click},
    {{"MinsertChr1", "文字＋改行", "桁位置に文字＋改行|指定した桁位置に文字を挿入して改行します。"},
     &TextCmdController::MinsertChr1Click},
    {{"MinsertChar1", "文字", "桁位置に文字|指定した桁位置に文字を挿入します。"}, &TextCmdController::MinsertChar1Click},
    {{"Mcolumncopy1", "桁抽出", "桁抽出|指定した桁の範囲を抜き出します。"}, &TextCmdController::Mcolumncopy1Click},
    {{"Monelinedelete1", "１行削除", "１行削除|カーソルのある行を削除します。"},
     &TextCmdController::Monelinedelete1Click},
    {{"MtrimL1", "行頭", "空白削除|行頭の空白を削除します。"}, &TextCmdController::MtrimL1Click},
    {{"MtrimR1", "行末", "空白削除|行末の空白を削除します。"}, &TextCmdController::MtrimR1Click},
    {{"Mall1bytetrim1", "全て－1バイト", "空白削除|全ての1バイト空白を削除します。"},
     &TextCmdController::Mall1bytetrim1Click},
    {{"Mall2bytetrim1", "全て－2バイト", "空白削除|全ての2バイト空白を削除します。"},
     &TextCmdController::Mall2bytetrim1Click},
    {{"Malltabdelete1", "全てのTAB", "TAB削除|全てのTAB文字を削除します。"}, &TextCmdController::Malltabdelete1Click},
    {{"Mtoptabdelete1", "行頭のTAB", "TAB削除|行頭のTAB文字を削除します。"}, &TextCmdController::Mtoptabdelete1Click},
    {{"Mcrdel", "改行コードを削除", "改行削除|選択範囲(なければ全体)の改行コードを削除します。"},
     &TextCmdController::McrdelClick},
    {{"Mtrim1", "空行を削除", "空行削除|空行を削除します。"}, &TextCmdController::Mtrim1Click},
    {{"Msameline1", "同じ行を削除", "同じ行削除|続いて同じ内容の行を１行にします。"}, &TextCmdController::Msameline1Click},
    {{"Mopacdelete", "同じ項目削除", "同じ項目削除|行頭の項目が前の行と同じ行を削除します。"},
     &TextCmdController::MopacdeleteClick},
    {{"Mcolumndelete1", "桁削除", "桁削除|指定した桁の範囲を削除します。"}, &TextCmdController::Mcolumndelete1Click},
    {{"Mtextotxt2", "TeXタグ削除", "TeXタグ削除|TeXのコマンドを削除します。"}, &TextCmdController::Mtextotxt1Click},
    {{"Mcrauto1", "改行コード自動変換", "改行コード変換|ファイルの改行コードをCR+LFにして表示します。"},
     &TextCmdController::Mcrauto1Click},
    {{"MCRtoCRLF1", "CR->CR+LF", "改行コード変換|ファイルのCRをCR+LFにして表示します。"},
     &TextCmdController::MCRtoCRLF1Click},
    {{"MLFtoCRLF1", "LF->CR+LF", "改行コード変換|ファイルのLFをCR+LFにして表示します。"},
     &TextCmdController::MLFtoCRLF1Click},
    {{"MCRLFtoCR1", "CR+LF->CR", "改行コード変換|ファイルのCR+LFをCRにして表示します。"},
     &TextCmdController::MCRLFtoCR1Click},
    {{"MLFtoCR1", "LF->CR", "改行コード変換|ファイルのLFをCRにして表示します。"}, &TextCmdController::MLFtoCR1Click},
    {{"MCRLFtoLF1", "CR+LF->LF", "改行コード変換|ファイルのCR+LFをLFにして表示します。"},
     &TextCmdController::MCRLFtoLF1Click},
    {{"MCRtoLF1", "CR->LF", "改行コード変換|ファイルのCRをLFにして表示します。"}, &TextCmdController::MCRtoLF1Click},
    {{"Mtabtospace1", "空白", "TAB変換|TAB文字を空白にします。"}, &TextCmdController::Mtabtospace1Click},
    {{"Mtabtocomma1", "，(ｶﾝﾏ)", "TAB変換|TAB文字をカンマにします。"}, &TextCmdController::Mtabtocomma1Click},
    {{"Mtabtounderscore1", "＿(ｱﾝﾀﾞｰｽｺｱ)", "TAB変換|TAB文字をアンダースコアにします。"},
     &TextCmdController::Mtabtounderscore1Click},
    {{"M2byteto1bytenull1", "2バイト空白->1バイト", "空白変換|2バイト空白を1バイト空白２つにします。"},
     &TextCmdController::M2byteto1bytenull1Click},
    {{"Mhanktozen1", "半角->全角", "全角変換|半角の英数字・記号・カナを全角にします。"},
     &TextCmdController::Mhanktozen1Click},
    {{"Mzentohank1", "全角->半角", "半角変換|全角の英数字・記号・かなを半角にします。"},
     &TextCmdController::Mzentohank1Click},
    {{"Mhkanatozkana1", "半角ｶﾅ->全角カナ", "カナ変換|半角カナを全角カナにします。"},
     &TextCmdController::Mhkanatozkana1Click},
    {{"Mhtml", "標準削除", "htmlタグ削除|htmlのタグを削除してテキストにします。"}, &TextCmdController::MhtmlClick},
    {{"Mhtmlall", "html->テキスト抽出(＋TAB，行頭空白，空行削除)",
      "html->テキスト|タグの後、TAB・行頭空白・空行も削除します。"},
     &TextCmdController::MhtmlallClick},
    {{"html2", "html->テキスト抽出(＋TAB，空行削除)", "html->テキスト|タグの後、TAB・空行も削除します。"},
     &TextCmdController::html2Click},
    {{"htmlTAB1", "html->テキスト抽出(＋空行削除)", "html->テキスト|タグの後、空行も削除します。"},
     &TextCmdController::htmlTAB1Click},
    {{"Mtextotxt1", "TeX->テキスト", "TeX->テキスト|TeXのコマンドを削除してテキストにします。"},
     &TextCmdController::Mtextotxt1Click},
    {{"MlineCSVa", "\"+,", "CSV変換|行を\"で囲みカンマで区切って１行にまとめます。"}, &TextCmdController::MlineCSVaClick},
    {{"MlineCSVb", "'+,", "CSV変換|行を'で囲みカンマで区切って１行にまとめます。"}, &TextCmdController::MlineCSVbClick},
    {{"MlineCSVc", "+,", "CSV変換|行をカンマで区切って１行にまとめます。"}, &TextCmdController::MlineCSVcClick},
    {{"MlineCSVd", "(TAB)", "CSV変換|行をTABで区切って１行にまとめます。"}, &TextCmdController::MlineCSVdClick},
    {{"MlineCSVf", "(空白)", "CSV変換|行を空白で区切って１行にまとめます。"}, &TextCmdController::MlineCSVfClick},
    {{"MlineCSVe", "(区切り文字なし)", "CSV変換|行を区切らずに１行にまとめます。"}, &TextCmdController::MlineCSVeClick},
    {{"MlineCSVh", "(16進文字)", "CSV変換|行を16進で指定した文字で区切って１行にまとめます。"},
     &TextCmdController::MlineCSVhClick},
    {{"MlineCSVg", "(任意の文字)", "CSV変換|行を指定した文字で区切って１行にまとめます。"},
     &TextCmdController::MlineCSVgClick},
};

}  // namespace

TextCmdController::TextCmdController(ui::WindowContext& ctx, QObject* parent)
    : Controller(ctx, parent), dialogs_(std::make_unique<TextCmdDialogs>()) {
  ui::ActionRegistry& a = ctx.Actions();
  for (const Item& item : kItems) {
    QAction* action = a.Declare(item.action, [this, h = item.handler] { (this->*h)(); });
    a.Twin(action->objectName(), action->objectName() + QLatin1Char('P'));
  }
  // The tool button "htmlタグ削除" strips as "標準削除" does.
  a.Declare({"ToolButton51", "htmlタグ削除", "htmlタグ削除|htmlのタグを削除してテキストにします。"},
            [this] { MhtmlClick(); });
  undo_action_ = a.Get(QStringLiteral("Mundo"));
  connect(&ctx.Text(), &ui::ShownText::UndoChanged, this, &TextCmdController::UpdateUndo);
  connect(&ctx.Text().View(), &viewer::TextPane::TextEdited, this, &TextCmdController::UpdateUndo);
  UpdateUndo();
}

TextCmdController::~TextCmdController() = default;

void TextCmdController::SetDialogs(std::unique_ptr<TextCmdDialogs> dialogs) { dialogs_ = std::move(dialogs); }

void TextCmdController::WatchMenus(QMenu* edit, QMenu* popup_edit) {
  for (QMenu* m : {edit, popup_edit})
    if (m) connect(m, &QMenu::aboutToShow, this, &TextCmdController::Medit1Click);
}

void TextCmdController::Medit1Click() { UpdateUndo(); }

void TextCmdController::UpdateUndo() { undo_action_->setEnabled(ctx().Text().CanUndo()); }

CommandFrame TextCmdController::Frame(Way way) { return CommandFrame(ctx(), *dialogs_, way); }

void TextCmdController::MundoClick() {
  if (!ctx().Text().CanUndo()) return;
  ctx().Text().Undo();  // the line turns red
  UpdateUndo();
}

}  // namespace haruvi::controllers
