// uplinkd's internet LED state machine: a requested state different from
// the last applied one drives the LEDs on pins 8, 10 and 11.
#include <stddef.h>

#include <array>

#include "boardutil/console.h"
#include "boardutil/gpio.h"
#include "uplinkd/uplinkd.h"

namespace {

struct LedStep {
  int pin;
  int mode;  // of set_led
};
struct LedState {
  int steps;
  LedStep step[3];
};

// Indexed by LED_STATE_DARK to LED_STATE_FAST_BLINK.
constexpr std::array<LedState, LED_STATE_NONE> kLedStates = {{
    {1, {{8, LED_MODE_DARK}}},
    {3, {{10, LED_MODE_LIT}, {11, LED_MODE_DARK}, {8, LED_MODE_LIT}}},
    {3, {{10, LED_MODE_DARK}, {11, LED_MODE_DARK}, {8, LED_MODE_SLOW_BLINK}}},
    {1, {{8, LED_MODE_FAST_BLINK}}},
}};
static_assert(LED_STATE_FAST_BLINK == kLedStates.size() - 1);

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
