// The tool-button table of both bars.
#include "controllers/toolbar/tool_buttons.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

#include "ui/placement.h"

namespace haruvi::controllers::toolbar {
namespace {

// Icon names of the freedesktop naming scheme; the symbolic (scalable) form is taken
// first so that every button comes from one set and stays sharp at any scale.
constexpr ToolButtonInfo kButtons[] = {
    {1, "ToolButton36", "印刷", "document-print", "Mprint"},
    {1, "ToolButton35", "印刷設定", "document-page-setup", "Mprintset"},
    {1, "ToolButton31", "", "", ""},
    {1, "ToolButton4", "コピー", "edit-copy", "Mfilecopy"},
    {1, "ToolButton5", "移動", "go-next", "Mfilemove"},
    {1, "ToolButton3", "削除", "edit-delete", "Mfiledelete"},
    {1, "ToolButton6", "名前の変更", "insert-text", "Mrename"},
    {1, "ToolButton40", "属性変更", "document-properties", "Mpropaty"},
    {1, "ToolButton18", "", "", ""},
    {1, "ToolButton38", "ドライブ", "drive-harddisk", "Mdrivem"},
    {1, "ToolButton55", "上へ", "go-up", "ToolButton55"},
    {1, "ToolButton11", "登録フォルダー", "bookmark-new", "ToolButton11"},
    {1, "ToolButton41", "フォルダー", "folder", "Mfolderm"},
    {1, "ToolButton12", "拡張子", "edit-find", "Mmask"},
    {1, "ToolButton46", "並び替え", "view-sort-ascending", "Mfilesort1"},
    {1, "ToolButton15", "", "", ""},
    {1, "ToolButton13", "大きいアイコン", "view-grid", "Micon1"},
    {1, "ToolButton22", "小さいアイコン", "view-app-grid", "Micon2"},
    {1, "ToolButton27", "一覧", "view-list", "Micon3"},
    {1, "ToolButton28", "詳細", "view-list-bullet", "Micon4"},
    {1, "ToolButton29", "", "", ""},
    {1, "ToolButton30", "エディター", "accessories-text-editor", "Mediter"},
    {1, "ToolButton34", "実行", "system-run", "Mfileexe"},
    {1, "ToolButton1", "", "", ""},
    {1, "ToolButton42", "書庫解凍", "folder-download", "Marcunpack1"},
    {1, "ToolButton43", "書庫作成", "package-x-generic", "MlhaP"},
    {1, "ToolButton44", "書庫内一覧", "emblem-documents", "Marclist1"},
    {1, "ToolButton45", "", "", ""},
    {1, "ToolButton8", "ヘルプ", "help-browser", "Mhelp"},
    {1, "ToolButton2", "終了", "application-exit", "Mexit1"},
    {1, "ToolButton37", "", "", ""},
    {2, "ToolButton9", "", "", ""},
    {2, "ToolButton49", "表示", "document-open", "ToolButton49"},
    {2, "ToolButton17", "テキストの再表示", "view-refresh", "Mtextrepaint1"},
    {2, "ToolButton50", "", "", ""},
    {2, "ToolButton10", "切り取り", "edit-cut", "Mcut"},
    {2, "ToolButton14", "コピー", "edit-copy", "Mcopy1"},
    {2, "ToolButton19", "貼り付け", "edit-paste", "Mpast"},
    {2, "ToolButton21", "削除", "edit-delete", "Mtextdelete"},
    {2, "ToolButton23", "", "", ""},
    {2, "ToolButton54", "上書き保存", "document-save", "MToversave1"},
    {2, "ToolButton20", "名前をつけて保存", "document-save-as", "MTsave1"},
    {2, "ToolButton16", "", "", ""},
    {2, "ToolButton25", "文頭", "go-top", "Mlinetop1"},
    {2, "ToolButton26", "文末", "go-bottom", "Mlinebottom1"},
    {2, "ToolButton33", "検索", "edit-find", "ToolButton33"},
    {2, "ToolButton53", "置換", "edit-find-replace", "ToolButton53"},
    {2, "ToolButton48", "URL", "web-browser", "Murl"},
    {2, "ToolButton52", "文字コード", "preferences-desktop-locale", "ToolButton52"},
    {2, "ToolButton24", "", "", ""},
    {2, "ToolButton7", "簡易編集", "input-keyboard", "MediterRich"},
    {2, "ToolButton39", "折り返し", "format-justify-fill", "ToolButton39"},
    {2, "ToolButton32", "", "", ""},
};

}  // namespace

const ToolButtonInfo* ToolButtons(std::size_t* count) {
  *count = std::size(kButtons);
  return kButtons;
}

std::vector<ToolButtonInfo> BarButtons(const std::vector<ui::Placement>& places) {
  std::vector<ToolButtonInfo> buttons(std::begin(kButtons), std::end(kButtons));
  for (const ui::Placement& p : places) {
    const ui::ToolButtonPlace& b = p.button;
    if (b.bar == 0) continue;
    auto after = std::find_if(buttons.begin(), buttons.end(),
                              [&](const ToolButtonInfo& x) { return x.bar == b.bar && x.name == b.after; });
    if (after == buttons.end())
      throw std::logic_error(std::string(b.name) + " follows no button " + b.after);
    buttons.insert(after + 1, ToolButtonInfo{b.bar, b.name, b.entry, b.icon, p.ButtonAction()});
  }
  return buttons;
}

platform::BoolKey ButtonKey(const ToolButtonInfo& b) {
  return platform::Bool(kOwner, b.bar == 1 ? "ToolBar1" : "ToolBar2", b.name, "1");
}

}  // namespace haruvi::controllers::toolbar
