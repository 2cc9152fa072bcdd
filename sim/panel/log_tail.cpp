// Incremental reader of the board's logs: one open, a few bounded reads
// and one close per poll.
#include "log_tail.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "unique_fd.h"

namespace panel {

using routerd::unique_fd;

void LogTail::poll(const Sink &sink) {
  unique_fd fd(open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) return;
  struct stat st {};
  if (fstat(fd.get(), &st) == 0 && st.st_size < offset_) {
    offset_ = 0;
    partial_.clear();
  }
  char buffer[16384];
  for (;;) {
    ssize_t n = pread(fd.get(), buffer, sizeof buffer, offset_);
    if (n <= 0) break;
    offset_ += n;
    for (std::string_view chunk(buffer, size_t(n)); !chunk.empty();) {
      size_t end = std::min(chunk.find('\n'), chunk.size());
      size_t take = std::min(end, kMaxLine - partial_.size());
      partial_.append(chunk.substr(0, take));
      chunk.remove_prefix(take);
      bool complete = !chunk.empty() && chunk.front() == '\n';
      if (complete) chunk.remove_prefix(1);
      if (complete || partial_.size() == kMaxLine) {
        sink(partial_);
        partial_.clear();
      }
    }
  }
}

void LogTail::flush(const Sink &sink) {
  if (partial_.empty()) return;
  sink(partial_);
  partial_.clear();
}

}  // namespace panel
