// The simulated board as the panel runs it: the fake monitor and both
// daemons as children, the gateway route, and the switches a person at
// the bench would flip (WAN cable, upstream Wi-Fi, internet, WPS result,
// button, router/repeater mode). The panel also plays the firmware's link
// watcher and internet checker by writing /tmp/Link and /tmp/internetStatus.
#ifndef SIM_PANEL_BOARD_H
#define SIM_PANEL_BOARD_H

#include <functional>
#include <string>
#include <string_view>

#include "processes.h"
#include "scenario.h"

namespace panel {

struct Programs {
  std::string buttond, uplinkd, nvram;
};

struct StoreModes {
  std::string operation_mode, mesh_mode;  // as the configuration store holds them
};

class Board {
 public:
  // Receives "board: ..." events: daemons started, ended.
  using EventSink = std::function<void(std::string_view event)>;

  Board(Programs programs, EventSink events);

  // Brings the board up. Every call below returns "" when done, else what
  // went wrong.
  std::string start();
  void stop();

  std::string set_wan(bool up);
  std::string set_upstream(bool connected);
  std::string set_internet(bool reachable);
  std::string end_wps(Band band, WpsResult result);
  std::string set_mode(Mode mode);  // stores it, then restarts both daemons
  std::string set_time_divisor(unsigned divisor);
  std::string press(unsigned samples);
  std::string hold(bool pressed);

  // Notices children that ended (reported as events).
  void reap();
  StoreModes read_modes() const;

  bool wan() const { return wan_; }
  bool upstream() const { return upstream_; }
  bool internet() const { return internet_; }
  Mode mode() const { return mode_; }
  unsigned time_divisor() const { return time_divisor_; }
  const Child &buttond() const { return buttond_; }
  const Child &uplinkd() const { return uplinkd_; }
  const Child &monitor() const { return monitor_; }

 private:
  std::string start_daemon(Child &child);
  std::string publish_link();

  Programs programs_;
  EventSink events_;
  Child monitor_, buttond_, uplinkd_;
  bool wan_ = true, upstream_ = true, internet_ = true;
  Mode mode_ = Mode::router;
  unsigned time_divisor_ = 1;
};

}  // namespace panel

#endif
