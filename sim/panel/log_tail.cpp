// Incremental reader of the board's logs: one open, a few bounded reads
// and one close per poll.
#include "sim/panel/log_tail.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/unique_fd.h"

namespace panel {

using routerd::unique_fd;

void LogTail::poll(const Sink &sink) {
  unique_fd fd(open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return;
  struct stat st {};
  if (fstat(fd.get(), &st) == 0 && st.st_size < offset_) {
    offset_ = 0;
    lines_.clear();
  }
  char buffer[16384];
  for (;;) {
    ssize_t n = pread(fd.get(), buffer, sizeof buffer, offset_);
    if (n <= 0) break;
    offset_ += n;
    lines_.feed(std::string_view(buffer, size_t(n)), sink);
  }
}

}  // namespace panel
