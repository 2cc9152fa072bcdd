// Following the desk simulator's log files.
#include "sim/panel/log_feed.h"

namespace panel {

void FileLogFeed::poll(const LogSinks &sinks, bool flush) {
  console_.poll(sinks.console);
  requests_.poll(sinks.requests);
  commands_.poll(sinks.commands);
  hups_.poll(sinks.hups);
  if (!flush) return;
  console_.flush(sinks.console);
  requests_.flush(sinks.requests);
  commands_.flush(sinks.commands);
  hups_.flush(sinks.hups);
}

}  // namespace panel
