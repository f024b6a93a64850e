// CAB creation through libgcab (one MSZIP folder holding every file; CAB has no folder
// entries, so folders live on in the files' names).
#pragma once

#include <memory>

#include "archive/archive_sinks.h"

namespace haruvi::archive {

std::unique_ptr<Sink> MakeCabSink(CreateResult* r);

}  // namespace haruvi::archive
