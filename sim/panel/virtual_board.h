// The virtual router in qemu-system-mipsel as the panel drives it: booted
// through board::Vm, the daemons as the board's init started them, every
// switch a command on the board over the control channel (the driver's
// control device through boardctl, wan-cable, gateway, nvram, the init
// scripts). The logs and the status come from panel-feed on the board
// through the console (board_log_feed.h); a board that falls silent is
// looked for again, as after a reboot (a factory reset). Booted with the
// radio image (sim/radio), it also drives the real WPS peers.
#ifndef SIM_PANEL_VIRTUAL_BOARD_H
#define SIM_PANEL_VIRTUAL_BOARD_H

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/board/host/board_vm.h"
#include "sim/panel/board.h"
#include "sim/panel/radio_peers.h"

namespace panel {

class VirtualBoard : public Board {
 public:
  // WITH_RADIO_PEERS: the image carries the peers of sim/radio.
  VirtualBoard(board::VmOptions options, EventSink events, bool with_radio_peers = false);

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
  // Also finds a board that fell silent and connects again after its reboot.
  void update() override;
  BoardStatus status() const override { return status_; }
  // As last read: at the start, after a mode switch and after a reboot
  // (nobody else changes them while the board runs but a factory reset).
  StoreModes read_modes() override;
  std::unique_ptr<LogFeed> log_feed() override;
  const char *name() const override { return "virtual board"; }
  RadioPeers *radio_peers() override { return peers_ ? &*peers_ : nullptr; }

  // A status line of panel-feed without its tag: "Link=1 ... lock
  // buttond=PID uplinkd=0"; daemons that started or ended become events.
  void take_status(std::string_view line);
  const std::string &console_path() const { return vm_.console_path(); }
  // Where the console was when panel-feed was first started.
  off_t console_start() const { return console_start_; }

 private:
  // Runs COMMAND; an unanswered command on a broken link marks the board down.
  board::Reply run(const std::string &command, std::chrono::milliseconds timeout);
  // "" when COMMAND ran with status 0, else what went wrong.
  std::string act(const std::string &what, const std::string &command);
  // Waits for both daemons, starts panel-feed, sets the switches, reads the
  // mode from the store: at the start and after each reboot.
  std::string bring_up();
  void reconnect();
  StoreModes fetch_modes();

  board::VmOptions options_;
  EventSink events_;
  board::Vm vm_;
  BoardStatus status_;
  StoreModes modes_;
  std::optional<RadioPeers> peers_;
  off_t console_start_ = 0;
  bool down_ = false, stopped_ = false;
  uint64_t last_status_ms_ = 0, next_reconnect_ms_ = 0;
};

}  // namespace panel

#endif
