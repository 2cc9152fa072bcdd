/* Pauses during which chosen signals, kept blocked everywhere else, may be
 * delivered. Daemons whose signal handlers do real work block those signals
 * at start and pause only through here, so a handler never interrupts the
 * main flow inside the C library (stdio, allocation, popen). */
#ifndef BOARDUTIL_PAUSE_H
#define BOARDUTIL_PAUSE_H

#include <signal.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Blocks signal sig in the calling thread for all but the pauses below. */
void pause_block_signal(int sig);
/* Sleeps for usec microseconds with the signals of pause_block_signal let
 * in; ends early when one of them was handled. One system call. */
void pause_usec(long usec);
/* Sleeps seconds whole seconds the same way, resuming after handled
 * signals until the time is over. */
void pause_seconds(unsigned seconds);

/* The signal mask a started command should begin with: the process's mask
 * without the signals it blocks for the pauses, so commands and the daemons
 * they start can be signalled as usual. */
void pause_child_mask(sigset_t *mask);

#ifdef __cplusplus
}
#endif

#endif
