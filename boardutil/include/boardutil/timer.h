/* The process's one interval timer (ITIMER_REAL): buttond's WPS poll runs as
 * its SIGALRM handler every 2 seconds while a session runs. */
#ifndef BOARDUTIL_TIMER_H
#define BOARDUTIL_TIMER_H

#ifdef __cplusplus
extern "C" {
#endif

/* An ordinary signal handler, called with the signal number. */
typedef void (*timer_handler)(int);

/* Installs handler for SIGALRM (with signal) and arms the timer to fire
 * after seconds and then every seconds, replacing any earlier period; 0
 * seconds stops it as stopTimer does. The result of arming: 0, or -1. When
 * the handler cannot be installed the timer is stopped and -1 returned: an
 * alarm is never left to SIGALRM's default action, which ends the process. */
int setTimer(int seconds, timer_handler handler);
/* Stops the timer; the handler stays installed. 0, or -1. */
int stopTimer(void);

#ifdef __cplusplus
}
#endif

#endif
