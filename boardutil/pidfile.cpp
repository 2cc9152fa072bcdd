// Pid files: created without truncation and locked while the pid is written,
// so a concurrent starter waits; removed again at normal exit.
#include "boardutil/pidfile.h"

#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

extern "C" {
const char *saved_pidfile = nullptr;
}

namespace {

void remove_saved_pidfile() { pidfile_delete(saved_pidfile); }

// The pid as a decimal line, written without stdio: a daemon that only
// samples its button then never maps the C library's stdio code.
size_t pid_line(pid_t pid, char (&line)[16]) {
  char digits[12];
  size_t count = 0;
  unsigned long value = static_cast<unsigned long>(pid);
  do {
    digits[count++] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0 && count < sizeof digits);
  size_t length = 0;
  while (count > 0) line[length++] = digits[--count];
  line[length++] = '\n';
  return length;
}

}  // namespace

extern "C" int pidfile_acquire(const char *path) {
  if (path == nullptr) return -1;
  int fd = open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    printf("Unable to open pidfile %s\n", path);
    return fd;
  }
  lockf(fd, F_LOCK, 0);
  if (saved_pidfile == nullptr) atexit(remove_saved_pidfile);
  saved_pidfile = path;
  return fd;
}

// The file is not truncated when opened (a concurrent starter may hold the
// lock), so once the line is written the file is cut to it: an older,
// longer pid must not leave its tail behind.
extern "C" void pidfile_write_release(int fd) {
  if (fd < 0) return;
  char line[16];
  size_t length = pid_line(getpid(), line);
  // A write of a few bytes to a regular file is whole or fails.
  if (write(fd, line, length) == static_cast<ssize_t>(length) &&
      ftruncate(fd, static_cast<off_t>(length)) != 0) {
    perror("ftruncate");
  }
  close(fd);
}

extern "C" int pidfile_delete(const char *path) {
  printf("saved_pidfile:%s\n", saved_pidfile != nullptr ? saved_pidfile : "(none)");
  if (saved_pidfile == nullptr) return 0;
  return unlink(path);
}
