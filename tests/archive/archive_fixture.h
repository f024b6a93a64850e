// Helpers of the archive tests: archives with any entries (hostile ones included) made
// straight through libarchive, LZH archives of the old header levels, deflated bytes made
// through zlib, and the list of what a folder holds.
#pragma once

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <zlib.h>

#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace haruvi::test {

// `data` deflated at `level`: raw with window bits -15, one gzip member with 31.
inline std::string Deflated(std::string_view data, int level, int window_bits) {
  z_stream z{};
  deflateInit2(&z, level, Z_DEFLATED, window_bits, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&z, static_cast<uLong>(data.size())) + 32, '\0');  // room for a gzip header
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

struct RawEntry {
  RawEntry(std::string n, std::string d = {}, unsigned t = AE_IFREG, std::string l = {}, std::string h = {})
      : name(std::move(n)), data(std::move(d)), type(t), link(std::move(l)), hardlink(std::move(h)) {}
  std::string name;
  std::string data;
  unsigned type = AE_IFREG;
  std::string link;       // symlink target
  std::string hardlink;   // hard-link target
  unsigned mode = 0644;
};

// format: "tar" (pax restricted), "ustar", "zip"; filter: "", "gzip", "bzip2".
inline void WriteRawArchive(const std::string& path, const std::vector<RawEntry>& entries,
                            const std::string& format = "ustar", const std::string& filter = "") {
  ::archive* a = archive_write_new();
  if (format == "zip") archive_write_set_format_zip(a);
  else if (format == "tar") archive_write_set_format_pax_restricted(a);
  else archive_write_set_format_ustar(a);
  if (filter == "gzip") archive_write_add_filter_gzip(a);
  if (filter == "bzip2") archive_write_add_filter_bzip2(a);
  archive_write_open_filename(a, path.c_str());
  for (const RawEntry& r : entries) {
    ::archive_entry* e = archive_entry_new();
    archive_entry_copy_pathname(e, r.name.c_str());
    archive_entry_set_filetype(e, r.type);
    archive_entry_set_perm(e, r.mode);
    archive_entry_set_mtime(e, 1700000000, 0);
    if (!r.link.empty()) archive_entry_copy_symlink(e, r.link.c_str());
    if (!r.hardlink.empty()) archive_entry_copy_hardlink(e, r.hardlink.c_str());
    if (r.type == AE_IFCHR) archive_entry_set_rdev(e, makedev(1, 3));
    archive_entry_set_size(e, r.type == AE_IFREG && r.hardlink.empty() ? static_cast<la_int64_t>(r.data.size()) : 0);
    archive_write_header(a, e);
    if (!r.data.empty() && r.hardlink.empty()) archive_write_data(a, r.data.data(), r.data.size());
    archive_entry_free(e);
  }
  archive_write_close(a);
  archive_write_free(a);
}

// An LZH of level-0 or level-1 headers as Windows writers make them: CP932 names with
// "\" between folders, data stored (-lh0-).
inline std::string LzhOfLevel(int level, const std::vector<std::pair<std::string, std::string>>& files) {
  const auto put32 = [](std::string& s, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
  };
  const auto crc16 = [](const std::string& d) {
    std::uint16_t c = 0;
    for (const char ch : d) {
      c ^= static_cast<unsigned char>(ch);
      for (int k = 0; k < 8; ++k) c = static_cast<std::uint16_t>(c & 1 ? (c >> 1) ^ 0xA001 : c >> 1);
    }
    return c;
  };
  std::string out;
  for (const auto& [name, data] : files) {
    std::string body = "-lh0-";
    put32(body, static_cast<std::uint32_t>(data.size()));
    put32(body, static_cast<std::uint32_t>(data.size()));
    put32(body, 0x5A210000);  // 2025-01-01 as an MS-DOS stamp
    body += '\x20';
    body += static_cast<char>(level);
    body += static_cast<char>(name.size());
    body += name;
    const std::uint16_t crc = crc16(data);
    body += static_cast<char>(crc & 0xFF);
    body += static_cast<char>(crc >> 8);
    if (level == 1) body += std::string("M\0\0", 3);  // no extended header follows
    unsigned sum = 0;
    for (const char ch : body) sum += static_cast<unsigned char>(ch);
    out += static_cast<char>(body.size());
    out += static_cast<char>(sum & 0xFF);
    out += body + data;
  }
  return out + '\0';
}

// Every path below `root` (relative, "/" between parts), links not followed.
inline std::set<std::string> TreeOf(const std::filesystem::path& root) {
  std::set<std::string> out;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    out.insert(std::filesystem::relative(it->path(), root).string());
  return out;
}

}  // namespace haruvi::test
