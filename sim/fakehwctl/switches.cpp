// Setters of the shared switches: time, logging, the GPIO and register
// drivers' failures and levels, and the button script.
#include <string>

#include "sim/fakehw/text_parse.h"
#include "sim/fakehwctl/answer_files.h"
#include "sim/fakehwctl/button_script.h"
#include "sim/fakehwctl/control.h"
#include "sim/fakehwctl/request_names.h"
#include "sim/fakehwctl/state_file.h"

namespace fakehwctl {

using fakehw::HwState;
using fakehw::kButtonPressed;
using fakehw::kButtonReleased;
using fakehw::kGpioBanks;
using fakehw::next_token;
using fakehw::parse_u32;
using fakehw::Word;

namespace {

// Stores a value into one word of the state.
Result store(Word HwState::*field, uint32_t value) {
  HwState *state = nullptr;
  if (Result mapped = mapped_state(state); !mapped) return mapped;
  (state->*field).store(value);
  return Result::ok();
}

// The bits of the blank-separated names in text; same(a, b) compares a
// token with a name.
template <size_t N, typename Same>
Result parse_names(std::string_view text, const std::array<NamedBit, N> &names, Same same,
                   uint32_t &bits) {
  bits = 0;
  for (std::string_view token = next_token(text); !token.empty(); token = next_token(text)) {
    const NamedBit *found = nullptr;
    for (const NamedBit &named : names) {
      if (found == nullptr && same(token, named.name)) found = &named;
    }
    if (found == nullptr) {
      std::string known;
      for (const NamedBit &named : names) known += " " + std::string(named.name);
      return Result::fail("unknown request \"" + std::string(token) + "\" (known:" + known + ")");
    }
    bits |= found->bit;
  }
  return Result::ok();
}

bool same_text(std::string_view a, std::string_view b) { return a == b; }

// Request numbers compare as numbers: 0x6b0e names 0x6B0E.
bool same_number(std::string_view a, std::string_view b) {
  uint32_t x = 0, y = 0;
  return parse_u32(a, x) && parse_u32(b, y) && x == y;
}

}  // namespace

Result reset_state() {
  if (Result done = init_state(1); !done) return done;
  return remove_wifi_answers();
}

Result set_time_divisor(unsigned divisor) {
  if (divisor == 0) return Result::fail("the time divisor must be at least 1");
  return store(&HwState::time_divisor, divisor);
}

Result set_logging(bool on) { return store(&HwState::logging, on ? 1 : 0); }
Result set_gpio_missing(bool missing) { return store(&HwState::gpio_missing, missing ? 1 : 0); }
Result set_rdm_missing(bool missing) { return store(&HwState::rdm_missing, missing ? 1 : 0); }
Result set_wan_link(bool up) { return store(&HwState::wan_link, up ? 1 : 0); }
Result set_button_hold(bool pressed) {
  return store(&HwState::button_after, pressed ? kButtonPressed : kButtonReleased);
}

Result set_gpio_fail(std::string_view requests) {
  uint32_t bits = 0;
  Result parsed = parse_names(requests, kGpioRequestNames, same_text, bits);
  return parsed ? store(&HwState::gpio_refuse, bits) : parsed;
}

Result set_rdm_fail(std::string_view requests) {
  uint32_t bits = 0;
  Result parsed = parse_names(requests, kRdmRequestNames, same_number, bits);
  return parsed ? store(&HwState::rdm_refuse, bits) : parsed;
}

Result set_bank_levels(unsigned bank, uint32_t word) {
  if (bank >= kGpioBanks) return Result::fail("bank " + std::to_string(bank) + " is not 0 to 3");
  HwState *state = nullptr;
  if (Result mapped = mapped_state(state); !mapped) return mapped;
  state->bank_levels[bank].store(word);
  return Result::ok();
}

Result set_button_script(std::string_view text) {
  ButtonScript script;
  if (Result compiled = compile_button_script(text, script); !compiled) return compiled;
  HwState *state = nullptr;
  if (Result mapped = mapped_state(state); !mapped) return mapped;
  // Readers see no samples while they change, then all of them from the start.
  state->button_length.store(0);
  for (size_t i = 0; i < script.levels.size(); ++i) state->button_levels[i].store(script.levels[i]);
  state->button_after.store(script.after);
  state->button_cursor.store(0);
  state->button_length.store(static_cast<uint32_t>(script.levels.size()));
  return Result::ok();
}

unsigned button_reads() {
  HwState *state = nullptr;
  return mapped_state(state) ? state->button_cursor.load() : 0;
}

}  // namespace fakehwctl
