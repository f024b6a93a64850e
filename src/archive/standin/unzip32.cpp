// The stand-in for "UNZIP32.DLL": prefix "UnZip".
#include "archive/standin/exports.h"

namespace {
using haruvi::archive::ArchiveFamily;
using haruvi::archive::CreateFormat;
using haruvi::archive::standin::LibraryTraits;
using haruvi::archive::standin::Style;
const LibraryTraits kTraits{"UNZIP32.DLL", Style::kZip, {ArchiveFamily::kZip}, false, CreateFormat::kZip, 100};
}  // namespace

HARUVI_STANDIN_EXPORTS(UnZip, kTraits)
