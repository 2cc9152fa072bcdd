/* The external monitor daemon as its pid file names it: the one check, for
 * every notification of buttond, of whether there is a process to signal. */
#ifndef BUTTOND_MONITOR_PID_H
#define BUTTOND_MONITOR_PID_H

#ifdef __cplusplus
extern "C" {
#endif

#define MONITOR_PID_FILE "/var/run/monitor.pid"

/* Results of find_monitor. */
#define MONITOR_NOT_RUNNING -1 /* the pid file cannot be opened */
#define MONITOR_NO_PID 0       /* the file does not begin with a decimal number */
#define MONITOR_FOUND 1        /* *pid is the process to signal */
#define MONITOR_PID_UNSAFE 2   /* *pid is below 2 (a process group or init): never signalled */

/* Reads the first decimal number of the pid file into *pid and says
 * whether it may be signalled. Prints nothing; the callers report in their
 * own words. */
int find_monitor(int *pid);

#ifdef __cplusplus
}
#endif

#endif
