// The fake driver libraries: each --preload library goes where the dynamic
// loader's $LIB expansion finds the build for the program's architecture.
#ifndef SIM_SANDBOX_PRELOAD_H
#define SIM_SANDBOX_PRELOAD_H

#include <string>
#include <vector>

namespace sandbox {

// LD_PRELOAD of every program; the loader expands $LIB itself.
inline constexpr char kPreloadSpec[] = "/sim/preload/$LIB/libfakehw.so";

// Binds each library into the new root at root (before entering it).
void install_preloads(const std::string &root, const std::vector<std::string> &libraries);

}  // namespace sandbox

#endif
