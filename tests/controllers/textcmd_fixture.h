// The text commands against a window-less context, with the prompts answered from a
// script instead of dialogs: each answer in turn, nullopt standing for Cancel. What was
// asked and every refusal are recorded.
#pragma once

#include <gtest/gtest.h>

#include <QColor>
#include <QLabel>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/shown_text.h"
#include "controllers/textcmd/textcmd_controller.h"
#include "controllers/textcmd/textcmd_dialogs.h"
#include "fake_window.h"
#include "support/sjis.h"

namespace haruvi::controllers {

class ScriptedDialogs : public TextCmdDialogs {
 public:
  struct Asked {
    QString caption, prompt, initial;
  };
  struct ColumnsAsked {
    QString caption;
    long long start, count;
    bool with_count;
  };

  std::optional<QString> Text(QWidget*, const QString& caption, const QString& prompt,
                              const QString& initial) override {
    asked.push_back({caption, prompt, initial});
    if (texts.empty()) {
      ADD_FAILURE() << "unexpected prompt " << caption.toStdString();
      return std::nullopt;
    }
    auto answer = texts.front();
    texts.pop_front();
    return answer;
  }
  std::optional<Columns> Column(QWidget*, const QString& caption, long long start, long long count,
                                bool with_count) override {
    columns_asked.push_back({caption, start, count, with_count});
    if (columns.empty()) {
      ADD_FAILURE() << "unexpected column dialog " << caption.toStdString();
      return std::nullopt;
    }
    auto answer = columns.front();
    columns.pop_front();
    return answer;
  }
  void Refuse(QWidget*, const QString& message) override { refusals.push_back(message); }

  std::deque<std::optional<QString>> texts;
  std::deque<std::optional<Columns>> columns;
  std::vector<Asked> asked;
  std::vector<ColumnsAsked> columns_asked;
  std::vector<QString> refusals;
};

class TextCmdTest : public ::testing::Test {
 protected:
  TextCmdTest() {
    auto d = std::make_unique<ScriptedDialogs>();
    dialogs = d.get();
    cmd.SetDialogs(std::move(d));
  }
  // A text as a newly shown file has it: read-only pane, black label.
  void Show(const std::string& bytes) {
    w.Pane().SetText(bytes);
    SetInfoColor(Qt::black);
  }
  void SetInfoColor(const QColor& c) {
    QPalette p = w.InfoLine().palette();
    p.setColor(QPalette::WindowText, c);
    w.InfoLine().setPalette(p);
  }
  QColor InfoColor() { return w.InfoLine().palette().color(QPalette::WindowText); }
  std::string Text() { return w.Pane().Bytes(); }
  void Run(const char* action) { w.Actions().Trigger(QString::fromUtf8(action)); }
  // Answers the next prompts in turn.
  void Answer(std::initializer_list<std::optional<QString>> answers) {
    for (const auto& a : answers) dialogs->texts.push_back(a);
  }
  bool Editing() { return !w.Pane().ReadOnly(); }

  test::FakeWindow w;
  TextCmdController cmd{w};
  ScriptedDialogs* dialogs = nullptr;
};

inline std::string Sj(std::string_view utf8) { return test::S(utf8); }
inline const QColor kRed(255, 0, 0);

}  // namespace haruvi::controllers
