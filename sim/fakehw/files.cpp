// Answer files of the fake drivers. Sequence files are consumed under an
// exclusive lock, so two processes never take the same value twice.
#include "sim/fakehw/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstring>

#include "sim/fakehw/real.h"
#include "sim/fakehw/saved_errno.h"
#include "sim/fakehw/text_parse.h"

namespace fakehw {
namespace {

size_t read_all(int fd, char *buffer, size_t capacity) {
  size_t length = 0;
  while (length < capacity) {
    ssize_t count = read(fd, buffer + length, capacity - length);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) break;
    length += static_cast<size_t>(count);
  }
  return length;
}

}  // namespace

size_t read_small_file(const char *path, char *buffer, size_t capacity) {
  SavedErrno saved;
  int fd = real::open(path, O_RDONLY | O_CLOEXEC, 0);
  if (fd < 0) return 0;
  size_t length = read_all(fd, buffer, capacity);
  real::close(fd);
  return length;
}

size_t take_sequence_value(const char *path, char *token, size_t capacity) {
  SavedErrno saved;
  int fd = real::open(path, O_RDWR | O_CLOEXEC, 0);
  if (fd < 0) return 0;
  while (flock(fd, LOCK_EX) < 0 && errno == EINTR) {
  }
  char buffer[kSequenceCapacity];
  size_t length = read_all(fd, buffer, sizeof buffer);
  std::string_view rest(buffer, length);
  std::string_view first = next_token(rest);
  std::string_view after = rest;
  if (!next_token(after).empty()) {
    size_t start = rest.find_first_not_of(kBlanks);
    rest.remove_prefix(start);
    ssize_t written = pwrite(fd, rest.data(), rest.size(), 0);
    if (written == static_cast<ssize_t>(rest.size())) {
      int truncated = ftruncate(fd, static_cast<off_t>(rest.size()));
      (void)truncated;  // the file keeps its old tail: the next value repeats
    }
  }
  real::close(fd);  // releases the lock
  size_t count = first.size() < capacity ? first.size() : capacity;
  memcpy(token, first.data(), count);
  return count;
}

}  // namespace fakehw
