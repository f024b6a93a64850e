#include "viewer/file_display.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "encoding/char_code.h"
#include "encoding/guarded_map.h"
#include "encoding/japanese_form.h"
#include "encoding/text_form.h"
#include "encoding/unicode_convert.h"
#include "platform/system_error.h"

namespace haruvi::viewer {
namespace {

// The text a rich-text document shows, as pane bytes: paragraphs and line breaks end
// with CR LF, in the pane's code page.
std::string RichPaneBytes(const RtfDocument& doc, encoding::CodePage page) {
  std::u16string plain = doc.PlainText();
  std::u16string crlf;
  crlf.reserve(plain.size() + plain.size() / 16);
  for (char16_t c : plain) {
    if (c == u'\n' || c == u'\u2028') crlf += u"\r\n";
    else crlf += c;
  }
  return encoding::PaneCodec::For(page).Encode(crlf);
}

// The kind and code of a file seen through a read-only mapping (nothing copied; the
// detection touches only the pages up to its deciding byte). The mapping is guarded: a
// file cut short meanwhile is said, never a crash.
void InfoFromMapping(const std::string& path, FileDisplay& d) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    d.error = platform::SystemErrorText(errno);
    d.info_line = d.way == LoadWay::Direct ? InfoLineStep2(d.info_step1, "", "") : d.info_step1;
    return;
  }
  encoding::GuardedMap map;
  std::string_view view;
  if (d.size > 0 && map.Map(fd, static_cast<size_t>(d.size))) view = std::string_view(map.data(), map.size());
  ::close(fd);
  d.kind = filekind(FirstLineOf(view.substr(0, 4096)), path);
  if (!view.empty()) d.code = encoding::CodeNameOf(view);
  if (map.Changed()) {
    d.changed_while_read = true;
    d.error = encoding::kFileChangedWhileRead;
    d.kind.clear();
    d.code.clear();
  }
  d.info_line = InfoLineStep2(d.info_step1, d.kind, d.code);
}

// An EUC-JP or ISO-2022-JP text shown decoded (unless `raw`): its pane form, and for
// ISO-2022-JP its pane bytes. Legacy leaves the bytes as they are.
encoding::TextForm TakeJapanese(ByteBuffer& bytes, encoding::TCharCode code, bool raw) {
  if (raw) return encoding::TextForm::Legacy;
  if (code != encoding::ccJis83 && code != encoding::ccJis78) return encoding::JapaneseFormOf(bytes.view(), code);
  // Converted once: the pane form is the answer and the bytes alike.
  std::optional<std::string> pane = encoding::JisToPaneEuc(bytes.view());
  if (!pane) return encoding::TextForm::Legacy;
  bytes = ByteBuffer(std::move(*pane));
  return encoding::TextForm::Jis;
}

// Names the form of the bytes read and turns UTF-16 into the pane's UTF-8 (ISO-2022-JP
// into its EUC-JP form); the code name goes with it, the Japanese code's name for EUC-JP
// and ISO-2022-JP shown decoded too.
void TakeForm(ByteBuffer& bytes, encoding::TextForm* form, std::string* code, bool raw_japanese) {
  *form = encoding::DetectTextForm(bytes.view());
  if (encoding::IsUtf16(*form))
    bytes = ByteBuffer(encoding::Utf16ToPaneUtf8(bytes.view(), *form == encoding::TextForm::Utf16Le));
  if (bytes.empty()) return;
  if (encoding::IsUnicode(*form)) {
    *code = encoding::TextFormName(*form);
    return;
  }
  const encoding::TCharCode japanese = encoding::DetectCharCode(bytes.view());
  *code = encoding::CharCodeName(japanese);
  *form = TakeJapanese(bytes, japanese, raw_japanese);
}

// The end of the last whole line of a file's beginning: after its last LF (or CR), in
// code units for UTF-16.
std::size_t LastLineEnd(std::string_view head, encoding::TextForm form) {
  if (!encoding::IsUtf16(form)) {
    const std::size_t last = head.find_last_of("\r\n");
    return last == std::string_view::npos ? head.size() : last + 1;
  }
  const bool little = form == encoding::TextForm::Utf16Le;
  for (std::size_t i = head.size() & ~std::size_t{1}; i >= 2; i -= 2) {
    const unsigned char lo = static_cast<unsigned char>(head[i - (little ? 2 : 1)]);
    const unsigned char hi = static_cast<unsigned char>(head[i - (little ? 1 : 2)]);
    if (hi == 0 && (lo == '\n' || lo == '\r')) return i;
  }
  return head.size() & ~std::size_t{1};
}

}  // namespace

