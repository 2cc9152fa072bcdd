// Reading the fake drivers' request log: LED patterns set on a pin, and
// the button level seen by each read of its bank.
#ifndef SIM_PANEL_REQUESTS_H
#define SIM_PANEL_REQUESTS_H

#include <optional>
#include <string_view>

#include "sim/panel/led_pattern.h"

namespace panel {

struct LedRequest {
  unsigned pin = 0;
  LedPattern pattern;
};

// "gpio led pin=10 on=10 off=10 blinks=4000 rests=1 times=4000".
std::optional<LedRequest> parse_led_request(std::string_view line);

enum class ButtonSample { none, pressed, released };

// "gpio read cmd=0x02 -> 0xfffffffd": the button (pin 1, low = pressed)
// as that read saw it; none for every other line.
ButtonSample parse_button_sample(std::string_view line);

// Lines of the log worth a place in a timeline: everything but the
// button's sampling and the register driver's set-up request.
bool request_is_noise(std::string_view line);

}  // namespace panel

#endif
