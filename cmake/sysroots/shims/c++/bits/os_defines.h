/* libstdc++'s operating-system header for GNU/Linux, on a C library that is
 * not glibc: musl has no __GLIBC_PREREQ, which that header tests. No
 * version of glibc is claimed. */
#ifndef __GLIBC_PREREQ
#define __GLIBC_PREREQ(major, minor) 0
#endif
#include_next <bits/os_defines.h>
