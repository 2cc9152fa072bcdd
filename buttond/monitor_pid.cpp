// The pid file is opened, read with "%d" and closed on every call: the
// monitor may restart at any time.
#include "buttond/monitor_pid.h"

#include <stdio.h>

extern "C" int find_monitor(int *pid) {
  FILE *file = fopen(MONITOR_PID_FILE, "r");
  if (file == nullptr) return MONITOR_NOT_RUNNING;
  bool read = fscanf(file, "%d", pid) == 1;
  fclose(file);
  if (!read) return MONITOR_NO_PID;
  return *pid < 2 ? MONITOR_PID_UNSAFE : MONITOR_FOUND;
}
