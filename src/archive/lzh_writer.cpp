// LZH member headers (level 2) and data; see lzh_writer.h.
#include "archive/lzh_writer.h"

#include "archive/lh5_encoder.h"

namespace haruvi::archive {
namespace {

void Put16(std::string& s, std::uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, std::uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}
void Set16(std::string& s, std::size_t at, std::uint32_t v) {
  s[at] = static_cast<char>(v & 0xFF);
  s[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

// One extended header: its type, its data, and the size field of the next one, which the
// caller patches (0 ends the list).
void PutExtension(std::string& h, unsigned char type, std::string_view data) {
  h.push_back(static_cast<char>(type));
  h.append(data);
  Put16(h, 0);
}

}  // namespace

bool LzhWriter::AddFile(std::string_view name, std::string_view data, std::int64_t mtime, std::uint32_t mode,
                        std::string* error) {
  return AddMember(name, false, data, mtime, mode, error);
}

bool LzhWriter::AddDirectory(std::string_view name, std::int64_t mtime, std::uint32_t mode, std::string* error) {
  return AddMember(name, true, {}, mtime, mode, error);
}

bool LzhWriter::AddMember(std::string_view name, bool directory, std::string_view data, std::int64_t mtime,
                          std::uint32_t mode, std::string* error) {
  while (!name.empty() && name.back() == '/') name.remove_suffix(1);
  if (name.empty()) {
    *error = "empty name";
    return false;
  }
  if (name.find('\xFF') != std::string_view::npos || name.find('\0') != std::string_view::npos) {
    *error = "the name holds a byte an LZH header cannot store";
    return false;
  }
  if (data.size() > kLzhMaxFileSize) {
    *error = "larger than an LZH archive can hold (4 GiB)";
    return false;
  }
  // Folders go into their own extension with 0xFF between the parts.
  std::string folder, file;
  const std::size_t slash = name.rfind('/');
  if (directory) {
    folder = std::string(name) + "/";
  } else if (slash != std::string_view::npos) {
    folder = std::string(name.substr(0, slash + 1));
    file = std::string(name.substr(slash + 1));
  } else {
    file = std::string(name);
  }
  for (char& c : folder)
    if (c == '/') c = '\xFF';
  if (folder.size() > 0xFF00 || file.size() > 0xFF00) {
    *error = "the name is too long for an LZH header";
    return false;
  }

  std::string packed;
  const char* method = "-lhd-";
  if (!directory) {
    packed = Lh5Compress(data);
    method = "-lh5-";
    if (packed.size() >= data.size()) {
      packed.assign(data);
      method = "-lh0-";
    }
  }
  const std::uint16_t crc = directory ? 0 : Crc16(data);

  std::string h;
  Put16(h, 0);  // header size, patched below
  h.append(method, 5);
  Put32(h, static_cast<std::uint32_t>(packed.size()));
  Put32(h, static_cast<std::uint32_t>(data.size()));
  Put32(h, static_cast<std::uint32_t>(mtime < 0 ? 0 : mtime > 0xFFFFFFFFLL ? 0xFFFFFFFFLL : mtime));
  // MS-DOS attribute "archive" for folders too: the method -lhd- marks a folder, and a
  // folder attribute here makes some readers refuse the member.
  h.push_back('\x20');
  h.push_back('\x02');                       // header level
  Put16(h, crc);
  h.push_back('U');
  const std::size_t first_size = h.size();
  Put16(h, 0);
  std::size_t size_field = first_size;
  const auto extension = [&](unsigned char type, std::string_view body) {
    Set16(h, size_field, static_cast<std::uint32_t>(body.size() + 3));
    PutExtension(h, type, body);
    size_field = h.size() - 2;
  };
  extension(0x00, std::string(2, '\0'));  // the header's own CRC, patched below
  const std::size_t crc_at = first_size + 3;
  if (!file.empty()) extension(0x01, file);
  if (!folder.empty()) extension(0x02, folder);
  std::string perm;
  Put16(perm, mode & 07777);
  extension(0x50, perm);
  // A header whose size ends in a zero byte would read as the end mark to old readers.
  if ((h.size() & 0xFF) == 0) h.push_back('\0');
  if (h.size() > 0xFFFF) {
    *error = "the name is too long for an LZH header";
    return false;
  }
  Set16(h, 0, static_cast<std::uint32_t>(h.size()));
  Set16(h, crc_at, Crc16(h));
  out_ += h;
  out_ += packed;
  return true;
}

void LzhWriter::Finish() { out_.push_back('\0'); }

}  // namespace haruvi::archive
