// Base64 decoding of any bytes, and decoding inverting encoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "encoding/codings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace haruvi::encoding;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (Base64Decode(text).size() > size) std::abort();
  if (Base64Decode(Base64Encode(text)) != text) std::abort();
  return 0;
}
