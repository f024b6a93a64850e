// The stand-in for "UNLHA32.DLL": prefix "Unlha".
#include "archive/standin/exports.h"

namespace {
using haruvi::archive::ArchiveFamily;
using haruvi::archive::CreateFormat;
using haruvi::archive::standin::LibraryTraits;
using haruvi::archive::standin::Style;
const LibraryTraits kTraits{"UNLHA32.DLL", Style::kLha, {ArchiveFamily::kLzh}, true, CreateFormat::kLzh, 100};
}  // namespace

HARUVI_STANDIN_EXPORTS(Unlha, kTraits)
