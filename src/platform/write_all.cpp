#include "platform/write_all.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>

namespace haruvi::platform {

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<std::size_t>(n));
      continue;
    }
    if (n == 0) {
      // No byte taken and no error: retrying could spin for ever.
      errno = EIO;
      return false;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
    pollfd p{fd, POLLOUT, 0};
    if (::poll(&p, 1, -1) < 0 && errno != EINTR) return false;
  }
  return true;
}

}  // namespace haruvi::platform
