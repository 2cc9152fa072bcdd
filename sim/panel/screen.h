// One frame of the front panel, drawn from a snapshot of the board: the
// LEDs, the button and its hold count, switches, status files, daemons,
// the radio peers, the tails of the console and of the commands run, and
// the keys.
#ifndef SIM_PANEL_SCREEN_H
#define SIM_PANEL_SCREEN_H

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/panel/board.h"
#include "sim/panel/observer.h"

namespace panel {

struct PanelView {
  const char *board_name = "simulated board";
  uint64_t now_ms = 0, uptime_ms = 0;
  unsigned columns = 80, rows = 24;
  const std::map<unsigned, LedState> *leds = nullptr;
  bool button_held = false;
  unsigned hold = 0, last_hold = 0;
  std::string entry;  // the sample count being typed
  bool wan = true, upstream = true, internet = true;
  Mode mode = Mode::router;
  StoreModes store;
  unsigned time_divisor = 1;
  std::vector<std::pair<std::string, std::optional<std::string>>> files;  // name, first line
  std::vector<DaemonView> daemons;
  unsigned hups = 0;
  const std::deque<std::string> *console = nullptr, *commands = nullptr;
  std::string message;  // the last board event or error
  std::string radio;    // the radio peers' states; empty when the board has none
};

// The whole frame with ANSI escapes, drawn over the previous one.
std::string render_panel(const PanelView &view);

}  // namespace panel

#endif
