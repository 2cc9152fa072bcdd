// What the board did, as seen in its logs (log_feed.h): the console, the commands run,
// the driver requests (LED patterns, button samples) and the monitor's
// SIGHUPs, turned into one stream of events and the LEDs' current state.
#ifndef SIM_PANEL_OBSERVER_H
#define SIM_PANEL_OBSERVER_H

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "sim/panel/led_pattern.h"
#include "sim/panel/log_feed.h"

namespace panel {

struct LedState {
  LedPattern pattern;
  uint64_t since_ms = 0;  // when the pattern was seen set
  bool lit(uint64_t now_ms) const { return led_lit(pattern, now_ms - since_ms); }
};

class Observer {
 public:
  // One event per line: "console: TEXT", "command: NAME ARGS", "led 10:
  // blink 10/10", "request: LINE", "monitor: SIGHUP", "button: pressed",
  // "button: released after 30 samples".
  using EventSink = std::function<void(std::string_view event)>;

  explicit Observer(std::unique_ptr<LogFeed> feed);
  // Follows the desk simulator's log files.
  explicit Observer(LogPaths paths = {})
      : Observer(std::make_unique<FileLogFeed>(std::move(paths))) {}

  // Takes in what the logs gained; now_ms stamps new LED patterns.
  void poll(uint64_t now_ms, const EventSink &sink);
  // Also hands over unterminated last lines (at the end of a run).
  void flush(uint64_t now_ms, const EventSink &sink);

  const std::map<unsigned, LedState> &leds() const { return leds_; }
  unsigned hold() const { return hold_; }            // pressed samples of the press going on
  unsigned last_hold() const { return last_hold_; }  // samples of the last finished press
  unsigned hups() const { return hups_; }

 private:
  void request(std::string_view line, uint64_t now_ms, const EventSink &sink);
  void poll_all(uint64_t now_ms, const EventSink &sink, bool flush);

  std::unique_ptr<LogFeed> feed_;
  std::map<unsigned, LedState> leds_;
  unsigned hold_ = 0, last_hold_ = 0, hups_ = 0;
};

}  // namespace panel

#endif
