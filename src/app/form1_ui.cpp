// TForm1's widgets, actions, menus and tool bars. Actions carry their menu item's name
// as object name; a pop-up twin runs the same handler and keeps the same check mark.
#include <QAction>
#include <QActionGroup>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSplitter>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/form1.h"
#include "app/panel_bar.h"
#include "shellview/combo_view.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "viewer/text_pane.h"

namespace haruvi::app {

namespace {

QWidget* Panel(const QString& name, QWidget* parent) {
  auto* w = new QWidget(parent);
  w->setObjectName(name);
  return w;
}

// "short|long": the short part becomes the tool tip, the long part the status text.
void SetHint(QAction* a, const QString& hint) {
  int bar = hint.indexOf(QLatin1Char('|'));
  a->setToolTip(bar >= 0 ? hint.left(bar) : hint);
  a->setStatusTip(bar >= 0 ? hint.mid(bar + 1) : hint);
}

}  // namespace

QAction* TForm1::MakeAction(const QString& name, const QString& caption, const QString& hint,
                            void (TForm1::*handler)(), bool checkable) {
  auto* a = new QAction(caption, this);
  a->setObjectName(name);
  a->setCheckable(checkable);
  SetHint(a, hint);
  if (handler) connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  else a->setEnabled(false);  // its command comes with a later part of the program
  actions_.insert(name, a);
  return a;
}

QAction* TForm1::MakeTwin(QAction* main, const QString& twin_name) {
  auto* t = new QAction(main->text(), this);
  t->setObjectName(twin_name);
  t->setCheckable(main->isCheckable());
  t->setChecked(main->isChecked());
  t->setEnabled(main->isEnabled());
  t->setToolTip(main->toolTip());
  t->setStatusTip(main->statusTip());
  if (main->isCheckable()) {
    // Triggering the twin toggles the main item, whose handler then runs once.
    connect(t, &QAction::triggered, main, [main, t](bool) {
      t->setChecked(!t->isChecked());
      main->trigger();
    });
    connect(main, &QAction::toggled, t, &QAction::setChecked);
  } else {
    connect(t, &QAction::triggered, main, &QAction::trigger);
  }
  connect(main, &QAction::changed, t, [main, t] {
    t->setText(main->text());
    t->setEnabled(main->isEnabled());
  });
  actions_.insert(twin_name, t);
  return t;
}

void TForm1::BuildPanels() {
  auto* central = new QWidget(this);
  auto* outer = new QVBoxLayout(central);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->setSpacing(0);

  Splitter2 = new QSplitter(Qt::Horizontal, central);
  Splitter2->setObjectName(QStringLiteral("Splitter2"));
  Splitter2->setHandleWidth(3);
  Splitter2->setChildrenCollapsible(false);

  Splitter1 = new QSplitter(Qt::Vertical, Splitter2);
  Splitter1->setObjectName(QStringLiteral("PanelL"));
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  PanelL = Splitter1;
  PanelLT = Panel(QStringLiteral("PanelLT"), Splitter1);
  auto* lt = new QVBoxLayout(PanelLT);
  lt->setContentsMargins(0, 0, 0, 0);
  ComboView1 = new shellview::TComboView(PanelLT);
  lt->addWidget(ComboView1);
  lt->addStretch(1);
  PanelLB = Panel(QStringLiteral("PanelLB"), Splitter1);
  auto* lb = new QVBoxLayout(PanelLB);
  lb->setContentsMargins(0, 0, 0, 0);
  FolderView1 = new shellview::TFolderView(PanelLB);
  lb->addWidget(FolderView1);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  PanelLT->setMinimumHeight(ComboView1->sizeHint().height());

  Splitter3 = new QSplitter(Qt::Vertical, Splitter2);
  Splitter3->setObjectName(QStringLiteral("PanelR"));
  Splitter3->setHandleWidth(3);
  Splitter3->setChildrenCollapsible(false);
  PanelR = Splitter3;
  PanelRT = Panel(QStringLiteral("PanelRT"), Splitter3);
  auto* rt = new QVBoxLayout(PanelRT);
  rt->setContentsMargins(0, 0, 0, 0);
  FileView1 = new shellview::TFileView(PanelRT);
  rt->addWidget(FileView1);

  PanelRB = Panel(QStringLiteral("PanelRB"), Splitter3);
  auto* rb = new QVBoxLayout(PanelRB);
  rb->setContentsMargins(0, 0, 0, 0);
  rb->setSpacing(0);
  PanelRBT = Panel(QStringLiteral("PanelRBT"), PanelRB);
  auto* rbt = new QVBoxLayout(PanelRBT);
  rbt->setContentsMargins(2, 3, 2, 3);
  rbt->setSpacing(3);
  ToolBar2 = new QToolBar(PanelRBT);
  ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
  ToolBar2->setIconSize(QSize(20, 20));
  LFilestring = new QLabel(PanelRBT);
  LFilestring->setObjectName(QStringLiteral("LFilestring"));
  LFilestring->setTextFormat(Qt::PlainText);
  LFilestring->setTextInteractionFlags(Qt::TextSelectableByMouse);
  rbt->addWidget(ToolBar2);
  rbt->addWidget(LFilestring);
  RichEdit1 = new viewer::TextPane(PanelRB);
  SBarR = new PanelBar(QStringLiteral("SBarR"), {100, 80, 50, 40, 60, 50, 50}, PanelRB);
  rb->addWidget(PanelRBT);
  rb->addWidget(RichEdit1, 1);
  rb->addWidget(SBarR);
  Splitter3->setStretchFactor(0, 1);
  Splitter3->setStretchFactor(1, 0);

  Splitter2->setStretchFactor(0, 0);
  Splitter2->setStretchFactor(1, 1);
  outer->addWidget(Splitter2, 1);
  StatusBar1 = new PanelBar(QStringLiteral("StatusBar1"), {300, 100, 120, 80, 50}, central);
  outer->addWidget(StatusBar1);
  setCentralWidget(central);

  connect(Splitter2, &QSplitter::splitterMoved, this, [this] { Splitter2Moved(); });
}

void TForm1::BuildActions() {
  // File
  MakeAction("Mexit1", "終了(&X)", "終了|Haruviを終了します。", &TForm1::Mexit1Click);
  // Edit
  MakeAction("MeditView1", "テキスト表示を隠す(&I)", "隠す|テキスト表示を隠します。",
             &TForm1::MeditView1Click);
  // View
  MakeAction("Micon1", "大きいアイコン(&B)", "大きいアイコン|大きいアイコンで表示します。", &TForm1::Micon1Click, true);
  MakeAction("Micon2", "小さいアイコン(&S)", "小さいアイコン|小さいアイコンで表示します。", &TForm1::Micon2Click, true);
  MakeAction("Micon3", "一覧(&I)", "一覧|一覧で表示します。", &TForm1::Micon3Click, true);
  MakeAction("Micon4", "詳細(&R)", "詳細|詳細を表示します。", &TForm1::Micon4Click, true);
  icon_group_ = new QActionGroup(this);
  for (const char* n : {"Micon1", "Micon2", "Micon3", "Micon4"}) icon_group_->addAction(actions_[n]);
  actions_["Micon3"]->setChecked(true);
  MakeAction("Mfileviewcolum1", "初期値(&Z)", "初期値|ファイル情報の幅を初期値に戻します。", &TForm1::Mfileviewcolum1Click);
  MakeAction("Mfileviewcolum2", "自動幅(&X)", "自動幅|ファイル情報の幅を自動調整します。", &TForm1::Mfileviewcolum2Click);
  MakeAction("Mfileviewcolum3", "ファイル名自動幅(&E)", "ファイル名自動幅|ファイル名の幅を自動調整します。", &TForm1::Mfileviewcolum3Click);
  MakeAction("Mmask", "拡張子の指定(&W)", "拡張子|表示するファイルの拡張子を指定します。");
  MakeAction("Mfilesort1", "ファイルの並び替え(&S)", "並び替え|ファイルを並び替えます。", &TForm1::Mfilesort1Click);
  MakeAction("Mrootfolder", "ルートフォルダーを表示(&D)", "ルートフォルダー|ルートフォルダーを表示します。", &TForm1::MrootfolderClick);
  MakeAction("Minitview", "最新の情報に更新", "更新|最新の情報に更新します。", &TForm1::MinitviewClick);
  MakeAction("Mfilenamedisp1", "ファイル名のみ(&N)", "ファイル名のみ|ファイル名をテキストに表示します。", &TForm1::Mfilenamedisp1Click);
  MakeAction("Mfilenamedisp2", "フルパス(&P)", "フルパス|ファイル名をフルパスでテキストに表示します。", &TForm1::Mfilenamedisp2Click);
  MakeAction("Mfilenamedisp3", "現在表示のファイル(&C)", "現在表示のファイル|表示中のファイルの情報をテキストに表示します。", &TForm1::Mfilenamedisp3Click);
  MakeAction("Mwordwrap", "右で折り返す(&R)", "折り返し|テキストを右端で折り返します。", &TForm1::MwordwrapClick, true);
  MakeAction("Mv", "テキストを表示", "表示|ファイル内容を表示します。", &TForm1::MvClick);
  MakeAction("ToolButton49", "表示", "表示|ファイル内容を表示します。", &TForm1::ToolButton49Click);
  MakeAction("Mtextrepaint1", "テキストを再表示(&B)", "テキストの再表示|テキストを再表示します。", &TForm1::Mtextrepaint1Click);
  MakeAction("Mtextnewview", "ファイルを再表示(&T)", "ファイルを再表示|ファイルを再表示します。", &TForm1::MtextnewviewClick);
  MakeAction("Mfonttext", "テキスト(&T)", "テキストのフォント|テキストのフォントを設定します。", &TForm1::MfonttextClick);
  MakeAction("Mfontfile", "ファイル名(&F)", "ファイル名のフォント|ファイル名のフォントを設定します。", &TForm1::MfontfileClick);
  MakeAction("Mchartset", "テキストの文字種類(&C)", "文字種類|テキスト表示の文字種類を設定します。", &TForm1::MchartsetClick);
  MakeAction("Mtabset1", "TAB位置設定", "TAB位置設定|TABの文字数を設定します。", &TForm1::Mtabset1Click);
  MakeAction("MstreamRead1", "Stream読み込みの設定(&M)", "Stream読み込みの設定|Stream読み込みを設定します。", &TForm1::MstreamRead1Click);
  MakeAction("Mreadmax1", "読み込み制限の設定(&Y)", "読み込み制限の設定|読み込むファイルの大きさを制限します。", &TForm1::Mreadmax1Click);
  MakeAction("Mcodehenkan1", "文字コード変換(&J)", "文字コード変換|文字コードを変換します。");
  MakeAction("Mtoolbar", "ツールバー表示", "ツールバー表示|ツールバーを表示します。", &TForm1::MtoolbarClick, true);
  MakeAction("Msubtoolbar1", "テキストツールバー表示", "テキストツールバー表示|テキストツールバーを表示します。", &TForm1::Msubtoolbar1Click, true);
  MakeAction("Mmousepoint", "マウスポインタ表示", "マウスポインタ表示|マウスポインタの位置のファイルを選択します。", &TForm1::MmousepointClick, true);
  // Settings
  MakeAction("Mdisp", "テキスト瞬時表示(&T)", "テキスト瞬時表示|ファイルを選択すると同時にテキストを表示します。", &TForm1::MdispClick, true);
  MakeAction("Mlhashow", "LHA書庫内容表示(&L)", "LHA書庫内容表示|LHA書庫の内容を表示します。", nullptr, true);
  MakeAction("Mrtf", "RTF形式(&R)", "RTF形式|RTF形式で表示します。", &TForm1::MrtfClick, true);
  MakeAction("Msubfolderview1", "サブフォルダーを展開", "サブフォルダーを展開|フォルダーを選択するとサブフォルダーを展開します。", &TForm1::Msubfolderview1Click, true);
  MakeAction("Mtodiropen", "処理先フォルダー表示", "処理先フォルダー表示|処理後に処理先のフォルダーを表示します。", nullptr, true);
  actions_["Mtodiropen"]->setEnabled(true);  // a setting only: read by the file commands
  MakeAction("Mdialogdisp1", "処理後確認表示(&D)", "処理後確認表示|処理後に確認のメッセージを表示します。", &TForm1::Mdialogdisp1Click, true);
  MakeAction("Mcloseinitview1", "終了時ファイル未選択", "終了時ファイル未選択|終了時にファイルを選択しない状態に戻します。", &TForm1::Mcloseinitview1Click, true);
  MakeAction("Mbackup1", "保存時バックアップ作成", "保存時バックアップ作成|保存時にバックアップファイルを作成します。", nullptr, true);
  actions_["Mbackup1"]->setEnabled(true);  // a setting only: read when saving
  MakeAction("Mdragdrop1", "ドラッグ&&ドロップ使用", "ドラッグ&&ドロップ使用|ドラッグ&&ドロップを使用します。", &TForm1::Mdragdrop1Click, true);
  MakeAction("Minifileclear1", "INIファイル削除･初期化", "INIファイル削除･初期化|「Haruvi」のINIファイルを削除し、初期化します。", &TForm1::Minifileclear1Click);
  MakeAction("Minitdirectry", "起動時フォルダー指定", "起動時フォルダー指定|起動時のフォルダーを指定します。", &TForm1::MinitdirectryClick);
  // Help
  MakeAction("Mhelp", "ヘルプ(&H)", "ヘルプ|ヘルプを表示します。", &TForm1::ToolButton8Click);
  MakeAction("Mversion1", "バージョン情報(&A)", "バージョン情報|バージョン情報を表示します。", &TForm1::Mversion1Click);
  // Tool-bar only commands.
  MakeAction("ToolButton55", "上へ", "上へ|一つ上のフォルダーに移動します。", &TForm1::ToolButton55Click);
}

void TForm1::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto add = [this](QMenu* m, std::initializer_list<const char*> names) {
    for (const char* n : names) {
      if (!*n) m->addSeparator();
      else m->addAction(actions_[n]);
    }
  };
  QMenu* file = bar->addMenu(QStringLiteral("ファイル(&F)"));
  file->setObjectName(QStringLiteral("Mfile"));
  add(file, {"Mexit1"});
  QMenu* edit = bar->addMenu(QStringLiteral("編集(&E)"));
  edit->setObjectName(QStringLiteral("Medit1"));
  add(edit, {"MeditView1"});

