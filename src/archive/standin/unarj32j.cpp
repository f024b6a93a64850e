// The stand-in for "UNARJ32J.DLL": prefix "Unarj".
#include "archive/standin/exports.h"

namespace {
using haruvi::archive::ArchiveFamily;
using haruvi::archive::CreateFormat;
using haruvi::archive::standin::LibraryTraits;
using haruvi::archive::standin::Style;
const LibraryTraits kTraits{"UNARJ32J.DLL", Style::kLha, {ArchiveFamily::kArj}, false, CreateFormat::kZip, 100};
}  // namespace

HARUVI_STANDIN_EXPORTS(Unarj, kTraits)
