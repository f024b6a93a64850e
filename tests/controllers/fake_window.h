// A WindowContext without a window: real offscreen widgets (pane, information line, bars,
// views) on a settings file of its own, with the shared routines recorded instead of run
// (those that only move the views do move them). Controllers are tested against it.
#pragma once

#include <QLabel>
#include <QToolBar>
#include <QWidget>
#include <string>
#include <vector>

#include "bridge/disk_path.h"
#include "platform/ini_file.h"
#include "platform/setting_key.h"
#include "shellview/combo_view.h"
#include "shellview/file_view.h"
#include "shellview/folder_view.h"
#include "support/temp_dir.h"
#include "ui/action_registry.h"
#include "ui/panel_bar.h"
#include "ui/shown_text.h"
#include "ui/window_context.h"
#include "viewer/text_pane.h"

namespace haruvi::test {

class FakeWindow : public ui::WindowContext {
 public:
  FakeWindow()
      : ini_(dir.path() / "haruvi.ini"),
        settings_(ini_),
        pane_(new viewer::TextPane(&window_)),
        info_(new QLabel(&window_)),
        text_status_(new ui::PanelBar(QStringLiteral("SBarR"), {100, 80, 50, 40, 60, 50, 50}, &window_)),
        status_(new ui::PanelBar(QStringLiteral("StatusBar1"), {300, 100, 120, 80, 50}, &window_)),
        files_(new shellview::TFileView(&window_)),
        folders_(new shellview::TFolderView(&window_)),
        combo_(new shellview::TComboView(&window_)),
        main_bar_(new QToolBar(&window_)),
        text_bar_(new QToolBar(&window_)),
        actions_(&window_),
        text_(new ui::ShownText(*pane_, *info_, *text_status_, &window_)) {}

  // Moves the views to `folder` (as the window does) and selects `name` there.
  void Select(const std::filesystem::path& folder, const QString& name) {
    MoveToFolder(bridge::FromDisk(folder.string()));
    ui::QuietGuard quiet(flags_);
    files_->SelectByCaption(name);
  }
  bool Called(const std::string& routine) const {
    for (const std::string& c : calls) if (c == routine) return true;
    return false;
  }

  QWidget* Window() override { return &window_; }
  ui::ShownText& Text() override { return *text_; }
  // What the tests look at: the pane and the information line themselves.
  viewer::TextPane& Pane() { return *pane_; }
  QLabel& InfoLine() { return *info_; }
  ui::PanelBar& TextStatus() override { return *text_status_; }
  ui::PanelBar& Status() override { return *status_; }
  shellview::TFileView& Files() override { return *files_; }
  shellview::TFolderView& Folders() override { return *folders_; }
  shellview::TComboView& Combo() override { return *combo_; }
  QToolBar& MainToolBar() override { return *main_bar_; }
  QToolBar& TextToolBar() override { return *text_bar_; }
  platform::Settings& Settings() override { return settings_; }
  ui::ActionRegistry& Actions() override { return actions_; }
  ui::WindowFlags& Flags() override { return flags_; }
  QString SelectedPath() const override { return files_->SelectedPath(); }
  QString CurrentFolder() const override { return folders_->SelectedPath(); }
  QString ProgramFolder() const override { return bridge::FromDisk(dir.path().string()); }
  void textclear() override { calls.push_back("textclear"); }
  void folderinfo() override { calls.push_back("folderinfo"); }
  void folderinfo2() override { calls.push_back("folderinfo2"); }
  void viewrefresh() override { calls.push_back("viewrefresh"); }
  void viewreset() override { calls.push_back("viewreset"); }
  void viewreselect(const QString&) override { calls.push_back("viewreselect"); }
  void filedisp() override { calls.push_back("filedisp"); }
  void filedisp2() override { calls.push_back("filedisp2"); }
  void initset() override { calls.push_back("initset"); }
  void ShowSelection() override { calls.push_back("ShowSelection"); }
  bool MoveToFolder(const QString& folder) override {
    calls.push_back("MoveToFolder " + folder.toStdString());
    ui::QuietGuard quiet(flags_);
    return folders_->SelectPath(folder) && files_->SetFolder(folder);
  }
  void SetTextPaneVisible(bool visible) override {
    calls.push_back(visible ? "SetTextPaneVisible 1" : "SetTextPaneVisible 0");
    pane_->setVisible(visible);
  }
  int SavedTextHeight() const override { return saved_height_; }
  void SetSavedTextHeight(int height) override { saved_height_ = height; }

  TempDir dir;
  std::vector<std::string> calls;

 private:
  QWidget window_;
  platform::IniFile ini_;
  platform::Settings settings_;
  viewer::TextPane* pane_;
  QLabel* info_;
  ui::PanelBar* text_status_;
  ui::PanelBar* status_;
  shellview::TFileView* files_;
  shellview::TFolderView* folders_;
  shellview::TComboView* combo_;
  QToolBar* main_bar_;
  QToolBar* text_bar_;
  ui::ActionRegistry actions_;
  ui::WindowFlags flags_;
  ui::ShownText* text_;
  int saved_height_ = 0;
};

}  // namespace haruvi::test
