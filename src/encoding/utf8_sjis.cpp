// UTF-8 to Shift_JIS through the system converter; see utf8_sjis.h.
#include "encoding/utf8_sjis.h"

#include <iconv.h>

#include <algorithm>
#include <utility>

namespace haruvi::encoding {
namespace {

// One conversion descriptor per thread: a grep over many files converts every path, and
// opening a descriptor costs more than the conversion of a path.
class Converter {
 public:
  Converter() : cd_(iconv_open("CP932", "UTF-8")) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::optional<std::string> Convert(std::string_view in) {
    if (!ok()) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    // A character never takes more bytes in Shift_JIS than in UTF-8.
    std::string out(in.size() + 8, '\0');
    char* src = const_cast<char*>(in.data());
    std::size_t src_left = in.size();
    char* dst = out.data();
    std::size_t dst_left = out.size();
    if (iconv(cd_, &src, &src_left, &dst, &dst_left) == static_cast<std::size_t>(-1) ||
        iconv(cd_, nullptr, nullptr, &dst, &dst_left) == static_cast<std::size_t>(-1))
      return std::nullopt;
    out.resize(out.size() - dst_left);
    return out;
  }

 private:
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t cd_;
};

}  // namespace

std::optional<std::string> Utf8ToSjis(std::string_view utf8) {
  // ASCII is the same bytes in both, and most paths are ASCII: no converter is opened.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
    return std::string(utf8);
  thread_local Converter converter;
  return converter.Convert(utf8);
}

std::string PathToSjis(std::string_view path) {
  if (auto sjis = Utf8ToSjis(path)) return std::move(*sjis);
  return std::string(path);
}

}  // namespace haruvi::encoding
