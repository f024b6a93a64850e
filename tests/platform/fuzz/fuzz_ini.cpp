// libFuzzer target: the settings file read, written and read back. Whatever the file
// holds, a value written under a plain section and key reads back as written (line breaks
// as blanks), every other key keeps its value, and nothing crashes.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "platform/ini_file.h"

namespace {

bool Plain(const std::string& s) {
  if (s.empty() || s.size() > 8) return false;
  for (char c : s)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  return true;
}

bool Utf8(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;  // enough for the check: ASCII values survive every form
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  // file bytes | section | key | value, split at the last three 0x01 bytes.
  std::string parts[4];
  std::size_t cut = in.size();
  for (int i = 3; i > 0; --i) {
    const std::size_t at = cut == 0 ? std::string::npos : in.rfind('\x01', cut - 1);
    if (at == std::string::npos) return 0;
    parts[i] = in.substr(at + 1, cut - at - 1);
    cut = at;
  }
  parts[0] = in.substr(0, cut);
  // The scratch folder goes when the fuzzer ends.
  struct Scratch {
    std::string folder;
    ~Scratch() {
      std::error_code ec;
      std::filesystem::remove_all(folder, ec);
    }
  };
  static const Scratch scratch = [] {
    char tmpl[] = "/tmp/haruvi-fuzz-ini-XXXXXX";
    return Scratch{std::string(::mkdtemp(tmpl))};
  }();
  static const std::string path = scratch.folder + "/f.ini";
  { std::ofstream(path, std::ios::binary | std::ios::trunc) << parts[0]; }

  haruvi::platform::IniFile before(path);
  const std::string sections[] = {"A", "Form", "Menu", parts[1]};
  std::map<std::pair<std::string, std::string>, std::string> old;
  for (const std::string& s : sections)
    for (const std::string& k : before.ReadSectionKeys(s))
      if (auto v = before.ReadValue(s, k)) old.emplace(std::make_pair(s, k), *v);

  haruvi::platform::IniFile ini(path);
  const bool written = ini.WriteString(parts[1], parts[2], parts[3]);
  if (!written || !Plain(parts[1]) || !Plain(parts[2])) return 0;
  haruvi::platform::IniFile after(path);
  std::string expect = parts[3];
  for (char& c : expect)
    if (c == '\r' || c == '\n') c = ' ';
  if (Utf8(expect) && after.ReadValue(parts[1], parts[2]) != expect) std::abort();
  for (const auto& [sk, v] : old) {
    if (haruvi::platform::SameIniName(sk.first, parts[1]) && haruvi::platform::SameIniName(sk.second, parts[2])) continue;
    if (Utf8(v) && after.ReadValue(sk.first, sk.second) != v) std::abort();
  }
  return 0;
}
