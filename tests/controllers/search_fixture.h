// The search commands against a window-less context, the dialogs answered from a script
// (nullopt standing for Cancel) and what they were shown recorded; messages go to
// standard error, where the tests read them.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <optional>

#include "controllers/search/search_controller.h"
#include "controllers/search/search_dialogs.h"
#include "fake_window.h"
#include "support/sjis.h"
#include "ui/messages.h"

namespace haruvi::controllers {

class ScriptedSearch : public SearchDialogs {
 public:
  template <typename T>
  static std::optional<T> Next(std::deque<std::optional<T>>& q, const char* what) {
    if (q.empty()) {
      ADD_FAILURE() << "unexpected dialog " << what;
      return std::nullopt;
    }
    auto a = q.front();
    q.pop_front();
    return a;
  }
  std::optional<FindAnswer> Find(QWidget*, const FindSetup& setup) override {
    find_setups.push_back(setup);
    return Next(finds, "TForm32");
  }
  std::optional<PatternAnswer> Pattern(QWidget*, PatternSetup& setup) override {
    pattern_setups.push_back(setup);
    auto a = Next(patterns, "TForm25");
    if (a) {  // as the dialog keeps its histories
      if (!a->pattern.isEmpty() && !setup.patterns.contains(a->pattern)) setup.patterns.prepend(a->pattern);
      if (!a->replacement.isEmpty() && !setup.replacements.contains(a->replacement))
        setup.replacements.prepend(a->replacement);
    }
    return a;
  }
  std::optional<GrepAnswer> Grep(QWidget*, const GrepSetup& setup) override {
    grep_setups.push_back(setup);
    return Next(greps, "TForm9");
  }
  std::optional<ListAnswer> List(QWidget*, const ListSetup& setup) override {
    list_setups.push_back(setup);
    return Next(lists, "TForm31");
  }
  std::optional<QString> Text(QWidget*, const QString& caption, const QString&, const QString& initial) override {
    text_asked.push_back(caption + QLatin1Char('|') + initial);
    return Next(texts, "input box");
  }

  std::deque<std::optional<FindAnswer>> finds;
  std::deque<std::optional<PatternAnswer>> patterns;
  std::deque<std::optional<GrepAnswer>> greps;
  std::deque<std::optional<ListAnswer>> lists;
  std::deque<std::optional<QString>> texts;
  std::vector<FindSetup> find_setups;
  std::vector<PatternSetup> pattern_setups;
  std::vector<GrepSetup> grep_setups;
  std::vector<ListSetup> list_setups;
  std::vector<QString> text_asked;
};

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui::SetHeadless(true);
    controller = std::make_unique<SearchController>(win);
    auto d = std::make_unique<ScriptedSearch>();
    dialogs = d.get();
    controller->SetDialogs(std::move(d));
  }
  void TearDown() override { ui::SetHeadless(false); }

  void Show(const std::string& utf8) { win.Pane().SetText(test::S(utf8)); }
  std::string PaneUtf8() const {
    return viewer::DecodeForDisplay(const_cast<test::FakeWindow&>(win).Pane().Text(), encoding::CodePage::Cp932)
        .toStdString();
  }
  std::string Selected() { return viewer::DecodeForDisplay(win.Pane().SelectedText(), encoding::CodePage::Cp932).toStdString(); }
  bool Red() { return win.InfoLine().palette().color(QPalette::WindowText) == QColor(255, 0, 0); }
  platform::IniFile& Ini() { return win.Settings().File(); }

  test::FakeWindow win;
  std::unique_ptr<SearchController> controller;
  ScriptedSearch* dialogs = nullptr;
};

}  // namespace haruvi::controllers
