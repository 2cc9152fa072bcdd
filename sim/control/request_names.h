// Names of the GPIO and register requests a scripted failure can refuse,
// with their bits in the shared state (internal to the control library).
#ifndef SIM_CONTROL_REQUEST_NAMES_H
#define SIM_CONTROL_REQUEST_NAMES_H

#include <array>
#include <cstdint>
#include <string_view>

#include "control/hw_state.h"

namespace fakehw {

struct NamedBit {
  std::string_view name;
  uint32_t bit;
};

inline constexpr std::array<NamedBit, 5> kGpioRequestNames = {{
    {"dir", kGpioDir}, {"read", kGpioRead}, {"led", kGpioLed}, {"irq", kGpioIrq}, {"register", kGpioRegister},
}};
inline constexpr std::array<NamedBit, 2> kRdmRequestNames = {{{"0x6B0E", kRdmAccept}, {"0x6B03", kRdmRead}}};

}  // namespace fakehw

#endif
