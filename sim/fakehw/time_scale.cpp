// Exact scaling of durations in seconds and nanoseconds without overflow on
// 32-bit time_t: whole seconds and the remainder are divided separately,
// products saturate.
#include "sim/fakehw/time_scale.h"

#include <limits>

namespace fakehw {
namespace {

constexpr int64_t kNanosPerSecond = 1000000000;
constexpr int64_t kMinimumNanos = 1000;
constexpr int64_t kMaxSeconds = std::numeric_limits<time_t>::max();

bool valid(const timespec &duration) {
  return duration.tv_sec >= 0 && duration.tv_nsec >= 0 && duration.tv_nsec < kNanosPerSecond;
}

timeval to_timeval(const timespec &duration) {
  return {duration.tv_sec, static_cast<suseconds_t>(duration.tv_nsec / 1000)};
}

timespec to_timespec(const timeval &duration) {
  return {duration.tv_sec, static_cast<long>(duration.tv_usec) * 1000};
}

}  // namespace

timespec scale_down(const timespec &duration, uint32_t divisor) {
  if (divisor <= 1 || !valid(duration)) return duration;
  int64_t seconds = duration.tv_sec;
  int64_t nanos = (seconds % divisor * kNanosPerSecond + duration.tv_nsec) / divisor;
  seconds /= divisor;
  bool nonzero = duration.tv_sec != 0 || duration.tv_nsec != 0;
  if (seconds == 0 && nanos < kMinimumNanos && nonzero) {
    nanos = kMinimumNanos;
  }
  return {static_cast<time_t>(seconds + nanos / kNanosPerSecond),
          static_cast<long>(nanos % kNanosPerSecond)};
}

timespec scale_up(const timespec &duration, uint32_t divisor) {
  if (divisor <= 1 || !valid(duration)) return duration;
  int64_t nanos = duration.tv_nsec * int64_t{divisor};
  int64_t seconds = nanos / kNanosPerSecond;
  if (duration.tv_sec > (kMaxSeconds - seconds) / divisor) return {kMaxSeconds, 0};
  return {static_cast<time_t>(duration.tv_sec * divisor + seconds),
          static_cast<long>(nanos % kNanosPerSecond)};
}

timeval scale_down(const timeval &duration, uint32_t divisor) {
  return to_timeval(scale_down(to_timespec(duration), divisor));
}

timeval scale_up(const timeval &duration, uint32_t divisor) {
  return to_timeval(scale_up(to_timespec(duration), divisor));
}

itimerval scale_down(const itimerval &timer, uint32_t divisor) {
  return {scale_down(timer.it_interval, divisor), scale_down(timer.it_value, divisor)};
}

itimerval scale_up(const itimerval &timer, uint32_t divisor) {
  return {scale_up(timer.it_interval, divisor), scale_up(timer.it_value, divisor)};
}

}  // namespace fakehw
