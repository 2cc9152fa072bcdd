// The virtual router in qemu-system-mipsel as the panel drives it: booted
// through board::Vm, the daemons as the board's init started them, every
// switch a command on the board over the control channel (the driver's
// control device through boardctl, wan-cable, gateway, nvram, the init
// scripts), and a reboot of the board (a factory reset) followed.
#ifndef SIM_PANEL_VIRTUAL_BOARD_H
#define SIM_PANEL_VIRTUAL_BOARD_H

#include <chrono>
#include <cstdint>
#include <string>

#include "board.h"
#include "board_vm.h"

namespace panel {

class VirtualBoard : public Board {
 public:
  VirtualBoard(board::VmOptions options, EventSink events);

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
  BoardStatus status() const override { return status_; }
  StoreModes read_modes() override;
  std::unique_ptr<LogFeed> log_feed() override;
  const char *name() const override { return "virtual board"; }

  // Runs COMMAND on the board; after a reboot of the board it first
  // connects again (an unanswered reply while the board is down).
  board::Reply run(const std::string &command, std::chrono::milliseconds timeout = std::chrono::seconds(30));
  // Counts the boots seen: logs on the board start empty after each.
  unsigned boots() const { return boots_; }
  const std::string &console_path() const { return vm_.console_path(); }

 private:
  // "" when COMMAND ran with status 0, else what went wrong.
  std::string act(const std::string &what, const std::string &command);
  // Waits for both daemons, starts the request log relay.
  std::string bring_up();
  bool reconnect();
  // Reads the status files and the daemons' pids; reports daemons that
  // started or ended.
  void refresh();

  board::VmOptions options_;
  EventSink events_;
  board::Vm vm_;
  BoardStatus status_;
  unsigned boots_ = 0;
  bool down_ = false;  // the board went away (rebooting)
  uint64_t next_refresh_ms_ = 0, next_reconnect_ms_ = 0;
};

}  // namespace panel

#endif
