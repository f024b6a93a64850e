// The exports of one stand-in library under its prefix (PREFIX, PREFIXGetVersion,
// PREFIXCheckArchive, ...), each a thin call into standin.h with the library's traits.
#pragma once

#include "archive/standin/standin.h"

#define HARUVI_EXPORT extern "C" __attribute__((visibility("default")))

#define HARUVI_STANDIN_EXPORTS(PREFIX, TRAITS)                                                                    \
  HARUVI_EXPORT int PREFIX(void*, const char* line, char* output, std::uint32_t size) {                           \
    return haruvi::archive::standin::RunCommand(TRAITS, line, output, size);                                      \
  }                                                                                                               \
  HARUVI_EXPORT std::uint32_t PREFIX##GetVersion() { return (TRAITS).version; }                                   \
  HARUVI_EXPORT int PREFIX##CheckArchive(const char* path, int) {                                                 \
    return haruvi::archive::standin::CheckArchive(TRAITS, path);                                                  \
  }                                                                                                               \
  HARUVI_EXPORT HaruviArcHandle PREFIX##OpenArchive(void*, const char* path, std::uint32_t) {                     \
    return haruvi::archive::standin::OpenArchive(TRAITS, path);                                                   \
  }                                                                                                               \
  HARUVI_EXPORT int PREFIX##CloseArchive(HaruviArcHandle h) { return haruvi::archive::standin::CloseArchive(h); } \
  HARUVI_EXPORT int PREFIX##FindFirst(HaruviArcHandle h, const char* wildcard, HaruviIndividualInfo* info) {      \
    return haruvi::archive::standin::FindFirst(h, wildcard, info);                                                \
  }                                                                                                               \
  HARUVI_EXPORT int PREFIX##FindNext(HaruviArcHandle h, HaruviIndividualInfo* info) {                             \
    return haruvi::archive::standin::FindNext(h, info);                                                           \
  }                                                                                                               \
  HARUVI_EXPORT int PREFIX##GetSizes64(HaruviArcHandle h, std::uint64_t* original, std::uint64_t* packed) {       \
    return haruvi::archive::standin::GetSizes(h, original, packed);                                               \
  }                                                                                                               \
  HARUVI_EXPORT int PREFIX##SetOwnerWindowEx(void*, void*) { return 1; }                                          \
  HARUVI_EXPORT int PREFIX##KillOwnerWindowEx(void*) { return 1; }                                                \
  HARUVI_EXPORT int PREFIX##SetProgress(HaruviProgress* p) { return haruvi::archive::standin::SetProgress(p); }   \
  HARUVI_EXPORT int PREFIX##ExtractMem(void*, const char*, char*, std::uint32_t, void*, void*, std::uint32_t*) {  \
    return haruvi::archive::kErrNotSupported;                                                                     \
  }
