// The WAN port's link state: bit 0 of switch register 0x113408, read
// through the register access driver /dev/rdm0.
#include <fcntl.h>
#include <stdint.h>
#include <sys/ioctl.h>

#include "boardutil/console.h"
#include "boardutil/uplink.h"
#include "unique_fd.h"

namespace {
constexpr const char kRegisterDevice[] = "/dev/rdm0";
constexpr unsigned long kRdmPrepare = 0x6B0E;  // taken with the argument 0 before a read
constexpr unsigned long kRdmRead = 0x6B03;     // offset in, value out, in one 32-bit word
constexpr uint32_t kWanPortRegister = 0x113408;
constexpr uint32_t kLinkBit = 0x1;
}  // namespace

extern "C" int mt7620_reg_read(void) {
  routerd::unique_fd device(open(kRegisterDevice, O_RDONLY | O_CLOEXEC));
  if (!device.valid()) {
    console_debug("Open pseudo device failed\n\n");
    return 0;
  }
  if (ioctl(device.get(), kRdmPrepare, 0UL) < 0) {
    console_debug("ioctl write error\n\n");
    return 0;
  }
  uint32_t word = kWanPortRegister;
  if (ioctl(device.get(), kRdmRead, &word) < 0) {
    console_debug("ioctl read error\n\n");
    return 0;
  }
  return (word & kLinkBit) ? 1 : 0;
}
