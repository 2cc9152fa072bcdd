// open/open64 of the fake devices /dev/gpio and /dev/rdm0 (a real read-only
// descriptor of /dev/null, remembered as the device) and close; any other
// path goes to the C library untouched.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstring>

#include "sim/fakehw/devices.h"
#include "sim/fakehw/real.h"
#include "sim/fakehw/state.h"

namespace fakehw {
namespace {

struct DeviceNode {
  const char *path;
  Device device;
};
constexpr DeviceNode kDeviceNodes[] = {{"/dev/gpio", Device::kGpio}, {"/dev/rdm0", Device::kRdm}};

Device device_at(const char *path) {
  if (path == nullptr) return Device::kNone;
  for (const DeviceNode &node : kDeviceNodes) {
    if (strcmp(path, node.path) == 0) return node.device;
  }
  return Device::kNone;
}

bool device_missing(Device device) {
  HwState *state = shared_state();
  if (state == nullptr) return false;
  return (device == Device::kGpio ? state->gpio_missing : state->rdm_missing).load() != 0;
}

using OpenFunction = int (*)(const char *, int, mode_t);

int open_path(const char *path, int flags, mode_t mode, OpenFunction open_real) {
  Device device = device_at(path);
  if (device == Device::kNone) return open_real(path, flags, mode);
  if (device_missing(device)) {
    errno = ENOENT;
    return -1;
  }
  int fd = open_real("/dev/null", O_RDONLY | (flags & O_CLOEXEC), 0);
  if (fd < 0) return -1;
  if (!remember_device(fd, device)) {
    real::close(fd);
    errno = EMFILE;
    return -1;
  }
  return fd;
}

// The mode argument, present only when the flags may create a file.
mode_t mode_argument(int flags, va_list args) {
  bool takes_mode = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
  return takes_mode ? va_arg(args, mode_t) : 0;
}

}  // namespace
}  // namespace fakehw

extern "C" int open(const char *path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  mode_t mode = fakehw::mode_argument(flags, args);
  va_end(args);
  return fakehw::open_path(path, flags, mode, fakehw::real::open);
}

extern "C" int open64(const char *path, int flags, ...) {
  va_list args;
  va_start(args, flags);
  mode_t mode = fakehw::mode_argument(flags, args);
  va_end(args);
  return fakehw::open_path(path, flags, mode, fakehw::real::open64);
}

extern "C" int close(int fd) {
  fakehw::forget_device(fd);
  return fakehw::real::close(fd);
}
