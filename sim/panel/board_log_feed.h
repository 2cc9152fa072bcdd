// The virtual board's logs: the console as qemu writes it on the host,
// and the request log, the commands run and the monitor's SIGHUPs fetched
// from the board's /run/sim in one round trip of the control channel at
// most every kFetchMs.
#ifndef SIM_PANEL_BOARD_LOG_FEED_H
#define SIM_PANEL_BOARD_LOG_FEED_H

#include <cstdint>
#include <memory>
#include <string>

#include "line_splitter.h"
#include "log_feed.h"
#include "log_tail.h"
#include "virtual_board.h"

namespace panel {

class BoardLogFeed : public LogFeed {
 public:
  static constexpr uint64_t kFetchMs = 150;

  explicit BoardLogFeed(VirtualBoard &board) : board_(board) {}

  // The console from what follows the first poll (the boot is left out).
  void poll(const LogSinks &sinks, bool flush) override;

 private:
  struct RemoteLog {
    explicit RemoteLog(const char *log_name) : name(log_name) {}
    const char *name;  // under /run/sim on the board
    uint64_t offset = 0;
    LineSplitter lines;
  };

  void fetch(const LogSinks &sinks);

  VirtualBoard &board_;
  std::unique_ptr<LogTail> console_;
  RemoteLog requests_{"requests.log"}, commands_{"commands.log"}, hups_{"monitor.hups"};
  unsigned boots_ = 0;
  uint64_t next_fetch_ms_ = 0;
};

}  // namespace panel

#endif