  QMenu* view = bar->addMenu(QStringLiteral("表示(&D)"));
  view->setObjectName(QStringLiteral("Mhyoji"));
  QMenu* names = view->addMenu(QStringLiteral("ファイル名(&N)"));
  names->setObjectName(QStringLiteral("Mfilename"));
  add(names, {"Micon1", "Micon2", "Micon3", "Micon4"});
  QMenu* widths = view->addMenu(QStringLiteral("ファイル情報幅(&C)"));
  widths->setObjectName(QStringLiteral("Mfileviewcolum"));
  add(widths, {"Mfileviewcolum1", "Mfileviewcolum2", "Mfileviewcolum3"});
  add(view, {"Mmask", "Mfilesort1", "Mrootfolder", "Minitview", "", "Mv", "Mtextrepaint1", "Mtextnewview", ""});
  QMenu* namedisp = view->addMenu(QStringLiteral("ファイル名表示(&G)"));
  namedisp->setObjectName(QStringLiteral("Mfilenamedisp0"));
  add(namedisp, {"Mfilenamedisp1", "Mfilenamedisp2", "Mfilenamedisp3"});
  add(view, {"Mwordwrap", "Mcodehenkan1", "", "Mtoolbar", "Msubtoolbar1", "Mmousepoint"});
  connect(view, &QMenu::aboutToShow, this, &TForm1::MhyojiClick);
  connect(namedisp, &QMenu::aboutToShow, this, &TForm1::Mfilenamedisp0Click);

