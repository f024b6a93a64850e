// Cutting a file into numbered pieces and joining files end to end, each with its batch
// file of "COPY /B" lines that redoes the join without the program. Pure POSIX, no Qt.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace haruvi::fileops {

inline constexpr std::uint64_t kMaxPieces = 1000;  // three digits: 001 to 999, then 000; more would reuse names

// The path without its extension, ".", and the number's last three digits of "000" + n:
// ("/d/data.zip", 1) -> "/d/data.001". A leading "." of a name is no extension.
std::string PieceName(const std::string& file, std::uint64_t n);
// The path with its extension changed to ext (".bat", ".bak").
std::string WithExtension(const std::string& file, const std::string& ext);

// file size div piece size + 1: an exact multiple ends with an empty piece.
std::uint64_t PieceCount(std::uint64_t file_size, std::uint64_t piece_size);
// The size box's text as a piece size: a whole number above 0, else nullopt.
std::optional<std::uint64_t> ParsePieceSize(const std::string& text);
// The count the size dialog shows: a text that is no number counts as 1.
std::uint64_t PreviewCount(std::uint64_t file_size, const std::string& size_text);

// Why a split cannot go ahead (count above kMaxPieces, or a piece or the batch file would
// be the file itself); empty when it can.
std::string SplitRefusal(const std::string& file, std::uint64_t file_size, std::uint64_t piece_size);

struct SplitOutcome {
  bool ok = false;
  bool cancelled = false;
  std::string error;                // "PATH: reason"
  std::vector<std::string> pieces;  // written, in order
  std::string batch;                // the batch file's path, when written
};

// Called before piece i of count; false stops after the piece being written.
using PieceProgress = std::function<bool(std::uint64_t i, std::uint64_t count)>;

// Writes the pieces, then the batch file (CR LF lines; also after a write error, with
// the lines of the pieces written, but never after Cancel).
SplitOutcome SplitFile(const std::string& file, std::uint64_t piece_size, const PieceProgress& progress = {});

// The batch lines of a split: "COPY /B data.001 data.zip", "COPY /B data.zip+data.002 data.zip"...
std::vector<std::string> SplitBatchLines(const std::string& file, std::uint64_t count);
// The batch lines of a merge in `folder` (ending in "/") of `entries` into `target_name`.
std::vector<std::string> MergeBatchLines(const std::string& folder, const std::vector<std::string>& entries,
                                         const std::string& target_name);

struct MergeOutcome {
  bool ok = false;
  std::string error;
};

// Refusal text when the target is one of the sources (same name or same file); empty if none.
std::string MergeRefusal(const std::string& target, const std::vector<std::string>& sources);
// The merge dialog's OK: keeps an older batch file as NAME.bak and writes the new one.
MergeOutcome WriteMergeBatch(const std::string& folder, const std::vector<std::string>& entries,
                             const std::string& target_name);
// Joins the sources into a temporary file beside the target, flushed when a file of the
// target's name is there to be replaced, then renamed into place: the target is whole
// or untouched.
MergeOutcome MergeFiles(const std::string& target, const std::vector<std::string>& sources);

}  // namespace haruvi::fileops
