// Every system call is retried on EINTR where it can be interrupted; a
// temporary file that could not be put in place is removed again.
#include "nvram/file_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "runtime/unique_fd.h"

namespace nvram {
namespace {

bool later(const struct timespec &a, const struct timespec &b) {
  return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Writes and flushes the temporary file (owner only: the sets hold Wi-Fi
// passphrases); the caller renames it.
bool write_temp(const char *temp, std::string_view bytes, const struct timespec *newer_than) {
  routerd::unique_fd fd(open(temp, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
  if (!fd.valid()) return false;
  if (!write_all(fd.get(), bytes)) return false;
  if (newer_than) {
    struct stat st;
    if (fstat(fd.get(), &st) != 0) return false;
    if (!later(st.st_mtim, *newer_than)) {
      struct timespec times[2] = {{0, UTIME_OMIT}, *newer_than};
      if (++times[1].tv_nsec == 1000000000) times[1] = {times[1].tv_sec + 1, 0};
      if (futimens(fd.get(), times) != 0) return false;
    }
  }
  return fsync(fd.get()) == 0;
}

Status system_error(int error) { return Status::error("%s", strerror(error)); }

}  // namespace

FileBytes::FileBytes(std::string_view bytes) : data_(bytes.size()), size_(bytes.size()) {
  bytes.copy(data_.get(), size_);
}

Status read_file(const char *path, size_t max, FileBytes &bytes, struct stat &identity) {
  bytes = FileBytes();
  routerd::unique_fd fd(open(path, O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) {
    int error = errno;
    if (error == ENOENT) return Status::not_found(strerror(error));
    stat(path, &identity);
    return system_error(error);
  }
  if (fstat(fd.get(), &identity) != 0) return system_error(errno);
  if (static_cast<unsigned long long>(identity.st_size) > max) return system_error(EFBIG);
  // One byte more than the file's size, so the end of the file is seen in
  // the first block; a file that grew meanwhile gets a larger block.
  size_t capacity = static_cast<size_t>(identity.st_size) + 1;
  routerd::heap_bytes data(capacity);
  size_t size = 0;
  for (;;) {
    ssize_t n = read(fd.get(), data.get() + size, capacity - size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return system_error(errno);
    if (n == 0) break;
    size += static_cast<size_t>(n);
    if (size > max) return system_error(EFBIG);
    if (size == capacity) {
      capacity = 2 * capacity;
      routerd::heap_bytes larger(capacity);
      std::memcpy(larger.get(), data.get(), size);
      data = std::move(larger);
    }
  }
  bytes.data_ = std::move(data);
  bytes.size_ = size;
  return Status::ok();
}

Status replace_file(const char *dir, const char *temp, const char *path, std::string_view bytes,
                    const struct timespec *newer_than) {
  if (!write_temp(temp, bytes, newer_than)) {
    Status failed = Status::error("cannot write %s: %s", temp, strerror(errno));
    unlink(temp);
    return failed;
  }
  if (rename(temp, path) != 0) {
    Status failed = Status::error("cannot rename %s to %s: %s", temp, path, strerror(errno));
    unlink(temp);
    return failed;
  }
  return flush_directory(dir);
}

Status flush_directory(const char *dir) {
  routerd::unique_fd directory(open(dir, O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!directory.valid() || fsync(directory.get()) != 0) {
    return Status::error("cannot flush directory %s: %s", dir, strerror(errno));
  }
  return Status::ok();
}

Status make_directories(const char *path) {
  std::string prefix;
  for (const char *p = path; *p; ++p) {
    prefix += *p;
    if ((p[1] == '/' || p[1] == '\0') && prefix != "/" && mkdir(prefix.c_str(), 0755) != 0 &&
        errno != EEXIST) {
      return Status::error("cannot create directory %s: %s", prefix.c_str(), strerror(errno));
    }
  }
  return Status::ok();
}

}  // namespace nvram
