// Where the board's logs come from: the console, the commands run, the
// driver requests and the monitor's SIGHUPs, handed over line by line.
// The desk simulator writes them to files the panel follows; the virtual
// board's are fetched over its control channel (board_log_feed.h).
#ifndef SIM_PANEL_LOG_FEED_H
#define SIM_PANEL_LOG_FEED_H

#include <string>

#include "sim/panel/log_tail.h"

namespace panel {

struct LogSinks {
  LogTail::Sink console, requests, commands, hups;
};

class LogFeed {
 public:
  virtual ~LogFeed() = default;
  // Hands each sink the complete lines its log gained, the logs in the
  // order of the fields of LogSinks; with flush also unterminated last
  // lines (at the end of a run).
  virtual void poll(const LogSinks &sinks, bool flush) = 0;
};

struct LogPaths {
  std::string console = "/run/sim/console.log";
  std::string commands = "/run/sim/commands.log";
  std::string requests = "/run/sim/requests.log";
  std::string hups = "/run/sim/monitor.hups";
};

// The desk simulator's logs, files followed with LogTail.
class FileLogFeed : public LogFeed {
 public:
  explicit FileLogFeed(LogPaths paths)
      : console_(std::move(paths.console)),
        commands_(std::move(paths.commands)),
        requests_(std::move(paths.requests)),
        hups_(std::move(paths.hups)) {}

  void poll(const LogSinks &sinks, bool flush) override;

 private:
  LogTail console_, commands_, requests_, hups_;
};

}  // namespace panel

#endif
