// The pane codec: the first byte picks a code page; the rest must come back unchanged,
// and the same bytes read as UTF-16 must encode without trouble.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "encoding/pane_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace haruvi::encoding;
  if (size == 0) return 0;
  const auto& codec = PaneCodec::For(static_cast<CodePage>(data[0] % kCodePageCount));
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  size_t missing = 0;
  if (codec.Encode(codec.Decode(bytes), &missing) != bytes || missing != 0) std::abort();
  if (!bytes.empty() && codec.CharLength(bytes) > bytes.size()) std::abort();
  std::u16string units((size - 1) / 2, u'\0');
  if (!units.empty()) std::memcpy(units.data(), data + 1, units.size() * 2);
  (void)codec.Encode(units, &missing);
  return 0;
}
