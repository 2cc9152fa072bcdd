/* Console diagnostics, shell commands, pid files and the interval timer:
 * the bottom layer of boardutil that every other unit builds on. */
#ifndef BOARDUTIL_CONSOLE_H
#define BOARDUTIL_CONSOLE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Writes to /dev/console only while the debug switch /tmp/log exists. */
void console_debug(const char *format, ...) __attribute__((format(printf, 1, 2)));
/* Writes to /dev/console always. */
void console_print(const char *format, ...) __attribute__((format(printf, 1, 2)));

int pidfile_acquire(const char *path);
void pidfile_write_release(int fd);
int pidfile_delete(const char *path);

/* Path of the pid file most recently acquired, or null. */
extern const char *saved_pidfile;

typedef void (*timer_handler)(int);
int setTimer(int seconds, timer_handler handler);
int stopTimer(void);

#ifdef __cplusplus
}
#endif

#endif
