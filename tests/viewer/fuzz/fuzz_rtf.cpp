// libFuzzer target: the rich-text reader on any bytes. It trusts nothing in the file:
// nesting, \bin lengths, \uN, hex escapes and code pages are all the file's to choose.
#include <cstdint>
#include <string_view>

#include "viewer/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto doc = haruvi::viewer::ReadRtf(bytes)) (void)doc->PlainText();
  // The same after the signature, so the fuzzer need not find "{\rtf" itself.
  std::string with_signature = "{\\rtf1 ";
  with_signature.append(bytes);
  if (auto doc = haruvi::viewer::ReadRtf(with_signature, haruvi::encoding::CodePage::Windows1252)) (void)doc->PlainText();
  return 0;
}
