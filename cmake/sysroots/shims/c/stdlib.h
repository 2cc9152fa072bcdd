/* uClibc-ng has no quick_exit and at_quick_exit, which libstdc++'s <cstdlib>
 * names (its configuration is glibc's). They are declared for C++ so that
 * the header compiles; a program calling them would fail to link. */
#include_next <stdlib.h>

#if defined(__UCLIBC__) && defined(__cplusplus) && !defined(ROUTERD_SHIM_QUICK_EXIT)
#define ROUTERD_SHIM_QUICK_EXIT
extern "C" {
[[noreturn]] void quick_exit(int status) throw();
int at_quick_exit(void (*function)(void)) throw();
}
#endif
