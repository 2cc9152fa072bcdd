// The C library's own versions of the calls this library replaces, for
// passing requests through and for the library's own work.
#ifndef SIM_FAKEHW_REAL_H
#define SIM_FAKEHW_REAL_H

#include <poll.h>
#include <signal.h>
#include <sys/select.h>
#include <sys/time.h>
#include <sys/types.h>
#include <time.h>

namespace fakehw::real {

int open(const char *path, int flags, mode_t mode);
int open64(const char *path, int flags, mode_t mode);
int close(int fd);
int ioctl(int fd, unsigned long request, void *arg);
int nanosleep(const timespec *request, timespec *remaining);
int clock_nanosleep(clockid_t clock, int flags, const timespec *request, timespec *remaining);
int ppoll(pollfd *fds, nfds_t count, const timespec *timeout, const sigset_t *mask);
int pselect(int count, fd_set *in, fd_set *out, fd_set *except, const timespec *timeout,
            const sigset_t *mask);
int select(int count, fd_set *in, fd_set *out, fd_set *except, timeval *timeout);
int setitimer(int which, const itimerval *value, itimerval *old);

}  // namespace fakehw::real

#endif
