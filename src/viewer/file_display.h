// Reading a file for display: the read rule applied to the file's size, the bytes read
// (or why not), and the information line's two steps. The pane and the window take it
// from here; haruvi-tool info prints the same line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "viewer/byte_buffer.h"
#include "viewer/file_info.h"

namespace haruvi::viewer {

struct FileLoad {
  bool exists = false;       // a file (not a folder) was there to read
  std::uint64_t size = 0;
  LoadWay way = LoadWay::Nothing;
  bool loaded = false;       // bytes holds the whole file
  ByteBuffer bytes;
  std::string error;         // the system's message when reading failed
  std::string info_step1;
};

// Stats `path`: whether it is a file, its size, the way the read rule picks, step 1 of the
// information line. Reads nothing.
FileLoad PrepareDisplay(const std::string& path, const ReadSettings& settings);
// The whole file; nullopt with *error set to the system's message when reading fails.
std::optional<ByteBuffer> ReadWholeFile(const std::string& path, std::uint64_t size_hint, std::string* error);
// Both: stats and reads `path` under the read settings. Never throws.
FileLoad LoadFileForDisplay(const std::string& path, const ReadSettings& settings);

// The first line of a text: up to the first CR or LF.
std::string_view FirstLineOf(std::string_view text);

// The whole information line of a file shown in plain-text mode: step 1, then the kind
// and the code name of the loaded bytes (empty when nothing was loaded).
std::string InfoLineFor(const std::string& path, const ReadSettings& settings);

}  // namespace haruvi::viewer
