// ioctl: requests on the fake devices' descriptors and the wireless
// driver's private requests go to the decoders, after the same request was
// passed to the kernel (where it fails harmlessly), so a system-call trace
// looks as on the router. Everything else is the kernel's.
#include <sys/ioctl.h>

#include <cerrno>
#include <cstdarg>

#include "fakehw/decoders.h"
#include "fakehw/devices.h"
#include "fakehw/real.h"

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
  va_list args;
  va_start(args, request);
  void *arg = va_arg(args, void *);
  va_end(args);

  fakehw::Device device = fakehw::device_of(fd);
  if (device == fakehw::Device::kNone && !fakehw::is_wireless_request(request)) {
    return fakehw::real::ioctl(fd, request, arg);
  }
  int saved = errno;
  int kernel = fakehw::real::ioctl(fd, request, arg);
  // A descriptor that is not open, or a request that is not readable, fail
  // there as they would on the router.
  if (kernel < 0 && (errno == EBADF || errno == EFAULT)) return -1;
  errno = saved;
  switch (device) {
    case fakehw::Device::kGpio:
      return fakehw::gpio_request(request, arg);
    case fakehw::Device::kRdm:
      return fakehw::rdm_request(request, arg);
    case fakehw::Device::kNone:
      break;
  }
  return fakehw::wireless_request(request, arg);
}
