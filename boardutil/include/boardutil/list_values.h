/* List-valued configuration keys (';'-separated, one element per
 * access-point slot 0-7) and per-slot key names ("SSID1", "Key2Str"). */
#ifndef BOARDUTIL_LIST_VALUES_H
#define BOARDUTIL_LIST_VALUES_H

#ifdef __cplusplus
extern "C" {
#endif

/* list with element n replaced by value (cut to 255 characters); missing
 * elements before n become empty, an n outside 0-7 leaves the list as it
 * is, a null list or value counts as "". The result lives in a static
 * buffer of 2048 bytes (longer results are cut) that the next call
 * overwrites; list may be the previous result. */
const char *set_nth_value(int n, const char *list, const char *value);
/* name followed by the decimal number ("SSID" and 1 give "SSID1"), in a
 * static 32-byte buffer that the next call overwrites. */
const char *racat(const char *name, int number);
/* Replaces element n of key in set index of the configuration store (not
 * committed): nvram_bufset's result, 0 or -1; -1, the key left as it is,
 * when the stored list is longer than the 2047 characters a rewritten list
 * holds. */
int set_nth_value_flash(int index, int n, const char *key, const char *value);

#ifdef __cplusplus
}
#endif

#endif
