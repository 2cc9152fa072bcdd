// The GPIO/LED driver interface on /dev/gpio: LED patterns, reading input
// pins through the driver's bank table, and interrupt registration.
#include "boardutil/gpio.h"

#include <fcntl.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>

#include "boardutil/gpio_abi.h"

namespace {

constexpr const char kGpioDevice[] = "/dev/gpio";

// One bank of pins: its first pin and the driver's commands for it.
struct Bank {
  unsigned first_pin;
  unsigned last_pin;
  unsigned dir_in_command;
  unsigned read_command;
};

constexpr std::array<Bank, 4> kBanks = {{
    {0, 23, GPIO_CMD_DIR_IN_BANK0, GPIO_CMD_READ_BANK0},
    {24, 39, GPIO_CMD_DIR_IN_BANK1, GPIO_CMD_READ_BANK1},
    {40, 71, GPIO_CMD_DIR_IN_BANK2, GPIO_CMD_READ_BANK2},
    {72, 72, GPIO_CMD_DIR_IN_BANK3, GPIO_CMD_READ_BANK3},
}};

// The bank of a pin, or null for a pin beyond the table. A pin's bit within
// its bank counts from the bank's first pin (the last bank's pin is bit 0).
const Bank *bank_of(unsigned pin) {
  for (const Bank &bank : kBanks) {
    if (pin <= bank.last_pin) return &bank;
  }
  return nullptr;
}

unsigned long bit_mask(const Bank &bank, unsigned pin) { return 1UL << (pin - bank.first_pin); }

// Fills a driver record of u32 fields, little-endian on the router.
template <size_t N>
void put_words(unsigned char (&record)[N], const uint32_t (&words)[N / 4]) {
  static_assert(N % 4 == 0);
  for (size_t i = 0; i < N / 4; ++i) memcpy(record + 4 * i, &words[i], 4);
}

}  // namespace

extern "C" int led_request(unsigned pin, unsigned on, unsigned off, unsigned blinks, unsigned rests,
                           unsigned times) {
  if (pin > GPIO_MAX_PIN || on > LED_MAX_FIELD || off > LED_MAX_FIELD || blinks > LED_MAX_FIELD ||
      rests > LED_MAX_FIELD || times > LED_MAX_FIELD) {
    return -1;
  }
  unsigned char info[LED_INFO_SIZE];
  put_words(info, {pin, on, off, blinks, rests, times});
  int fd = open(kGpioDevice, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    perror(kGpioDevice);
    return -1;
  }
  int result = 0;
  if (ioctl(fd, GPIO_CMD_LED_SET, info) < 0) {
    perror("ioctl");
    result = -1;
  }
  close(fd);
  return result;
}

extern "C" int set_led(int pin, int mode) {
  struct Pattern {
    unsigned on, off, blinks, rests, times;
  };
  // Indexed by mode: LED_MODE_DARK, _LIT, _SLOW_BLINK, _FAST_BLINK.
  constexpr std::array<Pattern, 4> kPatterns = {{
      {0, 4000, 1, 0, 4000},
      {4000, 0, 1, 0, 4000},
      {10, 10, 4000, 0, 4000},
      {3, 3, 4000, 0, 4000},
  }};
  static_assert(LED_MODE_FAST_BLINK == kPatterns.size() - 1);
  if (mode < 0 || mode >= static_cast<int>(kPatterns.size())) return 0;
  const Pattern &p = kPatterns[mode];
  led_request(static_cast<unsigned>(pin), p.on, p.off, p.blinks, p.rests, p.times);
  return 0;
}

extern "C" int gpio_set_dir_in(int fd, unsigned pin) {
  const Bank *bank = bank_of(pin);
  if (bank == nullptr) return -1;
  if (ioctl(fd, bank->dir_in_command, bit_mask(*bank, pin)) < 0) {
    printf("gpio_set_dir_in ioctl");
    return -1;
  }
  return 0;
}

extern "C" int gpio_read_int(int fd, unsigned pin, unsigned *word) {
  *word = 0;
  const Bank *bank = bank_of(pin);
  if (bank == nullptr) return -1;
  if (ioctl(fd, bank->read_command, word) < 0) {
    printf("gpio_read_int =  ioctl");
    return -1;
  }
  return 0;
}

extern "C" int gpio_read(int fd, int pin) {
  if (pin < 0 || pin > GPIO_MAX_PIN) return -1;
  unsigned upin = static_cast<unsigned>(pin);
  gpio_set_dir_in(fd, upin);
  unsigned word = 0;
  if (gpio_read_int(fd, upin, &word) < 0) return -1;
  return (word >> (upin - bank_of(upin)->first_pin)) & 1U;
}

extern "C" int gpio_enable_irq(unsigned pin) {
  const Bank *bank = bank_of(pin);
  if (bank == nullptr) return -1;
  int fd = open(kGpioDevice, O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    perror(kGpioDevice);
    return -1;
  }
  unsigned char info[GPIO_INFO_SIZE];
  put_words(info, {pin, static_cast<uint32_t>(getpid())});
  int result = 0;
  if (ioctl(fd, bank->dir_in_command, bit_mask(*bank, pin)) < 0 ||
      ioctl(fd, GPIO_CMD_ENABLE_IRQ) < 0 || ioctl(fd, GPIO_CMD_REG_IRQ, info) < 0) {
    perror("ioctl");
    result = -1;
  }
  close(fd);
  return result;
}
