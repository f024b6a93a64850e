// The archiver-library interface as our stand-in libraries export it and the archiver
// component calls it: the C functions behind each prefix ("Unlha", "UnZip", ...) and
// the 558-byte entry record FindFirst and FindNext fill.
#pragma once

#include <cstdint>

extern "C" {

#pragma pack(push, 1)
struct HaruviIndividualInfo {
  std::uint32_t original_size;
  std::uint32_t compressed_size;
  std::uint32_t crc;
  std::uint32_t flag;
  std::uint32_t os_type;
  std::uint16_t ratio;  // per mille
  std::uint16_t date;   // MS-DOS date
  std::uint16_t time;   // MS-DOS time
  char file_name[513];  // CP932, "/" between folders
  char padding[3];
  char attribute[8];
  char method[8];
};
#pragma pack(pop)
static_assert(sizeof(HaruviIndividualInfo) == 558, "the entry record is 558 bytes");

using HaruviArcHandle = void*;
// prefix: (window, command line, output, output size) -> 0 or a result code
using HaruviCommandFn = int (*)(void*, const char*, char*, std::uint32_t);
using HaruviGetVersionFn = std::uint32_t (*)();
using HaruviCheckArchiveFn = int (*)(const char*, int);
using HaruviOpenArchiveFn = HaruviArcHandle (*)(void*, const char*, std::uint32_t);
using HaruviCloseArchiveFn = int (*)(HaruviArcHandle);
using HaruviFindFirstFn = int (*)(HaruviArcHandle, const char*, HaruviIndividualInfo*);
using HaruviFindNextFn = int (*)(HaruviArcHandle, HaruviIndividualInfo*);
using HaruviSetOwnerWindowExFn = int (*)(void*, void*);
using HaruviKillOwnerWindowExFn = int (*)(void*);
using HaruviExtractMemFn = int (*)(void*, const char*, char*, std::uint32_t, void*, void*, std::uint32_t*);
using HaruviGetArchiveTypeFn = int (*)(const char*);

}  // extern "C"
