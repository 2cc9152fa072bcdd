// Notifies the external monitor daemon (SIGHUP) at every start and end of a
// WPS session, through the pid in its pid file.
#include <signal.h>
#include <stdio.h>

#include "buttond.h"
#include "monitor_pid.h"

// A pid below 2 would signal a process group or init, and a pid file that
// does not begin with a number names no process: nothing is sent then.
extern "C" void send_signal_velmora(int sig) {
  int pid = 0;
  int read = read_monitor_pid(&pid);
  if (read < 0) {
    printf("nvram: monitor is not running\n");
  } else if (read == 0) {
    printf("%s: no pid in %s\n", "send_signal_velmora", MONITOR_PID_FILE);
  } else if (pid < 2) {
    printf("%s: app pid(%d) <= 1\n", "send_signal_velmora", pid);
  } else {
    printf("notify app about WPS..\n");
    kill(pid, sig);
  }
  // The daemon's standard output is usually a file or pipe: show it now.
  fflush(stdout);
}
