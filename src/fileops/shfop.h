// TSHFOP (the window's SHFOP1): copy, move, delete and rename of files and folders with
// progress, Cancel, conflict questions and the trash, over POSIX. Pure (no Qt): the window
// runs Execute off its own thread and answers the questions through a FileOpUi.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace haruvi::fileops {

enum TwFuncOption { wCOPY, wDELETE, wMOVE, wRENAME };

enum TfFlagsOption {
  ALLOWUNDO,
  FILESONLY,
  MULTIDESTFILES,
  NOCONFIRMATION,
  NOCONFIRMMKDIR,
  RENAMEONCOLLISION,
  SILENT,
  SIMPLEPROGRESS
};

// A set of TfFlagsOption in one byte, bit n for the option of ordinal n.
class TfFlagsOptions {
 public:
  TfFlagsOptions() = default;
  TfFlagsOptions(std::initializer_list<TfFlagsOption> options) {
    for (TfFlagsOption o : options) Add(o);
  }
  bool Has(TfFlagsOption o) const { return bits_ & Bit(o); }
  void Add(TfFlagsOption o) { bits_ = static_cast<std::uint8_t>(bits_ | Bit(o)); }
  void Remove(TfFlagsOption o) { bits_ = static_cast<std::uint8_t>(bits_ & ~Bit(o)); }
  std::uint8_t Bits() const { return bits_; }
  bool operator==(const TfFlagsOptions&) const = default;

 private:
  static std::uint8_t Bit(TfFlagsOption o) { return static_cast<std::uint8_t>(1u << o); }
  std::uint8_t bits_ = 0;
};

// What the conflict question shows of each side.
struct EntryFacts {
  std::string path;
  std::uint64_t size = 0;
  std::int64_t mtime = 0;  // seconds since the epoch
  bool folder = false;
};

struct Conflict {
  EntryFacts source;
  EntryFacts target;
};

enum class ConflictChoice { Replace, Skip, Rename, Cancel };

struct ConflictAnswer {
  ConflictChoice choice = ConflictChoice::Cancel;
  bool apply_to_all = false;  // the same answer for every later conflict of this Execute
};

struct ProgressInfo {
  std::uint64_t files_done = 0, files_total = 0;
  std::uint64_t bytes_done = 0, bytes_total = 0;
  std::string current;  // the source being worked on
};

// A file the operation could not handle, with the system's reason.
struct Problem {
  std::string path;
  std::string reason;
};

// The user's side of an operation. Every call comes from the thread running Execute.
class FileOpUi {
 public:
  virtual ~FileOpUi() = default;
  // FOLDER + " は存在しません. 作成しますか？": true for OK.
  virtual bool AskCreateFolder(const std::string& folder) = 0;
  virtual ConflictAnswer AskConflict(const Conflict& conflict) = 0;
  virtual void Progress(const ProgressInfo&) {}
  // Looked at between files and between pieces of a file.
  virtual bool Cancelled() { return false; }
};

// The per-file record of FileList when GetFileList is set.
struct FileInfo {
  std::string display_name;  // the file's name
  std::string attributes;    // the letters R, H, S, A as the information line shows them
  struct stat st {};
};

struct FileListEntry {
  std::string path;
  std::optional<FileInfo> info;
};

class FileOpError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TSHFOP {
 public:
  using PreparedEvent = std::function<void(TSHFOP& sender, bool& exec_flag)>;

  TSHFOP() = default;

  // Published properties.
  bool GetFileList = false;
  std::string ProgressTitle;
  std::vector<std::string> FromFFList;  // sources; a line may hold "*" and "?" (an existing
                                        // entry of that very name is taken as itself)
  std::string ToFolder;                 // target folder; the new name for rename
  // With MULTIDESTFILES: the full target of each source in turn (empty: ToFolder is the
  // one target of a single source).
  std::vector<std::string> ToFiles;
  TwFuncOption OperationF = wCOPY;
  TfFlagsOptions Options{ALLOWUNDO};
  PreparedEvent OnPrepared;

  // The resolved files of the last Execute (never folders), and what went wrong.
  const std::vector<FileListEntry>& FileList() const { return file_list_; }
  bool Aborted() const { return aborted_; }
  const std::vector<Problem>& Problems() const { return problems_; }

  // Runs the operation; true when everything was done and nothing was cancelled. `ui`
  // may be null: no question is asked then (a missing folder is not made, a conflict
  // fails that entry). Throws FileOpError "ディレクトリを作成することができません" when a
  // missing target folder has no name or cannot be made.
  bool Execute(FileOpUi* ui = nullptr);

  // Where the trash lives (tests point it into a temporary folder).
  std::string trash_data_home;  // empty: the user's

 private:
  std::vector<std::string> ExpandSources();
  void Resolve(const std::string& path);
  void AddFile(const std::string& path, const struct stat& st);
  bool RunOperation(const std::vector<std::string>& sources, FileOpUi* ui);

  std::vector<FileListEntry> file_list_;
  std::vector<Problem> problems_;
  std::uint64_t total_bytes_ = 0;
  bool aborted_ = false;
};

// The rename pattern of a name: "?" takes one character of the old name, "*" the rest up
// to the pattern's next character (to the last "." when that is a "."), anything else is
// itself: ("?*.bak", "notes.txt") -> "notes.bak".
std::string ApplyRenameMask(const std::string& mask, const std::string& name);

// A free name beside `path` for "rename on collision": "a.txt" -> "a (2).txt", "(3)"...
std::string FreeName(const std::string& path);

}  // namespace haruvi::fileops
