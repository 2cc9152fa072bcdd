// Checked filesystem steps: each wraps one system call and names the path
// in the failure message.
#include "sim/sandbox/fs_steps.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "sim/sandbox/setup_error.h"

namespace sandbox {

void make_directories(const std::string &path, mode_t mode) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    check(mkdir(prefix.c_str(), mode) == 0 || errno == EEXIST, "create directory %s",
          prefix.c_str());
    if (slash == std::string::npos) break;
  }
}

void make_empty_file(const std::string &path, mode_t mode) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  check(fd >= 0, "create file %s", path.c_str());
  close(fd);
}

void make_symlink(const std::string &target, const std::string &link) {
  check(symlink(target.c_str(), link.c_str()) == 0, "link %s -> %s", link.c_str(), target.c_str());
}

void make_fifo(const std::string &path, mode_t mode) {
  check(mkfifo(path.c_str(), mode) == 0, "create FIFO %s", path.c_str());
}

void mount_fresh(const char *type, const std::string &target, const char *options) {
  check(mount(type, target.c_str(), type, MS_NOSUID, options) == 0, "mount %s on %s", type,
        target.c_str());
}

void bind(const std::string &source, const std::string &target) {
  check(mount(source.c_str(), target.c_str(), nullptr, MS_BIND | MS_REC, nullptr) == 0,
        "bind %s on %s", source.c_str(), target.c_str());
}

}  // namespace sandbox
