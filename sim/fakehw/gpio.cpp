// The fake GPIO driver behind /dev/gpio: the bank table of direction and
// read commands, the button on pin 1 (one script sample per read of bank 0),
// LED patterns and interrupt registration.
#include <cstdint>

#include "boardutil/gpio_abi.h"
#include "sim/fakehw/decoders.h"
#include "sim/fakehw/hw_state.h"
#include "sim/fakehw/le_bytes.h"
#include "sim/fakehw/log.h"
#include "sim/fakehw/state.h"

namespace fakehw {
namespace {

struct Bank {
  unsigned long dir_in_command;
  unsigned long read_command;
  unsigned pins;
};
constexpr Bank kBanks[kGpioBanks] = {
    {GPIO_CMD_DIR_IN_BANK0, GPIO_CMD_READ_BANK0, 24},
    {GPIO_CMD_DIR_IN_BANK1, GPIO_CMD_READ_BANK1, 16},
    {GPIO_CMD_DIR_IN_BANK2, GPIO_CMD_READ_BANK2, 32},
    {GPIO_CMD_DIR_IN_BANK3, GPIO_CMD_READ_BANK3, 1},
};
constexpr unsigned kButtonBank = 0;
constexpr uint32_t kButtonBit = 1u << 1;

constexpr const char *kLedFields[] = {"pin", "on", "off", "blinks", "rests", "times"};
static_assert(sizeof kLedFields / sizeof kLedFields[0] * 4 == LED_INFO_SIZE);

Text &command_text(Text &line, unsigned long request) { return line.hex(request, 2, true); }

int refused(unsigned long request, const Text &reason, int error) {
  Text line;
  command_text(line.add("gpio refused cmd="), request).add(" (").add(reason.c_str()).add(")");
  log_request(line);
  return refuse(error);
}

int refused(unsigned long request, const char *reason, int error) {
  return refused(request, Text().add(reason), error);
}

bool scripted_failure(GpioRequest kind) {
  HwState *state = shared_state();
  return state != nullptr && (state->gpio_refuse.load() & kind) != 0;
}

// The level of the button for this read: the next sample of the script.
uint32_t next_button_level() {
  HwState *state = shared_state();
  if (state == nullptr) return kButtonReleased;
  uint32_t index = state->button_cursor.fetch_add(1);
  if (index < state->button_length.load()) return state->button_levels[index].load();
  return state->button_after.load();
}

uint32_t bank_levels(unsigned bank) {
  HwState *state = shared_state();
  uint32_t word = state != nullptr ? state->bank_levels[bank].load() : kDefaultBankLevels;
  if (bank != kButtonBank) return word;
  return next_button_level() != 0 ? word | kButtonBit : word & ~kButtonBit;
}

int set_dir_in(unsigned bank, unsigned long request, unsigned long mask) {
  if (scripted_failure(kGpioDir)) return refused(request, "failing on request", kScriptedFailure);
  bool one_bit = mask != 0 && (mask & (mask - 1)) == 0;
  if (!one_bit || uint64_t{mask} >> kBanks[bank].pins != 0) {
    return refused(request, Text().add("mask ").hex(mask).add(" is not one pin of bank ").dec(bank),
                   EINVAL);
  }
  Text line;
  command_text(line.add("gpio dir-in cmd="), request).add(" mask=").hex(mask);
  log_request(line);
  return 0;
}

int read_bank(unsigned bank, unsigned long request, void *arg) {
  if (scripted_failure(kGpioRead)) return refused(request, "failing on request", kScriptedFailure);
  if (arg == nullptr) return refused(request, "null argument", EINVAL);
  uint32_t word = bank_levels(bank);
  put_le32(static_cast<unsigned char *>(arg), word);
  Text line;
  command_text(line.add("gpio read cmd="), request).add(" -> ").hex(word);
  log_request(line);
  return 0;
}

int set_led(unsigned long request, const void *arg) {
  if (scripted_failure(kGpioLed)) return refused(request, "failing on request", kScriptedFailure);
  if (arg == nullptr) return refused(request, "null argument", EINVAL);
  const auto *info = static_cast<const unsigned char *>(arg);
  Text line;
  line.add("gpio led");
  for (unsigned i = 0; i < 6; ++i) {
    uint32_t value = get_le32(info + 4 * i);
    uint32_t limit = i == 0 ? GPIO_MAX_PIN : LED_MAX_FIELD;
    if (value > limit) {
      return refused(
          request, Text().add(kLedFields[i]).add_char('=').dec(value).add(" out of range"), EINVAL);
    }
    line.add_char(' ').add(kLedFields[i]).add_char('=').dec(value);
  }
  log_request(line);
  return 0;
}

int enable_irq(unsigned long request) {
  if (scripted_failure(kGpioIrq)) return refused(request, "failing on request", kScriptedFailure);
  Text line;
  command_text(line.add("gpio irq-enable cmd="), request);
  log_request(line);
  return 0;
}

int register_irq(unsigned long request, const void *arg) {
  if (scripted_failure(kGpioRegister)) {
    return refused(request, "failing on request", kScriptedFailure);
  }
  if (arg == nullptr) return refused(request, "null argument", EINVAL);
  const auto *info = static_cast<const unsigned char *>(arg);
  uint32_t pin = get_le32(info);
  auto pid = static_cast<int32_t>(get_le32(info + 4));
  if (pin > GPIO_MAX_PIN) {
    return refused(request, Text().add("pin=").dec(pin).add(" out of range"), EINVAL);
  }
  Text line;
  line.add("gpio register pin=").dec(pin).add(" pid=").signed_dec(pid);
  log_request(line);
  return 0;
}

}  // namespace

int gpio_request(unsigned long request, void *arg) {
  for (unsigned bank = 0; bank < kGpioBanks; ++bank) {
    if (request == kBanks[bank].dir_in_command) {
      return set_dir_in(bank, request, reinterpret_cast<unsigned long>(arg));
    }
    if (request == kBanks[bank].read_command) return read_bank(bank, request, arg);
  }
  switch (request) {
    case GPIO_CMD_LED_SET:
      return set_led(request, arg);
    case GPIO_CMD_ENABLE_IRQ:
      return enable_irq(request);
    case GPIO_CMD_REG_IRQ:
      return register_irq(request, arg);
    default:
      return refused(request, "unknown command", EINVAL);
  }
}

}  // namespace fakehw
