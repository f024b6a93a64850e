// Line-end normalisation in one pass: runs between line ends are copied whole.
#include "encoding/crlf_lines.h"

#include <cstring>

#include "encoding/byte_writer.h"

namespace haruvi::encoding {

std::string JoinLinesWithCrLf(std::string_view file_bytes) {
  if (const void* nul = std::memchr(file_bytes.data(), '\0', file_bytes.size()))
    file_bytes = file_bytes.substr(0, static_cast<size_t>(static_cast<const char*>(nul) - file_bytes.data()));
  const char* p = file_bytes.data();
  const size_t n = file_bytes.size();
  ByteWriter out(n + n / 32 + 2);
  size_t i = 0;
  while (i < n) {
    // The end of this line: the first CR or LF.
    size_t end = i;
    while (end < n && p[end] != '\r' && p[end] != '\n') ++end;
    out.Append(file_bytes.substr(i, end - i));
    out.Append("\r\n");
    if (end < n && p[end] == '\r' && end + 1 < n && p[end + 1] == '\n') ++end;
    i = end + 1;
  }
  return out.Finish();
}

}  // namespace haruvi::encoding
