// Notifies the external monitor daemon (SIGHUP) at every start and end of a
// WPS session, through the pid in its pid file.
#include <signal.h>
#include <stdio.h>

#include "buttond/buttond.h"
#include "buttond/monitor_pid.h"

// The notice leaves before the signal, and the pid file is closed last.
extern "C" void send_signal_velmora(int sig) {
  buttond::MonitorPidFile monitor;
  switch (monitor.state()) {
    case MONITOR_FOUND:
      printf("notify app about WPS..\n");
      break;
    case MONITOR_PID_UNSAFE:
      printf("%s: app pid(%d) <= 1\n", "send_signal_velmora", monitor.pid());
      break;
    case MONITOR_NO_PID:
      printf("%s: no pid in %s\n", "send_signal_velmora", MONITOR_PID_FILE);
      break;
    default:
      printf("nvram: monitor is not running\n");
      break;
  }
  // The daemon's standard output is usually a file or pipe: show it now.
  fflush(stdout);
  if (monitor.state() == MONITOR_FOUND) kill(monitor.pid(), sig);
}
