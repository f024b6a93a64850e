// A scripted user for the file engine's tests: it answers the folder question and the
// conflict questions from a list, records what it was asked and can press Cancel.
#pragma once

#include <functional>
#include <vector>

#include "fileops/shfop.h"

namespace haruvi::test {

struct ScriptedUi : fileops::FileOpUi {
  bool create_folder = true;
  std::vector<fileops::ConflictAnswer> answers;  // used in turn; Cancel when used up
  std::vector<fileops::Conflict> conflicts;
  std::vector<std::string> folder_questions;
  std::function<bool(const fileops::ProgressInfo&)> on_progress;  // false presses Cancel
  fileops::ProgressInfo last;
  bool cancel = false;

  bool AskCreateFolder(const std::string& folder) override {
    folder_questions.push_back(folder);
    return create_folder;
  }
  fileops::ConflictAnswer AskConflict(const fileops::Conflict& c) override {
    conflicts.push_back(c);
    if (conflicts.size() > answers.size()) return {};
    return answers[conflicts.size() - 1];
  }
  void Progress(const fileops::ProgressInfo& p) override {
    last = p;
    if (on_progress && !on_progress(p)) cancel = true;
  }
  bool Cancelled() override { return cancel; }
};

}  // namespace haruvi::test
