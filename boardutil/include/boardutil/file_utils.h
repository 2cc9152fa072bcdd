/* Small file helpers of the firmware's interface: an integer file, a file's
 * size and a line-wise copy. No program of this tree calls them. */
#ifndef BOARDUTIL_FILE_UTILS_H
#define BOARDUTIL_FILE_UTILS_H

#ifdef __cplusplus
extern "C" {
#endif

/* The number at the start of path (up to 16 bytes are read and the last
 * character read is dropped as the line end; atoi rules), or -1 with a
 * message on standard output when path is null or cannot be opened or read. */
int file_read_int(const char *path);
/* The size of path in bytes, or -1 when it cannot be examined or does not
 * fit in an int. */
int get_file_size(const char *path);
/* Copies source to destination line by line (lines of up to 1023 bytes per
 * piece). A source that cannot be opened leaves the destination untouched.
 * Always 0. */
int copy_file(const char *source, const char *destination);

#ifdef __cplusplus
}
#endif

#endif
