// The process's one interval timer (ITIMER_REAL) and its SIGALRM handler.
#include "boardutil/timer.h"

#include <signal.h>
#include <sys/time.h>

namespace {

int arm(int seconds) {
  itimerval value{};
  value.it_interval.tv_sec = seconds;
  value.it_value.tv_sec = seconds;
  return setitimer(ITIMER_REAL, &value, nullptr);
}

}  // namespace

extern "C" int setTimer(int seconds, timer_handler handler) {
  signal(SIGALRM, handler);
  return arm(seconds);
}

extern "C" int stopTimer(void) { return arm(0); }
