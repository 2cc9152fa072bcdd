/* Console diagnostics: the two ways every message of the system reaches the
 * console /dev/console. Messages carry their own line ends. */
#ifndef BOARDUTIL_CONSOLE_H
#define BOARDUTIL_CONSOLE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Writes the formatted message to /dev/console only while the debug switch
 * /tmp/log exists (tested anew for every message). The console is opened
 * ("w+") and closed for each message; when it cannot be opened the message
 * is lost. */
void console_debug(const char *format, ...) __attribute__((format(printf, 1, 2)));
/* The same, whatever the debug switch says. */
void console_print(const char *format, ...) __attribute__((format(printf, 1, 2)));

#ifdef __cplusplus
}
#endif

#endif
