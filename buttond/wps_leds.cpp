// LED feedback of WPS sessions: the patterns of ledWps (in progress, ended,
// and a few others) and the internet state shown when a session ends.
#include <fcntl.h>
#include <unistd.h>

#include <array>

#include "boardutil/gpio.h"
#include "boardutil/status_file.h"
#include "buttond/buttond.h"
#include "runtime/unique_fd.h"

namespace {

// A step's pin kWpsLine stands for the WPS line passed to ledWps; on/off
// kRate for the blink rate of the session type.
constexpr unsigned kWpsLine = ~0u;
constexpr unsigned kRate = ~0u;
constexpr unsigned kRepeaterRate = 5;
constexpr unsigned kRouterRate = 10;

struct LedStep {
  unsigned pin, on, off, blinks, rests, times;
};

struct LedPattern {
  std::array<LedStep, 3> steps;
  size_t count;
  bool passes_result;  // the result of its single request is ledWps's result
};

constexpr LedStep kLine8Lit = {8, 4000, 0, 1, 0, 4000};
constexpr LedStep kLine11Dark = {11, 1, 4000, 1, 1, 4000};

// Indexed by the pattern type (WPS_LED_DARK, 1, to WPS_LED_ENDED, 6).
constexpr std::array<LedPattern, WPS_LED_ENDED> kPatterns = {{
    {{{{kWpsLine, 0, 4000, 1, 1, 4000}}}, 1, true},
    {{{kLine8Lit, {kWpsLine, kRate, kRate, 4000, 1, 4000}, kLine11Dark}}, 3, false},
    {{{{kWpsLine, 1, 1, 4000, 1, 4000}}}, 1, true},
    {{{{kWpsLine, 1, 1, 10, 5, 4000}}}, 1, true},
    {{{{kWpsLine, 3000, 1, 1, 1, 1}}}, 1, false},
    {{{kLine8Lit, {kWpsLine, 1, 4000, 1, 1, 4000}, kLine11Dark}}, 3, false},
}};

// The internet state: line 10 lit when reachable, line 8 blinking when not.
constexpr unsigned kInternetUpLine = 10;
constexpr unsigned kInternetDownLine = 8;

}  // namespace

extern "C" int ledWps(unsigned pin, unsigned type) {
  if (type < 1 || type > kPatterns.size()) return 0;
  const LedPattern &pattern = kPatterns[type - 1];
  unsigned rate = wps_type == WPS_TYPE_REPEATER ? kRepeaterRate : kRouterRate;
  int result = 0;
  for (size_t i = 0; i < pattern.count; ++i) {
    const LedStep &s = pattern.steps[i];
    result = led_request(s.pin == kWpsLine ? pin : s.pin, s.on == kRate ? rate : s.on,
                         s.off == kRate ? rate : s.off, s.blinks, s.rests, s.times);
  }
  return pattern.passes_result ? result : 0;
}

extern "C" void update_internet_led(void) {
  routerd::unique_fd file(open(INTERNET_STATUS_FILE, O_RDONLY | O_CLOEXEC));
  if (!file.valid()) return;
  char status[5] = {};
  if (read(file.get(), status, sizeof status) <= 0) return;
  if (status[0] == '1') {
    led_request(kInternetUpLine, 4000, 0, 1, 0, 4000);
  } else if (status[0] == '0') {
    led_request(kInternetDownLine, 10, 10, 4000, 0, 4000);
  }
}
