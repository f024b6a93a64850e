// libarchive behind Reader; see reader.h.
//
// Names: libarchive converts names to the thread's locale. We read under C.UTF-8 (for
// this thread only, during each call), so a ZIP or tar name flagged UTF-8 comes through
// as UTF-8 and an unflagged one as its bytes. The LZH reader insists on converting; it
// is told the names are ISO-8859-1, which maps every byte to one character, and we turn
// that back into the bytes.
#include "archive/reader.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#include <cerrno>
#include <vector>

#include "archive/decode_ahead.h"
#include "archive/locale_scope.h"

namespace haruvi::archive {
namespace {

// UTF-8 of ISO-8859-1 back to the bytes (every character is below U+0100).
std::string FromLatin1Utf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if ((c == 0xC2 || c == 0xC3) && i + 1 < s.size()) {
      out.push_back(static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F)));
      ++i;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  return out;
}

std::string MethodOf(struct ::archive* a, int filter) {
  const char* name = archive_format_name(a);
  const std::string f = name ? name : "";
  const std::size_t lh = f.find("-l");
  if (lh != std::string::npos && lh + 5 <= f.size()) return f.substr(lh, 5);
  if (f.find("ZIP") != std::string::npos) {
    if (f.find("deflation") != std::string::npos) return "defl";
    if (f.find("uncompressed") != std::string::npos) return "store";
    return "zip";
  }
  if (f.find("CAB") != std::string::npos) {
    if (f.find("MSZIP") != std::string::npos) return "mszip";
    if (f.find("LZX") != std::string::npos) return "lzx";
    return "store";
  }
  if (f.find("RAR") != std::string::npos) return "rar";
  if (f.find("7-Zip") != std::string::npos) return "7z";
  if (f.find("tar") != std::string::npos) {
    switch (filter) {
      case ARCHIVE_FILTER_GZIP: return "tgz";
      case ARCHIVE_FILTER_BZIP2: return "bz2";
      case ARCHIVE_FILTER_COMPRESS: return "taz";
      case ARCHIVE_FILTER_XZ: return "txz";
      default: return "tar";
    }
  }
  return "-----";
}

std::string ErrorText(struct ::archive* a, const char* fallback) {
  const char* e = archive_error_string(a);
  return e && *e ? std::string(e) : std::string(fallback);
}

}  // namespace

Reader::Reader() = default;
Reader::~Reader() { Close(); }

void Reader::Close() {
  arj_.reset();
  if (a_) archive_read_free(a_);
  a_ = nullptr;
  ahead_.reset();  // after libarchive, which reads its blocks to the last
  first_pending_ = false;
  first_entry_ = nullptr;
}

long Reader::ReadAhead(struct ::archive* a, void* self, const void** buffer) {
  Reader& r = *static_cast<Reader*>(self);
  if (r.control_.cancel && r.control_.cancel->load()) {
    archive_set_error(a, ECANCELED, "cancelled");
    return ARCHIVE_FATAL;
  }
  std::string error;
  const long n = r.ahead_->Next(buffer, &error);
  if (n < 0) {
    if (!error.empty()) archive_set_error(a, -1, "%s", error.c_str());
    return ARCHIVE_FATAL;
  }
  r.ReportProgress();
  return n;
}

void Reader::ReportProgress() const {
  if (control_.progress) control_.progress->store(Position(), std::memory_order_relaxed);
}

// The filter nearest the format, as libarchive numbers them; the gzip inflated ahead
// counts as the outermost.
int Reader::FilterCode() const {
  if (ahead_ && archive_filter_count(a_) <= 1) return ARCHIVE_FILTER_GZIP;
  return archive_filter_code(a_, 0);
}

bool Reader::OpenWith(const std::string& path, bool lha_only, bool ahead, std::string* error) {
  Close();
  LocaleScope scope;
  a_ = archive_read_new();
  if (lha_only) {
    archive_read_support_format_lha(a_);
    archive_read_set_options(a_, "hdrcharset=ISO-8859-1");
  } else {
    // No mtree (it reads the files a manifest names) and no raw.
    archive_read_support_format_zip(a_);
    archive_read_support_format_cab(a_);
    archive_read_support_format_tar(a_);
    archive_read_support_format_gnutar(a_);
    archive_read_support_format_rar(a_);
    archive_read_support_format_rar5(a_);
    archive_read_support_format_7zip(a_);
    archive_read_support_format_cpio(a_);
    archive_read_support_format_iso9660(a_);
    archive_read_support_format_xar(a_);
  }
  // Filters built into the library only: one that would run an outside program says
  // ARCHIVE_WARN, and is then simply not offered.
  for (int (*support)(struct ::archive*) :
       {archive_read_support_filter_gzip, archive_read_support_filter_bzip2, archive_read_support_filter_compress,
        archive_read_support_filter_xz, archive_read_support_filter_lzma, archive_read_support_filter_zstd}) {
    struct ::archive* probe = archive_read_new();
    const bool builtin = support(probe) == ARCHIVE_OK;
    archive_read_free(probe);
    if (builtin) support(a_);
  }
  if (ahead) {
    ahead_ = std::make_unique<DecodeAhead>();
    if (!ahead_->Start(path, error)) ahead_.reset();
  }
  const int opened = ahead_ ? archive_read_open(a_, this, nullptr, &Reader::ReadAhead, nullptr)
                            : archive_read_open_filename(a_, path.c_str(), 64 * 1024);
  if (opened != ARCHIVE_OK) {
    *error = ErrorText(a_, "cannot open the archive");
    Close();
    return false;
  }
  latin1_names_ = lha_only;
  return true;
}

