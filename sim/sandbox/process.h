// Processes of the sandbox: commands run during setup, the program under
// test, and the supervision loop shared by the host side and the init.
#ifndef SIM_SANDBOX_PROCESS_H
#define SIM_SANDBOX_PROCESS_H

#include <sys/types.h>

#include <string>
#include <vector>

namespace sandbox {

// Blocks the signals supervise() waits for; call before forking anything,
// so children inherit the mask and no signal is lost before the loop runs.
void block_supervised_signals();

// Forks and runs argv (searched on PATH) with the signal mask restored.
// A failing exec prints a message and exits 127.
pid_t start_process(const std::vector<std::string> &argv);

// Runs argv to its end; returns its exit status (128 + signal if killed).
int run_command(const std::vector<std::string> &argv);

// Reaps every child that ends and forwards SIGTERM, SIGINT and SIGHUP to
// child, until child exits; returns its exit status (128 + signal if killed).
int supervise(pid_t child);

}  // namespace sandbox

#endif
