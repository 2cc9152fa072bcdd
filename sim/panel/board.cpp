// What both boards share: the button scripts.
#include "sim/panel/board.h"

namespace panel {

// Level 0 (pressed) SAMPLES times, then 1 (released) for good.
std::string press_script(unsigned samples) { return "0x" + std::to_string(samples) + " 1"; }

std::string hold_script(bool pressed) { return pressed ? "0" : "1"; }

}  // namespace panel
