// An LED pattern as the GPIO driver plays it: groups of on/off blink cycles
// followed by a dark rest, in driver time units of 100 ms.
#ifndef SIM_PANEL_LED_PATTERN_H
#define SIM_PANEL_LED_PATTERN_H

#include <cstdint>
#include <string>

namespace panel {

inline constexpr unsigned kLedUnitMs = 100;
inline constexpr unsigned kLedForever = 4000;  // as a group count: for ever

struct LedPattern {
  unsigned on = 0, off = 0, blinks = 0, rests = 0, times = 0;
  bool operator==(const LedPattern &) const = default;
};

// Whether the LED is lit `elapsed_ms` after the pattern was set. on = 0 is
// dark, off = 0 (with on > 0) lit; a pattern that has played all its
// groups leaves the LED dark.
bool led_lit(const LedPattern &pattern, uint64_t elapsed_ms);

// A short name: "lit", "dark", "blink 10/10", "blink 1/1 x10 rest 5",
// "blink 3000/2, 1 times" (a group of one blink folds the rest into off).
std::string led_describe(const LedPattern &pattern);

// The five numbers as the driver received them: "10/10/4000/1/4000".
std::string led_numbers(const LedPattern &pattern);

}  // namespace panel

#endif
