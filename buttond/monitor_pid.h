/* The external monitor daemon as its pid file names it: the one check, for
 * every notification of buttond, of whether there is a process to signal. */
#ifndef BUTTOND_MONITOR_PID_H
#define BUTTOND_MONITOR_PID_H

#include <stdio.h>

#define MONITOR_PID_FILE "/var/run/monitor.pid"

/* States of a MonitorPidFile. */
#define MONITOR_NOT_RUNNING -1 /* the pid file cannot be opened */
#define MONITOR_NO_PID 0       /* the file does not begin with a decimal number */
#define MONITOR_FOUND 1        /* pid() is the process to signal */
#define MONITOR_PID_UNSAFE 2   /* pid() is below 2 (a process group or init): never signalled */

namespace buttond {

// Opens the pid file and reads its first decimal number; the file stays
// open while the caller reports and signals, and is closed last. Prints
// nothing; the callers report in their own words. The file is read anew at
// every notification: the monitor may restart at any time.
class MonitorPidFile {
 public:
  MonitorPidFile();
  ~MonitorPidFile();
  MonitorPidFile(const MonitorPidFile &) = delete;
  MonitorPidFile &operator=(const MonitorPidFile &) = delete;

  int state() const { return state_; }  // MONITOR_*
  int pid() const { return pid_; }

 private:
  FILE *file_;
  int pid_ = 0;
  int state_ = MONITOR_NOT_RUNNING;
};

}  // namespace buttond

#endif
