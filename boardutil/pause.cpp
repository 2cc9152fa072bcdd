// Pauses that are the only places where the daemon's handled signals may
// arrive: the signals stay blocked everywhere else, and ppoll lets them in
// atomically for the length of the pause (one system call per pause).
#include "boardutil/pause.h"

#include <errno.h>
#include <poll.h>
#include <signal.h>
#include <time.h>

namespace {

// The signal mask in force during a pause: the blocked mask less the
// signals handed to pause_block_signal.
sigset_t g_pause_mask;
bool g_pause_mask_set = false;

const sigset_t *pause_mask() { return g_pause_mask_set ? &g_pause_mask : nullptr; }

timespec to_timespec(long usec) {
  timespec ts{};
  ts.tv_sec = usec / 1000000;
  ts.tv_nsec = (usec % 1000000) * 1000;
  return ts;
}

long elapsed_usec(const timespec &since) {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return (now.tv_sec - since.tv_sec) * 1000000L + (now.tv_nsec - since.tv_nsec) / 1000;
}

}  // namespace

extern "C" void pause_block_signal(int sig) {
  sigset_t block;
  sigemptyset(&block);
  sigaddset(&block, sig);
  sigset_t previous;
  sigprocmask(SIG_BLOCK, &block, &previous);
  if (!g_pause_mask_set) {
    g_pause_mask = previous;
    g_pause_mask_set = true;
  }
  sigdelset(&g_pause_mask, sig);
}

extern "C" void pause_child_mask(sigset_t *mask) {
  if (g_pause_mask_set) {
    *mask = g_pause_mask;
  } else {
    sigprocmask(SIG_SETMASK, nullptr, mask);
  }
}

extern "C" void pause_usec(long usec) {
  timespec ts = to_timespec(usec);
  ppoll(nullptr, 0, &ts, pause_mask());
}

extern "C" void pause_seconds(unsigned seconds) {
  timespec start{};
  clock_gettime(CLOCK_MONOTONIC, &start);
  long total = static_cast<long>(seconds) * 1000000L;
  long left = total;
  while (left > 0) {
    timespec ts = to_timespec(left);
    if (ppoll(nullptr, 0, &ts, pause_mask()) != -1 || errno != EINTR) return;
    left = total - elapsed_usec(start);
  }
}
