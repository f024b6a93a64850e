// The archiver-library interface as our stand-in libraries export it and the archiver
// component calls it: the C functions behind each prefix ("Unlha", "UnZip", ...) and
// the 558-byte entry record FindFirst and FindNext fill.
#pragma once

#include <atomic>
#include <cstdint>

// What a command running in a library has done, and the caller's wish to stop it: handed
// to the library by PREFIXSetProgress on the thread that then runs the command (null
// after it), read and written meanwhile from the window's thread.
struct HaruviProgress {
  std::atomic<std::uint64_t> done{0};   // archive bytes read so far (list, unpack)
  std::atomic<std::uint64_t> total{0};  // the archive's size; 0 while unknown
  std::atomic<bool> cancel{false};      // set: the command ends with 32800 and leaves nothing half-written
};

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
using HaruviSetProgressFn = int (*)(HaruviProgress*);
// (handle, original, packed) -> 0: the whole sizes of the entry the last find gave.
using HaruviGetSizes64Fn = int (*)(HaruviArcHandle, std::uint64_t*, std::uint64_t*);

}  // extern "C"
