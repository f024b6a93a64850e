// Reading an archive's contents and the listing texts; see listing.h.
#include "archive/listing.h"

#include <cinttypes>
#include <cstdio>
#include <ctime>
#include <map>

#include "archive/lzh_headers.h"
#include "archive/zip_directory.h"
#include "encoding/sjis_char.h"

namespace haruvi::archive {
namespace {

constexpr const char* kHeading = "  Name            Original    Packed    Ratio   Date     Time   Attr Type  CRC";
constexpr const char* kDashes = "--------------  ----------  ---------- ------ -------- -------- ---- ----- ----";

// The first `width` columns of a CP932 name, padded with blanks, onto `out`; a double-byte character
// that would straddle the cut is left out whole.
void AppendColumns(std::string* out, std::string_view s, std::size_t width) {
  std::size_t i = 0;
  while (i < s.size()) {
    const std::size_t n = encoding::CharLength(s, i);
    if (i + n > width) break;
    i += n;
  }
  out->append(s.data(), i);
  out->append(width - i, ' ');
}

// The date and time as the MS-DOS stamp holds them (two-second steps), local time.
std::string Stamp(std::int64_t mtime) {
  const std::time_t t = static_cast<std::time_t>(mtime);
  std::tm tm{};
  if (!localtime_r(&t, &tm) || tm.tm_year < 80) {
    tm = std::tm{};
    tm.tm_year = 80;
    tm.tm_mday = 1;
  }
  char buf[80];
  std::snprintf(buf, sizeof buf, "%02d-%02d-%02d %02d:%02d:%02d ", tm.tm_year % 100, tm.tm_mon + 1, tm.tm_mday,
                tm.tm_hour, tm.tm_min, tm.tm_sec & ~1);
  return buf;
}

std::string CrcText(const Entry& e) {
  if (!e.has_crc) return "----";
  char buf[16];
  std::snprintf(buf, sizeof buf, "%04" PRIX32, e.crc);
  return buf;
}

std::string Details(const Entry& e) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "  %10" PRIu64 "  %10" PRIu64 " %5.1f%% ", e.size, e.packed,
                RatioPerMille(e.size, e.packed) / 10.0);
  return buf + Stamp(e.mtime) + AttributeText(e) + " " + e.method + " " + CrcText(e) + " ";
}

std::string Header(const std::string& archive_name) {
  return "\r\nListing of archive : " + archive_name + "\r\n\r\n" + kHeading + "\r\n" + kDashes + "\r\n";
}

std::string Summary(const std::vector<Entry>& entries) {
  // Sums in 64 bits: archives past 2 GiB are common now.
  std::uint64_t original = 0, packed = 0;
  for (const Entry& e : entries) {
    original += e.size;
    packed += e.packed;
  }
  char buf[96];
  std::snprintf(buf, sizeof buf, "%6zu files    %10" PRIu64 "  %10" PRIu64 " %5.1f%%", entries.size(), original, packed,
                static_cast<double>(packed) / static_cast<double>(original ? original : 1) * 100.0);
  return std::string(kDashes) + "\r\n" + buf + "\r\n";
}

}  // namespace

int RatioPerMille(std::uint64_t original, std::uint64_t packed) {
  if (original == 0) return 0;
  const long double r = static_cast<long double>(packed) * 1000.0L / static_cast<long double>(original);
  return r > 99999 ? 99999 : static_cast<int>(r);
}

std::string AttributeText(const Entry& e) {
  std::string a = "----";
  if (e.kind == EntryKind::kFolder) a[0] = 'd';
  else if (e.kind == EntryKind::kSymlink) a[0] = 'l';
  if (e.mode & 0400) a[1] = 'r';
  if (e.mode & 0200) a[2] = 'w';
  if (e.mode & 0100) a[3] = 'x';
  return a;
}

Listing ListArchive(const std::string& path, const ReadControl& control) {
  Listing out;
  Reader r;
  if (!r.Open(path, &out.error, control)) {
    out.cancelled = r.Cancelled();
    return out;
  }
  out.ok = true;
  Entry e;
  for (;;) {
    const int got = r.Next(&e, &out.error);
    if (got == 0) break;
    if (got < 0) {
      out.ok = false;
      break;
    }
    const std::uint64_t start = r.Position();
    if (!r.SkipData(&out.error)) {
      out.ok = false;
      out.entries.push_back(std::move(e));
      break;
    }
    if (!e.packed) e.packed = r.Position() - start;  // ARJ headers carry it
    out.entries.push_back(std::move(e));
  }
  out.cancelled = !out.ok && r.Cancelled();
  if (out.cancelled) out.error = "cancelled";
  out.family = r.Family();
  // LZH: the CRC-16 of each member, in archive order.
  if (out.family == ArchiveFamily::kLzh) {
    const std::vector<std::uint16_t> crcs = ReadLzhCrcs(path);
    if (crcs.size() == out.entries.size())
      for (std::size_t i = 0; i < crcs.size(); ++i) {
        out.entries[i].crc = crcs[i];
        out.entries[i].has_crc = out.entries[i].kind == EntryKind::kFile;
      }
  }
  // ZIP: the packed sizes and CRCs of the central directory.
  if (out.family == ArchiveFamily::kZip) {
    const std::map<std::string, ZipDirectoryEntry> dir = ReadZipDirectory(path);
    for (Entry& x : out.entries) {
      const auto it = dir.find(x.raw_name);
      if (it == dir.end()) continue;
      x.packed = it->second.packed;
      x.crc = it->second.crc;
      x.has_crc = x.kind == EntryKind::kFile;
    }
  }
  // A tar inside one compressed stream: each entry gets its share of the stream.
  if (r.WholeCompressed()) {
    std::uint64_t total = 0;
    for (const Entry& x : out.entries) total += x.size;
    const long double raw = static_cast<long double>(r.Position());
    for (Entry& x : out.entries)
      x.packed = total ? static_cast<std::uint64_t>(raw * static_cast<long double>(x.size) / total) : 0;
  }
  return out;
}

// Each line is appended in place, the whole text reserved once: a listing of tens of
// thousands of entries otherwise spends its time growing and copying strings.
std::string FormatListing(const std::string& archive_name, const std::vector<Entry>& entries) {
  std::string text = Header(archive_name);
  std::size_t names = 0;
  for (const Entry& e : entries) names += e.name.size();
  text.reserve(text.size() + entries.size() * 96 + names * 2 + 256);
  for (const Entry& e : entries) {
    const std::string name = NameCodec::ToPane(e.name);
    std::string_view trimmed = name;
    while (!trimmed.empty() && trimmed.back() == '/') trimmed.remove_suffix(1);
    const std::size_t slash = trimmed.rfind('/');
    const std::string_view short_name = slash == std::string_view::npos ? trimmed : trimmed.substr(slash + 1);
    text += slash == std::string_view::npos ? "  " : "+ ";
    AppendColumns(&text, short_name, 12);
    text += Details(e);
    text += name;
    text += " \r\n";
  }
  text += Summary(entries);
  return text;
}

std::string FormatVerboseListing(const std::string& archive_name, const std::vector<Entry>& entries) {
  std::string text = Header(archive_name);
  for (const Entry& e : entries) {
    text += NameCodec::ToPane(e.name) + "\r\n";
    text += "              " + Details(e) + "\r\n";
  }
  return text + Summary(entries);
}

}  // namespace haruvi::archive
