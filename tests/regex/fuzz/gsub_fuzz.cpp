// libFuzzer target: GSub, fast walk against the sorted walk.
#include "fuzz_bodies.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  haruvi::regex::fuzz::FuzzGSub(data, size);
  return 0;
}