bool Reader::Open(const std::string& path, std::string* error, const ReadControl& control) {
  control_ = control;
  if (!OpenAny(path, error)) {
    if (Cancelled()) *error = "cancelled";
    return false;
  }
  return true;
}

bool Reader::OpenAny(const std::string& path, std::string* error) {
  if (Cancelled()) return false;
  struct stat st {};
  if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
    *error = "not a regular file";
    return false;
  }
  // LZH first, with its names as bytes; anything else with every other format.
  if (OpenWith(path, true, false, error)) {
    LocaleScope scope;
    struct ::archive_entry* e = nullptr;
    const int r = archive_read_next_header(a_, &e);
    if (r >= ARCHIVE_WARN) {
      first_pending_ = true;
      first_result_ = r;
      first_entry_ = e;
      return true;
    }
  }
  // A gzip stream is inflated on a second thread; the LZH reader above tells an LZH
  // inside it from its first bytes, which cost nothing to inflate here.
  const bool ahead = control_.decode_ahead && StartsWithGzip(path);
  if (OpenWith(path, false, ahead, error)) {
    LocaleScope scope;
    struct ::archive_entry* e = nullptr;
    const int r = archive_read_next_header(a_, &e);
    if (r >= ARCHIVE_WARN && !(r == ARCHIVE_EOF && archive_format(a_) == 0)) {
      first_pending_ = true;
      first_result_ = r;
      first_entry_ = e;
      return true;
    }
    *error = r < ARCHIVE_WARN ? ErrorText(a_, "not an archive this program reads") : "not an archive this program reads";
    Close();
  }
  // Last, ARJ.
  auto arj = std::make_unique<ArjReader>();
  std::string arj_error;
  if (!arj->Open(path, &arj_error)) return false;
  arj_ = std::move(arj);
  return true;
}

int Reader::Next(Entry* out, std::string* error) {
  if (Cancelled()) {
    *error = "cancelled";
    return -1;
  }
  ReportProgress();
  if (arj_) {
    ArjEntry a;
    const int got = arj_->Next(&a, error);
    if (got != 1) return got;
    *out = Entry{};
    out->raw_name = a.raw_name;
    names_.Learn(out->raw_name);
    out->name = names_.ToDisk(out->raw_name);
    out->kind = a.folder ? EntryKind::kFolder : EntryKind::kFile;
    out->size = a.size;
    out->packed = a.packed;
    out->crc = a.crc;
    out->has_crc = !a.folder;
    out->mtime = a.mtime;
    out->mode = a.mode;
    out->method = a.folder ? "-----" : "arj-" + std::to_string(a.method);
    return 1;
  }
  if (!a_) {
    *error = "no archive open";
    return -1;
  }
  // The entry's texts are converted when they are asked for, so the whole reading of
  // an entry runs under the locale.
  LocaleScope scope;
  struct ::archive_entry* e = nullptr;
  int r;
  if (first_pending_) {
    first_pending_ = false;
    r = first_result_;
    e = first_entry_;
  } else {
    r = archive_read_next_header(a_, &e);
  }
  if (r == ARCHIVE_EOF) return 0;
  // A damaged header (ARCHIVE_RETRY) ends the reading too: the entry it leaves is no
  // entry, and searching on past it would turn the rest of the damage into entries.
  if (r < ARCHIVE_WARN || r == ARCHIVE_RETRY) {
    *error = ErrorText(a_, "the archive is damaged");
    return -1;
  }
  *out = Entry{};
  const char* p = archive_entry_pathname(e);
  if (!p) {
    // The name could not be read as the archive claims it is written (a name flagged
    // UTF-8 that is not): it is reported, never guessed into a path.
    out->raw_name.clear();
  } else {
    out->raw_name = StoredBytes(p);
  }
  const int base = archive_format(a_) & ARCHIVE_FORMAT_BASE_MASK;
  names_.SetBackslashSeparates(base != ARCHIVE_FORMAT_TAR && base != ARCHIVE_FORMAT_CPIO &&
                               base != ARCHIVE_FORMAT_ISO9660 && base != ARCHIVE_FORMAT_XAR);
  names_.Learn(out->raw_name);
  out->name = names_.ToDisk(out->raw_name);
  const char* hard = archive_entry_hardlink(e);
  const char* sym = archive_entry_symlink(e);
  if (hard) {
    out->kind = EntryKind::kHardlink;
    out->link = names_.ToDisk(StoredBytes(hard));
  } else {
    switch (archive_entry_filetype(e)) {
      case AE_IFDIR: out->kind = EntryKind::kFolder; break;
      case AE_IFLNK: out->kind = EntryKind::kSymlink; break;
      case AE_IFCHR:
      case AE_IFBLK: out->kind = EntryKind::kDevice; break;
      case AE_IFIFO: out->kind = EntryKind::kFifo; break;
      case AE_IFSOCK: out->kind = EntryKind::kSocket; break;
      default: out->kind = EntryKind::kFile; break;
    }
    if (out->kind == EntryKind::kSymlink && sym)
      out->link = names_.ToDisk(StoredBytes(sym));
  }
  // A name ending in "/" is a folder whatever the type says (old ZIP and LZH tools).
  if (out->kind == EntryKind::kFile && !out->name.empty() && out->name.back() == '/') out->kind = EntryKind::kFolder;
  const la_int64_t size = archive_entry_size(e);
  out->size = archive_entry_size_is_set(e) && size > 0 ? static_cast<std::uint64_t>(size) : 0;
  out->mtime = archive_entry_mtime_is_set(e) ? static_cast<std::int64_t>(archive_entry_mtime(e)) : 0;
  out->mode = static_cast<std::uint32_t>(archive_entry_perm(e));
  out->method = out->kind == EntryKind::kFolder ? (latin1_names_ ? "-lhd-" : "-----") : MethodOf(a_, FilterCode());
  return 1;
}