  QMenu* option = bar->addMenu(QStringLiteral("設定(&O)"));
  option->setObjectName(QStringLiteral("Moption"));
  QMenu* fonts = option->addMenu(QStringLiteral("フォント(&O)"));
  fonts->setObjectName(QStringLiteral("Mfont"));
  add(fonts, {"Mfonttext", "Mfontfile"});
  add(option, {"Mchartset", "Mtabset1", "MstreamRead1", "Mreadmax1", ""});
  add(option, {"Mdisp", "Mlhashow", "Mrtf", "", "Msubfolderview1", "Mtodiropen", "Mdialogdisp1",
               "Mcloseinitview1", "Mbackup1", "Mdragdrop1", "", "Minitdirectry", "Minifileclear1"});
  QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
  help->setObjectName(QStringLiteral("Mhelp1"));
  add(help, {"Mhelp", "Mversion1"});
  auto* now = bar->addAction(QString());
  now->setObjectName(QStringLiteral("Mnow"));
  actions_.insert(QStringLiteral("Mnow"), now);

  // The pop-up copy of the main menu (key Z).
  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
  QMenu* popt = PopupMenu1->addMenu(QStringLiteral("設定(&O)"));
  popt->setObjectName(QStringLiteral("Moption2"));
  popt->addAction(MakeTwin(actions_["Mdisp"], "Mdisp1"));
  popt->addAction(MakeTwin(actions_["Mlhashow"], "Mlhashow1"));
  popt->addAction(MakeTwin(actions_["Mrtf"], "Mrtf1"));
  popt->addAction(MakeTwin(actions_["Msubfolderview1"], "Msubfolderview2"));
  connect(popt, &QMenu::aboutToShow, this, &TForm1::Moption2Click);
  QMenu* pview = PopupMenu1->addMenu(QStringLiteral("表示(&D)"));
  pview->setObjectName(QStringLiteral("Mhyoji1"));
  QMenu* pnames = pview->addMenu(QStringLiteral("ファイル名表示(&G)"));
  pnames->setObjectName(QStringLiteral("Mfilenamedisp4"));
  pnames->addAction(MakeTwin(actions_["Mfilenamedisp1"], "Mfilenamedisp11"));
  pnames->addAction(MakeTwin(actions_["Mfilenamedisp2"], "Mfilenamedisp21"));
  pnames->addAction(MakeTwin(actions_["Mfilenamedisp3"], "Mfilenamedisp31"));
  connect(pnames, &QMenu::aboutToShow, this, &TForm1::Mfilenamedisp0Click);
  pview->addAction(MakeTwin(actions_["Mcodehenkan1"], "Mcodehenkan2"));
  pview->addAction(MakeTwin(actions_["Mtoolbar"], "Mtoolbar2"));
  pview->addAction(MakeTwin(actions_["MeditView1"], "Meditview2"));
  connect(pview, &QMenu::aboutToShow, this, &TForm1::Mhyoji1Click);
  PopupMenu1->addSeparator();
  PopupMenu1->addAction(MakeTwin(actions_["Mexit1"], "Mexit2"));
}

