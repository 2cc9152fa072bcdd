// do_system: the command runs through the shell with a pipe to its standard
// input that is never written, and the caller waits for the shell. Nothing
// here uses stdio: a daemon whose only commands are do_system's (uplinkd's
// cycle) never maps the C library's stdio code.
#include "boardutil/shell.h"

#include <unistd.h>

extern "C" int do_system(const char *command) {
  int status = shell_run_closed_input(command);
  if (status == -1) {
    static const char kMessage[] = "popen error!\n";
    ssize_t written = write(STDERR_FILENO, kMessage, sizeof kMessage - 1);
    (void)written;  // nowhere else to report it
  }
  return status;
}
