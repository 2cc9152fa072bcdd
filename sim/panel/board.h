// The board as the panel drives it, whichever it is: the switches a person
// at the bench would flip (WAN cable, upstream Wi-Fi, internet, WPS result,
// button, router/repeater mode), the state shown beside the LEDs, and the
// logs the LEDs and events come from. Two kinds: the desk simulator in the
// sandbox (desk_board.h) and the virtual router in qemu (virtual_board.h).
#ifndef SIM_PANEL_BOARD_H
#define SIM_PANEL_BOARD_H

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/panel/log_feed.h"
#include "sim/panel/scenario.h"

namespace panel {

class RadioPeers;

struct StoreModes {
  std::string operation_mode, mesh_mode;  // as the configuration store holds them
};

struct DaemonView {
  std::string name;
  bool running = false;
  int pid = 0, exit_status = -1;  // exit_status: of the last run, -1 when unknown
};

struct BoardStatus {
  std::vector<std::pair<std::string, std::optional<std::string>>>
      files;  // under /tmp: name, first line
  std::vector<DaemonView> daemons;
};

// The status files the panel shows, under /tmp on the board.
inline constexpr const char *kShownStatusFiles[] = {"Link", "internetStatus", "wanStatus",
                                                    "lock", "wps_times",      "reset_times"};

class Board {
 public:
  // Receives "board: ..." events: daemons started, ended.
  using EventSink = std::function<void(std::string_view event)>;

  virtual ~Board() = default;

  // Brings the board up. Every call below returns "" when done, else what
  // went wrong.
  virtual std::string start() = 0;
  // Stops it; nothing of it is left running.
  virtual void stop() = 0;

  virtual std::string set_wan(bool up) = 0;
  virtual std::string set_upstream(bool connected) = 0;
  virtual std::string set_internet(bool reachable) = 0;
  virtual std::string end_wps(Band band, WpsResult result) = 0;
  virtual std::string set_mode(Mode mode) = 0;  // stores it, then restarts both daemons
  virtual std::string set_time_divisor(unsigned divisor) = 0;
  // The button pressed for exactly that many samples, then released.
  virtual std::string press(unsigned samples) = 0;
  virtual std::string hold(bool pressed) = 0;

  // Notices daemons that ended (reported as events) and refreshes status().
  virtual void update() = 0;
  virtual BoardStatus status() const = 0;
  virtual StoreModes read_modes() = 0;
  // The board's logs; the feed may use the board, which must outlive it.
  virtual std::unique_ptr<LogFeed> log_feed() = 0;
  virtual const char *name() const = 0;  // "simulated board", "virtual board"
  // The real WPS peers beside the board's radios; none on the desk and on
  // the virtual board without them.
  virtual RadioPeers *radio_peers() { return nullptr; }

  bool wan() const { return wan_; }
  bool upstream() const { return upstream_; }
  bool internet() const { return internet_; }
  Mode mode() const { return mode_; }
  unsigned time_divisor() const { return time_divisor_; }

 protected:
  bool wan_ = true, upstream_ = true, internet_ = true;
  Mode mode_ = Mode::router;
  unsigned time_divisor_ = 1;
};

// Makes the board a run drives, with the run's event sink.
using BoardMaker = std::function<std::unique_ptr<Board>(Board::EventSink events)>;

// The button script of a press of exactly SAMPLES pressed samples, and of
// a hold: the words of the drivers' "button" command, the same on both.
std::string press_script(unsigned samples);
std::string hold_script(bool pressed);

// The configuration store's OperationMode of a repeater.
inline constexpr char kRepeaterMode[] = "3";

}  // namespace panel

#endif
