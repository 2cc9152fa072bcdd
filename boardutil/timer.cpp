// The process's one interval timer (ITIMER_REAL) and its SIGALRM handler.
// A daemon keeps SIGALRM blocked outside its pauses, so stopping the timer
// also drops an alarm that fired and is still waiting to be handled.
#include "boardutil/timer.h"

#include <signal.h>
#include <sys/time.h>
#include <time.h>

namespace {

int arm(int seconds) {
  itimerval value{};
  value.it_interval.tv_sec = seconds;
  value.it_value.tv_sec = seconds;
  return setitimer(ITIMER_REAL, &value, nullptr);
}

// Without this, an alarm of a stopped timer would run the handler at the
// next pause, however recently the timer was armed again.
void drop_pending_alarm() {
  sigset_t pending;
  if (sigpending(&pending) != 0 || sigismember(&pending, SIGALRM) != 1) return;
  sigset_t alarm;
  sigemptyset(&alarm);
  sigaddset(&alarm, SIGALRM);
  timespec none{};
  sigtimedwait(&alarm, nullptr, &none);
}

}  // namespace

// An alarm without its handler would end the process (the default action
// of SIGALRM), so a handler that cannot be installed leaves the timer
// stopped. 0 seconds stops it like stopTimer, pending alarm included.
extern "C" int setTimer(int seconds, timer_handler handler) {
  if (signal(SIGALRM, handler) == SIG_ERR) {
    stopTimer();
    return -1;
  }
  return seconds == 0 ? stopTimer() : arm(seconds);
}

extern "C" int stopTimer(void) {
  int result = arm(0);
  drop_pending_alarm();
  return result;
}
