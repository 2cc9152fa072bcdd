// /dev on a fresh tmpfs. Device nodes are bound from the host (creating
// nodes is not allowed in a user namespace); the console is a FIFO because
// the firmware opens it with mode "w+", which would truncate a plain file.
#include "sim/sandbox/devices.h"

#include <sys/mount.h>

#include "sim/sandbox/fs_steps.h"
#include "sim/sandbox/setup_error.h"

namespace sandbox {

void build_dev(const std::string &dev) {
  mount_fresh("tmpfs", dev, "mode=0755");
  for (const char *name : {"null", "zero", "full", "random", "urandom", "tty"}) {
    make_empty_file(dev + "/" + name);
    bind(std::string("/dev/") + name, dev + "/" + name);
  }
  make_directories(dev + "/pts");
  check(mount("devpts", (dev + "/pts").c_str(), "devpts", MS_NOSUID | MS_NOEXEC,
              "newinstance,ptmxmode=0666,mode=0620") == 0,
        "mount devpts on %s/pts", dev.c_str());
  make_symlink("pts/ptmx", dev + "/ptmx");
  make_directories(dev + "/shm");
  mount_fresh("tmpfs", dev + "/shm", "mode=1777");
  make_symlink("/proc/self/fd", dev + "/fd");
  make_symlink("/proc/self/fd/0", dev + "/stdin");
  make_symlink("/proc/self/fd/1", dev + "/stdout");
  make_symlink("/proc/self/fd/2", dev + "/stderr");
  make_fifo(dev + "/console", 0600);
}

}  // namespace sandbox
