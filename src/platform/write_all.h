// Writing a whole byte string to a file descriptor: the one loop every writer of files,
// pipes and standard output goes through, so none of them can stop at a short write.
#pragma once

#include <string_view>

namespace haruvi::platform {

// Writes every byte of `bytes` to `fd`, going on after a short write or an interrupted
// call (EINTR), and waiting for room on a non-blocking descriptor (EAGAIN). False on
// failure with errno telling why; what was written by then stays written. An empty
// string is no write at all, so it succeeds on any descriptor.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace haruvi::platform
