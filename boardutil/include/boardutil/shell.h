/* Commands through the shell (/bin/sh -c). Every command starts with the
 * signal mask of pause_child_mask: the signals a daemon keeps blocked for its
 * pauses must not stay blocked in the commands (a "killall ping" or a stop
 * of a background job would not reach them). The command's output goes
 * where the caller's does; results are statuses as waitpid reports them.
 *
 * Two runners, as the firmware has them: do_system where the firmware runs
 * a command through do_system (the status files, the mesh commands, the
 * button's reset), shell_run where it uses the C library's system (the WPS
 * session's driver settings and scripts, reboot, killall ping). They differ
 * only in the command's standard input and in do_system's message. */
#ifndef BOARDUTIL_SHELL_H
#define BOARDUTIL_SHELL_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Runs command with a pipe to its standard input that is never written
 * (the command reads end of file) and waits for the shell; a command ending
 * in '&' returns once the shell has put it into the background. The wait
 * status, or -1 with "popen error!" on standard error when the shell cannot
 * be started. Part of the firmware's interface. */
int do_system(const char *command);
/* Runs command with a pipe to its standard input that is closed at once
 * (the command reads end of file) and waits for the shell, without stdio:
 * do_system's runner. The wait status, or -1 (nothing printed) when the
 * shell cannot be started or waited for. */
int shell_run_closed_input(const char *command);
/* Runs command with the caller's standard input and waits for the shell,
 * like the C library's system: the wait status, or -1 (nothing printed)
 * when the shell cannot be started. */
int shell_run(const char *command);
/* Starts command with a pipe to its standard input (mode "w") or from its
 * standard output (mode "r"), like popen; null when it cannot be started
 * or when four streams of this process are open already. The stream is the
 * caller's until shell_close. */
FILE *shell_open(const char *command, const char *mode);
/* Closes the pipe and waits for the shell: its wait status, or -1. */
int shell_close(FILE *stream);

#ifdef __cplusplus
}
#endif

#endif
