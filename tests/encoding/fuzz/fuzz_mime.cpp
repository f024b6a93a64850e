// Mail-header decoding of any bytes (prefixes in any case, missing end marks), and
// encoding any Shift_JIS-looking bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "encoding/codings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace haruvi::encoding;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)MimeHeaderDecode(text);
  (void)MimeHeaderDecode(MimeHeaderEncode(text));
  return 0;
}
