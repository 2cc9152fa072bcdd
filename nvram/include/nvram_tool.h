/* The store's calls beyond the six of nvram.h, for the `nvram` tool and
 * other firmware tools: removing a key, printing a set and importing a file
 * of key=value lines. Like nvram_bufset they change this process's view of
 * the set; nvram_commit writes the changes. */
#ifndef NVRAM_TOOL_H
#define NVRAM_TOOL_H

#include <stdio.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Removes the key from the set (0, or -1 for a bad index or key). */
int nvram_unset(int index, const char *key);
/* Writes every key of the set to out, one "key=value" line each in key
 * order, the value escaped ("\\" for a backslash, "\n" for a newline):
 * 0, or -1 for a bad index. */
int nvram_show(int index, FILE *out);
/* Sets the keys of the file's "key=value" lines (escaped as nvram_show
 * writes them; blank lines and lines starting with '#' are skipped, a later
 * line of a key wins): 0, or -1, with the file's first problem reported on
 * standard error and nothing set, for a bad index or a file that cannot be
 * read or holds a malformed line. */
int nvram_import(int index, const char *path);

#ifdef __cplusplus
}
#endif

#endif
