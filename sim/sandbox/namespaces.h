// Host side of the sandbox: new mount, PID and network namespaces (and a
// user namespace when not root), and the fork of their init process.
#ifndef SIM_SANDBOX_NAMESPACES_H
#define SIM_SANDBOX_NAMESPACES_H

#include <functional>

namespace sandbox {

// Unshares the namespaces; the next child forked is PID 1 of the new PID namespace.
void enter_namespaces();

// Forks the namespace's init, which runs init_main and exits with its
// result; forwards termination signals to it and returns its exit status.
int run_namespace_init(const std::function<int()> &init_main);

}  // namespace sandbox

#endif
