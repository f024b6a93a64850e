// libFuzzer target: the pane's byte search and replace-everything on any bytes. Every
// hit lies within the text, starts on a character as a decoder from the start sees it,
// and holds the find text; replace-everything ends and leaves no hit it could replace.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "search/line_filter.h"
#include "search/text_find.h"

namespace {

bool Lead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const unsigned bits = data[0];
  const std::size_t find_len = 1 + data[1] % 8;
  const std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  if (rest.size() < find_len) return 0;
  const std::string find(rest.substr(0, find_len));
  const std::string text(rest.substr(find_len));
  std::vector<bool> start(text.size() + 1, false);
  for (std::size_t p = 0; p < text.size(); p += Lead(static_cast<unsigned char>(text[p])) ? 2 : 1) start[p] = true;
  const std::size_t sel = text.empty() ? 0 : (bits >> 3) * 7919 % (text.size() + 1);
  for (int dir = 0; dir < 2; ++dir) {
    const haruvi::search::FindOptions o{dir == 0, (bits & 1) != 0, (bits & 2) != 0};
    const auto hit = haruvi::search::FindInText(find, text, o, sel, 0);
    if (!hit) continue;
    if (*hit + find.size() > text.size() || !start[*hit]) std::abort();
    if (o.match_case && text.compare(*hit, find.size(), find) != 0) std::abort();
    if (o.down ? *hit < sel : *hit >= sel) std::abort();
  }
  const haruvi::search::FindOptions exact{true, (bits & 1) != 0, true};
  const auto r = haruvi::search::ReplaceAll(text, find, "", exact);
  if (r.text.size() + r.count * find.size() != text.size()) std::abort();
  (void)haruvi::search::PickLines(text, find);
  (void)haruvi::search::DeleteLines(text, find);
  return 0;
}
