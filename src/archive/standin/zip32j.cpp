// The stand-in for "ZIP32J.DLL": prefix "Zip".
#include "archive/standin/exports.h"

namespace {
using haruvi::archive::ArchiveFamily;
using haruvi::archive::CreateFormat;
using haruvi::archive::standin::LibraryTraits;
using haruvi::archive::standin::Style;
const LibraryTraits kTraits{"ZIP32J.DLL", Style::kZipPack, {}, true, CreateFormat::kZip, 100};
}  // namespace

HARUVI_STANDIN_EXPORTS(Zip, kTraits)
