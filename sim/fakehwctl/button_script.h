// Button scripts: "1x3 0x20 1" compiled into one level per read of the
// button's bank (1 = released, 0 = pressed) and the level that then holds.
#ifndef SIM_FAKEHWCTL_BUTTON_SCRIPT_H
#define SIM_FAKEHWCTL_BUTTON_SCRIPT_H

#include <cstdint>
#include <string_view>
#include <vector>

#include "sim/fakehwctl/result.h"

namespace fakehwctl {

struct ButtonScript {
  std::vector<uint8_t> levels;
  uint8_t after = 1;  // the last level, or released for an empty script
};

// Tokens LEVEL or LEVELxCOUNT (COUNT decimal, 1 or more), at most
// kButtonMaxSamples levels in all.
Result compile_button_script(std::string_view text, ButtonScript &script);

}  // namespace fakehwctl

#endif
