// The per-format writers of archive creation; see archive_sinks.h.
#include "archive/archive_sinks.h"

#include <archive.h>
#include <archive_entry.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "archive/cab_sink.h"
#include "archive/locale_scope.h"
#include "archive/lzh_writer.h"
#include "archive/name_codec.h"
#include "encoding/display_name.h"
#include "encoding/utf8_sjis.h"
#include "platform/write_all.h"

namespace haruvi::archive {
namespace {

// Opens a file to pack: a regular file only (O_NONBLOCK so that a FIFO put in its place
// since the walk cannot hold us).
int OpenRegular(const std::string& path, std::string* error) {
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *error = std::strerror(errno);
    return -1;
  }
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    *error = "not a regular file";
    return -1;
  }
  return fd;
}

class LzhSink : public Sink {
 public:
  bool Open(int fd, const std::string&, CreateResult*) override {
    fd_ = fd;
    return true;
  }
  int Add(const Item& item, std::string* error) override {
    const std::string name = encoding::PathToSjis(item.stored);
    if (S_ISLNK(item.st.st_mode)) {
      *error = "links are not stored in LZH archives";
      return 0;
    }
    if (S_ISDIR(item.st.st_mode))
      return writer_.AddDirectory(name, item.st.st_mtime, item.st.st_mode, error) ? Flush(error) : 0;
    std::string data;
    if (!ReadRegularFile(item.path, kLzhMaxFileSize, &data, error)) return 0;
    return writer_.AddFile(name, data, item.st.st_mtime, item.st.st_mode, error) ? Flush(error) : 0;
  }
  bool AddCarried(const Entry& e, const std::string& stored, std::string_view data, std::string* error) override {
    const std::string name = encoding::PathToSjis(stored);
    bool ok;
    if (e.kind == EntryKind::kFolder) ok = writer_.AddDirectory(name, e.mtime, e.mode, error);
    else if (e.kind == EntryKind::kFile) ok = writer_.AddFile(name, data, e.mtime, e.mode, error);
    else {
      *error = "links are not stored in LZH archives";
      return false;
    }
    return ok && Flush(error) > 0;
  }
  bool Finish(std::string* error) override {
    writer_.Finish();
    return Flush(error) > 0;
  }

 private:
  int Flush(std::string* error) {
    const bool ok = platform::WriteAll(fd_, buffer_);
    buffer_.clear();
    if (!ok) *error = std::strerror(errno);
    return ok ? 1 : -1;
  }
  int fd_ = -1;
  std::string buffer_;
  LzhWriter writer_{buffer_};
};

