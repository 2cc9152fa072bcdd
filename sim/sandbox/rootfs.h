// The sandbox's root filesystem: a tmpfs that shows the host's top-level
// directories but has its own /tmp, /run, /var, /proc and /sys, and the
// switch of the mount namespace's root to it.
#ifndef SIM_SANDBOX_ROOTFS_H
#define SIM_SANDBOX_ROOTFS_H

#include <string>

namespace sandbox {

// Builds the new root at root (a directory of the host, shadowed in this
// mount namespace only). Must run in the new mount, PID and network namespaces.
void build_root(const std::string &root);

// Makes root the root of the mount namespace, drops the host's view and
// changes to working_dir (or "/" when it isn't visible inside).
void enter_root(const std::string &root, const std::string &working_dir);

}  // namespace sandbox

#endif
