// Width and kana conversion of any bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "encoding/width.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace haruvi::encoding;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)HankakuToZenkaku(text);
  (void)ZenkakuToHankaku(text);
  (void)HalfKanaToFull(text);
  return 0;
}
