// The sleeps, waits and timers, run divisor times faster: each passes its
// scaled duration to the C library's own call (one system call, as the
// program made) and reports remaining times in the program's scale.
#include <poll.h>
#include <sys/select.h>
#include <sys/time.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

#include "sim/fakehw/real.h"
#include "sim/fakehw/state.h"
#include "sim/fakehw/time_scale.h"

namespace fakehw {
namespace {

constexpr long kNanosPerSecond = 1000000000;

// Sleeps for the scaled duration; on an interruption, whole seconds left
// rounded to the nearest (as the C library's sleep reports them).
unsigned sleep_seconds(unsigned seconds) {
  uint32_t divisor = time_divisor();
  timespec request = scale_down(timespec{static_cast<time_t>(seconds), 0}, divisor);
  timespec left{};
  if (real::nanosleep(&request, &left) == 0) return 0;
  left = scale_up(left, divisor);
  return static_cast<unsigned>(left.tv_sec) + (left.tv_nsec >= kNanosPerSecond / 2 ? 1 : 0);
}

timespec until(clockid_t clock, const timespec &deadline) {
  timespec now{};
  clock_gettime(clock, &now);
  timespec left{deadline.tv_sec - now.tv_sec, deadline.tv_nsec - now.tv_nsec};
  if (left.tv_nsec < 0) {
    left.tv_nsec += kNanosPerSecond;
    --left.tv_sec;
  }
  return left;
}

}  // namespace
}  // namespace fakehw

using fakehw::scale_down;
using fakehw::scale_up;
using fakehw::time_divisor;
namespace real = fakehw::real;

extern "C" unsigned sleep(unsigned seconds) { return fakehw::sleep_seconds(seconds); }

extern "C" int usleep(useconds_t micros) {
  timespec request{static_cast<time_t>(micros / 1000000),
                   static_cast<long>(micros % 1000000) * 1000};
  request = scale_down(request, time_divisor());
  return real::nanosleep(&request, nullptr);
}

extern "C" int nanosleep(const timespec *request, timespec *remaining) {
  uint32_t divisor = time_divisor();
  if (divisor == 1 || request == nullptr) return real::nanosleep(request, remaining);
  timespec scaled = scale_down(*request, divisor);
  int result = real::nanosleep(&scaled, remaining);
  if (result < 0 && errno == EINTR && remaining != nullptr) {
    *remaining = scale_up(*remaining, divisor);
  }
  return result;
}

extern "C" int clock_nanosleep(clockid_t clock, int flags, const timespec *request,
                               timespec *remaining) {
  uint32_t divisor = time_divisor();
  if (divisor == 1 || request == nullptr) {
    return real::clock_nanosleep(clock, flags, request, remaining);
  }
  if ((flags & TIMER_ABSTIME) != 0) {
    // An absolute deadline becomes the scaled time from now to it.
    timespec left = fakehw::until(clock, *request);
    if (left.tv_sec < 0) return real::clock_nanosleep(clock, flags, request, remaining);
    timespec scaled = scale_down(left, divisor);
    return real::clock_nanosleep(clock, 0, &scaled, nullptr);
  }
  timespec scaled = scale_down(*request, divisor);
  int result = real::clock_nanosleep(clock, flags, &scaled, remaining);
  if (result == EINTR && remaining != nullptr) *remaining = scale_up(*remaining, divisor);
  return result;
}

extern "C" int ppoll(pollfd *fds, nfds_t count, const timespec *timeout, const sigset_t *mask) {
  uint32_t divisor = time_divisor();
  if (divisor == 1 || timeout == nullptr) return real::ppoll(fds, count, timeout, mask);
  timespec scaled = scale_down(*timeout, divisor);
  return real::ppoll(fds, count, &scaled, mask);
}

extern "C" int pselect(int count, fd_set *in, fd_set *out, fd_set *except, const timespec *timeout,
                       const sigset_t *mask) {
  uint32_t divisor = time_divisor();
  if (divisor == 1 || timeout == nullptr) {
    return real::pselect(count, in, out, except, timeout, mask);
  }
  timespec scaled = scale_down(*timeout, divisor);
  return real::pselect(count, in, out, except, &scaled, mask);
}

extern "C" int select(int count, fd_set *in, fd_set *out, fd_set *except, timeval *timeout) {
  uint32_t divisor = time_divisor();
  if (divisor == 1 || timeout == nullptr) return real::select(count, in, out, except, timeout);
  timeval scaled = scale_down(*timeout, divisor);
  int result = real::select(count, in, out, except, &scaled);
  *timeout = scale_up(scaled, divisor);  // the time left, as Linux reports it
  return result;
}

extern "C" int setitimer(int which, const itimerval *value, itimerval *old) noexcept {
  uint32_t divisor = time_divisor();
  if (divisor == 1 || value == nullptr) return real::setitimer(which, value, old);
  itimerval scaled = scale_down(*value, divisor);
  int result = real::setitimer(which, &scaled, old);
  if (result == 0 && old != nullptr) *old = scale_up(*old, divisor);
  return result;
}

extern "C" unsigned alarm(unsigned seconds) noexcept {
  uint32_t divisor = time_divisor();
  itimerval timer{{0, 0}, {static_cast<time_t>(seconds), 0}};
  timer = scale_down(timer, divisor);
  itimerval old{};
  if (real::setitimer(ITIMER_REAL, &timer, &old) < 0) return 0;
  old = scale_up(old, divisor);
  // Rounded to the nearest second, never 0 while an alarm was pending.
  auto left = static_cast<unsigned>(old.it_value.tv_sec);
  if (old.it_value.tv_usec >= 500000 || (left == 0 && old.it_value.tv_usec > 0)) ++left;
  return left;
}
