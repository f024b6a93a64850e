// Any byte sequence through the ARJ decoders: never more output than promised, no crash.
// The first byte picks the method, the next two the promised size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "archive/arj_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int method = data[0] % 5;
  const std::uint64_t promised = (static_cast<std::uint64_t>(data[1]) << 8 | data[2]) * 4;
  const std::string_view packed(reinterpret_cast<const char*>(data + 3), size - 3);
  std::uint64_t got = 0;
  std::string error;
  haruvi::archive::ArjDecode(method, packed, promised, [&](std::string_view p) { got += p.size(); return true; },
                             &error);
  if (got > promised) std::abort();
  return 0;
}
