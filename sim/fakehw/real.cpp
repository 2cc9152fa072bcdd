// Finds the next definitions (the C library's) of the replaced calls at load
// time; a call made before that (another library's constructor) resolves
// its own on the spot.
#include "sim/fakehw/real.h"

#include <dlfcn.h>

#include <atomic>

namespace fakehw::real {
namespace {

template <typename Function>
struct Next {
  const char *name;
  std::atomic<Function *> function{nullptr};

  Function *get() {
    Function *found = function.load(std::memory_order_relaxed);
    if (found == nullptr) {
      found = reinterpret_cast<Function *>(dlsym(RTLD_NEXT, name));
      function.store(found, std::memory_order_relaxed);
    }
    return found;
  }
};

Next<int(const char *, int, ...)> g_open{"open"};
Next<int(const char *, int, ...)> g_open64{"open64"};
Next<int(int)> g_close{"close"};
Next<int(int, unsigned long, ...)> g_ioctl{"ioctl"};
Next<int(const timespec *, timespec *)> g_nanosleep{"nanosleep"};
Next<int(clockid_t, int, const timespec *, timespec *)> g_clock_nanosleep{"clock_nanosleep"};
Next<int(pollfd *, nfds_t, const timespec *, const sigset_t *)> g_ppoll{"ppoll"};
Next<int(int, fd_set *, fd_set *, fd_set *, const timespec *, const sigset_t *)> g_pselect{
    "pselect"};
Next<int(int, fd_set *, fd_set *, fd_set *, timeval *)> g_select{"select"};
Next<int(int, const itimerval *, itimerval *)> g_setitimer{"setitimer"};

__attribute__((constructor)) void resolve_all() {
  g_open.get();
  g_open64.get();
  g_close.get();
  g_ioctl.get();
  g_nanosleep.get();
  g_clock_nanosleep.get();
  g_ppoll.get();
  g_pselect.get();
  g_select.get();
  g_setitimer.get();
}

}  // namespace

int open(const char *path, int flags, mode_t mode) { return g_open.get()(path, flags, mode); }
int open64(const char *path, int flags, mode_t mode) { return g_open64.get()(path, flags, mode); }
int close(int fd) { return g_close.get()(fd); }
int ioctl(int fd, unsigned long request, void *arg) { return g_ioctl.get()(fd, request, arg); }
int nanosleep(const timespec *request, timespec *remaining) {
  return g_nanosleep.get()(request, remaining);
}
int clock_nanosleep(clockid_t clock, int flags, const timespec *request, timespec *remaining) {
  return g_clock_nanosleep.get()(clock, flags, request, remaining);
}
int ppoll(pollfd *fds, nfds_t count, const timespec *timeout, const sigset_t *mask) {
  return g_ppoll.get()(fds, count, timeout, mask);
}
int pselect(int count, fd_set *in, fd_set *out, fd_set *except, const timespec *timeout,
            const sigset_t *mask) {
  return g_pselect.get()(count, in, out, except, timeout, mask);
}
int select(int count, fd_set *in, fd_set *out, fd_set *except, timeval *timeout) {
  return g_select.get()(count, in, out, except, timeout);
}
int setitimer(int which, const itimerval *value, itimerval *old) {
  return g_setitimer.get()(which, value, old);
}

}  // namespace fakehw::real
