// A scripted user for the file engine's tests: it answers the folder question and the
// conflict questions from a list, records what it was asked and can press Cancel; and the
// operation the tests set up.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fileops/shfop.h"

namespace haruvi::test {

inline fileops::TSHFOP MakeOp(fileops::TwFuncOption f, std::vector<std::string> from, std::string to,
                              fileops::TfFlagsOptions options = fileops::TfFlagsOptions{}) {
  fileops::TSHFOP op;
  op.OperationF = f;
  op.FromFFList = std::move(from);
  op.ToFolder = std::move(to);
  op.Options = options;
  return op;
}

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
