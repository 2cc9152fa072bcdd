// The firmware's commands inside the sandbox: recording stubs on PATH, the
// wireless CGI at its firmware path, and stubs bound over host copies.
#ifndef SIM_SANDBOX_STUBS_H
#define SIM_SANDBOX_STUBS_H

#include <string>

namespace sandbox {

// PATH of every program in the sandbox: the stubs come first.
inline constexpr char kSandboxPath[] = "/sim/bin:/usr/sbin:/usr/bin:/sbin:/bin";

// Lays out /sim/bin, /sim/stubs and /etc_ro in the new root (before entering it).
void install_stubs(const std::string &root);

// Binds the recording stub over the host's own copies of the firmware's
// system commands (after entering the new root), so absolute paths reach
// the stub as well.
void shadow_host_commands();

}  // namespace sandbox

#endif
