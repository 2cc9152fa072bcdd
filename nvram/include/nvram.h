/* The configuration store: named text values in three sets (0 = 2.4 GHz
 * radio "2860", 1 = 5 GHz radio "rtdev", 2 = third set "wifi3"). Values
 * written by a process are visible to it at once and to other processes
 * once committed; commits are atomic and durable. */
#ifndef NVRAM_H
#define NVRAM_H

#ifdef __cplusplus
extern "C" {
#endif

#define RT2860_NVRAM 0
#define RTDEV_NVRAM 1
#define WIFI3_NVRAM 2

/* The value, or "" for a key that is not set (never null). The text stays
 * valid for the life of the process; the same value returns the same text. */
const char *nvram_bufget(int index, const char *key);
/* Stores a copy of value for this process (0, or -1 for a bad index or a
 * key that is empty or holds '=' or a newline). */
int nvram_bufset(int index, const char *key, const char *value);
/* nvram_bufset, then nvram_commit. */
int nvram_set(int index, const char *key, const char *value);
/* Writes this process's changes to the set into the store, merged with what
 * other processes committed meanwhile; -1 (reported on standard error, the
 * changes kept) when the store cannot be written. This process's changes to
 * the other sets are written in the same commit, so a power cut leaves all
 * of them or none; a set whose values did not change is not rewritten. */
int nvram_commit(int index);
/* Nothing to prepare or release: 0 for a valid index, -1 otherwise. */
int nvram_init(int index);
void nvram_close(int index);

#ifdef __cplusplus
}
#endif

#endif