// Each byte as the character of ISO-8859-1 it stands for, in UTF-8.
std::string Latin1Utf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 2);
  for (const char ch : bytes) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out.push_back(ch);
    } else {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

class LibarchiveSink : public Sink {
 public:
  explicit LibarchiveSink(CreateFormat format) : format_(format) {}
  ~LibarchiveSink() override {
    if (a_) archive_write_free(a_);
    if (entry_) archive_entry_free(entry_);
  }
  bool Open(int fd, const std::string&, CreateResult* r) override {
    LocaleScope scope;
    a_ = archive_write_new();
    entry_ = archive_entry_new();
    int rc;
    if (format_ == CreateFormat::kZip) {
      rc = archive_write_set_format_zip(a_);
      // The names as bytes go through ISO-8859-1, which maps every byte to one character.
      if (rc == ARCHIVE_OK) rc = archive_write_set_options(a_, raw_names ? "zip:hdrcharset=ISO-8859-1" : "zip:hdrcharset=UTF-8");
    } else {
      rc = archive_write_set_format_pax_restricted(a_);
      if (rc == ARCHIVE_OK && format_ == CreateFormat::kTgz) rc = archive_write_add_filter_gzip(a_);
      if (rc == ARCHIVE_OK && format_ == CreateFormat::kBz2) rc = archive_write_add_filter_bzip2(a_);
    }
    if (rc == ARCHIVE_OK) rc = archive_write_open_fd(a_, fd);
    if (rc != ARCHIVE_OK) {
      r->code = kErrWrite;
      r->detail = archive_error_string(a_) ? archive_error_string(a_) : "cannot start the archive";
      r->detail_ja = "書庫を作成できません。";
      return false;
    }
    return true;
  }
  int Add(const Item& item, std::string* error) override {
    int fd = -1;
    std::string link;
    if (S_ISREG(item.st.st_mode)) {
      fd = OpenRegular(item.path, error);
      if (fd < 0) return 0;
    } else if (S_ISLNK(item.st.st_mode)) {
      std::vector<char> buf(4096);
      const ssize_t n = readlink(item.path.c_str(), buf.data(), buf.size());
      if (n < 0 || static_cast<std::size_t>(n) >= buf.size()) {
        *error = "cannot read the link";
        return 0;
      }
      link.assign(buf.data(), static_cast<std::size_t>(n));
    }
    struct stat st = item.st;
    if (fd >= 0) fstat(fd, &st);
    const int rc = Write(item.stored, st, link, fd, {}, error);
    if (fd >= 0) close(fd);
    return rc;
  }
  bool AddCarried(const Entry& e, const std::string& stored, std::string_view data, std::string* error) override {
    struct stat st {};
    st.st_mode = (e.mode & 07777) | (e.kind == EntryKind::kFolder    ? S_IFDIR
                                     : e.kind == EntryKind::kSymlink ? S_IFLNK
                                                                     : S_IFREG);
    if (e.kind != EntryKind::kFolder && e.kind != EntryKind::kSymlink && e.kind != EntryKind::kFile) {
      *error = "not a file, folder or link";
      return false;
    }
    st.st_size = static_cast<off_t>(data.size());
    st.st_mtime = static_cast<time_t>(e.mtime);
    return Write(stored, st, e.link, -1, data, error) > 0;
  }
  bool Finish(std::string* error) override {
    if (archive_write_close(a_) != ARCHIVE_OK) {
      *error = archive_error_string(a_) ? archive_error_string(a_) : "cannot finish the archive";
      return false;
    }
    return true;
  }

 private:
  int Write(const std::string& stored, const struct stat& st, const std::string& link, int fd, std::string_view data,
            std::string* error) {
    LocaleScope scope;
    archive_entry_clear(entry_);
    // ZIP names are UTF-8 (flagged so) or, in an archive of names that are not, every
    // name's bytes; tar keeps the bytes. A name that would not come back as it is, is
    // refused with its name.
    std::string name = stored;
    if (format_ == CreateFormat::kZip) {
      if (raw_names) {
        name = Latin1Utf8(stored);
      } else if (!encoding::IsValidUtf8(stored)) {
        *error = "the name is not UTF-8 and the archive's names are";
        return 0;
      }
    }
    archive_entry_copy_pathname(entry_, (S_ISDIR(st.st_mode) ? name + "/" : name).c_str());
    archive_entry_set_mode(entry_, st.st_mode);
    archive_entry_set_mtime(entry_, st.st_mtime, 0);
    archive_entry_set_size(entry_, S_ISREG(st.st_mode) ? st.st_size : 0);
    if (S_ISLNK(st.st_mode)) archive_entry_copy_symlink(entry_, link.c_str());
    if (archive_write_header(a_, entry_) < ARCHIVE_WARN) {
      *error = archive_error_string(a_) ? archive_error_string(a_) : "cannot write the header";
      return -1;
    }
    if (!S_ISREG(st.st_mode)) return 1;
    if (fd < 0) return Data(data, error) ? 1 : -1;
    std::vector<char> buf(256 * 1024);
    std::uint64_t left = static_cast<std::uint64_t>(st.st_size);
    while (left > 0) {
      const ssize_t n = read(fd, buf.data(), std::min<std::uint64_t>(buf.size(), left));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        // The file shrank while it was packed: the header promised more, so the
        // archive cannot be finished truthfully.
        *error = stored + ": the file changed while it was packed";
        return -1;
      }
      if (!Data(std::string_view(buf.data(), static_cast<std::size_t>(n)), error)) return -1;
      left -= static_cast<std::uint64_t>(n);
    }
    return 1;
  }
  bool Data(std::string_view data, std::string* error) {
    while (!data.empty()) {
      const la_ssize_t n = archive_write_data(a_, data.data(), data.size());
      if (n <= 0) {
        *error = archive_error_string(a_) ? archive_error_string(a_) : "cannot write the data";
        return false;
      }
      data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
  }

  CreateFormat format_;
  struct ::archive* a_ = nullptr;
  struct ::archive_entry* entry_ = nullptr;
};

}  // namespace

bool ReadRegularFile(const std::string& path, std::uint64_t limit, std::string* data, std::string* error) {
  const int fd = OpenRegular(path, error);
  if (fd < 0) return false;
  struct stat st {};
  fstat(fd, &st);
  if (static_cast<std::uint64_t>(st.st_size) > limit) {
    close(fd);
    *error = "larger than this archive format can hold";
    return false;
  }
  data->assign(static_cast<std::size_t>(st.st_size), '\0');
  std::size_t got = 0;
  while (got < data->size()) {
    const ssize_t n = read(fd, data->data() + got, data->size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  close(fd);
  data->resize(got);
  return true;
}

std::unique_ptr<Sink> MakeSink(CreateFormat format, CreateResult* r) {
  switch (format) {
    case CreateFormat::kLzh: return std::make_unique<LzhSink>();
    case CreateFormat::kCab: return MakeCabSink(r);
    default: return std::make_unique<LibarchiveSink>(format);
  }
}

}  // namespace haruvi::archive
