// Showing a file, as one step without widgets: from a path and the display settings to
// everything the window shows for it (the pane's bytes or formatted text, or why nothing
// was read, the kind, the code name, the information line and its colour), from one
// stat and one read. The window applies the result; haruvi-tool info prints it.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>

#include "encoding/pane_codec.h"
#include "encoding/text_form.h"
#include "viewer/byte_buffer.h"
#include "viewer/file_info.h"
#include "viewer/rtf_reader.h"
#include "viewer/text_document.h"

namespace haruvi::viewer {

struct DisplaySettings {
  ReadSettings read;
  bool rich_text = false;  // "RTF形式": rich-text files are shown formatted
  encoding::CodePage page = encoding::CodePage::Cp932;
  bool forced = false;     // shown by the show commands, whatever instant display says
  bool editing = false;    // the pane is in simple-edit mode
  // "表示時に文字コードを変換しない": EUC-JP and ISO-2022-JP texts are shown as their bytes
  // in the font's code page instead of decoded.
  bool raw_japanese = false;
  // Only the information line is wanted (haruvi-tool info): the file is looked at through
  // a read-only mapping, detection stops at its first deciding byte and nothing is kept,
  // so a file of gigabytes is named in the time its deciding bytes take.
  bool info_only = false;
  // Files larger than this (0: never) are shown first by their beginning, at most this many
  // bytes ending at a line end; the rest is read and indexed by LoadRest, off the window's
  // thread, so the first screen of any file comes at once.
  std::uint64_t preview_bytes = 0;
};

enum class InfoColor { Black, Red, Blue };

struct FileDisplay {
  bool exists = false;      // something other than a folder is at the path
  bool regular = false;     // a regular file (the only kind that is read)
  std::uint64_t size = 0;
  LoadWay way = LoadWay::Nothing;
  bool loaded = false;      // the whole file was read
  ByteBuffer bytes;         // the pane's bytes (for rich text: the shown text, CR LF)
  std::optional<RtfDocument> rich;  // the formatted text when shown as rich text
  std::string error;        // the system's reason when reading failed
  std::string info_step1;
  std::string kind;         // "[...]" from the file's first line, or empty
  std::string code;         // the code name of the pane's bytes, empty when none
  // The file's form; a UTF-16 file's `bytes` are its lossless UTF-8 form, an ISO-2022-JP
  // file's its EUC-JP form with the escapes kept.
  encoding::TextForm form = encoding::TextForm::Legacy;
  std::string info_line;    // step 1 + kind + code once loaded; step 1 alone on failure
  InfoColor color = InfoColor::Black;
  bool preview = false;     // `bytes` is the beginning only; the code is not known yet
  bool raw_japanese = false;  // as the settings said, for reading the rest the same way
  // The file was cut short while its information was read from a mapping: the kind and
  // code are not the file's (encoding::kFileChangedWhileRead says so).
  bool changed_while_read = false;
};

// The rest of a file shown by its beginning: the whole file read and indexed as the pane
// holds it, and its kind and code. Meant for a worker thread; `cancel` stops it early.
struct LoadedRest {
  TextDocument document;
  std::string code;
  encoding::TextForm form = encoding::TextForm::Legacy;
  std::string error;  // the system's reason when reading failed or was cancelled
  bool loaded = false;
};
LoadedRest LoadRest(const std::string& path, std::uint64_t size, const std::atomic<bool>& cancel,
                    bool raw_japanese = false);

// Never throws; reads nothing but `path`, and only when the read rule says so.
FileDisplay ShowFile(const std::string& path, const DisplaySettings& settings);

// The whole file through an open descriptor; nullopt with *error set to the system's
// message when reading fails.
std::optional<ByteBuffer> ReadWholeFile(const std::string& path, std::uint64_t size_hint, std::string* error);

// The first line of a text: up to the first CR or LF.
std::string_view FirstLineOf(std::string_view text);

}  // namespace haruvi::viewer
