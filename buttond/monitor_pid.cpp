// Reads the monitor daemon's pid file, which the WPS session and the mesh
// pairing handler use to notify it.
#include "monitor_pid.h"

#include <stdio.h>

extern "C" int read_monitor_pid(int *pid) {
  FILE *file = fopen(MONITOR_PID_FILE, "r");
  if (file == nullptr) return -1;
  int read = fscanf(file, "%d", pid) == 1 ? 1 : 0;
  fclose(file);
  return read;
}
