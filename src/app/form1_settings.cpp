// TForm1's settings: the built-in defaults (initset), reading them at start (iniload)
// with the clamping rules, writing them at close (inisave), and the two commands that act
// on the settings file as a whole.
#include <QAction>
#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLocale>
#include <QResizeEvent>
#include <QScreen>
#include <QSplitter>
#include <QTime>
#include <QToolBar>
#include <memory>

#include "app/folder_dialog.h"
#include "app/form1.h"
#include "app/panel_bar.h"
#include "app/settings_keys.h"
#include "haruvi_version.h"
#include "platform/font_map.h"
#include "platform/mounts.h"
#include "platform/settings_values.h"
#include "shellview/combo_view.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "viewer/text_pane.h"

namespace haruvi::app {

namespace k = settings::k;

namespace {

QRect WorkArea() {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
}

std::string Utf8(const QString& s) { return s.toStdString(); }
QString FromUtf8(const std::string& s) { return QString::fromStdString(s); }

QFont MakeFont(const QString& name, int style, int size) {
  QFont f(FromUtf8(platform::FontFamilyFor(Utf8(name))));
  if (size > 0) f.setPointSize(size);
  auto bits = platform::FontStyleFromInt(style).value_or(platform::FontStyle{});
  f.setBold(bits.bold);
  f.setItalic(bits.italic);
  f.setUnderline(bits.underline);
  f.setStrikeOut(bits.strike_out);
  return f;
}

// Lays out a window that is not shown yet, parents before children, so that splitter
// sizes and panel heights can be read and set during start-up as they will appear.
void SettleLayout(QWidget* w) {
  if (QLayout* l = w->layout()) l->activate();
  QResizeEvent e(w->size(), w->size());
  QCoreApplication::sendEvent(w, &e);
  for (QObject* c : w->children())
    if (auto* cw = qobject_cast<QWidget*>(c); cw && !cw->isWindow() && !cw->isHidden()) SettleLayout(cw);
}

QColor ToQColor(int stored) {
  const std::uint32_t rgb = platform::ColorToRgb(stored);
  return QColor::fromRgb(static_cast<QRgb>(rgb));
}

// The "Menu" keys and the actions whose check marks they hold.
struct MenuKey {
  const char* key;
  const char* action;
};
constexpr MenuKey kMenuKeys[] = {
    {"Mdisp", "Mdisp"},                   {"Mmousepoint", "Mmousepoint"},
    {"Mlhashow", "Mlhashow"},             {"Mrtf", "Mrtf"},
    {"Mtoolbar", "Mtoolbar"},             {"Msubtoolbar", "Msubtoolbar1"},
    {"Msubfolderview", "Msubfolderview1"}, {"Mtodiropen", "Mtodiropen"},
    {"Mdialogdisp1", "Mdialogdisp1"},     {"Mcloseinitview1", "Mcloseinitview1"},
    {"Mbackup1", "Mbackup1"},             {"Mdragdrop1", "Mdragdrop1"},
};

}  // namespace

void TForm1::ApplyPaneFont(const QString& name, int style, int color, int size) {
  pane_font_name_ = name;
  pane_font_style_ = platform::FontStyleFromInt(style) ? style : 0;
  pane_font_color_ = color;
  RichEdit1->SetPaneFont(MakeFont(name, pane_font_style_, size), ToQColor(color));
}

void TForm1::ApplyFileFont(const QString& name, int style, int color, int size) {
  file_font_name_ = name;
  file_font_style_ = platform::FontStyleFromInt(style) ? style : 0;
  file_font_color_ = color;
  QFont f = MakeFont(name, file_font_style_, size);
  FileView1->setFont(f);
  FileView1->SetFileFont(f);
  FolderView1->setFont(f);
  QPalette p = FileView1->palette();
  p.setColor(QPalette::Text, ToQColor(color));
  FileView1->setPalette(p);
  FolderView1->setPalette(p);
}

void TForm1::initset() {
  const QRect work = WorkArea();
  move(work.topLeft());
  resize(work.size());
  viewenabled = 1;
  instantmode = 1;
  shiftdown = 0;
  altdown = 0;
  worktext.clear();
  SettleLayout(this);
  MoveToFolder(ProgramFolder());
  SetPanelLWidth(137);
  SetPanelRBHeight((PanelR->height() / 3) * 2);
  SBarR->SetText(2, QStringLiteral(" 閲覧 "), true);
  SBarR->SetText(4, QStringLiteral(" ﾘｱﾙﾓｰﾄﾞ "), true);
  ApplyPaneFont(QString::fromUtf8(platform::kPaneFontName.data(),
                                  static_cast<qsizetype>(platform::kPaneFontName.size())),
                0, platform::kColorWindowText, 9);
  ApplyFileFont(QString::fromUtf8(platform::kWindowFontName.data(),
                                  static_cast<qsizetype>(platform::kWindowFontName.size())),
                0, platform::kColorWindowText, 9);
  FileView1->SetViewStyle(shellview::ViewStyle::Details);
  for (int c = 1; c <= 3; ++c) FileView1->SetColumnWidth(c, -1);
  ApplyListStyle(3);
  for (const char* n : {"Mdisp", "Mtoolbar", "Msubtoolbar1", "Mdialogdisp1", "Mcloseinitview1", "Msubfolderview1"})
    SetChecked(QString::fromUtf8(n), true);
  Splitter2Moved();
}

void TForm1::iniload() {
  const QRect screen = WorkArea();
  const QRect g(pos(), size());
  // Strings of the "File" section are the save dialog's; they are kept in the file.
  const int left = settings::ClampLeft(ini_.ReadInteger(k::kForm, "Left", g.left()), screen.width());
  const int top = settings::ClampTop(ini_.ReadInteger(k::kForm, "Top", g.top()), screen.height());
  const int width = settings::ClampExtent(ini_.ReadInteger(k::kForm, "Width", g.width()), screen.width());
  const int height = settings::ClampExtent(ini_.ReadInteger(k::kForm, "Height", g.height()), screen.height());
  move(left, top);  // the frame's corner, as the file stores it
  resize(width, height);
  SettleLayout(this);

  SetPanelLWidth(settings::KeepIfOutside(ini_.ReadInteger(k::kPanelL, "Width", PanelLWidth()), width, PanelLWidth()));
  SetPanelRBHeight(settings::KeepIfOutside(ini_.ReadInteger(k::kPanelRB, "Height", PanelRBHeight()),
                                           PanelR->height(), PanelRBHeight()));

  auto color = [this](std::string_view section, int current) {
    auto v = ini_.ReadValue(section, "Color");
    if (!v) return current;
    return static_cast<int>(platform::ColorFromString(*v).value_or(current));
  };
  auto style = [this](std::string_view section) {
    const int v = ini_.ReadInteger(section, "Style", 0);
    return platform::FontStyleFromInt(v) ? v : 0;
  };
  {
    const QString name = FromUtf8(ini_.ReadString(k::kFontR, "Name", Utf8(pane_font_name_)));
    const int st = style(k::kFontR);
    const int col = color(k::kFontR, pane_font_color_);
    const int size = ini_.ReadInteger(k::kFontR, "Size", RichEdit1->PaneFont().pointSize());
    ApplyPaneFont(name, st, col, size > 0 && size < 400 ? size : 9);
  }
  {
    const QString name = FromUtf8(ini_.ReadString(k::kFontF, "Name", Utf8(file_font_name_)));
    const int st = style(k::kFontF);
    const int size = ini_.ReadInteger(k::kFontF, "Size", FileView1->font().pointSize());
    const int col = color(k::kFontF, file_font_color_);
    ApplyFileFont(name, st, col, size > 0 && size < 400 ? size : 9);
  }
  const QString directory = FromUtf8(ini_.ReadString(k::kFolderView, "Directory", ""));
  const QString init_folder = FromUtf8(ini_.ReadString(k::kInitFolder, "InitFolderName", ""));
  const int icon = settings::IconStyle(ini_.ReadInteger(k::kFileView, "Icon", static_cast<int>(FileView1->Style())));
  for (int c = 1; c <= 3; ++c) {
    const int w = ini_.ReadInteger(k::kFileView, "Colum" + std::to_string(c), FileView1->ColumnWidth(c));
    FileView1->SetColumnWidth(c, settings::ColumnWidth(w, FileView1->ColumnWidth(c)));
  }
  const bool hottrack = ini_.ReadBool(k::kFileView, "Hottrack", FileView1->HotTrack());
  FileView1->SetHotTrack(hottrack);
  RichEdit1->SetWordWrap(ini_.ReadBool(k::kRichEdit, "WordWrap", RichEdit1->WordWrap()));
  SetChecked(QStringLiteral("Mwordwrap"), RichEdit1->WordWrap());
  tabwidth = ini_.ReadInteger(k::kRichEdit, "richtabwidth", 8);
  if (tabwidth < 1 || tabwidth > 255) tabwidth = 8;
  tabset();
  for (const MenuKey& m : kMenuKeys) {
    const settings::Key* key = settings::Find(k::kMenu, m.key);
    SetChecked(QString::fromUtf8(m.action), ini_.ReadBool(k::kMenu, m.key, key && key->def == "1"));
  }

  // Dependent state, in order.
  SetChecked(QStringLiteral("Mmousepoint"), FileView1->HotTrack());
  SBarR->SetText(5, FileView1->HotTrack() ? QStringLiteral(" MP ") : QStringLiteral("    "), true);
  RichEdit1->SetPlainTextMode(!Checked(QStringLiteral("Mrtf")));
  SBarR->SetText(3, Checked(QStringLiteral("Mrtf")) ? QStringLiteral(" RTF ") : QStringLiteral("     "), true);
  MdispClick();
  ApplyListStyle(icon);
  bool moved = false;
  if (!init_folder.isEmpty()) {
    moved = MoveToFolder(init_folder);
  } else if (!directory.isEmpty() && platform::DriveSpaceOf(Utf8(directory)).size > 0) {
    moved = MoveToFolder(directory);
  }
  if (!moved && CurrentFolder().isEmpty()) MoveToFolder(ProgramFolder());
  MtoolbarClick();
  LayoutTextToolBar();
  Splitter2Moved();
  Mdragdrop1Click();
}

void TForm1::inisave() {
  QLocale locale;
  ini_.WriteString(k::kSystem, "Program", HARUVI_PROGRAM_NAME);
  ini_.WriteString(k::kSystem, "Version", HARUVI_VERSION_STRING);
  ini_.WriteString(k::kSystem, "Date", Utf8(locale.toString(QDate::currentDate(), QLocale::ShortFormat)));
  ini_.WriteString(k::kSystem, "Time", Utf8(locale.toString(QTime::currentTime(), QLocale::LongFormat)));
  const std::string cwd = QDir::currentPath().toStdString();
  ini_.WriteString(k::kSystem, "Drive", cwd);
  const platform::DriveSpace space = platform::DriveSpaceOf(cwd);
  ini_.WriteString(k::kSystem, "DiskSize", std::to_string(space.size) + " byte");
  ini_.WriteString(k::kSystem, "DiskFree", std::to_string(space.free) + " byte");
  ini_.WriteString(k::kSystem, "Filename", ini_.Path().string());

  const QRect g = isMaximized() || isMinimized() ? normalGeometry() : QRect(pos(), size());
  ini_.WriteInteger(k::kForm, "Left", g.left());
  ini_.WriteInteger(k::kForm, "Top", g.top());
  ini_.WriteInteger(k::kForm, "Width", g.width());
  ini_.WriteInteger(k::kForm, "Height", g.height());
  ini_.WriteInteger(k::kForm, "Pixelsperinch", logicalDpiY());
  ini_.WriteInteger(k::kForm, "State", isMinimized() ? 2 : isMaximized() ? 3 : 1);
  ini_.WriteInteger(k::kPanelL, "Width", PanelLWidth());
  ini_.WriteInteger(k::kPanelRB, "Height", PanelRBHeight());
  ini_.WriteString(k::kFontR, "Name", Utf8(pane_font_name_));
  ini_.WriteInteger(k::kFontR, "Style", pane_font_style_);
  ini_.WriteString(k::kFontR, "Color", platform::ColorToString(pane_font_color_));
  ini_.WriteInteger(k::kFontR, "Size", RichEdit1->PaneFont().pointSize());
  ini_.WriteString(k::kFontF, "Name", Utf8(file_font_name_));
  ini_.WriteInteger(k::kFontF, "Style", file_font_style_);
  ini_.WriteInteger(k::kFontF, "Size", FileView1->font().pointSize());
  ini_.WriteString(k::kFontF, "Color", platform::ColorToString(file_font_color_));
  ini_.WriteString(k::kFolderView, "Directory", Utf8(CurrentFolder()));
  ini_.WriteInteger(k::kFileView, "Icon", static_cast<int>(FileView1->Style()));
  for (int c = 1; c <= 3; ++c)
    ini_.WriteInteger(k::kFileView, "Colum" + std::to_string(c), FileView1->ColumnWidth(c));
  ini_.WriteBool(k::kFileView, "Hottrack", FileView1->HotTrack());
  ini_.WriteBool(k::kRichEdit, "WordWrap", RichEdit1->WordWrap());
  ini_.WriteInteger(k::kRichEdit, "richtabwidth", tabwidth);
  for (const MenuKey& m : kMenuKeys) ini_.WriteBool(k::kMenu, m.key, Checked(QString::fromUtf8(m.action)));
}

void TForm1::Minifileclear1Click() {
  if (ini_.Exists()) ini_.DeleteFile();
  initset();  // also viewenabled, instantmode, shiftdown, altdown and worktext
  QApplication::restoreOverrideCursor();
  ctrldown = 0;
  SetTextPaneVisible(true);
  RichEdit1->update();
  viewrefresh();
  filedisp();
}

void TForm1::MinitdirectryClick() {
  auto dialog = std::make_unique<TForm4>(QStringLiteral("起動時フォルダー指定"),
                                         QStringLiteral("起動時のフォルダーを指定して下さい。"), this);
  dialog->SetPrevious(FromUtf8(ini_.ReadString(k::kInitFolder, "InitFolderName", "")));
  if (dialog->exec() == QDialog::Accepted)
    ini_.WriteString(k::kInitFolder, "InitFolderName", Utf8(dialog->Text()));
}

}  // namespace haruvi::app
