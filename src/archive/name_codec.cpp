// Entry-name decoding; see name_codec.h.
#include "archive/name_codec.h"

#include <iconv.h>

#include "encoding/display_name.h"
#include "encoding/jis_convert.h"
#include "encoding/sjis_char.h"
#include "encoding/utf8_sjis.h"

namespace haruvi::archive {
namespace {

constexpr std::size_t kSampleLimit = 64 * 1024;

// CP932 to UTF-8 through the system converter; nullopt when a byte does not convert.
bool Cp932ToUtf8(std::string_view in, std::string* out) {
  thread_local const struct Converter {
    iconv_t cd = iconv_open("UTF-8", "CP932");
    ~Converter() {
      if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
    }
  } converter;
  const iconv_t cd = converter.cd;
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  std::string buf(in.size() * 3 + 8, '\0');
  char* src = const_cast<char*>(in.data());
  std::size_t src_left = in.size();
  char* dst = buf.data();
  std::size_t dst_left = buf.size();
  if (iconv(cd, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1)) return false;
  buf.resize(buf.size() - dst_left);
  *out = std::move(buf);
  return true;
}

}  // namespace

void NameCodec::Learn(std::string_view raw) {
  if (encoding::IsValidUtf8(raw) || code_ == encoding::ccEuc || sample_.size() > kSampleLimit) return;
  sample_.append(raw);
  sample_.push_back('\n');
  const encoding::TCharCode found = encoding::DetectCharCode(sample_);
  if (found == encoding::ccEuc || found == encoding::ccSjis) code_ = found;
  else if (code_ == encoding::ccAscii && found == encoding::ccEucOrSjis) code_ = encoding::ccSjis;
}

std::string NameCodec::ToDisk(std::string_view raw) const {
  std::string name;
  if (encoding::IsValidUtf8(raw)) {
    name.assign(raw);
  } else {
    const std::string sjis = code_ == encoding::ccEuc ? encoding::EucToSjis(raw) : std::string(raw);
    if (!Cp932ToUtf8(sjis, &name)) name.assign(raw);
  }
  if (!backslash_separates_) return name;
  if (encoding::IsValidUtf8(name)) {
    // Decoded: every "\\" left is a separator.
    for (char& c : name)
      if (c == '\\') c = '/';
  } else {
    // Bytes that read as no code: a "\\" parts folders only where it ends no CP932 pair.
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (encoding::IsLeadByte(static_cast<unsigned char>(name[i])) && i + 1 < name.size()) ++i;
      else if (name[i] == '\\') name[i] = '/';
    }
  }
  return name;
}

std::string NameCodec::ToPane(std::string_view disk_name) { return encoding::PathToSjis(disk_name); }

}  // namespace haruvi::archive
