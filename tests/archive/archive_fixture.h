// Helpers of the archive tests: archives with any entries (hostile ones included) made
// straight through libarchive, deflated bytes made through zlib, and the list of what a
// folder holds.
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