void TForm1::BuildToolBars() {
  ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
  ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1->setMovable(false);
  ToolBar1->setIconSize(QSize(20, 20));
  struct Button {
    const char* name;
    const char* caption;
    const char* icon;
    const char* action;  // the menu item it runs, "" for a divider, nullptr for none yet
  };
  const Button kMain[] = {
      {"ToolButton36", "印刷", "document-print", nullptr},
      {"ToolButton35", "印刷設定", "document-page-setup", nullptr},
      {"ToolButton31", "", "", ""},
      {"ToolButton4", "コピー", "edit-copy", nullptr},
      {"ToolButton5", "移動", "go-next", nullptr},
      {"ToolButton3", "削除", "edit-delete", nullptr},
      {"ToolButton6", "名前の変更", "insert-text", nullptr},
      {"ToolButton40", "属性変更", "document-properties", nullptr},
      {"ToolButton18", "", "", ""},
      {"ToolButton38", "ドライブ", "drive-harddisk", nullptr},
      {"ToolButton55", "上へ", "go-up", "ToolButton55"},
      {"ToolButton11", "登録フォルダー", "bookmark-new", nullptr},
      {"ToolButton41", "フォルダー", "folder", nullptr},
      {"ToolButton12", "拡張子", "edit-find", "Mmask"},
      {"ToolButton46", "並び替え", "view-sort-ascending-symbolic", "Mfilesort1"},
      {"ToolButton15", "", "", ""},
      {"ToolButton13", "大きいアイコン", "view-grid-symbolic", "Micon1"},
      {"ToolButton22", "小さいアイコン", "view-app-grid-symbolic", "Micon2"},
      {"ToolButton27", "一覧", "view-list-symbolic", "Micon3"},
      {"ToolButton28", "詳細", "view-list-bullet-symbolic", "Micon4"},
      {"ToolButton29", "", "", ""},
      {"ToolButton30", "エディター", "accessories-text-editor", nullptr},
      {"ToolButton34", "実行", "system-run", nullptr},
      {"ToolButton1", "", "", ""},
      {"ToolButton42", "書庫解凍", "emblem-package", nullptr},
      {"ToolButton43", "書庫作成", "document-save", nullptr},
      {"ToolButton44", "書庫内一覧", "document-open-recent", nullptr},
      {"ToolButton45", "", "", ""},
      {"ToolButton8", "ヘルプ", "help-browser", "Mhelp"},
      {"ToolButton2", "終了", "application-exit", "Mexit1"},
      {"ToolButton37", "", "", ""},
  };
  auto populate = [this](QToolBar* bar, const Button* buttons, size_t n) {
    for (size_t i = 0; i < n; ++i) {
      const Button& b = buttons[i];
      QAction* a;
      if (b.action && !*b.action) {
        a = bar->addSeparator();
      } else if (b.action) {
        a = actions_[b.action];
        if (a->icon().isNull()) a->setIcon(QIcon::fromTheme(QString::fromUtf8(b.icon)));
        bar->addAction(a);
      } else {
        a = new QAction(QIcon::fromTheme(QString::fromUtf8(b.icon)), QString::fromUtf8(b.caption), this);
        a->setToolTip(QString::fromUtf8(b.caption));
        a->setEnabled(false);  // its command comes with a later part of the program
        bar->addAction(a);
      }
      if (auto* w = qobject_cast<QToolButton*>(bar->widgetForAction(a))) {
        w->setObjectName(QString::fromUtf8(b.name));
        if (a->icon().isNull()) w->setToolButtonStyle(Qt::ToolButtonTextOnly);
      }
      a->setProperty("buttonName", QString::fromUtf8(b.name));
    }
  };
  populate(ToolBar1, kMain, std::size(kMain));

  SBeditview = new QToolButton(ToolBar2);
  SBeditview->setObjectName(QStringLiteral("SBeditview"));
  SBeditview->setDefaultAction(actions_["MeditView1"]);
  actions_["MeditView1"]->setIcon(QIcon::fromTheme(QStringLiteral("go-down")));
  ToolBar2->addWidget(SBeditview);
  const Button kText[] = {
      {"ToolButton9", "", "", ""},
      {"ToolButton49", "表示", "document-open", "ToolButton49"},
      {"ToolButton17", "テキストの再表示", "view-refresh-symbolic", "Mtextrepaint1"},
      {"ToolButton50", "", "", ""},
      {"ToolButton10", "切り取り", "edit-cut", nullptr},
      {"ToolButton14", "コピー", "edit-copy", nullptr},
      {"ToolButton19", "貼り付け", "edit-paste", nullptr},
      {"ToolButton21", "削除", "edit-delete", nullptr},
      {"ToolButton23", "", "", ""},
      {"ToolButton54", "上書き保存", "document-save", nullptr},
      {"ToolButton20", "名前をつけて保存", "document-save-as", nullptr},
      {"ToolButton16", "", "", ""},
      {"ToolButton25", "文頭", "go-top", nullptr},
      {"ToolButton26", "文末", "go-bottom", nullptr},
      {"ToolButton33", "検索", "edit-find", nullptr},
      {"ToolButton53", "置換", "edit-find-replace", nullptr},
      {"ToolButton48", "URL", "applications-internet", nullptr},
      {"ToolButton51", "html->txt", "insert-link", nullptr},
      {"ToolButton52", "文字コード", "preferences-desktop-locale", nullptr},
      {"ToolButton24", "", "", ""},
      {"ToolButton7", "簡易編集", "accessories-text-editor", nullptr},
      {"ToolButton39", "折り返し", "format-justify-fill", "Mwordwrap"},
      {"ToolButton32", "", "", ""},
  };
  populate(ToolBar2, kText, std::size(kText));
}

}  // namespace haruvi::app
