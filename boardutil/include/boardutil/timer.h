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
 * seconds leaves it stopped. The result of arming: 0, or -1. */
int setTimer(int seconds, timer_handler handler);
/* Stops the timer; the handler stays installed. 0, or -1. */
int stopTimer(void);

#ifdef __cplusplus
}
#endif

#endif
