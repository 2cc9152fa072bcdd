// Appends request lines to /run/sim/requests.log. The log is opened for
// each line: a cached descriptor could be closed or reused by the program.
#include "sim/fakehw/log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

#include "sim/fakehw/hw_state.h"
#include "sim/fakehw/real.h"
#include "sim/fakehw/saved_errno.h"
#include "sim/fakehw/state.h"

namespace fakehw {

void log_request(const Text &line) {
  if (!logging_on()) return;
  SavedErrno saved;
  char out[Text::kCapacity + 1];
  memcpy(out, line.c_str(), line.size());
  out[line.size()] = '\n';
  int fd = real::open(kRequestsLogPath, O_WRONLY | O_APPEND | O_CLOEXEC, 0);
  if (fd < 0) return;
  ssize_t written = write(fd, out, line.size() + 1);
  (void)written;  // a full disk loses the line, nothing else
  real::close(fd);
}

}  // namespace fakehw
