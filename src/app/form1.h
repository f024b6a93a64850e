// TForm1: the main window. It assembles the browsing views, the text pane and the
// tool controllers; its slots keep the command handler names and stay thin.
#pragma once

#include <QMainWindow>
#include <QString>

#include "platform/ini_file.h"

class QCloseEvent;
class QShowEvent;

namespace haruvi::app {

class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  // `start_file`: the command line's arguments joined with single blanks (may be empty).
  explicit TForm1(QString start_file, QWidget* parent = nullptr);

  platform::IniFile& ini() { return ini_; }

  void FormCreate();
  void FormShow();
  bool FormCloseQuery();
  void iniload();
  void inisave();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  platform::IniFile ini_;
  QString start_file_;
  bool shown_once_ = false;
};

}  // namespace haruvi::app
