/* Small one-line status files under /tmp ("/tmp/Link", "/tmp/internetStatus",
 * "/tmp/Pair", ...): only their first byte counts, '1' meaning yes/up. */
#ifndef BOARDUTIL_STATUS_FILE_H
#define BOARDUTIL_STATUS_FILE_H

#ifdef __cplusplus
extern "C" {
#endif

/* Whether the internet is reachable ('1'), written by the firmware and read
 * by get_internet_status, uplinkd's check_internet and buttond's LEDs. */
#define INTERNET_STATUS_FILE "/tmp/internetStatus"

/* The first byte of the file (at most 5 bytes are read): 0-255, 0 for an
 * empty file, -1 when the file cannot be opened. */
int status_file_first_byte(const char *path);

/* 1 when the file's first byte is '1', else 0. Logs (console_debug) the
 * text missing, yes or no, whichever applies. */
int status_file_says_yes(const char *path, const char *missing, const char *yes, const char *no);

#ifdef __cplusplus
}
#endif

#endif
