// The fake GPIO driver's log line of an LED request ("gpio led pin=10
// on=4000 off=0 blinks=1 rests=0 times=4000"), the patterns the daemons
// use most, and the internet LEDs uplinkd sets for each state.
#ifndef TESTS_SUPPORT_LED_REQUESTS_H
#define TESTS_SUPPORT_LED_REQUESTS_H

#include <string>
#include <vector>

namespace testbed {

struct LedPattern {
  unsigned on, off, blinks, rests, times;
};

inline constexpr LedPattern kLedLit = {4000, 0, 1, 0, 4000};
inline constexpr LedPattern kLedDark = {0, 4000, 1, 0, 4000};
inline constexpr LedPattern kLedSlowBlink = {10, 10, 4000, 0, 4000};

inline std::string led(unsigned pin, const LedPattern &pattern) {
  return "gpio led pin=" + std::to_string(pin) + " on=" + std::to_string(pattern.on) +
         " off=" + std::to_string(pattern.off) + " blinks=" + std::to_string(pattern.blinks) +
         " rests=" + std::to_string(pattern.rests) + " times=" + std::to_string(pattern.times);
}

// uplinkd's three LEDs: internet reachable (10 lit, 11 dark, 8 lit) or not
// (10 and 11 dark, 8 blinking slowly).
inline const std::vector<std::string> kInternetLeds = {led(10, kLedLit), led(11, kLedDark),
                                                       led(8, kLedLit)};
inline const std::vector<std::string> kNoInternetLeds = {led(10, kLedDark), led(11, kLedDark),
                                                         led(8, kLedSlowBlink)};

}  // namespace testbed

#endif
