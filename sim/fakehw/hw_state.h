// Layout of /run/sim/hw/state, the fake drivers' switches mapped MAP_SHARED
// by every process of the sandbox: 64-bit host and 32-bit mipsel programs
// alike, so fixed-width lock-free fields only, no pointers.
#ifndef SIM_FAKEHW_HW_STATE_H
#define SIM_FAKEHW_HW_STATE_H

#include <atomic>
#include <cstdint>

namespace fakehw {

inline constexpr char kSimDir[] = "/run/sim";
inline constexpr char kHwDir[] = "/run/sim/hw";
inline constexpr char kStatePath[] = "/run/sim/hw/state";
inline constexpr char kWifiDir[] = "/run/sim/hw/wifi";
inline constexpr char kRequestsLogPath[] = "/run/sim/requests.log";

inline constexpr uint32_t kStateMagic = 0x57484b46;  // "FKHW"
inline constexpr uint32_t kStateVersion = 1;
inline constexpr uint32_t kButtonMaxSamples = 65536;
inline constexpr unsigned kGpioBanks = 4;

// Defaults: every pin high, the button (low = pressed) released, real time.
inline constexpr uint32_t kDefaultBankLevels = 0xffffffff;
inline constexpr uint8_t kButtonReleased = 1;
inline constexpr uint8_t kButtonPressed = 0;

// Requests a scripted failure refuses: bits of gpio_refuse and rdm_refuse.
enum GpioRequest : uint32_t {
  kGpioDir = 1u << 0,
  kGpioRead = 1u << 1,
  kGpioLed = 1u << 2,
  kGpioIrq = 1u << 3,
  kGpioRegister = 1u << 4,
};
enum RdmRequest : uint32_t {
  kRdmAccept = 1u << 0,  // 0x6B0E
  kRdmRead = 1u << 1,    // 0x6B03
};

using Word = std::atomic<uint32_t>;
using Level = std::atomic<uint8_t>;
static_assert(Word::is_always_lock_free && Level::is_always_lock_free);

struct HwState {
  Word magic;         // kStateMagic once initialised
  Word version;       // kStateVersion
  Word time_divisor;  // sleeps and timers run this many times faster
  Word logging;       // 1: each request is logged to kRequestsLogPath
  Word gpio_missing;  // 1: opening /dev/gpio fails with ENOENT
  Word gpio_refuse;   // GpioRequest bits
  Word bank_levels[kGpioBanks];
  Word rdm_missing;    // 1: opening /dev/rdm0 fails with ENOENT
  Word rdm_refuse;     // RdmRequest bits
  Word wan_link;       // bit 0 of switch register 0x113408
  Word button_length;  // samples in button_levels
  Word button_after;   // the level once the samples are used up
  Word button_cursor;  // successful reads of bank 0 since the script was set
  Level button_levels[kButtonMaxSamples];
};
static_assert(sizeof(HwState) == 16 * 4 + kButtonMaxSamples);

}  // namespace fakehw

#endif
