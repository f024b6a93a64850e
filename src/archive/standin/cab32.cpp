// The stand-in for "CAB32.DLL": prefix "Cab".
#include "archive/standin/exports.h"

namespace {
using haruvi::archive::ArchiveFamily;
using haruvi::archive::CreateFormat;
using haruvi::archive::standin::LibraryTraits;
using haruvi::archive::standin::Style;
const LibraryTraits kTraits{"CAB32.DLL", Style::kCab, {ArchiveFamily::kCab}, true, CreateFormat::kCab, 100};
}  // namespace

HARUVI_STANDIN_EXPORTS(Cab, kTraits)
