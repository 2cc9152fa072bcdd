/* List-valued configuration keys (';'-separated, one element per
 * access-point slot) and per-slot key names. */
#ifndef BOARDUTIL_LIST_VALUES_H
#define BOARDUTIL_LIST_VALUES_H

#ifdef __cplusplus
extern "C" {
#endif

const char *set_nth_value(int n, const char *list, const char *value);
const char *racat(const char *name, int number);
/* -1, the key left as it is, when the stored list is longer than the
 * 2047 characters a rewritten list holds. */
int set_nth_value_flash(int index, int n, const char *key, const char *value);

#ifdef __cplusplus
}
#endif

#endif
