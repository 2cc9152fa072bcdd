// The front panel's button keys. Terminals send no key-up, so a held space
// is recognised by its auto-repeat: the button stays pressed until the
// repeats stop. 'p' latches it; a number and Enter press it for exactly
// that many samples.
#ifndef SIM_PANEL_BUTTON_KEYS_H
#define SIM_PANEL_BUTTON_KEYS_H

#include <cstdint>
#include <string>

namespace panel {

struct ButtonCommand {
  enum class Kind { none, hold, release, press };
  Kind kind = Kind::none;
  unsigned samples = 0;  // press
};

class ButtonKeys {
 public:
  // Longest gap before the terminal's first repeat, and between repeats.
  static constexpr uint64_t kFirstRepeatMs = 700;
  static constexpr uint64_t kRepeatMs = 250;
  static constexpr size_t kMaxDigits = 5;

  ButtonCommand space(uint64_t now_ms);
  ButtonCommand toggle();
  ButtonCommand enter();
  void digit(char c);
  void backspace();
  void clear_entry() { entry_.clear(); }
  // Lets go of a space hold whose repeats have stopped.
  ButtonCommand tick(uint64_t now_ms);

  bool held() const { return state_ != State::released; }
  const std::string &entry() const { return entry_; }

 private:
  enum class State { released, space, latched };
  State state_ = State::released;
  uint64_t last_space_ms_ = 0;
  bool repeating_ = false;
  std::string entry_;
};

}  // namespace panel

#endif
