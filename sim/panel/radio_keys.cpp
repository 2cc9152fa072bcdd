// Key handling of the radio peers: each key one action, and its message.
#include "sim/panel/radio_keys.h"

namespace panel {

bool is_radio_key(char c) { return c == 'h' || c == 'H' || c == 'U' || c == 'R'; }

std::optional<std::string> radio_key(char c, RadioPeers *peers, Mode mode) {
  if (!is_radio_key(c)) return std::nullopt;
  if (!peers) return kNoRadioPeers;
  std::string error, done;
  if (c == 'h' || c == 'H') {
    const unsigned phone = c == 'h' ? 1 : 2;
    error = peers->press_phone(phone);
    done = "phone " + std::to_string(phone) + ": WPS button pressed";
  } else if (c == 'U') {
    error = peers->press_upstream(mode);
    done = "upstream router: WPS button pressed";
  } else {
    error = peers->start_repeater_session(mode);
    done = "repeater session started";
  }
  return error.empty() ? done : "error: " + error;
}

}  // namespace panel
