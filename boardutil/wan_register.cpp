// The WAN port's link state: bit 0 of switch register 0x113408, read
// through the register access driver /dev/rdm0.
#include "boardutil/wan_register.h"

#include <fcntl.h>
#include <stdint.h>
#include <sys/ioctl.h>

#include "boardutil/console.h"
#include "boardutil/rdm_abi.h"
#include "runtime/unique_fd.h"

namespace {
constexpr const char kRegisterDevice[] = "/dev/rdm0";
}  // namespace

extern "C" int mt7620_reg_read(void) {
  routerd::unique_fd device(open(kRegisterDevice, O_RDONLY | O_CLOEXEC));
  if (!device.valid()) {
    console_debug("Open pseudo device failed\n\n");
    return 0;
  }
  if (ioctl(device.get(), RDM_CMD_PREPARE, 0UL) < 0) {
    console_debug("ioctl write error\n\n");
    return 0;
  }
  uint32_t word = RDM_WAN_PORT_REGISTER;
  if (ioctl(device.get(), RDM_CMD_READ, &word) < 0) {
    console_debug("ioctl read error\n\n");
    return 0;
  }
  return (word & RDM_WAN_LINK_BIT) ? 1 : 0;
}
