// The file engine on the command line: "dirstat" (the status bar's folder totals), "copy",
// "move" and "trash" through TSHFOP, "split" and "merge" as the window's commands make
// them. A name conflict fails with exit 1 unless --replace or --skip says what to do.
#include <sys/stat.h>

#include <cstring>
#include <iostream>

#include "fileops/folder_walk.h"
#include "fileops/shfop.h"
#include "fileops/split_merge.h"
#include "platform/mounts.h"
#include "tools/tool_command.h"
#include "tools/tool_io.h"

namespace haruvi::tool {
namespace {

int RunDirstat(const Args& args);
const Command kDirstat{"dirstat", "dirstat FOLDER...",
                       "count the files below each folder and their bytes", &RunDirstat};

int RunDirstat(const Args& args) {
  if (args.empty()) return UsageError(kDirstat, "no folder given");
  fileops::WalkOptions options;
  options.skip_devices = platform::PseudoDevices();
  int rc = kExitOk;
  for (const std::string& folder : args) {
    fileops::FolderTotals t = fileops::WalkFolderTotals(folder, options);
    if (!t.unreadable.empty() && t.unreadable.front().path == folder) {
      PrintError(folder + ": cannot open the folder (" + std::strerror(t.unreadable.front().error) + ")");
      rc = kExitNoMatch;
      continue;
    }
    // The totals leave out what could not be read: said folder by folder, and they fail.
    for (const auto& u : t.unreadable)
      PrintError(u.path + ": cannot be read, not counted (" + std::strerror(u.error) + ")");
    if (t.unreadable_folders > t.unreadable.size())
      PrintError(std::to_string(t.unreadable_folders - t.unreadable.size()) + " more folders cannot be read");
    if (t.unreadable_folders > 0) rc = kExitNoMatch;
    std::cout << t.files << '\t' << t.bytes << '\t' << folder << '\n';
  }
  return rc;
}

// Answers the engine's questions from the options: conflicts as --replace / --skip say,
// else each one is reported and left; the target folder is never made unasked.
class ToolUi : public fileops::FileOpUi {
 public:
  explicit ToolUi(fileops::ConflictChoice choice, bool chosen) : choice_(choice), chosen_(chosen) {}
  bool AskCreateFolder(const std::string& folder) override {
    struct stat st {};
    PrintError(folder + (::stat(folder.c_str(), &st) == 0 ? ": not a folder" : ": no such folder"));
    return false;
  }
  fileops::ConflictAnswer AskConflict(const fileops::Conflict& c) override {
    if (chosen_) return {choice_, true};
    PrintError(c.target.path + ": already exists (give --replace or --skip)");
    conflicts_ = true;
    return {fileops::ConflictChoice::Skip, false};
  }
  bool conflicts() const { return conflicts_; }

 private:
  fileops::ConflictChoice choice_;
  bool chosen_;
  bool conflicts_ = false;
};

int RunTransfer(const Command& command, fileops::TwFuncOption op, const Args& args) {
  Args paths;
  bool replace = false, skip = false, options = true;
  for (const std::string& a : args) {
    if (options && a == "--") options = false;
    else if (options && a == "--replace") replace = true;
    else if (options && a == "--skip") skip = true;
    else paths.push_back(a);
  }
  if (replace && skip) return UsageError(command, "--replace and --skip exclude each other");
  if (op != fileops::wDELETE && paths.size() < 2) return UsageError(command, "give sources and a folder");
  if (paths.empty()) return UsageError(command, "no path given");
  fileops::TSHFOP shfop;
  shfop.OperationF = op;
  shfop.Options = op == fileops::wDELETE ? fileops::TfFlagsOptions{fileops::ALLOWUNDO} : fileops::TfFlagsOptions{};
  if (op != fileops::wDELETE) {
    shfop.ToFolder = paths.back();
    paths.pop_back();
  }
  shfop.FromFFList = paths;
  ToolUi ui(replace ? fileops::ConflictChoice::Replace : fileops::ConflictChoice::Skip, replace || skip);
  bool ok = false;
  try {
    ok = shfop.Execute(&ui);
  } catch (const fileops::FileOpError& e) {
    PrintError(e.what());
    return kExitNoMatch;
  }
  for (const fileops::Problem& p : shfop.Problems()) PrintError(p.path + ": " + p.reason);
  return ok && !ui.conflicts() ? kExitOk : kExitNoMatch;
}

int RunCopy(const Args& args);
int RunMove(const Args& args);
int RunTrash(const Args& args);
const Command kCopy{"copy", "copy [--replace|--skip] SOURCE... FOLDER",
                    "copy files and folders into FOLDER (modes, times, links and holes kept)", &RunCopy, true};
const Command kMove{"move", "move [--replace|--skip] SOURCE... FOLDER",
                    "move files and folders into FOLDER (across file systems: copy, check, delete)", &RunMove, true};
const Command kTrash{"trash", "trash PATH...", "move files and folders to the desktop's trash", &RunTrash, true};
int RunCopy(const Args& args) { return RunTransfer(kCopy, fileops::wCOPY, args); }
int RunMove(const Args& args) { return RunTransfer(kMove, fileops::wMOVE, args); }
int RunTrash(const Args& args) { return RunTransfer(kTrash, fileops::wDELETE, args); }

int RunSplit(const Args& args);
const Command kSplit{"split", "split FILE BYTES",
                     "cut FILE into FILE.001, .002... of BYTES each and write FILE.bat to join them", &RunSplit};

int RunSplit(const Args& args) {
  if (args.size() != 2) return UsageError(kSplit, "give a file and a piece size");
  const std::optional<std::uint64_t> size = fileops::ParsePieceSize(args[1]);
  if (!size) return UsageError(kSplit, "the piece size must be a whole number above 0");
  const fileops::SplitOutcome r = fileops::SplitFile(args[0], *size);
  for (const std::string& p : r.pieces) std::cout << p << '\n';
  if (!r.batch.empty()) std::cout << r.batch << '\n';
  if (!r.ok) {
    PrintError(r.error);
    return kExitNoMatch;
  }
  return kExitOk;
}

int RunMerge(const Args& args);
const Command kMerge{"merge", "merge TARGET PIECE...", "join the pieces end to end into TARGET", &RunMerge};

int RunMerge(const Args& args) {
  if (args.size() < 2) return UsageError(kMerge, "give a target and at least one piece");
  const fileops::MergeOutcome r = fileops::MergeFiles(args[0], Args(args.begin() + 1, args.end()));
  if (!r.ok) {
    PrintError(r.error);
    return kExitNoMatch;
  }
  return kExitOk;
}

const bool registered = RegisterCommand(kDirstat) && RegisterCommand(kCopy) && RegisterCommand(kMove) &&
                        RegisterCommand(kTrash) && RegisterCommand(kSplit) && RegisterCommand(kMerge);

}  // namespace
}  // namespace haruvi::tool
