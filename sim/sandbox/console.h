// The console reader: a child of the sandbox's init that copies every byte
// written to /dev/console into /run/sim/console.log (and, when asked, to the
// sandbox's standard output).
#ifndef SIM_SANDBOX_CONSOLE_H
#define SIM_SANDBOX_CONSOLE_H

#include <sys/types.h>

namespace sandbox {

inline constexpr char kConsoleLog[] = "/run/sim/console.log";

// Opens the console FIFO and forks the reader; returns its pid.
pid_t start_console_reader(bool tee_to_stdout);

// Lets the reader copy what is still queued in the FIFO, then waits for it.
void stop_console_reader(pid_t reader);

}  // namespace sandbox

#endif
