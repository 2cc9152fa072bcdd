// The sandbox's /dev: the host's harmless character devices, a private
// pseudo-terminal instance, shared memory, and /dev/console as a FIFO.
#ifndef SIM_SANDBOX_DEVICES_H
#define SIM_SANDBOX_DEVICES_H

#include <string>

namespace sandbox {

// Where programs in the sandbox find the console; the sandbox reads it.
inline constexpr char kConsole[] = "/dev/console";

// Fills a fresh tmpfs at dev (the new root's /dev).
void build_dev(const std::string &dev);

}  // namespace sandbox

#endif
