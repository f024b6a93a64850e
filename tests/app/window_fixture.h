// A TForm1 on its own settings file and its own folder tree, for window tests.
#pragma once

#include <stdlib.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>
#include <memory>

#include <gtest/gtest.h>

#include "app/form1.h"
#include "controllers/save/save_controller.h"
#include "shellview/file_view.h"
#include "support/temp_dir.h"
#include "ui/messages.h"

namespace haruvi::app {

class WindowTest : public ::testing::Test {
 protected:
  // Messages go to standard error rather than into a box no test would click away.
  void SetUp() override {
    ::setenv("HARUVI_INI", (dir / "haruvi.ini").c_str(), 1);
    ui::SetHeadless(true);
    // No key held from an earlier test: a selection asks the keyboard what is held, and
    // here the keyboard is what the last key event said.
    QWidget keys;
    QTest::keyRelease(&keys, Qt::Key_Shift, Qt::NoModifier);
  }
  void TearDown() override {
    if (form) form->close();
    form.reset();
    controllers::SaveController::ask_name = nullptr;  // a test's answer to the save dialog
    ::unsetenv("HARUVI_INI");
  }
  std::filesystem::path IniPath() const { return dir / "haruvi.ini"; }
  void WriteIni(const std::string& text) { dir.Write("haruvi.ini", text); }
  TForm1& Open(const QString& start_file = {}) {
    form = std::make_unique<TForm1>(start_file);
    form->show();
    QApplication::processEvents();
    return *form;
  }
  void Reopen() {
    form->close();
    form.reset();
    Open();
  }
  QString Q(const std::filesystem::path& p) const { return QString::fromStdString(p.string()); }
  // A menu command by its action's name, and a file of the shown folder by its caption.
  void Run(const char* action) { form->Action(QString::fromUtf8(action))->trigger(); }
  void SelectHere(const char* caption) { ASSERT_EQ(form->FileView1->SelectByCaption(QString::fromUtf8(caption)), 1); }
  // Answers the next modal dialog, which must be a D: `fill` sets its fields, then it is
  // accepted (any other dialog is closed, failing the test, so nothing waits for ever).
  template <class D, class Fill>
  void AnswerNext(Fill fill) {
    QTimer::singleShot(20, form.get(), [fill] {
      QWidget* modal = QApplication::activeModalWidget();
      auto* dialog = qobject_cast<D*>(modal);
      if (!dialog) {
        ADD_FAILURE() << "the next dialog was not the one expected";
        if (modal) modal->close();
        return;
      }
      fill(dialog);
      dialog->accept();
    });
  }
  // Waits while the command `action` stays enabled (a grep running), up to ten seconds.
  void WaitWhileEnabled(const char* action) {
    QElapsedTimer waited;
    waited.start();
    while (form->Action(QString::fromUtf8(action))->isEnabled() && waited.elapsed() < 10000) QTest::qWait(20);
  }

  test::TempDir dir;
  std::unique_ptr<TForm1> form;
};

}  // namespace haruvi::app
