/* Pid files of the daemons: created and locked at start-up, the pid written
 * at once, and removed again at normal exit. */
#ifndef BOARDUTIL_PIDFILE_H
#define BOARDUTIL_PIDFILE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Opens path for writing (created 0644, not truncated) and waits for an
 * exclusive lock on it: the descriptor, which pidfile_write_release takes
 * over; -1 for a null path (nothing printed); the failed open's negative
 * result, with "Unable to open pidfile PATH" on standard output. The first
 * success registers the removal of saved_pidfile at normal exit. path is
 * kept, not copied: pass a text that lives as long as the process. */
int pidfile_acquire(const char *path);
/* Writes the process id and a line end into the file, cuts off what an
 * older, longer content left behind, and closes the descriptor (which
 * releases the lock). Does nothing for a negative fd. */
void pidfile_write_release(int fd);
/* Prints "saved_pidfile:PATH" (the saved path, or "(none)") on standard
 * output, then removes path if this process acquired a pid file: the
 * result of the removal (0, or -1), or 0 when nothing was acquired. */
int pidfile_delete(const char *path);

/* The path of the pid file most recently acquired, or null. Never cleared. */
extern const char *saved_pidfile;

#ifdef __cplusplus
}
#endif

#endif
