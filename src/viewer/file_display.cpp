#include "viewer/file_display.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "encoding/char_code.h"

namespace haruvi::viewer {

FileLoad PrepareDisplay(const std::string& path, const ReadSettings& settings) {
  FileLoad load;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return load;
  load.exists = true;
  load.size = static_cast<std::uint64_t>(st.st_size);
  load.info_step1 = InfoLineStep1(path);
  load.way = ReadRule(load.size, settings);
  return load;
}

std::optional<ByteBuffer> ReadWholeFile(const std::string& path, std::uint64_t size_hint, std::string* error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = std::strerror(errno);
    return std::nullopt;
  }
  // The file may change while it is read: it is read to its end, whatever the size said.
  std::optional<ByteBuffer> bytes = ByteBuffer::ReadAll(fd, static_cast<size_t>(size_hint), error);
  ::close(fd);
  return bytes;
}

FileLoad LoadFileForDisplay(const std::string& path, const ReadSettings& settings) {
  FileLoad load = PrepareDisplay(path, settings);
  if (!load.exists || load.way == LoadWay::Nothing) return load;
  std::optional<ByteBuffer> bytes = ReadWholeFile(path, load.size, &load.error);
  if (!bytes) return load;
  load.bytes = std::move(*bytes);
  load.loaded = true;
  return load;
}

std::string_view FirstLineOf(std::string_view text) {
  size_t end = text.find_first_of("\r\n");
  return end == std::string_view::npos ? text : text.substr(0, end);
}

std::string InfoLineFor(const std::string& path, const ReadSettings& settings) {
  FileLoad load = LoadFileForDisplay(path, settings);
  if (!load.exists) return {};
  std::string kind, code;
  if (load.loaded) {
    kind = filekind(FirstLineOf(load.bytes.view()), path);
    if (!load.bytes.empty()) code = encoding::CharCodeName(encoding::DetectCharCode(load.bytes.view()));
  }
  return InfoLineStep2(load.info_step1, kind, code);
}

}  // namespace haruvi::viewer
