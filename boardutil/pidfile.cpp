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
// lock), so once the lock is ours the file is cut to the new line: an older,
// longer pid must not leave its tail behind.
extern "C" void pidfile_write_release(int fd) {
  if (fd < 0) return;
  FILE *stream = fdopen(fd, "w");
  if (stream == nullptr) {
    close(fd);
    return;
  }
  fprintf(stream, "%d\n", static_cast<int>(getpid()));
  if (fflush(stream) == 0) {
    long length = ftell(stream);
    if (length >= 0 && ftruncate(fd, length) != 0) perror("ftruncate");
  }
  fclose(stream);
}

extern "C" int pidfile_delete(const char *path) {
  printf("saved_pidfile:%s\n", saved_pidfile != nullptr ? saved_pidfile : "(none)");
  if (saved_pidfile == nullptr) return 0;
  return unlink(path);
}
