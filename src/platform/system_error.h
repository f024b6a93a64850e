// The system's reason for a failed call in the words the window shows: Japanese for the
// errno values people meet (a file in the way, a full disk, no permission...), the
// system's own text for the rest.
#pragma once

#include <string>

namespace haruvi::platform {

// UTF-8; never empty.
std::string SystemErrorText(int error);

}  // namespace haruvi::platform
