// libstdc++'s thread layer: the POSIX one where the C library has threads;
// on uClibc-ng built without them (no pthread.h; the router's programs
// start no threads) the single-threaded one, and libstdc++'s headers then
// leave out what needs threads, as a libstdc++ built without them does.
#if defined(__UCLIBC__) && !defined(__UCLIBC_HAS_THREADS__)
#include <bits/gthr-single.h>
#undef _GLIBCXX_HAS_GTHREADS
#else
#include_next <bits/gthr-default.h>
#endif
