// Mounts detached on the way out, so a test that fails half-way leaves the
// path as it found it.
#include "tests/support/covered_path.h"

#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>

extern char **environ;

namespace testbed {

Covered::Covered(const char *path, const char *source, const char *type, unsigned long flags)
    : path_(path), mounted_(mount(source, path, type, flags, nullptr) == 0) {}

Covered::~Covered() {
  if (mounted_) umount2(path_, MNT_DETACH);
}

bool spawn_reports_failed_exec() {
  pid_t pid;
  char path[] = "/nonexistent/program";
  char *argv[] = {path, nullptr};
  if (posix_spawn(&pid, path, nullptr, nullptr, argv, environ) != 0) return true;
  waitpid(pid, nullptr, 0);
  return false;
}

}  // namespace testbed
