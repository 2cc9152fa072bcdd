// uplinkd's internet LED state machine: a requested state different from
// the last applied one drives the LEDs on pins 8, 10 and 11.
#include <stddef.h>

#include <array>

#include "boardutil/console.h"
#include "boardutil/gpio.h"
#include "uplinkd.h"

namespace {

struct LedStep {
  int pin;
  int mode;  // set_led: 0 dark, 1 lit, 2 slow blink, 3 fast blink
};
struct LedState {
  int steps;
  LedStep step[3];
};

constexpr std::array<LedState, 4> kLedStates = {{
    {1, {{8, 0}}},
    {3, {{10, 1}, {11, 0}, {8, 1}}},
    {3, {{10, 0}, {11, 0}, {8, 2}}},
    {1, {{8, 3}}},
}};

}  // namespace

extern "C" int update_internet_led(int state) {
  console_debug("%s status= %d,led_status=%d \n\n", "update_internet_led", state, led_status);
  if (state == led_status) return 0;
  led_status = state;
  if (state < 0 || state >= static_cast<int>(kLedStates.size())) return 0;
  const LedState &led = kLedStates[static_cast<size_t>(state)];
  for (int i = 0; i < led.steps; ++i) set_led(led.step[i].pin, led.step[i].mode);
  return 0;
}
