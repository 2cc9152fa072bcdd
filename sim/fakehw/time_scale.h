// Durations scaled by the shared time divisor: what a program asks for
// becomes divisor times shorter (never below 1 us unless zero), and what
// the kernel reports as left is scaled back to the program's time.
#ifndef SIM_FAKEHW_TIME_SCALE_H
#define SIM_FAKEHW_TIME_SCALE_H

#include <sys/time.h>
#include <time.h>

#include <cstdint>

namespace fakehw {

timespec scale_down(const timespec &duration, uint32_t divisor);
timespec scale_up(const timespec &duration, uint32_t divisor);
timeval scale_down(const timeval &duration, uint32_t divisor);
timeval scale_up(const timeval &duration, uint32_t divisor);
itimerval scale_down(const itimerval &timer, uint32_t divisor);
itimerval scale_up(const itimerval &timer, uint32_t divisor);

}  // namespace fakehw

#endif
