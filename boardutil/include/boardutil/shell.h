/* Commands through the shell, like the C library's system and popen, but
 * started with the signal mask of pause_child_mask: the signals a daemon
 * keeps blocked for its pauses must not stay blocked in the commands (a
 * "killall ping" or a stop of a background job would not reach them). */
#ifndef BOARDUTIL_SHELL_H
#define BOARDUTIL_SHELL_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Runs command and waits for it: the wait status, or -1 when the shell
 * cannot be started. */
int shell_run(const char *command);
/* Starts command with a pipe to its standard input (mode "w") or from its
 * standard output (mode "r"); null when it cannot be started. */
FILE *shell_open(const char *command, const char *mode);
/* Closes the pipe and waits for the shell: its wait status, or -1. */
int shell_close(FILE *stream);

#ifdef __cplusplus
}
#endif

#endif
