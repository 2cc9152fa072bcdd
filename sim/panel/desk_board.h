// The desk simulator as the panel runs it inside the sandbox: the fake
// monitor and both daemons as children, the gateway route, the fake
// drivers' state for the switches. The panel also plays the firmware's
// link watcher and internet checker by writing /tmp/Link and
// /tmp/internetStatus.
#ifndef SIM_PANEL_DESK_BOARD_H
#define SIM_PANEL_DESK_BOARD_H

#include <string>

#include "sim/panel/board.h"
#include "sim/panel/processes.h"

namespace panel {

struct Programs {
  std::string buttond, uplinkd, nvram;
};

class DeskBoard : public Board {
 public:
  DeskBoard(Programs programs, EventSink events);

  std::string start() override;
  void stop() override;
  std::string set_wan(bool up) override;
  std::string set_upstream(bool connected) override;
  std::string set_internet(bool reachable) override;
  std::string end_wps(Band band, WpsResult result) override;
  std::string set_mode(Mode mode) override;
  std::string set_time_divisor(unsigned divisor) override;
  std::string press(unsigned samples) override;
  std::string hold(bool pressed) override;
  void update() override;
  BoardStatus status() const override;
  StoreModes read_modes() override;
  std::unique_ptr<LogFeed> log_feed() override;
  const char *name() const override { return "simulated board"; }

 private:
  std::string start_daemon(Child &child);
  std::string publish_link();

  Programs programs_;
  EventSink events_;
  Child monitor_, buttond_, uplinkd_;
};

}  // namespace panel

#endif
