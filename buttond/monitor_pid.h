/* The pid of the external monitor daemon, as its pid file gives it. */
#ifndef BUTTOND_MONITOR_PID_H
#define BUTTOND_MONITOR_PID_H

#ifdef __cplusplus
extern "C" {
#endif

#define MONITOR_PID_FILE "/var/run/monitor.pid"

/* Reads the first decimal number of the pid file into *pid: 1 when read,
 * 0 when the file does not begin with a number, -1 when it cannot be opened. */
int read_monitor_pid(int *pid);

#ifdef __cplusplus
}
#endif

#endif
