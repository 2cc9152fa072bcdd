/* uClibc-ng has no timespec_get, which libstdc++'s <ctime> names (its
 * configuration is glibc's). It is declared for C++ so that the header
 * compiles; a program calling it would fail to link. */
#include_next <time.h>

#if defined(__UCLIBC__) && defined(__cplusplus) && !defined(ROUTERD_SHIM_TIMESPEC_GET)
#define ROUTERD_SHIM_TIMESPEC_GET
extern "C" int timespec_get(struct timespec *time, int base) throw();
#endif
