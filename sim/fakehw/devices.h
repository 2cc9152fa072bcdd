// Which descriptors of this process are fake devices: a fixed table indexed
// by descriptor, filled by open and cleared by close.
#ifndef SIM_FAKEHW_DEVICES_H
#define SIM_FAKEHW_DEVICES_H

#include <cstdint>

namespace fakehw {

enum class Device : uint8_t { kNone, kGpio, kRdm };

// False when fd is beyond the table (the caller then refuses the open).
bool remember_device(int fd, Device device);
void forget_device(int fd);
Device device_of(int fd);

}  // namespace fakehw

#endif
