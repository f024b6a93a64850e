// The stand-in for "ZIP32J.DLL": prefix "Zip".
#include "archive/standin/exports.h"

namespace {
using haruvi::archive::ArchiveFamily;
using haruvi::archive::CreateFormat;
using haruvi::archive::standin::Spec;
using haruvi::archive::standin::Style;
const Spec kSpec{"ZIP32J.DLL", Style::kZipPack, {}, true, CreateFormat::kZip, 100};
}  // namespace

HARUVI_STANDIN_EXPORTS(Zip, kSpec)
