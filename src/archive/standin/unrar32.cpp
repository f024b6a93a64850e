// The stand-in for "UNRAR32.DLL": prefix "Unrar".
#include "archive/standin/exports.h"

namespace {
using haruvi::archive::ArchiveFamily;
using haruvi::archive::CreateFormat;
using haruvi::archive::standin::LibraryTraits;
using haruvi::archive::standin::Style;
const LibraryTraits kTraits{"UNRAR32.DLL", Style::kRar, {ArchiveFamily::kRar}, false, CreateFormat::kZip, 100};
}  // namespace

HARUVI_STANDIN_EXPORTS(Unrar, kTraits)
