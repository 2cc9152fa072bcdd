/* Preloaded into a program on the virtual board, cuts the power right after
 * the program's Nth rename() (POWERCUT_AFTER_RENAMES=N): what was written
 * before is made durable (sync, as a flash chip's writes are), then the
 * board resets at once through SysRq, without syncing or unmounting, and
 * qemu (run with -no-reboot) exits. Each replacement is logged on standard
 * error. The power-cut campaign uses it to cut
 * a repeater session between each two file replacements of its commit. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

static int renames_done;

int rename(const char *from, const char *to) {
  int (*real_rename)(const char *, const char *) =
      (int (*)(const char *, const char *))dlsym(RTLD_NEXT, "rename");
  int result = real_rename(from, to);
  const char *limit = getenv("POWERCUT_AFTER_RENAMES");
  if (result != 0 || !limit) return result;
  ++renames_done;
  fprintf(stderr, "powercut: file replacement %d: %s\n", renames_done, to);
  if (renames_done == atoi(limit)) {
    sync();
    int trigger = open("/proc/sysrq-trigger", O_WRONLY | O_CLOEXEC);
    if (trigger >= 0) {
      (void)write(trigger, "b", 1);
      close(trigger);
    }
  }
  return result;
}
