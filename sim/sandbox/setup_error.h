// Ends the sandbox when a setup step fails: one line on stderr naming the
// step (and the system's reason), then exit status 125, so a caller can
// tell a broken sandbox from a failing program.
#ifndef SIM_SANDBOX_SETUP_ERROR_H
#define SIM_SANDBOX_SETUP_ERROR_H

namespace sandbox {

inline constexpr int kSetupFailed = 125;

// Prints "sandbox: <step>" and exits with kSetupFailed.
[[noreturn]] void setup_failed(const char *format, ...) __attribute__((format(printf, 1, 2)));

// Unless ok, prints "sandbox: <step>: <strerror(errno)>" and exits with kSetupFailed.
void check(bool ok, const char *format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace sandbox

#endif
