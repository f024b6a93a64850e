// The window's menus and tool bars, from the actions' names: the layout of the items is
// the window's; what they do is their controllers'.
#include "app/window_menus.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <initializer_list>
#include <stdexcept>
#include <string>

#include "ui/action_registry.h"

namespace haruvi::app {
namespace {

void Add(ui::ActionRegistry& actions, QMenu* m, std::initializer_list<const char*> names) {
  for (const char* n : names) {
    if (!*n) m->addSeparator();
    else m->addAction(actions.Get(QString::fromUtf8(n)));
  }
}

QMenu* Sub(QMenu* parent, const char* caption, const char* name) {
  QMenu* m = parent->addMenu(QString::fromUtf8(caption));
  m->setObjectName(QString::fromUtf8(name));
  return m;
}

// The commands placed in the menu-bar menu of `top`'s caption (ui/placement.h), in the
// order they were placed, or their pop-up copies: a submenu is made where the first of its
// commands stands, and the first of a group has a line above its entry.
void AddPlaced(ui::ActionRegistry& actions, QMenu* top, bool popup) {
  for (const ui::Placement& place : actions.Placements()) {
    const QStringList path = QString::fromUtf8(place.menu).split(QLatin1Char('/'));
    if (path.front() != top->title() || (popup && place.popup.isEmpty())) continue;
    QMenu* m = top;
    bool made = path.size() == 1;
    for (qsizetype i = 1; i < path.size(); ++i) {
      QMenu* sub = nullptr;
      for (QAction* a : m->actions())
        if (a->menu() && a->menu()->title() == path[i]) sub = a->menu();
      if (!sub) {
        if (i == 1 && place.group_start) m->addSeparator();
        sub = m->addMenu(path[i]);
        made = true;
      }
      m = sub;
    }
    if (path.size() == 1 && place.group_start) m->addSeparator();
    if (!made && place.group_start)
      throw std::logic_error(std::string(place.action) + " starts a group inside a submenu");
    m->addAction(actions.Get(popup ? place.popup : QString::fromUtf8(place.action)));
  }
}

// The entry of `top` that holds `a`: the action itself or the submenu it is in.
QAction* EntryOf(QMenu* top, QAction* a) {
  for (QAction* entry : top->actions())
    if (entry == a || (entry->menu() && entry->menu()->actions().contains(a))) return entry;
  throw std::logic_error("no entry holds " + a->objectName().toStdString());
}

// "編集(&E)", "削除(&K)" and "変換(&C)" (or their pop-up copies, `popup`): the text
// commands' places, with the code conversions ahead of them and the hex dump before the
// CSV join in "変換(&C)". `codes` is the code-conversion submenu to place.
void AddTextMenus(ui::ActionRegistry& actions, QMenu* edit, QMenu* del, QMenu* conv, QMenu* codes, bool popup) {
  for (QMenu* m : {edit, del, conv}) AddPlaced(actions, m, popup);
  QAction* first = conv->actions().value(0);
  conv->insertAction(first, actions.Get(QString::fromUtf8(popup ? "Mtojis3" : "Mtojis1")));
  conv->insertMenu(first, codes);
  auto* hex = new QMenu(QStringLiteral("16進表示(&P)"), conv);
  Add(actions, hex, popup ? std::initializer_list<const char*>{"Mdump1P", "Mdump1bP"}
                          : std::initializer_list<const char*>{"Mdump1", "Mdump1b"});
  conv->insertMenu(EntryOf(conv, actions.Get(QString::fromUtf8(popup ? "MlineCSVaP" : "MlineCSVa"))), hex);
}

// "文字コード変換(&J)": the conversions, then the codings; the pop-up copy has the items'
// twins.
QMenu* CodesMenu(QWidget* parent, ui::ActionRegistry& actions, bool popup) {
  auto* m = new QMenu(QStringLiteral("文字コード変換(&J)"), parent);
  m->setObjectName(QString::fromUtf8(popup ? "PopupMenu3" : "Mcodehenkan1"));
  m->menuAction()->setObjectName(QString::fromUtf8(popup ? "Mcodehenkan2" : "Mcodehenkan1"));
  if (popup) {
    Add(actions, m, {"Mtojis3", "Mjistosjis3", "Meuctosjis3", "Msjistojis2", "Meuctojis2", "Msjistoeuc2",
                     "Mjistoeuc2", "", "MBase642", "Mbase64D2", "Mmailheader2", "MmailheaderD2", "Municode2",
                     "MUnicodeD2", "Mbinhex2", "MBinHexD2", ""});
    Add(actions, Sub(m, "Unicode変換(&U)", "Municodeform2"),
        {"Msjistoutf82", "Mutf8tosjis2", "Meuctoutf82", "Mutf8toeuc2", "Mjistoutf82", "Mutf8tojis2", "",
         "Mutf16toutf82", "Mutf8toutf162"});
  } else {
    Add(actions, m, {"Mjistosjis", "Meuctosjis", "Msjistojis1", "Meuctojis1", "Msjistoeuc1", "Mjistoeuc1", "",
                     "Mbase641", "Mbase64D1", "Mmailheader1", "MmailheaderD1", "Municode1", "MUnicodeD1",
                     "Mbinhex1", "MBinHexD1", ""});
    Add(actions, Sub(m, "Unicode変換(&U)", "Municodeform1"),
        {"Msjistoutf8", "Mutf8tosjis", "Meuctoutf8", "Mutf8toeuc", "Mjistoutf8", "Mutf8tojis", "", "Mutf16toutf8",
         "Mutf8toutf16"});
  }
  return m;
}

}  // namespace

WindowMenus BuildWindowMenus(QMainWindow& window, ui::ActionRegistry& actions) {
  // The key menu closes with its own caption for exit.
  actions.Twin("Mexit1", "Mexit2")->setText(QStringLiteral("Haruviの終了(&Q)"));

  WindowMenus m;
  m.codes = CodesMenu(&window, actions, false);
  m.popup_codes = CodesMenu(&window, actions, true);
  QMenuBar* bar = window.menuBar();
  QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
  file->setObjectName(QStringLiteral("Mfile"));
  Add(actions, file, {"MTsave1", "MToversave1", "", "Mprint", "Mprintset", "Mprinter1", "", "Msend", "", "Mediter",
                      "Mfileexe", "", "Mfilecopy", "Mfilemove", "Mfiledelete", "Mrename", "Mfilefukisei", "Mpropaty",
                      "Mmkdir", "", "Mfilediv", "Mfilemerge", ""});
  Add(actions, Sub(file, "ファイル名の保存(&S)", "Mfilenamesave"), {"Mfilenamesave1", "Mfilenamesave2"});
  Add(actions, file, {"Mfoldersave", "Mfilenamecopy1", "", "Mformat", "Mdiskcopy1", "", "Mexit1"});
  m.edit = bar->addMenu(QStringLiteral("編集(&E)"));
  m.edit->setObjectName(QStringLiteral("Medit1"));
  QMenu* del = bar->addMenu(QStringLiteral("削除(&K)"));
  del->setObjectName(QStringLiteral("Mdelete1"));
  QMenu* conv = bar->addMenu(QStringLiteral("変換(&C)"));
  conv->setObjectName(QStringLiteral("Mhenkan1"));
  AddTextMenus(actions, m.edit, del, conv, m.codes, false);
  QMenu* find = bar->addMenu(QStringLiteral("検索(&S)"));
  find->setObjectName(QStringLiteral("Mserch0"));
  Add(actions, find, {"Mserch", "MserchNext", "Mserchnextup1", "", "Mreplace1", "MreplaceGrep1", "Mreplaceall1", "",
                      "Mgrep", "Mgrep2", "Mreportjump", "Mreportback", "", "Mpickupline1", "MpickuplineSEIKI1", "Mdeleteline1", "MdeletelineR1",
                      "Mrenzokudeleteline1", "Mstringreplace1", "Mrenzku1"});
  // The edit menu's own "save as" item runs the same command.
  actions.Twin("MTsave1", "MTsave2")->setText(QStringLiteral("テキスト　名前を付けて保存(&A)"));
  Add(actions, m.edit, {"", "MediterRich", "Mcut", "Mcopy1", "Mpast", "Mtextdelete", "Mselectall", "",
                        "Mjump", "Mlinetop1", "Mlinebottom1", "", "MTsave2", "", "MeditView1"});

  m.view = bar->addMenu(QStringLiteral("表示(&D)"));
  m.view->setObjectName(QStringLiteral("Mhyoji"));
  Add(actions, Sub(m.view, "ファイル名(&N)", "Mfilename"), {"Micon1", "Micon2", "Micon3", "Micon4"});
  Add(actions, Sub(m.view, "ファイル情報幅(&C)", "Mfileviewcolum"), {"Mfileviewcolum1", "Mfileviewcolum2", "Mfileviewcolum3"});
  Add(actions, m.view, {"Mmask", "Mfilesort1", "Mrootfolder", "Mdrivem", "Mfolderm", "Minitview", "", "Mv",
                        "Mtextrepaint1", "Mtextnewview", "Mreread", "Mfollow", ""});
  m.names = Sub(m.view, "ファイル名表示(&G)", "Mfilenamedisp0");
  Add(actions, m.names, {"Mfilenamedisp1", "Mfilenamedisp2", "Mfilenamedisp3"});
  Add(actions, m.view, {"Mwordwrap", "Mrawcode"});
  m.view->addMenu(m.codes);
  Add(actions, m.view, {"", "Mtoolbar", "Msubtoolbar1", "Mmousepoint"});

  QMenu* archives = bar->addMenu(QStringLiteral("書庫(&L)"));
  archives->setObjectName(QStringLiteral("Marc"));
  Add(actions, archives, {"MlhaU", "MlhaP", "Mlhalist"});
  QMenu* lha_commands = Sub(archives, "LHAコマンド(&C)", "Mlhacommand");
  Add(actions, lha_commands, {"Mlha_V", "Mlha_E"});
  // The submenu is enabled as its item is (off without the LHA library).
  QAction* lha_item = actions.Get(QStringLiteral("Mlhacommand"));
  lha_commands->menuAction()->setEnabled(lha_item->isEnabled());
  QObject::connect(lha_item, &QAction::enabledChanged, lha_commands->menuAction(), &QAction::setEnabled);
  Add(actions, archives, {"", "Marcunpack1", "Marclist1", "Marcmake"});

  QMenu* option = bar->addMenu(QStringLiteral("設定(&O)"));
  option->setObjectName(QStringLiteral("Moption"));
  Add(actions, Sub(option, "フォント(&O)", "Mfont"), {"Mfonttext", "Mfontfile"});
  Add(actions, option, {"Mchartset", "Mtabset1", "MstreamRead1", "Mreadmax1", "MediterSet", "", "Mtoolbarset", ""});
  Add(actions, option, {"Mdisp", "Mlhashow", "Mrtf", "", "Msubfolderview1", "Mtodiropen", "Mdialogdisp1",
                        "Mcloseinitview1", "Mbackup1", "MescExit", "Mdragdrop1", "", "Minitdirectry", "Minifileclear1"});
  QMenu* info = bar->addMenu(QStringLiteral("情報(&I)"));
  info->setObjectName(QStringLiteral("Mjoho"));
  Add(actions, info, {"Mfileproperty1", "", "Msysteminfo1", "MdriveInfo", "Mdircommand1", "Mdircommand2", "", "Murl",
                      "Mdos", "Mgomi", "Mcontrolpanel", "Mssaver", "Mstart", ""});
  Add(actions, Sub(info, "Windowsの終了(&W)", "Mwindows1"), {"MexitW", "Msysreboot1", "Msyslogoff1", "Msysstandby1"});
  QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
  help->setObjectName(QStringLiteral("Mhelp1"));
  Add(actions, help, {"Mcontents1", "Mkeyword1", "Muse1", "", "Mhelp", "Mtekuna1", "", "Mversion1"});
  // The date item: its caption is the date; choosing it shows the date message.
  bar->addAction(actions.Get(QStringLiteral("Mnow")));

  // The pop-up copy of the main menu (key Z).
  m.popup = new QMenu(&window);
  m.popup->setObjectName(QStringLiteral("PopupMenu1"));
  Add(actions, Sub(m.popup, "書庫(&L)", "Marc1"),
      {"MlhaU1", "MlhaP1", "Mlhalist1", "", "Marcunpack2", "Marclist2", "Marcmake1"});
  m.popup_option = Sub(m.popup, "設定(&O)", "Moption2");
  Add(actions, m.popup_option, {"Mdisp1", "Mlhashow1", "Mrtf1", "Msubfolderview2"});
  m.popup_view = Sub(m.popup, "表示(&D)", "Mhyoji1");
  m.popup_names = Sub(m.popup_view, "ファイル名表示(&G)", "Mfilenamedisp4");
  Add(actions, m.popup_names, {"Mfilenamedisp11", "Mfilenamedisp21", "Mfilenamedisp31"});
  m.popup_view->addMenu(m.popup_codes);
  Add(actions, m.popup_view, {"Mtoolbar2", "Meditview2"});
  m.popup_edit = Sub(m.popup, "編集(&E)", "Medit2");
  AddTextMenus(actions, m.popup_edit, Sub(m.popup, "削除(&K)", "Mdelete2"), Sub(m.popup, "変換(&C)", "Mhenkan2"),
               m.popup_codes, true);
  Add(actions, Sub(m.popup, "検索(&S)", "Mserch3"),
      {"Mserch1", "Mserchnext2", "Mserchnextup2", "", "Mreplace2", "MreplaceGrep2", "Mreplaceall2", "", "Mgrep1",
       "Mgrep3", "", "Mpickupline2", "MpickuplineSEIKI2", "Mdeleteline2", "MdeletelineR2", "Mrenzokudeleteline2",
       "Mstringreplace2", "Mrenzku2"});
  m.popup->addSeparator();
  Add(actions, m.popup, {"Mfilecopy1", "", "Mexit2"});
  return m;
}

void PlaceUserMenus(QMainWindow& window, ui::ActionRegistry& actions, const WindowMenus& menus, QMenu* exe,
                    QMenu* exe2) {
  QMenuBar* bar = window.menuBar();
  QAction* before = nullptr;
  for (QAction* a : bar->actions())
    if (a->menu() && a->menu()->objectName() == QStringLiteral("Moption")) before = a;
  auto* apps = new QMenu(QStringLiteral("アプリケーション(&A)"), bar);
  apps->setObjectName(QStringLiteral("Mexe"));
  apps->addMenu(exe);
  apps->addSeparator();
  apps->addAction(actions.Get(QStringLiteral("Mexeopt")));
  bar->insertMenu(before, apps);
  Add(actions, menus.view, {"", "Mtorokufolder"});
  if (before) Add(actions, before->menu(), {"", "Mtorokufolderset"});
  menus.popup->insertMenu(actions.Get(QStringLiteral("Mexit2")), exe2);
}

QToolBar* BuildMainToolBar(QMainWindow& window) {
  QToolBar* bar = window.addToolBar(QStringLiteral("ToolBar1"));
  bar->setObjectName(QStringLiteral("ToolBar1"));
  bar->setMovable(false);
  bar->setIconSize(QSize(20, 20));
  return bar;
}

QToolButton* BuildTextToolBar(QToolBar& bar, ui::ActionRegistry& actions) {
  auto* edit_view = new QToolButton(&bar);
  edit_view->setObjectName(QStringLiteral("SBeditview"));
  edit_view->setDefaultAction(actions.Get(QStringLiteral("MeditView1")));
  bar.addWidget(edit_view);
  return edit_view;
}

}  // namespace haruvi::app
