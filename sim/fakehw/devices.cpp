// The descriptor table of fake devices. Atomic entries: a signal handler or
// another thread may open, use or close a device at any time.
#include "sim/fakehw/devices.h"

#include <atomic>

namespace fakehw {
namespace {

constexpr int kMaxDescriptors = 4096;
std::atomic<Device> g_devices[kMaxDescriptors];

bool in_table(int fd) { return fd >= 0 && fd < kMaxDescriptors; }

}  // namespace

bool remember_device(int fd, Device device) {
  if (!in_table(fd)) return false;
  g_devices[fd].store(device);
  return true;
}

void forget_device(int fd) {
  if (in_table(fd)) g_devices[fd].store(Device::kNone);
}

Device device_of(int fd) { return in_table(fd) ? g_devices[fd].load() : Device::kNone; }

}  // namespace fakehw
