// Real time for the panel: the monotonic clock and a pause that the fake
// drivers' time scaling leaves alone (they scale sleeps, not poll).
#ifndef SIM_PANEL_MONOTONIC_H
#define SIM_PANEL_MONOTONIC_H

#include <poll.h>
#include <time.h>

#include <cstdint>

namespace panel {

inline uint64_t now_ms() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1000 + uint64_t(ts.tv_nsec) / 1000000;
}

inline void pause_ms(int ms) { poll(nullptr, 0, ms); }

}  // namespace panel

#endif