// A name as libarchive hands it back to the bytes the archive stores. The LZH reader of
// level-0 headers and the RAR 4 reader turn every "\" byte into "/", the second byte of
// a CP932 character too ("表", "ソ", "能"); Windows names hold no "/" (and an LZH
// header's 0xFF folder mark is one too), so each "/" goes back to "\" and the name
// codec separates folders only after the name is decoded.
std::string Reader::StoredBytes(const char* name) const {
  std::string raw = latin1_names_ ? FromLatin1Utf8(name) : std::string(name);
  const int base = archive_format(a_) & ARCHIVE_FORMAT_BASE_MASK;
  if (latin1_names_ || base == ARCHIVE_FORMAT_RAR)
    for (char& c : raw)
      if (c == '/') c = '\\';
  return raw;
}

bool Reader::ReadData(const std::function<bool(std::string_view)>& sink, std::string* error) {
  if (arj_) return arj_->ReadData(sink, error);
  std::vector<char> buf(256 * 1024);
  for (;;) {
    const la_ssize_t n = archive_read_data(a_, buf.data(), buf.size());
    if (n == 0) return true;
    if (n < 0) {
      *error = ErrorText(a_, "the archive is damaged");
      return false;
    }
    ReportProgress();
    if (!sink(std::string_view(buf.data(), static_cast<std::size_t>(n)))) return false;
  }
}

bool Reader::SkipData(std::string* error) {
  if (arj_) return true;  // the headers are found without reading the data
  if (archive_read_data_skip(a_) < ARCHIVE_WARN) {
    *error = ErrorText(a_, "the archive is damaged");
    return false;
  }
  return true;
}

std::uint64_t Reader::Position() const {
  if (arj_) return arj_->Position();
  if (!a_) return 0;
  const auto read = static_cast<std::uint64_t>(archive_filter_bytes(a_, -1));
  return ahead_ ? ahead_->InputFor(read) : read;
}

ArchiveFamily Reader::Family() const {
  if (arj_) return ArchiveFamily::kArj;
  if (!a_) return ArchiveFamily::kNone;
  switch (archive_format(a_) & ARCHIVE_FORMAT_BASE_MASK) {
    case ARCHIVE_FORMAT_LHA: return ArchiveFamily::kLzh;
    case ARCHIVE_FORMAT_ZIP: return ArchiveFamily::kZip;
    case ARCHIVE_FORMAT_CAB: return ArchiveFamily::kCab;
    case ARCHIVE_FORMAT_RAR:
    case ARCHIVE_FORMAT_RAR_V5: return ArchiveFamily::kRar;
    case ARCHIVE_FORMAT_7ZIP: return ArchiveFamily::k7z;
    case ARCHIVE_FORMAT_TAR:
      switch (FilterCode()) {
        case ARCHIVE_FILTER_NONE: return ArchiveFamily::kTar;
        case ARCHIVE_FILTER_BZIP2: return ArchiveFamily::kBz2;
        default: return ArchiveFamily::kTgz;
      }
    default: return ArchiveFamily::kOther;
  }
}

bool Reader::WholeCompressed() const { return a_ && (ahead_ || archive_filter_count(a_) > 1); }

}  // namespace haruvi::archive
