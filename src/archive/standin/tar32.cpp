// The stand-in for "tar32.dll": prefix "Tar".
#include "archive/standin/exports.h"

namespace {
using haruvi::archive::ArchiveFamily;
using haruvi::archive::CreateFormat;
using haruvi::archive::standin::LibraryTraits;
using haruvi::archive::standin::Style;
const LibraryTraits kTraits{"tar32.dll", Style::kTar, {ArchiveFamily::kTar, ArchiveFamily::kTgz, ArchiveFamily::kBz2, ArchiveFamily::k7z, ArchiveFamily::kOther}, true, CreateFormat::kTgz, 100};
}  // namespace

HARUVI_STANDIN_EXPORTS(Tar, kTraits)

HARUVI_EXPORT int TarGetArchiveType(const char* path) { return haruvi::archive::standin::TarArchiveType(path); }
