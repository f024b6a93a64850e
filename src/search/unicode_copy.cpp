// UnicodeCopy: a Unicode file's Shift_JIS form in a memory file; see unicode_copy.h.
#include "search/unicode_copy.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>

#include "encoding/char_code.h"
#include "encoding/jis_convert.h"
#include "encoding/text_form.h"
#include "encoding/unicode_convert.h"
#include "platform/long_path.h"
#include "platform/write_all.h"

namespace haruvi::search {
namespace {

std::size_t ReadUpTo(int fd, char* p, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    const ssize_t r = ::read(fd, p + done, n - done);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    done += static_cast<std::size_t>(r);
  }
  return done;
}

}  // namespace

UnicodeCopy::~UnicodeCopy() {
  if (fd_ >= 0) ::close(fd_);
}

std::string UnicodeCopy::Path() const { return "/proc/self/fd/" + std::to_string(fd_); }

bool UnicodeCopy::Make(const std::string& path, std::string* trouble, const std::function<bool()>& direct_utf8,
                       TxtBuffer* storage) {
  // Never waits: a FIFO or a device is left to the grep, which reports it.
  const int fd = platform::OpenLongPath(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  if (st.st_size > kMaxConverted) {  // grepped as bytes, from the start
    opened_.fd = fd;
    opened_.size = static_cast<std::uint64_t>(st.st_size);
    return false;
  }
  const auto size = static_cast<std::size_t>(st.st_size);
  // The beginning is read where the grep will want it, when it lends its storage.
  const std::size_t want = std::min(size, encoding::kUtf16ScanBytes);
  std::string bytes;
  char* into = nullptr;
  if (storage) {
    storage->Renew(want + 1);
    into = storage->data.get() + 1;
  } else {
    bytes.resize(want);
    into = bytes.data();
  }
  std::size_t got = ReadUpTo(fd, into, want);
  const std::string_view head(into, got);
  const encoding::TextForm form = encoding::DetectTextForm(head);
  encoding::TCharCode code = encoding::ccSjis;
  if (!encoding::IsUnicode(form)) code = encoding::DetectCharCode(head);
  const bool legacy = code == encoding::ccEuc || code == encoding::ccJis83 || code == encoding::ccJis78;
  if (!encoding::IsUnicode(form) && !legacy) {
    opened_.fd = fd;
    opened_.size = static_cast<std::uint64_t>(st.st_size);
    if (storage) {
      opened_.storage = storage;
      opened_.head = got;
    } else if (::lseek(fd, 0, SEEK_SET) != 0) {  // read again from the start
      ::close(fd);
      opened_.fd = -1;
    }
    return false;
  }
  if (storage) bytes.assign(head);
  if (form == encoding::TextForm::Utf8 && direct_utf8 && direct_utf8()) {
    ::close(fd);
    direct_ = true;
    return true;
  }
  if (got == want && size > want) {
    bytes.resize(size);
    got += ReadUpTo(fd, bytes.data() + got, size - got);
  }
  ::close(fd);
  bytes.resize(got);
  if (legacy) {  // EUC and JIS are grepped in Shift_JIS, as the pane shows them converted
    const std::string sjis = code == encoding::ccEuc ? encoding::EucToSjis(bytes) : encoding::JisToSjis(bytes);
    fd_ = ::memfd_create("haruvi-grep", MFD_CLOEXEC);
    if (fd_ < 0 || !platform::WriteAll(fd_, sjis)) *trouble = std::string("no room for the converted text: ") + std::strerror(errno);
    return true;
  }
  has_standins_ = true;
  std::string utf8 = encoding::IsUtf16(form) ? encoding::Utf16ToPaneUtf8(bytes, form == encoding::TextForm::Utf16Le)
                                             : std::move(bytes);
  std::string_view text = utf8;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);  // the mark is no part of line 1
  const std::optional<std::string> sjis = standins_.ToSjis(text);
  if (!sjis) {
    *trouble = "too many characters without a Shift_JIS code";
    return true;
  }
  fd_ = ::memfd_create("haruvi-grep", MFD_CLOEXEC);
  if (fd_ < 0 || !platform::WriteAll(fd_, *sjis)) *trouble = std::string("no room for the converted text: ") + std::strerror(errno);
  return true;
}

}  // namespace haruvi::search
