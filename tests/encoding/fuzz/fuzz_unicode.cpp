// Unicode forms: the vector validator agrees with the scalar one, detection never fails,
// stand-ins and the pane's UTF-16 form give back every byte, and every conversion runs
// on any input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "encoding/text_form.h"
#include "encoding/unicode_convert.h"
#include "encoding/utf8_scan.h"
#include "encoding/utf8_standins.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace haruvi::encoding;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Utf8Scan fast = ScanUtf8(bytes), slow = ScanUtf8Scalar(bytes);
  if (fast.valid != slow.valid || (fast.valid && fast.cut_tail != slow.cut_tail)) std::abort();
  (void)DetectTextForm(bytes);
  Utf8StandIns standins;
  if (auto sjis = standins.ToSjis(bytes); sjis && standins.ToUtf8(*sjis) != bytes) std::abort();
  for (bool little : {true, false})
    if (PaneUtf8ToUtf16(Utf16ToPaneUtf8(bytes, little), little) != bytes) std::abort();
  for (const char* name : {"sjis2utf8", "utf82sjis", "euc2utf8", "utf82euc", "jis2utf8", "utf82jis", "utf162utf8",
                           "utf82utf16", "utf82utf16be"})
    (void)ConvertUnicode(*UnicodeOpNamed(name), bytes);
  return 0;
}
