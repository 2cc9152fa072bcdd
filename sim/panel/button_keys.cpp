// Key handling of the button: auto-repeat detection, the latch and the
// typed sample count.
#include "sim/panel/button_keys.h"

#include <charconv>

#include "sim/panel/scenario.h"

namespace panel {

ButtonCommand ButtonKeys::space(uint64_t now_ms) {
  ButtonCommand command;
  if (state_ == State::space) {
    repeating_ = true;
  } else {
    if (state_ == State::released) command.kind = ButtonCommand::Kind::hold;
    state_ = State::space;
    repeating_ = false;
  }
  last_space_ms_ = now_ms;
  return command;
}

ButtonCommand ButtonKeys::tick(uint64_t now_ms) {
  if (state_ != State::space ||
      now_ms - last_space_ms_ <= (repeating_ ? kRepeatMs : kFirstRepeatMs)) {
    return {};
  }
  state_ = State::released;
  return {ButtonCommand::Kind::release};
}

ButtonCommand ButtonKeys::toggle() {
  if (state_ == State::released) {
    state_ = State::latched;
    return {ButtonCommand::Kind::hold};
  }
  state_ = State::released;
  return {ButtonCommand::Kind::release};
}

ButtonCommand ButtonKeys::enter() {
  unsigned samples = 0;
  auto [end, ec] = std::from_chars(entry_.data(), entry_.data() + entry_.size(), samples);
  bool valid = ec == std::errc() && end == entry_.data() + entry_.size() && samples >= 1 &&
               samples <= kMaxPressSamples;
  entry_.clear();
  if (!valid) return {};
  state_ = State::released;
  return {ButtonCommand::Kind::press, samples};
}

void ButtonKeys::digit(char c) {
  if (c >= '0' && c <= '9' && entry_.size() < kMaxDigits) entry_.push_back(c);
}

void ButtonKeys::backspace() {
  if (!entry_.empty()) entry_.pop_back();
}

}  // namespace panel
