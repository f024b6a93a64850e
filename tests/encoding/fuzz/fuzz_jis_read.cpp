// Reading JIS (escapes anywhere, cut off, pairs of any bytes) and the automatic conversion.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "encoding/jis_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace haruvi::encoding;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)JisToSjis(text);
  (void)JisToEuc(text);
  (void)ConvertToCode(text, ccSjis);
  (void)ConvertToCode(text, ccEuc);
  (void)ConvertToCode(text, ccJis83);
  return 0;
}
