// Detection reads any bytes without reading past them and always names its result.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "encoding/char_code.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace haruvi::encoding;
  const TCharCode code = DetectCharCode(std::string_view(reinterpret_cast<const char*>(data), size));
  if (code < ccAscii || code > ccEucOrSjis || CharCodeName(code).empty()) std::abort();
  return 0;
}
