// New root on a tmpfs: host top-level symlinks recreated, host directories
// bound (so toolchains and the build tree stay reachable wherever they are),
// fresh tmpfs for the run-time directories, and the new PID and network
// namespaces' own /proc and /sys.
#include "sim/sandbox/rootfs.h"

#include <dirent.h>
#include <limits.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "sim/sandbox/fs_steps.h"
#include "sim/sandbox/setup_error.h"

namespace sandbox {

namespace {

// Host top-level directories the sandbox replaces with its own (the kernel
// file systems, the run-time state, and the board-only /sim and /etc_ro).
constexpr std::array<std::string_view, 8> kOwnDirectories = {"tmp",  "run", "var", "dev",
                                                             "proc", "sys", "sim", "etc_ro"};

static_assert(std::string_view(SIM_NVRAM_DIR).starts_with("/var/"),
              "the store directory must lie on the sandbox's fresh /var");
constexpr std::string_view kStoreUnderVar = std::string_view(SIM_NVRAM_DIR).substr(4);

void show_host_top_level(const std::string &root) {
  DIR *top = opendir("/");
  check(top != nullptr, "list the host's /");
  while (const dirent *entry = readdir(top)) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == ".." ||
        std::find(kOwnDirectories.begin(), kOwnDirectories.end(), name) != kOwnDirectories.end()) {
      continue;
    }
    const std::string host_path = "/" + std::string(name);
    const std::string path = root + host_path;
    struct stat status;
    check(lstat(host_path.c_str(), &status) == 0, "inspect %s", host_path.c_str());
    if (S_ISLNK(status.st_mode)) {
      char target[PATH_MAX];
      const ssize_t length = readlink(host_path.c_str(), target, sizeof target - 1);
      check(length >= 0, "read link %s", host_path.c_str());
      target[length] = '\0';
      make_symlink(target, path);
    } else if (S_ISDIR(status.st_mode)) {
      make_directories(path);
      bind(host_path, path);
    }
  }
  closedir(top);
}

void make_var(const std::string &var) {
  mount_fresh("tmpfs", var, "mode=0755");
  make_symlink("../run", var + "/run");
  make_directories(var + "/lock");
  make_directories(var + "/lib");
  make_directories(var + std::string(kStoreUnderVar));
}

}  // namespace

void build_root(const std::string &root) {
  check(mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0,
        "make the host's mounts private");
  mount_fresh("tmpfs", root, "mode=0755");
  show_host_top_level(root);
  for (const char *dir : {"/tmp", "/run", "/var", "/proc", "/sys", "/dev"}) {
    make_directories(root + dir);
  }
  mount_fresh("tmpfs", root + "/tmp", "mode=1777");
  mount_fresh("tmpfs", root + "/run", "mode=0755");
  make_var(root + "/var");
  mount_fresh("proc", root + "/proc");
  mount_fresh("sysfs", root + "/sys");
}

void enter_root(const std::string &root, const std::string &working_dir) {
  check(chdir(root.c_str()) == 0, "enter %s", root.c_str());
  // pivot_root(".", ".") stacks the old root on the new one; detaching it
  // leaves only the new root in this mount namespace.
  check(syscall(SYS_pivot_root, ".", ".") == 0, "pivot_root to %s", root.c_str());
  check(umount2(".", MNT_DETACH) == 0, "detach the host's root");
  if (chdir(working_dir.c_str()) != 0) check(chdir("/") == 0, "change to /");
}

}  // namespace sandbox