namespace {

std::optional<ByteBuffer> ReadFile(const std::string& path, std::uint64_t size, std::string* error,
                                   const std::atomic<bool>* cancel) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (error) *error = platform::SystemErrorText(errno);
    return std::nullopt;
  }
  std::optional<ByteBuffer> bytes = ByteBuffer::ReadAll(fd, static_cast<size_t>(size), error, cancel);
  ::close(fd);
  return bytes;
}

}  // namespace

std::optional<ByteBuffer> ReadWholeFile(const std::string& path, std::uint64_t size_hint, std::string* error) {
  return ReadFile(path, size_hint, error, nullptr);
}

LoadedRest LoadRest(const std::string& path, std::uint64_t size, const std::atomic<bool>& cancel, bool raw_japanese) {
  LoadedRest r;
  try {
    std::optional<ByteBuffer> bytes = ReadFile(path, size, &r.error, &cancel);
    if (!bytes) return r;
    TakeForm(*bytes, &r.form, &r.code, raw_japanese);
    r.document.SetBytes(std::move(*bytes));
    r.loaded = true;
  } catch (const std::bad_alloc&) {
    r = LoadedRest{};
    r.error = "メモリが足りません";
  }
  return r;
}

std::string_view FirstLineOf(std::string_view text) {
  size_t end = text.find_first_of("\r\n");
  return end == std::string_view::npos ? text : text.substr(0, end);
}

FileDisplay ShowFile(const std::string& path, const DisplaySettings& s) {
  constexpr std::uint64_t kSizelessReadLimit = 4u << 20;
  FileDisplay d;
  struct stat st {};
  const bool found = !path.empty() && ::stat(path.c_str(), &st) == 0;
  if (!found || S_ISDIR(st.st_mode)) return d;
  d.exists = true;
  d.regular = S_ISREG(st.st_mode);
  d.size = static_cast<std::uint64_t>(st.st_size);
  d.info_step1 = InfoLineStep1(path, &st);
  d.raw_japanese = s.raw_japanese;
  d.info_line = d.info_step1;
  d.color = s.forced ? InfoColor::Blue : s.editing ? InfoColor::Red : InfoColor::Black;
  // Only regular files are read: a FIFO or a device could block or never end.
  d.way = d.regular ? ReadRule(d.size, s.read) : LoadWay::Nothing;
  if (s.info_only && d.way != LoadWay::Nothing) {
    InfoFromMapping(path, d);
    return d;
  }
  const bool by_beginning = s.preview_bytes > 0 && d.size > s.preview_bytes && !s.rich_text && !s.editing;
  if (d.way != LoadWay::Nothing) {
    try {
      // A file whose size reads 0 may still hold text (/proc, /sys): read up to a bound.
      const std::uint64_t want = by_beginning ? s.preview_bytes : d.size == 0 ? kSizelessReadLimit : d.size;
      std::optional<ByteBuffer> bytes = ReadWholeFile(path, want, &d.error);
      if (!bytes) {
        // A failed stream read keeps the line at its first step; a failed direct read
        // goes on with an empty pane.
        if (d.way == LoadWay::Direct) d.info_line = InfoLineStep2(d.info_step1, "", "");
        return d;
      }
      d.loaded = true;
      // The kind comes from the file's own first line, so rich text is named in either mode.
      d.kind = filekind(FirstLineOf(bytes->view()), path);
      if (by_beginning) {
        // The beginning up to its last line end (a line cut short would show wrong).
        const std::string_view head = bytes->view();
        d.form = encoding::DetectTextForm(head);
        const std::string_view cut = head.substr(0, LastLineEnd(head, d.form));
        d.bytes = encoding::IsUtf16(d.form)
                      ? ByteBuffer(encoding::Utf16ToPaneUtf8(cut, d.form == encoding::TextForm::Utf16Le))
                      : ByteBuffer(std::string(cut));
        // The beginning's own code decides until the whole file's is known.
        if (d.form == encoding::TextForm::Legacy)
          d.form = TakeJapanese(d.bytes, encoding::DetectCharCode(d.bytes.view()), s.raw_japanese);
        d.preview = true;
        d.info_line = InfoLineStep2(d.info_step1, d.kind, "");
        return d;
      }
      if (s.rich_text) d.rich = ReadRtf(bytes->view(), s.page);
      d.bytes = d.rich ? ByteBuffer(RichPaneBytes(*d.rich, s.page)) : std::move(*bytes);
      if (!d.rich) TakeForm(d.bytes, &d.form, &d.code, s.raw_japanese);
      else if (!d.bytes.empty()) d.code = encoding::CharCodeName(encoding::DetectCharCode(d.bytes.view()));
    } catch (const std::bad_alloc&) {
      d.loaded = false;
      d.rich.reset();
      d.bytes = ByteBuffer();
      d.error = "メモリが足りません";
      return d;
    }
  }
  d.info_line = InfoLineStep2(d.info_step1, d.kind, d.code);
  return d;
}

}  // namespace haruvi::viewer
