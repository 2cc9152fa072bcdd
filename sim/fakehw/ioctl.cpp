// ioctl: requests on the fake devices' descriptors and the wireless
// driver's private requests go to the decoders, after a request of the same
// number was passed to the kernel (where it fails harmlessly), so a
// system-call trace looks as on the router. Everything else is the kernel's.
#include <fcntl.h>
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdarg>

#include "sim/fakehw/decoders.h"
#include "sim/fakehw/devices.h"
#include "sim/fakehw/real.h"

namespace fakehw {
namespace {

// The same number on the device's /dev/null descriptor, without the
// argument: some numbers mean something to the kernel for any file (0x02
// is FIGETBSZ, which would write the block size into the caller's word).
int device_request(int fd, Device device, unsigned long request, void *arg) {
  int saved = errno;
  real::ioctl(fd, request, nullptr);
  errno = saved;
  return device == Device::kGpio ? gpio_request(request, arg) : rdm_request(request, arg);
}

// The socket sees the request as it is (no wireless driver there answers
// it); a descriptor that is not open, or an unreadable request, fail there
// as they would on the router. An emulator that does not know the request
// (qemu: ENOSYS) never asks the kernel, so the descriptor is checked here.
int wireless(int fd, unsigned long request, void *arg) {
  int saved = errno;
  if (real::ioctl(fd, request, arg) < 0) {
    if (errno == EBADF || errno == EFAULT) return -1;
    if (errno == ENOSYS && fcntl(fd, F_GETFD) < 0) return -1;
  }
  errno = saved;
  return wireless_request(request, arg);
}

}  // namespace
}  // namespace fakehw

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
  va_list args;
  va_start(args, request);
  void *arg = va_arg(args, void *);
  va_end(args);

  fakehw::Device device = fakehw::device_of(fd);
  if (device != fakehw::Device::kNone) return fakehw::device_request(fd, device, request, arg);
  if (fakehw::is_wireless_request(request)) return fakehw::wireless(fd, request, arg);
  return fakehw::real::ioctl(fd, request, arg);
}
