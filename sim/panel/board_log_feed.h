// The virtual board's logs, all from its console as qemu writes it on the
// host: panel-feed on the board (sim/board/rootfs/sbin/panel-feed) adds
// the lines of the request log, the firmware command log and the monitor's
// SIGHUP log to the console, tagged, and the board's status twice a second.
#ifndef SIM_PANEL_BOARD_LOG_FEED_H
#define SIM_PANEL_BOARD_LOG_FEED_H

#include <functional>
#include <memory>
#include <string_view>

#include "sim/panel/log_feed.h"
#include "sim/panel/log_tail.h"
#include "sim/panel/virtual_board.h"

namespace panel {

// Hands one line of the board's console to the sink its tag names (without
// the tag and the serial console's "\r"), a status line to status, and an
// untagged line to the console sink.
void sort_console_line(std::string_view line, const LogSinks &sinks,
                       const std::function<void(std::string_view)> &status);

class BoardLogFeed : public LogFeed {
 public:
  explicit BoardLogFeed(VirtualBoard &board) : board_(board) {}

  // The console from where panel-feed was started (the boot left out);
  // status lines go to the board.
  void poll(const LogSinks &sinks, bool flush) override;

 private:
  VirtualBoard &board_;
  std::unique_ptr<LogTail> console_;
};

}  // namespace panel

#endif
