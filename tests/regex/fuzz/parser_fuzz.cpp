// libFuzzer target: the pattern parser and compiler.
#include "fuzz_bodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  haruvi::regex::fuzz::FuzzParser(data, size);
  return 0;
}
