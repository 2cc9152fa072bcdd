// Names of the GPIO and register requests a scripted failure can refuse,
// with their bits in the shared state (internal to the control library).
#ifndef SIM_FAKEHWCTL_REQUEST_NAMES_H
#define SIM_FAKEHWCTL_REQUEST_NAMES_H

#include <array>
#include <cstdint>
#include <string_view>

#include "sim/fakehw/hw_state.h"

namespace fakehwctl {

struct NamedBit {
  std::string_view name;
  uint32_t bit;
};

inline constexpr std::array<NamedBit, 5> kGpioRequestNames = {{
    {"dir", fakehw::kGpioDir},
    {"read", fakehw::kGpioRead},
    {"led", fakehw::kGpioLed},
    {"irq", fakehw::kGpioIrq},
    {"register", fakehw::kGpioRegister},
}};
inline constexpr std::array<NamedBit, 2> kRdmRequestNames = {{
    {"0x6B0E", fakehw::kRdmAccept},
    {"0x6B03", fakehw::kRdmRead},
}};

}  // namespace fakehwctl

#endif
